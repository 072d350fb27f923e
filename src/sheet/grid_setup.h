#pragma once
// Setting up the editor's sheet grid for one level: counts, font, row
// heights, column widths measured from the font, row headers, captions,
// hidden mask columns, zoom, split, the mask-screen menu and the page lines.
// The width rule and the caption fit of two-line columns serve the other
// windows' grids as well.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

// Lays the grid out for `level` (1..8): `HasWideColumn` and `SheetFontSize`
// are set; painting is off while it runs. Rows 0 .. Imax + 1 (the totals
// line last), columns 0 .. ColCount(level); every row gets its number as
// header in colour 7, the totals line "計 " in colour 0. A column hidden by
// the level's mask screen is 2 units wide and has no caption; a numeric
// column is right-aligned, any other left-aligned; a column of type exactly
// "W" shows two lines. The cursor goes to column `ToTalNameColmun`, the zoom
// to `KVZoom`, the split to `GamenX`/`GamenY` of the level. The mask-screen
// menu checks the level's screen (`XMASK`), whose name goes to status panel
// 3. Body cells are not painted (SheetRedisplay does that).
void SheetGridInit(ProgramState& st, GridModel& grid, int level);

// Width in grid units of a column of `chars` characters in the font at the
// size: numeric columns (and classification codes, `isNumeric`) by the
// measure of that many digits, text columns by the mean of the half-width
// and full-width measures, each with a factor by width band (and, for text,
// by `zoom` and `HasWideColumn`); then the correction `CellHabaAdjust` of the
// zoom's step (zoom / 10, within 0..20); never below 20. `zoom` is the
// grid's zoom in percent; the measures themselves are taken at 100 %, since
// the grid scales its units by the zoom.
int CellTextExtent(ProgramState& st, bool isNumeric, int chars, std::string_view fontName,
                   int fontSize, int zoom);

// Fits the caption of a two-line column (display text) of `width` bytes to
// one line of it, (width - 2) / 2 bytes: its leading blanks are repeated at
// its end, then it is cut (never inside a double-byte character) or
// blank-padded to that width, halves rounded to even.
void CaptionWidthFit(std::string& text, int width);

}  // namespace kv
