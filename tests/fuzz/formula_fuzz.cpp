// Feeds arbitrary bytes to the quantity formula evaluator and to the
// arithmetic library. The first byte chooses the level of the context (1 or
// 2, whose columns differ) and whether the variables are forgotten first; the
// rest is the formula and the library's expression. Whatever the bytes, the
// evaluator ends with an error text, the empty text of an assignment or a
// number text of at most four decimals; the library either fails and leaves
// its buffer as it was, or writes a six-decimal answer and its NUL inside it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../../bench/quiet_ui.h"  // a user interface that answers nothing
#include "state/program_state.h"
#include "calc/formula_evaluate.h"
#include "platform/calc2.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "7", "-2.5", ".5", "0": an optional "-", digits, and up to four decimals.
bool IsResultNumber(std::string_view t) {
  if (t == "0") return true;
  size_t i = t.starts_with('-') ? 1 : 0;
  size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    size_t decimals = 0;
    for (++i; i < t.size() && IsDigit(t[i]); ++i) ++decimals;
    if (decimals == 0 || decimals > 4 || t.back() == '0') return false;
    digits += decimals;
  }
  return i == t.size() && digits > 0;
}

// "1250.000000", "-0.500000".
bool IsAnswer(std::string_view t) {
  size_t i = t.starts_with('-') ? 1 : 0;
  const size_t start = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  if (i == start || i >= t.size() || t[i] != '.') return false;
  return t.size() - i - 1 == 6 && t.find_first_not_of("0123456789", i + 1) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static kv::bench::QuietUi ui;
  static kv::ProgramState st(ui);
  static bool laidOut = false;
  if (!laidOut) {
    st.DataLen = 256;
    for (int level = 1; level <= 2; ++level) {
      st.ColCount[level] = level == 1 ? 6 : 3;
      for (int c = 1; c <= st.ColCount[level]; ++c) {
        st.ColStart[level][c] = 20 + (c - 1) * (level == 1 ? 12 : 20);
        st.ColWidth[level][c] = level == 1 ? 12 : 20;
        st.ColType[level][c] = "2";
      }
    }
    laidOut = true;
  }
  if (data[0] & 2) {
    st.FormulaVariableTable.clear();
    kv::Calc2Init(st.Calc2Vars);
  }
  std::string row(256, ' '), parent(256, ' '), total(256, ' ');
  row.replace(28, 4, "12.5");
  parent.replace(28, 4, "-3.5");
  total.replace(40, 10, "++++++++++");
  const kv::LevelContext ctx{(data[0] & 1) ? 2 : 1, (data[0] & 1) ? std::string_view(parent) : std::string_view(),
                             total};
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string assigned;
  const std::string result = kv::FormulaEvaluate(st, ctx, row, text, &assigned);
  if (!kv::IsFormulaError(result) && !result.empty() && !IsResultNumber(result)) std::abort();

  std::string buffer(64, ' ');
  if (kv::Calc2(st.Calc2Vars, text, buffer) == 1) {
    const size_t nul = buffer.find('\0');
    if (nul == std::string::npos || !IsAnswer(std::string_view(buffer).substr(0, nul))) std::abort();
  } else if (buffer != std::string(64, ' ')) {
    std::abort();
  }
  if (buffer.size() != 64) std::abort();
  if (st.Calc2Vars.values.size() > 10000) kv::Calc2Init(st.Calc2Vars);
  return 0;
}
