#include "reference/ref_sheet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <optional>

#include "core/record_file.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "reference/ref_tree.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fields.h"
#include "sheet/wide_text_cells.h"
#include "state/column_numbers.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {

namespace {

// Row kinds by their Shift-JIS byte.
constexpr std::string_view kMemoKinds = "123HD\xD2";     // ... ﾒ
constexpr std::string_view kTotalKinds = "#%$\xB1\xB2\xB3K";  // # % $ ｱ ｲ ｳ K

bool OneOf(std::string_view set, char c) { return c != '\0' && set.find(c) != std::string_view::npos; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int Columns(const ProgramState& st, int level) {
  return level >= 1 && level <= 8 ? std::clamp(st.RefColCount[level], 0, kMaxColumns) : 0;
}

bool Hex(const ProgramState& st) { return IsHexBase(st.H_Link); }

bool ColumnShown(const ProgramState& st, int level, int col) {
  const int screen = std::clamp(st.XMASK[level], 0, kMaskScreens - 1);
  return st.MaskDef[level][col][static_cast<size_t>(screen)] != 'M';
}

// The bytes of a record at the reference column (empty outside the record).
std::string_view RefField(const ProgramState& st, std::string_view rec, int level, int col) {
  const int start = st.RefColStart[level][col];
  const int width = st.RefColWidth[level][col];
  if (start < 1 || width < 1 || static_cast<size_t>(start - 1) >= rec.size()) return {};
  return rec.substr(static_cast<size_t>(start - 1), static_cast<size_t>(width));
}

bool AllBlank(std::string_view bytes) { return bytes.find_first_not_of(' ') == std::string_view::npos; }

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// Gives a value for as long as the scope lasts: the grid's handlers are not
// raised while it is laid out, and CellTextExtent measures text columns by
// the two-line flag of the reference level, not the editor's.
template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& target, T value) : target_(target), saved_(std::move(target)) { target_ = std::move(value); }
  ~ScopedValue() { target_ = std::move(saved_); }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& target_;
  T saved_;
};

void GridSetup(ProgramState& st, GridModel& grid, int level, int imax) {
  ScopedValue<GridEvents> quiet(grid.events, GridEvents{});
  grid.SetRedraw(false);
  grid.SetVisible(false);
  const int cols = Columns(st, level);
  grid.SetTotalsLine(true);
  grid.SetColCount(cols);
  grid.SetRowCount(imax + 1);
  grid.SetZoom(st.RefZoom);
  grid.SetFontName(st.FontName);
  const int fs = grid.FontSize();
  const int rowH = PointToHeight32(grid, fs);
  const int charW = PointToWidth32(grid, fs);
  for (int r = 0; r <= imax + 1; ++r) SetRowHeight32(grid, r, st.RefHasWColumn ? 2 * rowH - 2 : rowH + 1);
  SetColWidth32(grid, 0, 2 * charW);

  // Nothing of an earlier sheet stays: the rows below only write what they hold.
  for (int r = 1; r <= imax + 1; ++r) {
    if (grid.MemoRow(r)) SetMemoRow32(grid, r, 0);
    for (int c = 1; c <= cols; ++c) {
      if (!grid.CellText(c, r).empty()) grid.SetCellText(c, r, "");
      if (grid.CellColour(c, r) != 0) SetCellTextColor32(grid, c, r, 0);
    }
  }
  for (int r = 0; r <= imax; ++r) {
    SetCellTextColor32(grid, 0, r, 7);
    grid.SetCellText(0, r, RowNumberText(r) + " ");
  }
  SetCellTextColor32(grid, 0, imax + 1, 0);
  grid.SetCellText(0, imax + 1, "計 ");

  ScopedValue<bool> wide(st.HasWideColumn, st.RefHasWColumn);
  for (int c = 1; c <= cols; ++c) {
    if (!ColumnShown(st, level, c)) {
      SetColWidth32(grid, c, 2);
      grid.SetCellText(c, 0, "");
      continue;
    }
    const int width = st.RefColWidth[level][c];
    const char type = st.RefColType[level][c];
    const bool numeric = IsNumericColumn(st, level, c);
    int chars = 0;
    bool flag = numeric;
    if (numeric) {
      chars = static_cast<int>(st.FormatMasks[level][c].size());
    } else {
      if (type == 'W') {
        chars = static_cast<int>(std::nearbyint((width - 2) / 2.0));
        grid.SetCurrentCol(c);
        grid.SetColumnTextMode(3);
      } else {
        chars = width;
      }
      flag = type == 'I';
    }
    SetColWidth32(grid, c, CellTextExtent(st, flag, chars, grid.FontName(), grid.FontSize(), grid.Zoom()));
    std::string caption = MidAnsi(st.RefLevelCaption[level], st.RefColStart[level][c], width);
    if (type == 'W') {
      caption = RTrimBlanks(caption);
      CaptionWidthFit(caption, width);
    }
    grid.SetCellText(c, 0, caption);
    grid.SetColAlign(c, numeric ? 2 : 0);
  }
}

