#include "editor/mask_setup.h"

#include <algorithm>
#include <string>

#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fields.h"
#include "state/editor_services.h"
#include "app/help_file.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"
#include "storage/mask_info_save_file.h"
#include "storage/mask_info_save_sys.h"
#include "storage/mask_marks.h"
#include "storage/sheet_objects.h"

namespace kv {
namespace {

constexpr const char* kInputBoxWindow = "Z_InputBox";

int Level(const ProgramState& st) { return std::clamp(st.CurrentLevel, 1, 8); }
int Columns(const ProgramState& st) { return std::clamp(st.ColCount[Level(st)], 0, kMaxColumns); }
int Screen(const ProgramState& st) { return MaskScreenIndex(st.XMASK[Level(st)]); }
int Width(const ProgramState& st, int col) { return std::max(st.ColWidth[Level(st)][col], 0); }

std::string Marked(const ProgramState& st, int col) { return std::string(size_t(Width(st, col)), 'X'); }
std::string Blank(const ProgramState& st, int col) { return std::string(size_t(Width(st, col)), ' '); }

std::string NamePrompt(const ProgramState& st) {
  const int s = Screen(st);
  return "現在の画面番号  " + std::to_string(s) + "\n現在の画面名 " + st.MASK_NAME[size_t(s)] +
         "です\n画面名を入力して下さい";
}

// The new name from Z_InputBox without leading blanks; "" when cancelled.
std::string AskName(ProgramState& st) {
  st.InputPrompt = NamePrompt(st);
  st.InputTitle = "画面名入力";
  st.InputText = st.MASK_NAME[size_t(Screen(st))];
  st.InputMaxLen = 20;
  st.ui.ShowModal(kInputBoxWindow);
  const size_t first = st.InputText.find_first_not_of(' ');
  st.InputText = first == std::string::npos ? std::string() : st.InputText.substr(first);
  st.ui.UnloadWindow(kInputBoxWindow);
  return st.InputOk ? st.InputText : std::string();
}

void PutName(ProgramState& st, const std::string& file, int screen) {
  if (!IniPutString("マスク情報", "MASK_NAME" + std::to_string(screen), st.MASK_NAME[size_t(screen)], file))
    WarnMsgBox(st, "設定ファイル " + file + " に書き込めません。");
}

std::string Davirov(const ProgramState& st) { return st.AppPath + "/DAVIROV.INI"; }

void RelayEditorSheet(ProgramState& st) {
  SheetServices* engine = st.sheetEngine;
  if (engine == nullptr) return;
  st.ui.SetBusyPointer(true);
  st.SheetLoading = true;
  engine->SheetGridInit(st, st.CurrentLevel);
  st.SheetLoading = false;
  engine->SheetRedisplay(st, 1, st.UsedRows);
  if (GridModel* sheet = engine->EdtSheetGrid(st)) LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, *sheet);
  st.ui.SetBusyPointer(false);
}

}  // namespace

std::string MskSheetCaption(const ProgramState& st) {
  return "マスク設定画面 [ " + st.MASK_NAME[size_t(Screen(st))] + " ]";
}

void MskSheetLoad(ProgramState& st, GridModel& grid) {
  const int level = Level(st), cols = Columns(st), screen = Screen(st);
  grid.SetVisible(false);
  grid.SetRedraw(false);
  grid.SetRowCount(1);
  grid.SetColCount(cols);
  grid.SetFontName(st.FontName);
  const int size = grid.FontSize();
  const int h = PointToHeight32(grid, size) + 1;
  SetRowHeight32(grid, 0, h);
  SetRowHeight32(grid, 1, h);
  SetColWidth32(grid, 0, 2 * PointToWidth32(grid, size));
  const std::string& captions = st.LevelCaption[size_t(level)];
  for (int c = 1; c <= cols; ++c) {
    const int width = Width(st, c);
    const bool w = st.ColType[level][c] == "W";
    SetColWidth32(grid, c,
                  CellTextExtent(st, false, w ? WColumnLineWidth(width) : width, grid.FontName(), size, grid.Zoom()));
    std::string caption = MidAnsi(captions, st.ColStart[level][c], width);
    if (w) {
      caption = RTrimBlanks(caption);
      CaptionWidthFit(caption, width);
    }
    SetTextData32(grid, c, 0, caption);
    SetTextData32(grid, c, 1, st.MaskDef[level][c][size_t(screen)] == 'M' ? Marked(st, c) : Blank(st, c));
  }
  SetZoom32(grid, 100);
  grid.SetRedraw(true);
  grid.SetVisible(true);
  grid.SetMouseMode(st.EditCursor);
  SetSheetLocate32(grid, st.ToTalNameColmun, 1);
}

