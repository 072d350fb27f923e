#pragma once
// The last estimate closed, kept in the user's program-settings store for the
// companion program of the customer variant.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kRegistryApp = "DI32DODA";
inline constexpr std::string_view kRegistrySection = "Init";
inline constexpr std::string_view kLastEstimateKey = "見積ファイル名";
inline constexpr std::string_view kBudgetKey = "予算金額";

// Stores "見積ファイル名" = the estimate's path and, when the level 1 work
// file of `workBase` ends with its closing record, "予算金額" = column 8 of
// that record without its blanks. Nothing for an untitled estimate. False
// when the store could not be written. (The caller makes it only in the
// customer variant.)
bool SaveLastEstimateSetting(ProgramState& st, const std::string& path, const std::string& workBase);

}  // namespace kv
