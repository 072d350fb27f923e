#include "editor/print_prep.h"

#include <algorithm>
#include <string>

#include "app/startup_init.h"
#include "core/record_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "sheet/selection_helpers.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/print_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/stored_number_base.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"

namespace kv {
namespace {

constexpr std::string_view kPrintTitle = "印刷";

// The search and reference windows hold sheets of their own; they are closed
// before a print dialog takes over.
void SearchAndRefUnload(ProgramState& st) {
  if (st.SearchSheetLoaded) {
    st.SearchSheetLoaded = false;
    st.ui.UnloadWindow(kSearchWindow);
  }
  if (st.RefSheetLoaded) {
    st.ui.UnloadWindow(kRefWindow);
    st.RefSheetLoaded = false;
  }
}

// What depends on the print form, which a print dialog may have changed: the
// page-break lines, the paper menu and both paper combos.
void PaperFormShow(ProgramState& st) {
  if (st.sheetEngine) st.sheetEngine->PageLinesDraw(st);
  if (st.print) {
    st.print->UpdatePaperMenu(st);
    st.print->FillPaperCombo(st);
  }
}

// A modified or untitled estimate is saved before it is printed, so that the
// printout and the page numbers come from the files. False when the user
// cancels or the save fails.
bool SaveBeforePrint(ProgramState& st) {
  if (!st.SheetModified && !IsUntitledName(st.WorkFileBase)) return true;
  if (AskUser(st, "編集中のﾌｧｲﾙを保存後に印刷をします", vbOKCancel, kPrintTitle) != vbOK) return false;
  if (!RecordSheet(st)) return false;
  st.SheetModified = false;
  st.PackPending = true;
  if (st.editor) st.editor->PageNumbersWrite(st);
  SheetFirstRecordReread(st);
  if (st.sheetEngine) st.sheetEngine->StatusPageShow(st, 1);
  return true;
}

}  // namespace

bool SheetFirstRecordReread(ProgramState& st) {
  const int level = st.CurrentLevel;
  const int recNo = level <= 1 ? 1 : BaseStrToNum(MidAnsi(st.ParentRows[size_t(level - 1)], 12, 4), st);
  try {
    RecordFile file(LevelFilePath(st, st.WorkFileBase, level), st, RecordFileMode::ReadOnly);
    return file.GetRecordText(recNo, st.SheetRows[1]);
  } catch (const RecordFileError&) {
    return false;
  }
}

std::string PrintRequestOf(std::string_view firstRecord) {
  const std::string_view page = TrimBlanks(firstRecord.substr(std::min<size_t>(15, firstRecord.size()), 3));
  const char mark = firstRecord.size() > 18 ? firstRecord[18] : ' ';
  if (page.empty()) return "1";
  if (mark == 'P') return std::string(page);
  if (mark == 'h') return std::to_string(BaseStrToNum(page, true));
  return "1";
}

void PrintRangeSet(ProgramState& st, int top, int bottom) {
  if (bottom - top > 0) {
    st.PrintRangeMode = 2;
    st.PrintRowFrom = top;
    st.PrintRowTo = bottom;
    return;
  }
  if (st.PrintRangeMode == 2) st.PrintRangeMode = 0;
  st.PrintRowFrom = 1;
  st.PrintRowTo = st.UsedRows;
}

bool PrintSetUpRun(ProgramState& st) {
  if (!st.ui.PrinterInstalled()) {
    AskUser(st,
            "プリンタがインストールされていないため、印刷設定を行うことが出来ません\r"
            "印刷設定を行うためには、プリンタをインストールしてください。",
            vbOKOnly, kAppTitle);
    return false;
  }
  SearchAndRefUnload(st);
  st.ui.ShowModal(kPrintSetUpWindow);
  PaperFormShow(st);
  FloatWindowsRaise(st);
  return true;
}

bool PrintRun(ProgramState& st) {
  if (!st.ui.PrinterInstalled()) {
    AskUser(st,
            "プリンタがインストールされていないため、TheKorvaneから印刷することが出来ません\r"
            "TheKorvaneから印刷を行うためには、プリンタをインストールしてください。",
            vbOKOnly, kAppTitle);
    return false;
  }
  st.UsedRows = LastUsedRow(st);
  if (st.UsedRows == 0) {
    AskUser(st, "印刷するデータがありません。", vbOKOnly, kPrintTitle);
    return false;
  }
  if (!SaveBeforePrint(st)) return false;
  SearchAndRefUnload(st);
  st.PrintRequest = PrintRequestOf(st.SheetRows[1]);
  // A selection dragged upwards counts as the same rows as one dragged down.
  const GridModel* grid = st.sheetEngine ? st.sheetEngine->EdtSheetGrid(st) : nullptr;
  const GridRect sel = grid ? GetSelRect(*grid) : GridRect{};
  PrintRangeSet(st, sel.top, sel.bottom);
  if (!st.editor || !st.editor->FormCaptionOpen(st, std::string(kPrintWindowCaption)))
    st.ui.ShowModal(kPrintWindow);
  PaperFormShow(st);
  CommandBusySet(st, false);
  return true;
}

}  // namespace kv
