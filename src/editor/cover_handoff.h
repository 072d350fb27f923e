#pragma once
// The hand-off to the outside cover tool (`Vorlet.exe` in the program folder),
// which makes the estimate's cover sheet (表紙). The estimate must have a name
// and its open sheet be recorded; the hand-off file `Mp_Cover.Dat` and a copy
// of the estimate settings (`KVSYSTEM.INI`) go into the program folder; the
// floating windows close and the main window is minimised and disabled while
// the tool runs; afterwards everything comes back and the sheet counts as
// modified when the tool changed the cover file (`<work base>.WH2`).
#include <functional>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace kv {

struct ProgramState;
struct EditorState;

// The hand-off file, the settings copy the tool reads, the tool, and the
// extension of the cover file.
inline constexpr std::string_view kCoverHandOffFile = "Mp_Cover.Dat";
inline constexpr std::string_view kCoverSettingsFile = "KVSYSTEM.INI";
inline constexpr std::string_view kCoverToolFile = "Vorlet.exe";
inline constexpr std::string_view kCoverFileExt = ".WH2";

// What the hand-off asks of the main window.
struct CoverHandOffPort {
  std::function<WindowState()> MainWindowState;
  std::function<void(WindowState)> SetMainWindowState;
  std::function<void(bool enabled)> SetMainWindowEnabled;
  // The sheet grid takes the keyboard focus.
  std::function<void()> GridFocus;
  // The current printer's key (`PrinterKey`): its device name with "\" as
  // "$" and "/" as "-"; "" without a printer.
  std::function<std::string()> PrinterKey;
};

// False, after the message (OK, the application title) that the cover cannot
// start without a printer, when no printer is installed.
bool CoverPrinterCheck(ProgramState& st);

// Writes the eight keys of section [WinPrint] of `Mp_Cover.Dat` in the program
// folder, in this order, each as one settings-file write (other keys and
// sections stay): LEVEL, PRN_REC_NO (the own record number of row 1, in
// decimal), PRNFILE (the estimate's folder and name with the level-1
// extension), PRN_LEVEL 0, PRN_FORM 1, PRN_LOOP 1, PRN_INI_FILE (`printerKey`
// + ".INI", "" for an empty key) and ORKN_PRN ("ON" for the special print
// form with OrviKenPrn 1, else "OFF").
void MpCoverFileMake(ProgramState& st, const std::string& printerKey);

// The whole hand-off (`KVCoverProc`). A call while one runs returns at once.
// An untitled estimate gets only the warning "見積ﾃﾞｰﾀを保存後に実行して下さい。".
// A modified sheet (or a breakdown sheet never written to its level file) is
// recorded first after the question "編集中のﾌｧｲﾙを保存後に表紙を作成します"
// (Yes/No, title "表紙ﾌｧｲﾙ"); No, or a recording that fails, ends the
// hand-off. The tool gets the work base as its one argument and is waited for
// (`CoverToolPid` while it runs, `CoverToolRunning` from the minimising to the
// end). A tool that cannot be started is reported
// ("表紙作成プログラムを起動できません。" and the program file's name) and
// the hand-off ends in order all the same.
void KVCoverProc(ProgramState& st, EditorState& ed, const CoverHandOffPort& port);

}  // namespace kv
