#include "sheet/status_bar.h"

#include <algorithm>

#include "sheet/sheet_fields.h"
#include "state/program_state.h"
#include "storage/row_record.h"

namespace kv {

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  return v < base ? v : -1;
}

// The leading number of a text in a base, as the number reading of the
// system does it: blanks skipped, a sign for decimals, then digits up to the
// first other character; 0 when there are none.
int LeadingNumber(std::string_view s, int base) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (base == 10 && i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] == ' ') continue;
    const int d = DigitValue(s[i], base);
    if (d < 0) break;
    value = value * base + d;
  }
  return negative ? -value : value;
}

}  // namespace

void StatusPanelClear(StatusBarPort& bar, int panel) {
  bar.StatusPanelSet(panel, "");
  if (panel == 1) {
    const std::string held = bar.HeldCellText();
    if (!held.empty()) bar.StatusPanelSet(1, "[" + held + "]");
  }
}

std::string StatusPageText(const ProgramState& st, int row) {
  const std::string& first = st.SheetRows[1];
  const std::string_view field = FieldBytes(first, kObjectPos, 3);
  const size_t from = field.find_first_not_of(' ');
  if (from == std::string_view::npos) return "    ";
  const std::string_view start = field.substr(from, field.find_last_not_of(' ') - from + 1);

  const char marker = RecordByte(first, kObjectPos + 3);
  if (marker != 'P' && marker != 'h') return StrNum(0) + "P";
  int page = LeadingNumber(start, marker == 'P' ? 10 : 16);
  const int form = st.PrnTypeNo;
  const int perPage =
      form >= 0 && form < static_cast<int>(st.PrintRows.size()) ? st.PrintRows[size_t(form)] : 0;
  if (perPage > 0) page += (std::max(row, 1) - 1) / perPage;
  return StrNum(page) + "P";
}

}  // namespace kv
