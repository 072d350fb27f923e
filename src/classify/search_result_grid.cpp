#include "classify/search_result_grid.h"

#include <algorithm>

#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/layout_file.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr int kCellArea = 128;

std::string RTrim(std::string_view s) {
  const size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

int ByteLen(std::string_view s) { return static_cast<int>(s.size()); }

// Copies `bytes` into the area from byte `pos` (0-based), character by
// character; a character that would cross the area's end is left out.
void Put(std::string& area, int pos, std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (pos < 0 || static_cast<size_t>(pos) + n > area.size()) return;
    area.replace(static_cast<size_t>(pos), n, bytes.substr(i, n));
    pos += static_cast<int>(n);
    i += n;
  }
}

// The bytes fitted to exactly n bytes, never splitting a character.
std::string Fit(std::string_view bytes, int n) { return n <= 0 ? std::string() : FitBytes(bytes, n); }

}  // namespace

std::string SrchText2DanMake(std::string_view bytes, int width) {
  const int half = WColumnLineWidth(width);
  std::string area(kCellArea, ' ');
  const DanLines d = Text2DanSplit(bytes, kDanSplit);
  // Without a line break the whole text is the first line.
  std::string line1 = d.position == 0 ? std::string(bytes) : d.line1;
  std::string line2 = d.position == 0 ? std::string() : d.line2;
  line1 = RTrim(line1);
  if (ByteLen(line1) > half) {
    const std::string cut = CutToBytes(std::string_view(line1), half);
    const int m = ByteLen(RTrim(cut));
    Put(area, 0, Fit(cut, half));
    Put(area, half, "\r\n");
    // A double-byte character the cut dropped begins the second line.
    const size_t from = static_cast<size_t>(m < half ? half - 1 : half);
    const std::string rest = from < line1.size() ? line1.substr(from) : std::string();
    Put(area, half + 2, Fit(rest + line2, half));
  } else if (line2.empty()) {
    Put(area, 0, Fit(line1, width));
  } else {
    if (ByteLen(line2) > half) line2 = CutToBytes(std::string_view(line2), half);
    Put(area, 0, Fit(line1 + "\r\n" + line2, width));
  }
  return RTrim(Fit(area, std::min(width, kCellArea)));
}

void SetUpResultSheet(ProgramState& st, GridModel& grid, int level, int zoom, bool forReference, int rows) {
  st.ui.SetBusyPointer(true);
  st.HasWideColumn = LevelHasWColumn(st, level);
  grid.SetVisible(false);
  grid.SetRedraw(false);
  const int cols = std::clamp(st.ColCount[level], 0, kMaxColumns);
  grid.SetColCount(cols);
  grid.SetRowCount(rows);
  grid.SetFontName(st.FontName);
  const int fs = grid.FontSize();
  grid.SetZoom(zoom);
  // The hits of an earlier search: gone before the new ones come.
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) grid.SetCellText(c, r, "");
  const int h = PointToHeight32(grid, fs);
  const int cw = PointToWidth32(grid, fs);
  for (int r = 0; r <= rows; ++r) SetRowHeight32(grid, r, st.HasWideColumn ? 2 * h - 2 : h + 1);
  SetColWidth32(grid, 0, 2 * cw);
  const std::string& caption = st.LevelCaption[level];
  for (int c = 1; c <= cols; ++c) {
    const int width = st.ColWidth[level][c];
    const bool numeric = IsNumericColumn(st, level, c);
    const bool wide = IsWColumn(st, c, level);
    int chars = width;
    bool flag = false;
    if (numeric) {
      chars = ByteLen(st.FormatMasks[level][c]);
      flag = true;
    } else if (wide) {
      chars = WColumnLineWidth(width);
      grid.SetCurrentCol(c);
      grid.SetColumnTextMode(3);
    } else {
      flag = !st.ColType[level][c].empty() && st.ColType[level][c].front() == 'I';
    }
    SetColWidth32(grid, c, CellTextExtent(st, flag, chars, grid.FontName(), grid.FontSize(), grid.Zoom()));
    std::string text = FromSjis(FieldBytes(caption, st.ColStart[level][c], width));
    if (wide) {
      text.erase(text.find_last_not_of(' ') + 1);
      CaptionWidthFit(text, width);
    } else {
      text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    }
    SetTextData32(grid, c, 0, text);
    if (numeric) SetDefColPos32(grid, c, 2);
  }
  grid.SetSelectionColour(forReference ? 11 : 8);
  grid.SetVisible(true);
  st.ui.SetBusyPointer(false);
  grid.SetMouseMode(st.EditCursor);
  grid.SetCursorShown(true);
  grid.SetHeaderClickSelects(false);
  grid.SetRedraw(true);
  grid.SetZoom(zoom);
  grid.SetEditMode(3);
}

void AddResultRow(ProgramState& st, GridModel& grid, int narrowLevel, int first, int last,
                  std::string_view record) {
  const int cols = std::clamp(st.ColCount[narrowLevel], 0, kMaxColumns);
  for (int r = first; r <= last; ++r) {
    for (int c = 1; c <= cols; ++c) {
      std::string cell(FieldBytes(record, st.ColStart[narrowLevel][c], st.ColWidth[narrowLevel][c]));
      if (IsNumericColumn(st, narrowLevel, c))
        NumCommaFormat(st, narrowLevel, cell, c);
      else if (IsWTypeColumn(st, c, narrowLevel))
        cell = SrchText2DanMake(cell, st.ColWidth[narrowLevel][c]);
      SetTextData32(grid, c, r, FromSjis(cell));
    }
  }
}

}  // namespace kv
