#pragma once
// What the editor window keeps for itself between its events.
#include <string>

namespace kv {

struct EditorState {
  std::string HelpFile;           // the program's help file, set when the window loads
  int FontChoice = -1;            // the sheet font's place in the font dialog's list
  bool CoverToolRunning = false;  // the cover tool runs; the window stays minimised
};

}  // namespace kv
