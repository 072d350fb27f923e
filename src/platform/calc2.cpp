#include "platform/calc2.h"

// Placeholder bodies; the evaluator follows.
namespace kv {

int Calc2(Calc2Variables&, std::string_view, std::string&) { return 0; }
int Calc2Init(Calc2Variables& vars) {
  vars.values.clear();
  return 1;
}

}  // namespace kv
