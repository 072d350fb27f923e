#pragma once
// The pages of the options dialog: how it loads, how each page is filled from
// the column definitions of level 1 and the current settings, and how the
// lists, boxes and buttons react while the user works. Messages go through
// the UI seam with the title "オプション".
#include <string>
#include <string_view>

#include "app/options_state.h"
#include "core/currency.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kOptionTitle = "オプション";
inline constexpr std::string_view kNone = "(なし)";

// The heading text of level-1 column c: its bytes of the level caption,
// leading blanks removed.
std::string ColumnHeading(const ProgramState& st, int c);
// A level-1 column of type exactly "C" or "W".
bool IsTextColumn(const ProgramState& st, int c);

// The tax rate in percent as the box shows it: the whole decimal text
// (12.25, 8.5, 10, 0.5), never cut short.
std::string TaxRateText(Currency percent);
// An integer in the four-character form: the last four characters of four
// blanks and its decimal text ("   5", " -10").
std::string FourCharForm(int value);

// The caption of tab 3 for the system kind.
std::string NamesTabCaption(int systemKind);
// The expense-row rounding controls of page "編集2" are shown.
bool KeihiControlsShown(int systemKind);

// Load: clears the page flags, copies the width complements, takes the zoom
// row from the grid's zoom in percent (70 and 75 both give row 7), selects
// tab 1 and fills it, and takes the floating windows out of the topmost band.
void OptionFormLoad(ProgramState& st, OptionDialogState& d, int gridZoomPercent);

// The fills of the four pages.
void OptionFillEdit1Page(ProgramState& st, OptionDialogState& d);
void OptionFillEdit2Page(ProgramState& st, OptionDialogState& d);
void OptionFillNamesPage(ProgramState& st, OptionDialogState& d);
void OptionFillSiwakePage(ProgramState& st, OptionDialogState& d);

// Tab `tab` (1..4) becomes the selected one; a page shown while it does not
// count as changed is filled anew. Run after Tabs_BeforeClick let it happen.
void Tabs_Click(ProgramState& st, OptionDialogState& d, int tab);

// --- What the user does ---

// A pick of entry `index` in a list: change tracking, the range check of the
// two end lists, the packing of the link lists, the zoom row of the zoom list.
void OptionListPick(ProgramState& st, OptionDialogState& d, OptCombo id, int index);
// A click on ChkWrite (which 0) or ChkZero (which 1) leaving it at `value`.
void OptionCheckClick(OptionDialogState& d, int which, int value);
// The text of a box changed (typed, or put there by the dialog).
void OptionZeiChange(OptionDialogState& d, const std::string& text);
void OptionMaskNameChange(OptionDialogState& d, int i, const std::string& text);
void OptionTotalNameChange(OptionDialogState& d, int i, const std::string& text);
void OptionSetubiNameChange(OptionDialogState& d, int k, const std::string& text);
// A click on the option buttons of the names page.
void OptionNamesSelect(ProgramState& st, OptionDialogState& d, NamesFrame frame);
// Enter in txtMasuku(i): an empty name is refused ("名称が空白です") and keeps
// the focus; otherwise the name is cut to 20 bytes. False when refused.
bool OptionMaskNameEnter(ProgramState& st, OptionDialogState& d, int i);
// Enter in txtZei: the tax check; when it passes the focus goes to OK.
bool OptionTaxEnter(ProgramState& st, OptionDialogState& d);

// The width complement box and its spin button.
void OptionHabaKeyDown(OptionDialogState& d);
void OptionHabaEdit(OptionDialogState& d, const std::string& text);
void OptionHabaLostFocus(OptionDialogState& d);
void SpinButton1_SpinDown(OptionDialogState& d);
void SpinButton1_SpinUp(OptionDialogState& d);

}  // namespace kv
