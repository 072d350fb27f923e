#pragma once
// What the editor window keeps for itself between its events.
#include <string>

namespace kv {

struct EditorState {
  std::string HelpFile;  // the program's help file, set when the window loads
  bool TreeShown = false;  // the level tree pane is shown
  int FontChoice = -1;     // the sheet font's place in the font dialog's list
  bool CoverToolRunning = false;  // the cover tool runs; the window stays minimised
};

}  // namespace kv

#include <array>

namespace kv {

// The settings values the window reads when it loads (KVSSYS.INI and the
// estimate settings), kept here until the settings state carries them.
struct EditorWindowSettings {
  int EditWinLeft = -1;  // twips; -1 when the key was missing
  int EditWinTop = -1;
  int EditWinWidth = -1;
  int EditWinHeight = -1;
  int SizerPos = 0;                         // twips: splitter position and tree width
  std::string KVDisp;                       // level display: "縦", "縦計", other
  std::string RefDisp;
  bool DMTotalFlag = false;                 // parent-level totals line shown
  int KVZoom = 100;                         // percent
  int SheetPageLineStyle = 0;               // 0..3
  std::array<std::string, 6> RecentFiles;   // [1..5] "<n> <path>"
  std::array<std::string, 6> MASK_NAME;     // [0..5] names of the mask screens
  int OrviKenPrn = 0;                       // special print settings
  int OrviSUU = 0;
  int OrviTANKA = 0;
};

}  // namespace kv
