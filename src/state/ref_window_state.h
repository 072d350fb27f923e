#pragma once
// The reference window: where its estimate's work files lie, the window's
// place, and the sheet it shows (one level sheet of the reference, read only).
#include <array>
#include <string>
#include <vector>

namespace kv {

class TreeModel;

struct RefWindowState {
  // Base path of the reference level files: AppPath/WORK2/<name>, or
  // AppPath/WORK2/無題 while no reference file is open.
  std::string RefWorkFileBase;
  // The reference file shown, as chosen ("" once the window is closed).
  std::string RefFilePath;
  bool RefTreeShown = false;  // the tree pane is part of the window's layout
  // Place and size of the window and the splitter's left edge, in twips (-1
  // when the settings file has none).
  long RefWinLeft = -1;
  long RefWinTop = -1;
  long RefWinWidth = -1;
  long RefWinHeight = -1;
  long RefSizerPos = -1;
  std::string RefData;  // folder of the last reference opened
  // The conversion window's answer: -1 cancelled (also before it is shown).
  int RefLinkCancelled = -1;
  // The conversion rule last chosen or saved; the next conversion starts
  // from it while it still fits both layouts.
  std::string ChgRuleSelName;
  // The reference shown shares the editor's column geometry on every level,
  // or was converted to it; the copies need it.
  bool RefFitsEditor = true;

  // ---- The sheet shown ----
  std::vector<std::string> RefSheetRows;  // 0..Imax + 1; 1 is the first row
  int RefUsedRows = 0;
  std::string RefTotalRecord;  // the closing record of the sheet shown
  std::string RefSheetObjNo;   // its object file number, "" when none
  int RefCurrentLevel = 1;
  std::array<std::string, 9> RefParentRows;  // by level: the row whose breakdown is shown below
  int RefSelStart = 0;  // cursor column
  int RefSelEnd = 0;    // cursor row
  bool RefHasWColumn = false;
  std::array<int, 9> RefDivideX{};
  std::array<int, 9> RefDivideY{};
  bool RefDivideHold = false;  // a level is being shown: split events are not kept
  // By level: the top-left cell, cursor row and column when going down.
  std::array<int, 9> RefPathTopCol{};
  std::array<int, 9> RefPathTopRow{};
  std::array<int, 9> RefPathSelEnd{};
  std::array<int, 9> RefPathSelStart{};
  // ---- The copy of lower levels ----
  // The deepest reference level whose chains are copied (0: none); -1 in
  // RefCopyCancel when the depth dialog was cancelled; the dialog's options
  // "２階層" .. "８階層" that may be chosen (index = level - 2).
  int RefCopyDepth = 0;
  int RefCopyCancel = 0;
  std::array<bool, 7> RefCopyLevelEnabled{};
  // By destination level: the records its level file holds plus those the
  // copy would add.
  std::array<int, 11> RefCopyCounts{};

  // The window's level tree; null while the window is not there.
  TreeModel* RefTree = nullptr;
};

}  // namespace kv
