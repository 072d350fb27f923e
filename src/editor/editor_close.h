#pragma once
// The close request of the editor window: whether the program may end now,
// asking to save a changed estimate first, and the shut-down itself.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;

// The steps of the close that belong to other parts of the program, handed in
// by whoever wires the window. A step left empty is skipped; without
// `AppShutdown` nothing stops the close.
struct EditorCloseSteps {
  // The last used row of the sheet in memory (0 for an empty sheet).
  std::function<int(ProgramState&)> LastUsedRow;
  // Saves the embedded objects of the sheet in memory beside the work files.
  std::function<void(ProgramState&, const std::string& workBase)> SaveSheetObjects;
  // Customer variant: keeps the last estimate's values for the companion program.
  std::function<void(ProgramState&, const std::string& filePath, const std::string& workBase)>
      SaveLastEstimateSetting;
  // Packs a pending estimate, saves the settings, empties the work folders and
  // ends the program. False when the program must stay open (a refused or
  // failed pack); may not return at all.
  std::function<bool(ProgramState&)> AppShutdown;
};

// The close request, whatever asked for it (title bar, File > Exit, the
// desktop). The tests, in this order, the first that applies deciding:
//  1. a command holds the busy lock, 2. an equipment recalculation runs:
//     refused without a word;
//  3. below level 1: "(1)階層で実行して下さい", refused;
//  4. the cover tool runs: "表紙が起動中のため終了できません", refused;
//  5. a recovery, 6. a print runs: refused without a word;
//  7. `UsedRows` is refreshed;
//  8. a changed estimate asks whether to save it (Yes records the sheet and
//     refuses when that fails; Cancel refuses); an untitled estimate with no
//     used row is never asked about;
//  9. customer variant: the last estimate's values are kept;
// 10. the shut-down; refused when it reports that the program must stay.
// Returns true when the close is refused (the window stays open).
bool Form_QueryUnload(ProgramState& st, const EditorCloseSteps& steps);

// The save prompt's text for the estimate of that work name.
std::string SaveOnCloseQuestion(const std::string& workName);

}  // namespace kv
