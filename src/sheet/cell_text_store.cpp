#include "sheet/cell_text_store.h"

#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "sheet/sheet_fields.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Splits the byte form after at most n bytes without splitting a double-byte
// character: the head, and the rest.
void SplitAt(std::string bytes, int n, std::string& head, std::string& rest) {
  head = LeftByBytesAnsi(bytes, n);
  rest = bytes.substr(head.size());
}

}  // namespace

void CellTextStore(ProgramState& st, std::string& text, int col, int row, int level) {
  if (text.empty()) return;
  if (row < 0 || row > kMaxSheetRows + 1 || level < 1 || level > 8 || col < 1 || col > kMaxColumns)
    return;
  const int w = st.ColWidth[level][col];
  const int h = WColumnLineWidth(w);

  const DanLines split = Text2DanSplit(std::string_view(ToSjis(text)), kDanSplit);
  const bool hadCrLf = split.position > 0;
  std::string line1 = split.line1;
  std::string line2 = split.line2;

  if (!(line1 + line2).empty()) {
    if (!line2.empty()) {
      // Line 1's overflow goes in front of line 2.
      std::string overflow;
      SplitAt(line1, h, line1, overflow);
      line2 = LeftByBytesAnsi(overflow + line2, h);
    } else {
      // One line (a CR LF with nothing after it counts as none): the first h
      // bytes, blank-padded, and the rest as line 2.
      std::string rest;
      SplitAt(line1, h, line1, rest);
      line1 = FitBytes(line1, h);
      line2 = rest;
    }
  }
  if (line2.compare(0, kCrLf.size(), kCrLf) == 0) line2.erase(0, kCrLf.size());

  std::string field;
  if (!IsBlank(line2) && hadCrLf) {
    line2 = LeftByBytesAnsi(line2, h);
    field = line1.empty() ? line2 : line1 + std::string(kCrLf) + line2;
  } else if (!IsBlank(line2)) {
    // One long line broken after h bytes.
    field = FitBytes(line1, h) + std::string(kCrLf) + FitBytes(line2, h);
  } else {
    field = line1;
  }
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  FieldStore(rec, st.ColStart[level][col], w, field, st.DataLen);
  text = RTrimBlanks(FieldText(st, rec, col, level));
}

}  // namespace kv
