#pragma once
// The File menu of the editor window (`Menu_1Sub`): one handler for every
// item. It gates the commands by level, brackets them with the floating
// windows and the busy lock, and hands the work to the file commands and the
// project information.
#include <functional>

namespace kv {

struct ProgramState;

// Item indexes of the File menu.
inline constexpr int kFileNewItem = 0;
inline constexpr int kFileOpenItem = 1;
inline constexpr int kFileSaveItem = 3;
inline constexpr int kFileSaveAsItem = 4;
inline constexpr int kFileRefItem = 7;
inline constexpr int kFileCoverItem = 10;
inline constexpr int kProjectInfoItem = 12;
inline constexpr int kFirstRecentItem = 17;
inline constexpr int kLastRecentItem = 21;
inline constexpr int kExitItem = 23;

// What the handler asks of the editor window and the neighbours not built
// yet. A step left empty is skipped.
struct FileMenuPort {
  // Keeps the grid's selection and cursor (every item but print).
  std::function<void(ProgramState&)> SelRectStore;
  // Switches the two non-print marking modes off when they are on.
  std::function<void(ProgramState&)> NonPrintModesOff;
  // Recalculates and shows the totals of the sheet in memory (automatic
  // recalculation on).
  std::function<void(ProgramState&)> LevelRecalcAndShow;
  // Gives the sheet grid the focus.
  std::function<void(ProgramState&)> GridFocus;
  // Closes the editor window (its close request decides); true when closed.
  std::function<bool(ProgramState&)> UnloadEditor;
  // The cover tool hand-off (the window's KVCoverProc).
  std::function<void(ProgramState&)> KVCoverProc;
};

// The items wired to this handler.
inline constexpr int kFileMenuItems[] = {
    kFileNewItem, kFileOpenItem, kFileSaveItem, kFileSaveAsItem, kFileRefItem, kFileCoverItem, kProjectInfoItem,
    14, 15, 17, 18, 19, 20, 21, kExitItem};

// The outside project-information program; when it is in the program folder
// (found without regard to letter case) item 12 runs it instead of the
// project-information window.
inline constexpr const char* kProjectInfoTool = "Quenby.exe";

// Runs the command of item `index`:
//  - prologue: the selection kept (SelRectStore), the non-print modes off;
//    New, Open, Save As, the recent estimates and Exit only on level 1
//    ("(1)階層で実行して下さい" otherwise, and nothing else);
//  - New, Open, Save, Save As with the floating windows lowered, the editor
//    window made sure of, the totals recalculated after New, Open and Save As;
//  - the reference window (7): shown beside the editor (RefWindowShow);
//  - the cover (10): without a printer only its message, else the hand-off;
//  - project information (12): refused for an untitled estimate ("見積データ
//    を保存後に実行してください。"); with the outside program in the program
//    folder the editor is minimised and disabled (the floating windows
//    closed first) while that program runs, then given back its state and
//    the estimate marked modified; a program that cannot start is reported
//    ("工事情報プログラムを起動できません。" and its file) and nothing is
//    marked; without the program the project-information window is shown
//    modally and the floating windows raised afterwards;
//  - print set-up (14) and print (15) as PrintSetUpRun and PrintRun, once the
//    program has their dialogs (only the prologue and epilogue before);
//  - the recent estimates (17..21) as RecentFileOpen;
//  - Exit: the window closed, or the grid focused when that was refused;
//  - epilogue: the View menu's font caption.
// A command that fails unexpectedly is reported ("(Menu1_Sub_Err ｴﾗｰNo n)",
// or "開けません。他のﾕｰｻﾞｰが編集中です！" for a permission error) and
// ended: the busy lock released.
void Menu_1Sub_Click(ProgramState& st, int index, const FileMenuPort& port);

}  // namespace kv
