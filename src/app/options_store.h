#pragma once
// What the options dialog's buttons do: OK checks every page, stores the
// changed pages into the program-wide settings, writes both settings files,
// relabels the mask menu, lays the editor out again and marks the estimate
// modified; Cancel stores and writes nothing; Help opens the help file. And
// the View command that shows the dialog.
#include <functional>

namespace kv {

struct ProgramState;
struct OptionDialogState;

void OptionStoreEditColumns(ProgramState& st, OptionDialogState& d);
void OptionStoreTaxAndLinks(ProgramState& st, OptionDialogState& d);
void OptionStoreNames(ProgramState& st, OptionDialogState& d);
void OptionStoreSiwakeColumns(ProgramState& st, OptionDialogState& d);
// The changed pages in page order; each page's flag is cleared.
void OptionStoreAll(ProgramState& st, OptionDialogState& d);

// OK: true when every check passed and the options were stored and written
// (the dialog then closes); false keeps the dialog open with nothing stored.
// In order: the checks, OptionStoreAll, SheetOptionsSave of DAVIROV.INI while
// the estimate uses the current settings, SheetOptionsSave of the estimate's
// settings file, the mask menu captions, the level bar, grid place and parent
// path (sheet engine, skipped without one), SheetModified.
bool OptionOk(ProgramState& st, OptionDialogState& d);

// Help: the manual at its page on the options.
void OptionHelp(ProgramState& st);

// What a click of one of the dialog's buttons leaves the dialog to do.
enum class OptionButtonEnd {
  Stay,       // a refused check, or Help
  Stored,     // OK stored and wrote everything: the dialog closes
  Cancelled,  // Cancel: the dialog closes and nothing is stored
};
// The dialog's buttons `SetOPButton`(index): 0 OK (OptionOk), 1 Cancel,
// 2 Help (OptionHelp).
OptionButtonEnd SetOPButton_Click(ProgramState& st, OptionDialogState& d, int index);

// The View command that opens the options dialog ("SetOption", modal). When
// the width complement of the grid's zoom row changed meanwhile, the grid is
// set up again for the current level, its rows repainted and the sheet's
// objects reloaded (`reloadObjects`, skipped when empty) under the busy
// pointer, and the grid gets the focus (`focusGrid`, skipped when empty).
// Then the floating windows are raised.
void ViewOptionsCommand(ProgramState& st, const std::function<int()>& gridZoomPercent,
                        const std::function<void()>& reloadObjects,
                        const std::function<void()>& focusGrid);

}  // namespace kv
