#include "editor/even_spacing.h"

#include <algorithm>
#include <string>

#include "core/sjis_text.h"
#include "platform/grid/grid_api.h"
#include "sheet/column_links.h"
#include "sheet/sheet_fields.h"
#include "state/cell_even_space.h"
#include "state/program_state.h"
#include "storage/row_record.h"

namespace kv {
namespace {

// The field's bytes spread out; a "W" field line by line.
std::string SpreadField(ProgramState& st, std::string field, int width, bool twoLines) {
  if (!twoLines) {
    EvenSpaceCellText(st, field, width);
    return field;
  }
  DanLines lines = Text2DanSplit(std::string_view(field), kDanSplit);
  const int lineWidth = WColumnLineWidth(width);
  EvenSpaceCellText(st, lines.line1, lineWidth);
  EvenSpaceCellText(st, lines.line2, lineWidth);
  return lines.line2.empty() ? lines.line1 : lines.line1 + "\r\n" + lines.line2;
}

}  // namespace

void EvenSpacing(ProgramState& st, GridModel& grid) {
  const int level = st.CurrentLevel, col = st.CurrentCol;
  if (!IsLevelColumn(st, level, col)) return;
  const std::string& typeCode = st.ColType[size_t(level)][size_t(col)];
  const char type = typeCode.empty() ? ' ' : typeCode[0];
  if (type != 'C' && type != 'W') return;
  const int width = st.ColWidth[size_t(level)][size_t(col)];
  // The sheet's rows only: the totals line below them is the closing
  // record, not a row of the sheet.
  const int top = std::max(st.SelTop, 1), bottom = std::min(st.SelBottom, st.Imax);
  for (int r = top; r <= bottom; ++r) {
    std::string& rec = st.SheetRows[size_t(r)];
    if (IsMemoTextRow(rec)) continue;
    const std::string spread = SpreadField(st, std::string(FieldBytes(st, rec, col, level)), width, type == 'W');
    FieldStore(st, rec, col, level, spread);
    SetTextData32(grid, col, r, RTrimBlanks(FieldText(st, rec, col, level)));
    ABLinkUpdate(st, grid, col, r);
  }
  st.SheetModified = true;
  ClearSelect32(grid);
}

}  // namespace kv
