#include "calc/rounding.h"

// Placeholder bodies; the rounding follows.
namespace kv {

std::string RoundByMethod(std::string_view value, int, int) { return std::string(value); }
std::string RoundUpToUnit(std::string_view value, std::int64_t) { return std::string(value); }
std::string RoundDownToUnit(std::string_view value, std::int64_t) { return std::string(value); }
std::string RoundHalfUpToUnit(std::string_view value, std::int64_t) { return std::string(value); }

}  // namespace kv