void GridFinish(ProgramState& st, GridModel& grid, int level) {
  ScopedValue<GridEvents> quiet(grid.events, GridEvents{});
  grid.SetVisible(true);
  grid.SetMouseMode(st.EditCursor);
  grid.SetCursorShown(true);
  grid.SetHeaderClickSelects(false);
  grid.SetRedraw(true);
  grid.SetZoom(st.RefZoom);
  grid.SetEditMode(3);
  SetDivide32(grid, st.RefDivideX[level], st.RefDivideY[level]);
}

// While a reference file is open its level-1 file must be there: Retry asks
// again, Cancel falls back to the untitled reference.
void LevelOneCheck(ProgramState& st) {
  if (IsUntitledName(st.RefWorkFileBase)) return;
  while (!FileExistChk(st, LevelFilePath(st, st.RefWorkFileBase, 1).string())) {
    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox(kRefMissingFileText, vbRetryCancel, kRefTitle);
    FloatWindowsTopMostSet(st, true);
    if (answer == vbRetry) continue;
    WarnMsgBox(st, kRefResetText);
    st.RefWorkFileBase = RefUntitledBase(st);
    st.RefFilePath = st.RefWorkFileBase;
    st.ui.SetWindowText("RefSheet_Frm", "", "参考画面-1");
    RefTreeBuild(st);
    return;
  }
}

// Reads the level's sheet with the checked reader; false after a report.
bool ReadRows(ProgramState& st, int level, int imax, SheetChain& chain) {
  const std::filesystem::path path = LevelFilePath(st, st.RefWorkFileBase, level);
  if (!IsValidRecordLength(st.DataLen)) {
    LevelFileErrorShow(st, path, "DataLen " + std::to_string(st.DataLen));
    return false;
  }
  int first = 1;
  if (level > 1) {
    const std::string& parent = st.RefParentRows[static_cast<size_t>(level - 1)];
    const std::optional<int> link =
        parent.empty() ? std::optional<int>(kNoRecord) : ReadStoredLink(LinkField(parent, kChildPos), Hex(st));
    if (!link) {
      LevelFileFaultShow(st, LevelFilePath(st, st.RefWorkFileBase, level - 1), {LevelFault::BadNumber, 0});
      return false;
    }
    first = *link >= 1 ? *link : kNoRecord;
    if (first == kNoRecord) return true;
  }
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    // A breakdown into a level file that is not there; level 1 reads as empty.
    if (level > 1) {
      LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, 0});
      return false;
    }
    return true;
  }
  try {
    RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
    FileRecords source(file);
    if (LevelFileProblem p = ReadSheetChain(source, level == 1, first, Hex(st), imax + 1, chain)) {
      LevelFileFaultShow(st, path, p);
      return false;
    }
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    return false;
  }
  return true;
}

}  // namespace

std::string RefWorkFolder(const ProgramState& st) {
  return st.AppPath + (st.RefWorkFolderName.empty() ? std::string("/WORK2") : st.RefWorkFolderName);
}

std::string RefUntitledBase(const ProgramState& st) { return RefWorkFolder(st) + "/無題"; }

bool RefLevelRead(ProgramState& st, GridModel& grid, int level) {
  if (level < 1 || level > kMaxLevels) return false;
  st.ui.SetBusyPointer(true);
  const int imax = SheetRowLimit(st);
  const std::string blank(static_cast<size_t>(std::max(st.DataLen, 0)), ' ');
  st.RefSheetRows.assign(static_cast<size_t>(imax) + 2, blank);
  st.RefUsedRows = 0;
  st.RefTotalRecord = FitRecord(st.TotalRecordDefaults[level], st.DataLen);
  st.RefSheetObjNo.clear();
  st.RefHasWColumn = RefLevelHasWColumn(st, level);

  GridSetup(st, grid, level, imax);
  LevelOneCheck(st);
  grid.SetSelectionColour(11);

  SheetChain chain;
  const bool ok = ReadRows(st, level, imax, chain);
  int used = std::min(static_cast<int>(chain.records.size()), imax + 1);
  for (int i = 1; i <= used; ++i) st.RefSheetRows[static_cast<size_t>(i)] = FitRecord(chain.records[i - 1], st.DataLen);
  if (used > 0 && RecordByte(st.RefSheetRows[static_cast<size_t>(used)], kKindPos) == kClosingKind) {
    st.RefTotalRecord = st.RefSheetRows[static_cast<size_t>(used)];
    st.RefSheetRows[static_cast<size_t>(used)] = blank;
    --used;
  }
  // A chain longer than the sheet: its first Imax rows.
  if (used > imax) {
    st.RefSheetRows[static_cast<size_t>(imax) + 1] = blank;
    used = imax;
  }
  st.RefUsedRows = used;
  st.RefSheetObjNo = Trim(st.RefTotalRecord.substr(std::min(st.RefTotalRecord.size(), size_t{kObjectPos - 1}),
                                                   kObjectWidth));

  GridFinish(st, grid, level);
  st.ui.SetBusyPointer(false);
  return ok;
}

