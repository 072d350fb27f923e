#pragma once
// The sheet font and the offered-font file FONT.DAT: the logic of the font
// dialog Font_Frm ("文字ﾌｫﾝﾄ指定", pick the sheet font among the offered ones)
// and of frmSelectFont ("使用フォント選択", choose which installed fonts are
// offered). FONT.DAT lives in the program folder: one face name a line,
// Shift-JIS, CR LF.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;

// The fixed Japanese faces the estimates store. They are drawn with an
// installed Mincho or Gothic family, so they count as installed, and they are
// always offered: they never leave the offered list.
inline constexpr std::string_view kFixedFaces[] = {"ＭＳ 明朝", "ＭＳ ゴシック", "標準明朝", "標準ゴシック"};
bool IsFixedFace(std::string_view name);

std::string FontDatPath(const ProgramState& st);
// The names of FONT.DAT in file order (CR LF, a lone CR or LF ends a line; an
// empty line is an empty name). nullopt when the file is missing or cannot be
// read.
std::optional<std::vector<std::string>> FontDatRead(const std::string& path);
// Writes the names, one a line, replacing the file whole. False when it cannot
// be written (the old file stays as it was).
bool FontDatWrite(const std::string& path, const std::vector<std::string>& names);

// The order of the dialogs' sorted lists: the Shift-JIS names, letters
// without case.
bool FontNameLess(std::string_view a, std::string_view b);

// --- Font_Frm -----------------------------------------------------------------

struct FontFrmState {
  std::vector<std::string> Combo1;  // the offered fonts, sorted
  int selected = -1;                // the entry selected in Combo1
  int choiceAtActivation = -1;      // FontChoice when the dialog was activated
  std::string fontAtActivation;     // FontName then
};

// Every activation: fills Combo1 from FONT.DAT (the fixed faces when the file
// is missing), finds FontName in it and makes it `fontChoice`, remembers the
// values, and selects the entry at `fontChoice` (the first entry when that
// lies outside the list).
void FontComboLoad(ProgramState& st, FontFrmState& f, int& fontChoice);

// OK: the selected font becomes FontName and `fontChoice`; the View menu's
// font item shows it; the grid is set up again with it for the current level
// and its rows repainted (sheet engine, skipped without one), the sheet's
// objects reloaded (`reloadObjects`, skipped when empty); [Font] Name goes
// into DAVIROV.INI and then the estimate's settings file. Nothing is done
// when no entry is selected.
void FontFrmOk(ProgramState& st, FontFrmState& f, int& fontChoice, const std::function<void()>& reloadObjects);
// ｷｬﾝｾﾙ: the values held at activation come back (FontName is never
// changed); the font item shows the font; nothing is set up or written.
void FontFrmCancel(ProgramState& st, FontFrmState& f, int& fontChoice);
// After every button: status panel 6 shows FontName.
void FontStatusShow(ProgramState& st);
// The View menu's font item shows "ﾌｫﾝﾄ=" and FontName.
void FontMenuItemShow(ProgramState& st);

// --- frmSelectFont --------------------------------------------------------------

struct SelectFontState {
  std::vector<std::string> remembered;  // the names of FONT.DAT
  std::vector<std::string> LstSrcFont;  // offered, sorted
  std::vector<std::string> LstDscFont;  // installed and not offered, sorted
  int srcIndex = -1;
  int dscIndex = -1;
};

// Load: reads FONT.DAT and sorts the installed families (the fixed faces
// among them) into the two lists: vertical "@" faces and names that cannot be
// kept in FONT.DAT (no Shift-JIS form) in neither; the fixed faces and the
// names of FONT.DAT offered; the others not. A name of FONT.DAT that is not
// installed is in neither list and so leaves the file at the next OK.
void FontListFillSystem(ProgramState& st, SelectFontState& s, const std::vector<std::string>& installed);
// "< 追加(&A)": the selected right entry moves to the left list.
void FontListAdd(SelectFontState& s);
// "削除 >(&D)": the selected left entry moves to the right list, except a
// fixed face (nothing happens) and the font the sheet uses now (refused with
// "現在使用中のため削除出来ません!").
void FontListRemove(ProgramState& st, SelectFontState& s);
// OK: FONT.DAT gets the left list. False (after a message) when the file
// cannot be written; the dialog then stays open.
bool FontListSave(ProgramState& st, const SelectFontState& s);

// The manual at its page on fonts (help buttons).
void OpenHelpFile(ProgramState& st);

}  // namespace kv
