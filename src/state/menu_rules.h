#pragma once
// The rules that set the editor's menu items: by edition at load, the busy
// lock, and the captions and check marks that follow the settings (mask
// screens, recent estimates, font, zoom, level display, page-break lines).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "state/menu_model.h"

namespace kv {

// Items by edition. "出力表示" and "発注書" only in kind 3, "挿入" only in
// kinds 2 and 4; the equipment rows of the calculation menu and the non-print
// level items by kind (a kind other than 1, 2, 4 leaves them as designed);
// then the special-print separator and item by `specialPrintSpec` alone.
void ApplyEditionMenus(EditorMenus& menus, int systemKind, bool specialPrintSpec);

// The menus a running command locks (true) or frees (false): File, Edit,
// calculation rows, Insert (kinds 2 and 4 only; otherwise it keeps its
// state), View, extended functions, Help.
void BusyLockMenus(EditorMenus& menus, int systemKind, bool busy);

// Checks item `index` of the array `name` and clears the check of the others.
void CheckOnly(EditorMenus& menus, std::string_view name, int index);

// The six mask screens take the screen names; screen 0 is checked.
void MaskMenuCaptions(EditorMenus& menus, const std::array<std::string, 6>& maskNames);

// The five recent estimates (entries 1..5 of `recentFiles`) shortened to 32
// characters; an entry that is empty shows its digit.
void RecentMenuCaptions(EditorMenus& menus, const std::array<std::string, 6>& recentFiles);

// "ﾌｫﾝﾄ=" and the font name: the View menu's font item.
std::string FontMenuCaption(std::string_view fontName);
void FontMenuCaptionSet(EditorMenus& menus, std::string_view fontName);

// "ｽﾞｰﾑ設定値=", the zoom with a blank for its sign, "%": "ｽﾞｰﾑ設定値= 100%".
std::string ZoomMenuCaption(int zoom);

// The level display item (DM_DISP) of a display mode: "縦" 1, "縦計" 2,
// anything else 3.
int LevelDisplayItem(std::string_view kvDisp);

// The font numbering the font dialog starts from: 0..3 for the four fixed
// Japanese faces, else 4 + the position of the font among the screen's other
// fonts (not "@" vertical ones, none of the four). A font found nowhere gives
// 2 and the name "ＭＳ 明朝".
struct FontChoiceResult {
  int fontChoice = -1;
  std::string fontName;
};
FontChoiceResult FontChoiceFor(std::string_view fontName,
                               const std::vector<std::string>& screenFonts);

}  // namespace kv
