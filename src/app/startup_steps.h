#pragma once
// What the start-up asks of other parts of the program that it does not own
// and reaches through no service of the program state: the estimate storage
// (lock file, old-format check, special-print conversion, recovery), and the
// main window's controls (its grid with its sheet objects, its toolbars). Whoever wires the program hands
// them in; tests hand in doubles.
//
// A step left empty is not available in this build, and the start-up does
// without it as each member says.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;

struct StartupSteps {
  // --- Estimate storage ------------------------------------------------------
  // True when the work folder holds the work files of a named estimate left by
  // an abnormal end. Empty: no recovery is offered.
  std::function<bool(ProgramState&)> RecoverFilesExist;
  // Releases the lock file of the open estimate and takes that of `path`;
  // false when the user gave the file up to the machine holding it. Empty: the
  // file is opened without a lock file.
  std::function<bool(ProgramState&, const std::string& path)> LanLockAcquire;
  // Deletes the lock file of the open estimate (`CurrentFilePath`).
  std::function<void(ProgramState&)> LanLockRelease;
  // False when the level-1 work file of `workBase` is of the old format and
  // the user did not take it over (after its own message). Empty: taken as is.
  std::function<bool(ProgramState&, const std::string& workBase)> OldFileAndPageChk;
  // Special-print option: converts the estimate's building-edition data.
  std::function<void(ProgramState&, const std::string& workBase)> SpecialPrintConvert;
  // Loads the sheet objects of `SheetObjNo` of `WorkFileBase` into the sheet
  // grid.
  std::function<void(ProgramState&)> LoadSheetObjects;
  // Opens the estimate the recovery wizard restored (`RecoveredFilePath`).
  std::function<void(ProgramState&)> RecoverFileOpen;

  // --- The main window's controls ------------------------------------------------
  // The grid options of the sheet grid (mouse mode `EditCursor`, page-break
  // line style `SheetPageLineStyle`); the grid stays hidden until it is set up.
  std::function<void(ProgramState&)> GridOptionsSet;
  // The level tree shown, the memo row's one-row grid hidden.
  std::function<void(ProgramState&)> TreeShowRowSheetHide;
  // One cell text of the sheet grid (display text).
  std::function<void(ProgramState&, int col, int row, const std::string& text)> GridCellSet;
  // Restores the stored button arrangement of the extended toolbar when it is
  // shown.
  std::function<void(ProgramState&)> Toolbar2ArrangementRestore;
  // Presses the auto-advance button of the basic toolbar: "NOT", "UNDER" or
  // "RIGHT".
  std::function<void(ProgramState&, const std::string& key)> Toolbar1ButtonPress;
  // Moves the grid cursor.
  std::function<void(ProgramState&, int col, int row)> SheetLocate;
  // The sheet grid takes the focus; the zoom and paper combos come to the
  // front of the toolbar they lie on.
  std::function<void(ProgramState&)> SheetFocusCombosFront;
};

}  // namespace kv
