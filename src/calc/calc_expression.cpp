#include "calc/calc_expression.h"

#include "state/program_state.h"
#include "core/sjis_text.h"
#include "platform/calc2.h"

namespace kv {

bool CalcExpression(ProgramState& st, std::string_view expression, std::string& result) {
  result.assign(64, ' ');
  const bool ok = Calc2(st.Calc2Vars, expression, result) == 1;
  if (ok) {
    CutAtNulInPlace(result);
  } else {
    const size_t first = result.find_first_not_of(' ');
    if (first == std::string::npos) {
      result.clear();
    } else {
      result = result.substr(first, result.find_last_not_of(' ') - first + 1);
    }
  }
  constexpr std::string_view kWholeTail = ".000000";
  if (result.size() >= 8 && std::string_view(result).substr(result.size() - kWholeTail.size()) == kWholeTail)
    result.resize(result.size() - kWholeTail.size());
  return ok;
}

void CalcInit(ProgramState& st) { Calc2Init(st.Calc2Vars); }

}  // namespace kv
