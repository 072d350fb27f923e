#include "app/totals_line.h"

#include <algorithm>

#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {

namespace {

// n / 2 rounded to the nearest whole number, an exact half to the even one.
int HalfToEven(int n) {
  if (n <= 0) return 0;
  const int half = n / 2;
  if (n % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;
}

}  // namespace

std::vector<std::string> TotalsLineTexts(const ProgramState& st, int level) {
  const int count = std::clamp(st.ColCount[level], 0, kMaxColumns);
  std::vector<std::string> texts(static_cast<size_t>(count) + 1);
  const int screen = std::clamp(st.XMASK[level], 0, kMaskScreens - 1);
  for (int c = 1; c <= count; ++c) {
    const int start = st.ColStart[level][c];
    const int width = st.ColWidth[level][c];
    // The column's bytes of the closing record (blanks where it is short).
    std::string bytes = start >= 1 && static_cast<size_t>(start) <= st.SheetTotalRecord.size()
                            ? st.SheetTotalRecord.substr(static_cast<size_t>(start - 1),
                                                         static_cast<size_t>(std::max(width, 0)))
                            : std::string();
    bytes.resize(static_cast<size_t>(std::max(width, 0)), ' ');

    const bool totalColumn = !TrimBlanks(st.ColTotalKind[level][c]).empty() &&
                             st.MaskDef[level][c][static_cast<size_t>(screen)] == ' ';
    std::string& text = texts[static_cast<size_t>(c)];
    if (totalColumn) {
      if (st.ReCalcFlag) {
        text = ToUnicodeStr(bytes);
        NumCommaFormat(st, level, text, c);
      } else {
        text = std::string(bytes.size(), TrimBlanks(bytes).empty() ? ' ' : '#');
      }
    } else if (!st.ColType[level][c].empty() && st.ColType[level][c][0] == 'W') {
      text = ToUnicodeStr(CutToBytes(std::string_view(bytes), HalfToEven(width - 2)));
    } else {
      text = ToUnicodeStr(bytes);
    }
  }
  return texts;
}

}  // namespace kv
