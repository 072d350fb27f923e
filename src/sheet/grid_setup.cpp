#include "sheet/grid_setup.h"

#include <algorithm>
#include <string>

#include "core/column_letter.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "state/editor_services.h"
#include "state/layout_file.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_read.h"

namespace kv {

namespace {

constexpr std::string_view kDigits =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";
// 40 full-width digits "１２３４５６７８９０" x 4, 3 UTF-8 bytes each.
const std::string& FullWidthDigits() {
  static const std::string s = [] {
    std::string one = "１２３４５６７８９０";
    return one + one + one + one;
  }();
  return s;
}
constexpr size_t kFullWidthBytes = 3;

// x * num / den, truncated (x >= 0).
int Scale(int x, int num, int den) { return x * num / den; }

int Measure(ProgramState& st, std::string_view text, std::string_view fontName, int fontSize) {
  return st.ui.TextExtent(text, fontName, fontSize).width;
}

int NumericWidth(int chars, int d, int b) {
  if (chars <= 4) return Scale(d, 5, 4);
  if (chars <= 8) return Scale(d, 6, 5);
  if (chars <= 15) return Scale(d, 11, 10);
  if (chars <= 25) return Scale(d, 21, 20);
  if (chars <= 35) return d;
  if (chars <= 40) return Scale(b, 6, 5);
  return d;
}

int TextWidth(int chars, int a, int zoom, bool hasWide) {
  if ((zoom == 70 || zoom == 110) && !hasWide) {
    if (chars <= 5) return Scale(a, 13, 10);
    if (chars <= 10) return Scale(a, 6, 5);
    if (chars <= 15) return Scale(a, 11, 10);
    if (chars <= 20) return Scale(a, 21, 20);
    if (chars <= 30) return a;
    if (chars <= 35) return Scale(a, 19, 20);
    return a;
  }
  if (chars <= 5) return Scale(a, 5, 4);
  if (chars <= 10) return Scale(a, 23, 20);
  if (chars <= 20) return Scale(a, 53, 50);
  if (chars <= 25) return Scale(a, 21, 20);
  if (chars <= 35) {
    const int w = Scale(a, 51, 50);
    if (zoom == 70 || zoom == 80) return w + 3;
    if (zoom == 90) return w - 1;
    if (zoom == 100) return w - 2;
    return w;
  }
  return a;
}

void StatusPanelSet(ProgramState& st, int panel, const std::string& text) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, panel, text);
}

int MaskScreen(const ProgramState& st, int level) {
  return std::clamp(st.XMASK[level], 0, kMaskScreens - 1);
}

// Checks the level's mask screen in the View menu; its name goes to panel 3.
void MaskMenuCheck(ProgramState& st, int screen) {
  std::string caption = st.MASK_NAME[static_cast<size_t>(screen)];
  EditorMenus* menus = st.editor != nullptr ? st.editor->Menus() : nullptr;
  if (menus != nullptr && menus->Find("MaskGamen", screen) != nullptr) {
    CheckOnly(*menus, "MaskGamen", screen);
    caption = menus->At("MaskGamen", screen).caption;
    st.editor->MenusChanged(st);
  }
  StatusPanelSet(st, 3, caption);
}

}  // namespace

int CellTextExtent(ProgramState& st, bool isNumeric, int chars, std::string_view fontName,
                   int fontSize, int zoom) {
  chars = std::max(chars, 0);
  const int d = Measure(st, kDigits.substr(0, std::min<size_t>(size_t(chars), kDigits.size())),
                        fontName, fontSize);
  int width = 0;
  if (isNumeric) {
    // The character-size measure of the widest band: the 40-digit field.
    const int b =
        chars >= 36 && chars <= 40 ? Measure(st, kDigits.substr(0, 40), fontName, fontSize) : 0;
    width = NumericWidth(chars, d, b);
  } else {
    const size_t full =
        std::min<size_t>(size_t(chars / 2), FullWidthDigits().size() / kFullWidthBytes);
    std::string sample = FullWidthDigits().substr(0, full * kFullWidthBytes);
    if (chars % 2 == 1) sample += "H";
    const int k = Measure(st, sample, fontName, fontSize);
    width = TextWidth(chars, (d + k) / 2, zoom, st.HasWideColumn);
  }
  // The correction table has steps 0..20 (zoom 0 .. 200 %); a larger zoom
  // takes the last step.
  width += st.CellHabaAdjust[static_cast<size_t>(std::clamp(zoom / 10, 0, 20))];
  return std::max(width, 20);
}

