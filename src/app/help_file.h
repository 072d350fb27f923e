#pragma once
// The program's manual: a Qt help collection in the program folder, shown in
// the program's own help window. Every help command (the Help menu, the ﾍﾙﾌﾟ
// buttons and menus of the windows) comes here.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace kv {

struct ProgramState;

// The help window's name.
inline constexpr std::string_view kHelpWindow = "Help_Frm";
// The collection, below the program folder.
inline constexpr std::string_view kHelpCollectionFile = "help/korvane.qhc";
// The manual's first page: its table of contents.
inline constexpr std::string_view kHelpContentsPage = "index.html";

// The collection's path in the program folder (its name found without case).
std::string HelpCollectionPath(const ProgramState& st);

// Which page of the manual a window's help opens, by the window's name; the
// contents page for a window the table does not name.
std::string_view HelpPageOf(std::string_view windowName);
// The table behind HelpPageOf: window name, page.
const std::vector<std::pair<std::string_view, std::string_view>>& HelpPageTable();

// Shows the help window at the contents page. When the collection is not in
// the program folder the user is told so, and nothing else happens.
void HelpOpen(ProgramState& st);
// The same at the page of the window named.
void HelpOpen(ProgramState& st, std::string_view windowName);
// The same with the keyword index in front (Help > ｷｰﾜｰﾄﾞで検索).
void HelpIndexOpen(ProgramState& st);

// Closes the help window when it is open (the program ends).
void HelpClose(ProgramState& st);

// Where the help window was, in twips, from KVSSYS.INI; nullopt when the
// file keeps no whole rectangle that lies on a screen of `screen` twips (the
// window then opens at its own size, centred). A kept size is never larger
// than the screen.
std::optional<WindowRect> HelpWindowPlaceRead(const ProgramState& st, TextSize screen);
// Keeps the window's rectangle (twips) for the next time.
void HelpWindowPlaceSave(const ProgramState& st, const WindowRect& r);

}  // namespace kv
