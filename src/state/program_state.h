#pragma once
// The program-wide state: one object made at start-up and handed to every
// module (tests make a fresh one per case). Each group of values is declared in
// a header of its own beside this one; this object joins them so that every
// value keeps its one name (`st.AppPath`, `st.DataLen`, `st.SheetRows`). The
// neighbouring subsystems it points to are reached through the interfaces
// beside it, so a lower layer calls a higher one without including it.
#include <array>
#include <string>
#include <vector>

#include "state/calc_state.h"
#include "state/classify_state.h"
#include "state/code_tables.h"
#include "state/column_tables.h"
#include "state/edit_state.h"
#include "state/estimate_settings.h"
#include "state/file_set_def.h"
#include "state/help_hooks.h"
#include "state/level_nav_state.h"
#include "state/number_chars.h"
#include "state/print_info.h"
#include "state/ref_window_state.h"
#include "state/sheet_state.h"
#include "state/sys_settings.h"
#include "state/equipment_tables.h"

namespace kv {

class Ui;
class CalcServices;
class SheetServices;
class EditorServices;
class PrintServices;
class ClassifyServices;
class ReferenceServices;
class FileCommandServices;

// Identity of the open estimate and of the installation.
struct Identity {
  std::string AppPath;                   // the program folder
  std::string WorkFolderName = "/WORK";  // below AppPath, with its leading separator
  std::string RefWorkFolderName;         // "/WORK2" once the reference window loads
  std::string CurrentFilePath;           // the packed estimate; AppPath/WORK/無題 while untitled
  std::string WorkFileBase;              // work files without extension: AppPath/WORK/<work name>
  std::string KVData;                    // folder of the estimate last opened or saved
  std::string KvTextPath;                // AppPath/ + [Boot] KVtext
  std::string MachineName;               // host name; written into lock files
  std::string LockHolderLine;            // this program in lock files: user, process id, token
  std::vector<std::string> LocksHeld;    // lock files this program took and has not released
  std::string CompanionExePath;          // customer variant: companion program
  std::string RecoveredFilePath;         // estimate produced by the recovery wizard
};

// Edition of the installation: fixed during start-up, never changed afterwards.
struct Edition {
  int SystemKind = 2;  // 1..4; 1 is the equipment edition
  bool SpecialPrintSpec = false;
  bool CustomerVariant2 = false;
  bool CustomerVariant = false;
  bool GovTaxMode = false;
};

// Settings of the open estimate that are not settings-file values, and the
// status of long-running work.
struct Status {
  bool UsesCurrentSettings = true;
  bool IsSetubiSiwakeFile = false;

  bool StartingUp = false;
  bool NoSplash = false;
  bool OpenedFromCommandLine = false;
  bool RecoveryRunning = false;
  bool SheetModified = false;
  bool PackPending = false;
  // The user declined or cancelled a save question for the pending changes:
  // they are no longer packed without asking (at the end, Open, New).
  bool PackDeclined = false;
  bool SheetLoading = false;
  bool CommandBusy = false;
  // The non-print row command is locked while the unit, reference, search or
  // classification window is open.
  bool HiinsatuLock = false;
  bool PrintRunning = false;
  long CoverToolPid = 0;
  bool EquipRecalcRunning = false;
  bool RecalcAllRunning = false;
  int PrintRangeMode = 0;  // 0 level, 1 page range, 2 row range
  // The rows a row-range print covers, and the first page number of the sheet
  // being printed (decimal text); set by the print command for its dialog.
  int PrintRowFrom = 0;
  int PrintRowTo = 0;
  std::string PrintRequest;
  // -99 while the all-level recalculation of a converted file runs (it then
  // stays within levels 1 and 2 and carries nothing up), else 0.
  int RecordLinkState = 0;
};

// Open tool windows (used to lower and raise them around message boxes and to
// refuse conflicting commands).
struct WindowFlags {
  bool RefWindowOpen = false;
  bool RefSheetLoaded = false;
  bool SearchWindowOpen = false;
  bool SearchSheetLoaded = false;
  std::string SearchTitle;  // the search window's caption while it serves the reference window
  bool RefSearchOpen = false;
  bool SiwakeWindowOpen = false;
  bool UnitWindowOpen = false;
  bool ToolBar1Floating = false;
  bool ToolBar2Floating = false;
  bool SbMsgShown = false;
};

// Values exchanged with the small modal dialogs.
struct DialogValues {
  int Select2Result = 0;     // Select_1 / Select_2: index of the button chosen
  std::string InputPrompt;   // Z_InputBox in
  std::string InputTitle;    // Z_InputBox in
  std::string InputText;     // Z_InputBox in / out
  int InputMaxLen = 0;       // Z_InputBox in (characters)
  bool InputOk = false;      // Z_InputBox out
  int InputImeMode = 0;      // Z_InputBox in: Japanese input 0 unchanged, 1 on, 2 off
  std::string LanMsgFileName;  // LAN_Msg_frm in
  int LanMsgAnswer = 0;        // LAN_Msg_frm out
};

// One row of the compound search conditions (display text).
struct KensakuCondEntry {
  std::string ColumnNo;    // the searched column's number after a blank (" 5"); "" for an empty entry
  std::string Pattern;     // the search text
  std::string WithBlanks;  // "1": blanks kept as written; "0" or "": blanks taken out
};

// The compound search conditions: entries 0..4 used, entry 5 never; entry 0
// empty means a simple search of the search box's text.
struct SearchConditions {
  std::array<KensakuCondEntry, 6> KensakuCond{};
};

struct ProgramState : Identity,
                      Edition,
                      Status,
                      WindowFlags,
                      DialogValues,
                      FileSetDef,
                      EstimateSettings,
                      SysSettings,
                      ColumnTables,
                      RefLayoutTables,
                      RefWindowState,
                      PrintInfo,
                      NumberCharSets,
                      SheetState,
                      EditState,
                      CalcState,
                      CodeTableState,
                      ClassifyState,
                      EquipmentTables,
                      LevelNavState,
                      SearchConditions {
  explicit ProgramState(Ui& userInterface) : ui(userInterface) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  Ui& ui;  // the one way to the user

  // Neighbouring subsystems, wired in at start-up once they exist; null until
  // then (callers skip what they would have asked of them).
  CalcServices* calc = nullptr;
  SheetServices* sheetEngine = nullptr;
  EditorServices* editor = nullptr;
  PrintServices* print = nullptr;
  ClassifyServices* classify = nullptr;
  ReferenceServices* reference = nullptr;
  FileCommandServices* fileCommands = nullptr;  // naming, packing, discard for the level writer
  HelpHooks help;  // the help window, set by the window code
};

}  // namespace kv