void CaptionWidthFit(std::string& text, int width) {
  std::string b = ToSjis(text);
  const size_t lead = std::min(b.find_first_not_of(' '), b.size());
  b.append(lead, ' ');
  const int twoL = 2 * static_cast<int>(b.size());
  const int twoM = width - 2;
  if (twoM < twoL)
    b = LeftByBytesAnsi(b, HalfRoundEven(twoM));
  else if (twoM > twoL)
    b.append(static_cast<size_t>(HalfRoundEven(twoM - twoL)), ' ');
  text = FromSjis(b);
}

void SheetGridInit(ProgramState& st, GridModel& grid, int level) {
  if (level < 1 || level > 8) return;
  st.HasWideColumn = LevelHasWColumn(st, level);
  grid.SetRedraw(false);
  grid.SetVisible(false);

  const int size = grid.FontSize();
  const int h = PointToHeight32(grid, size);
  const int w = PointToWidth32(grid, size);

  const int imax = SheetRowLimit(st);
  const int cols = std::clamp(st.ColCount[level], 0, kMaxColumns);
  grid.SetRowCount(imax + 1);
  grid.SetColCount(cols);
  grid.SetFontName(st.FontName);
  st.SheetFontSize = grid.FontSize();

  const int rowHeight = st.HasWideColumn ? 2 * h - 2 : h + 1;
  for (int r = 0; r <= imax + 1; ++r) SetRowHeight32(grid, r, rowHeight);

  SetColWidth32(grid, 0, 4 * w / 2);
  for (int r = 0; r <= imax + 1; ++r) {
    grid.SetCellText(0, r, RowNumberText(r) + " ");
    SetCellTextColor32(grid, 0, r, 7);
  }

  const int screen = MaskScreen(st, level);
  const std::string& captions = st.LevelCaption[static_cast<size_t>(level)];
  for (int c = 1; c <= cols; ++c) {
    const std::string& type = st.ColType[level][c];
    const int colWidth = st.ColWidth[level][c];
    const bool numeric = IsNumericColumnType(type);
    // The previous level's column may have been laid out differently.
    if (grid.ColumnTextModeOf(c) != 0 && type != "W") {
      grid.SetCurrentCol(c);
      grid.SetColumnTextMode(0);
    }
    if (st.MaskDef[level][c][static_cast<size_t>(screen)] == 'M') {
      SetColWidth32(grid, c, 2);
      SetTextData32(grid, c, 0, "");
      continue;
    }
    int chars = colWidth;
    bool measuredAsNumber = false;
    if (numeric) {
      chars = static_cast<int>(st.FormatMasks[level][c].size());
      measuredAsNumber = true;
    } else if (type == "W") {
      chars = WColumnLineWidth(colWidth);
      grid.SetCurrentCol(c);
      grid.SetColumnTextMode(3);
    } else {
      measuredAsNumber = !type.empty() && type.front() == 'I';
    }
    SetColWidth32(
        grid, c,
        CellTextExtent(st, measuredAsNumber, chars, grid.FontName(), grid.FontSize(), grid.Zoom()));

    std::string caption = FromSjis(FieldBytes(captions, st.ColStart[level][c], colWidth));
    if (type == "W") {
      caption = RTrimBlanks(caption);
      CaptionWidthFit(caption, colWidth);
    }
    SetTextData32(grid, c, 0, caption);
    SetDefColPos32(grid, c, numeric ? 2 : 0);
  }

  grid.SetCurrentCol(st.ToTalNameColmun);
  grid.SetRedraw(true);
  grid.SetVisible(true);
  SetZoom32(grid, st.KVZoom);
  SetDivide32(grid, st.GamenX[static_cast<size_t>(level)], st.GamenY[static_cast<size_t>(level)]);
  grid.SetCellText(0, imax + 1, "計 ");
  SetCellTextColor32(grid, 0, imax + 1, 0);
  MaskMenuCheck(st, screen);
  PageLinesDraw(st, grid);
}

}  // namespace kv