void MskSheetToggle(const ProgramState& st, GridModel& grid, int col) {
  if (col < 1 || col > Columns(st)) return;
  SetTextData32(grid, col, 1, IsBlank(grid.CellText(col, 1)) ? Marked(st, col) : Blank(st, col));
}

void MskSheetKeyDown(const ProgramState& st, GridModel& grid, int& key) {
  if (key == gridkey::kReturn) {
    if (grid.CurrentCol() >= 1 && grid.CurrentRow() == 1) MskSheetToggle(st, grid, grid.CurrentCol());
  } else if (key == gridkey::kDelete) {
    key = 0;
  }
}

void MskSheetLButtonDown(const ProgramState& st, GridModel& grid, int col, int row, bool& ignore) {
  if (col != grid.CurrentCol() || row != grid.CurrentRow()) return;
  ignore = true;
  MskSheetToggle(st, grid, col);
}

void MaskOpen_Click(const ProgramState& st, GridModel& grid) {
  for (int c = 1; c <= Columns(st); ++c) SetTextData32(grid, c, 1, Blank(st, c));
}

void MaskHelp_Click(ProgramState& st) { HelpOpen(st, "MskSheet_Frm"); }

MaskRecOutcome MaskRec_Click(ProgramState& st, GridModel& grid) {
  MaskRecOutcome out;
  // 1. At least one column must stay shown.
  const int cols = Columns(st);
  bool anyShown = false;
  for (int c = 1; c <= cols && !anyShown; ++c) {
    grid.SetCurrentCol(c);
    anyShown = IsBlank(grid.CurrentText());
  }
  if (!anyShown) {
    WarnMsgBox(st, "全項目のﾏｽｸは無効です.");
    return out;
  }
  // 2., 3. The screen's name.
  const std::string typed = AskName(st);
  if (typed.empty()) return out;
  // 4. Stored and shown.
  const int screen = Screen(st);
  st.MASK_NAME[size_t(screen)] = CutToBytes(Utf8{typed}, 20);
  if (st.editor != nullptr) st.editor->MaskMenuCaptionSet(st);
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 3, st.MASK_NAME[size_t(screen)]);
  // 5. Written; from here the estimate holds something the next save must keep.
  PutName(st, st.WorkFileBase + ".INI", screen);
  if (st.UsesCurrentSettings) PutName(st, Davirov(st), screen);
  if (!IsUntitledName(st.WorkFileBase)) st.PackPending = true;
  // 6. The levels.
  int first = st.CurrentLevel, last = st.CurrentLevel;
  if (!st.LevelsDifferInCols) {
    const int answer = AskUser(st, "全階層のﾏｽｸを指定しますか?", vbYesNoCancel + vbQuestion, "マスク設定");
    if (answer == vbCancel) return out;
    if (answer == vbYes) {
      first = 1;
      last = st.LevelCount;
      out.caption = "**全階層のﾏｽｸ設定**";
    }
  }
  // 7., 8. The marks.
  const MaskMarks marks = [&grid](int c) { return grid.CellText(c, 1); };
  MaskInfoSaveFile(st, first, last, marks);
  if (st.UsesCurrentSettings) {
    PutName(st, Davirov(st), screen);
    MaskInfoSaveSys(st, first, last, marks);
  }
  // 9., 10.
  RelayEditorSheet(st);
  out.unload = true;
  return out;
}

}  // namespace kv