std::string RefNumberText(std::string_view t, int decimals) {
  std::string integer;
  std::string fraction;
  if (decimals > 0) {
    const size_t cut = t.size() > static_cast<size_t>(decimals) + 1 ? t.size() - static_cast<size_t>(decimals) - 1 : 0;
    integer = Trim(t.substr(0, cut));
    fraction = std::string(t.substr(cut));
  } else {
    integer = Trim(t);
  }
  std::string sign;
  if (!integer.empty() && integer.front() == '-') {
    sign = "-";
    integer.erase(0, 1);
  }
  const size_t n = integer.size();
  if (n >= 4 && n <= 15) {
    const size_t padded = (n + 2) / 3 * 3;
    const std::string p = std::string(padded - n, ' ') + integer;
    std::string grouped;
    for (size_t i = 0; i < padded; i += 3) {
      if (i > 0) grouped += ',';
      grouped += p.substr(i, 3);
    }
    integer = Trim(grouped);
  }
  return sign + integer + fraction;
}

void RefRowDisplay(ProgramState& st, GridModel& grid, int first, int last) {
  st.ui.SetBusyPointer(true);
  const int level = st.RefCurrentLevel;
  const int imax = SheetRowLimit(st);
  const int cols = Columns(st, level);
  const int rows = static_cast<int>(st.RefSheetRows.size()) - 1;
  for (int i = std::max(first, 1); i <= last && i <= imax && i <= rows; ++i) {
    const std::string& rec = st.RefSheetRows[static_cast<size_t>(i)];
    const char mark = RecordByte(rec, kPrintMarkPos);
    const char kind = RecordByte(rec, kKindPos);
    const int child = BaseStrToNum(LinkField(rec, kChildPos), Hex(st));

    const std::string number = mark == 'U' ? std::string("  .") : RowNumberText(i);
    SetCellTextColor32(grid, 0, i, child > 0 ? 14 : 0);
    grid.SetCellText(0, i, child > 0 ? number + " " : number + FromSjis(std::string_view(&kind, 1)));

    if (OneOf(kMemoKinds, kind)) {
      SetMemoRow32(grid, i, 1);
      SetTextData32(grid, 1, i, MidAnsi(rec, kColumnDataPos, st.MemoRowMax));
      continue;
    }
    int colour = -1;
    if (mark == 'U')
      colour = 2;
    else if (mark == 'I')
      colour = 5;
    else if (OneOf(kTotalKinds, Upper(kind)))
      colour = 3;
    else if (Upper(kind) == 'Q')
      colour = 4;
    for (int c = 1; c <= cols; ++c) {
      if (colour >= 0) SetCellTextColor32(grid, c, i, colour);
      const std::string_view bytes = RefField(st, rec, level, c);
      if (AllBlank(bytes)) continue;
      std::string text;
      if (Upper(kind) != 'Q' && IsNumericColumn(st, level, c))
        text = RefNumberText(bytes, st.RefColDecimals[level][c]);
      else if (st.RefColType[level][c] == 'W')
        text = RTrimBlanks(FromSjis(CellTextSplit(st, bytes, c, level)));
      else
        text = FromSjis(bytes);
      grid.SetCellText(c, i, text);
    }
  }
  for (int r = std::max(st.RefUsedRows, 0) + 1; r <= imax; ++r) SetCellTextColor32(grid, 0, r, 7);
  st.ui.SetBusyPointer(false);
}

void RefSheetRedisplay(ProgramState& st, GridModel& grid, int top, int last) {
  constexpr int kBlock = 50;
  top = std::max(top, 1);
  if (top == 1) {
    if (last - 1 >= kBlock) {
      RefRowDisplay(st, grid, 1, 1 + kBlock);
      st.ui.ProcessEvents();
      SetTopCell32(grid, 0, 1, top);
      RefRowDisplay(st, grid, 2 + kBlock, last);
    } else {
      RefRowDisplay(st, grid, 1, last);
    }
  } else {
    if (last - top >= kBlock) {
      RefRowDisplay(st, grid, top, top + kBlock);
      st.ui.ProcessEvents();
      SetTopCell32(grid, 0, 1, top);
      RefRowDisplay(st, grid, top + kBlock + 1, last);
    } else {
      RefRowDisplay(st, grid, top, last);
      st.ui.ProcessEvents();
      SetTopCell32(grid, 0, 1, top);
    }
    RefRowDisplay(st, grid, 1, top - 1);
  }

  if (!grid.TotalsLine()) return;
  const int level = st.RefCurrentLevel;
  const int totals = SheetRowLimit(st) + 1;
  for (int c = 1; c <= Columns(st, level); ++c) {
    if (st.RefColStart[level][c] == 0 || st.RefColWidth[level][c] == 0) continue;
    std::string t(RefField(st, st.RefTotalRecord, level, c));
    if (!IsBlank(st.ColTotalKind[level][c]) && ColumnShown(st, level, c)) NumCommaFormat(st, level, t, c);
    grid.SetCellText(c, totals, FromSjis(t));
  }
}

}  // namespace kv
