#include "state/menu_rules.h"

#include <algorithm>

#include "core/path_shorten.h"

namespace kv {

namespace {

void Show(EditorMenus& m, std::string_view name, int index, bool visible) {
  m.At(name, index).visible = visible;
}

}  // namespace

void ApplyEditionMenus(EditorMenus& m, int systemKind, bool specialPrintSpec) {
  Show(m, "OutPutMenu", -1, systemKind == 3);
  Show(m, "OrderMenu", -1, systemKind == 3);
  Show(m, "ObjectMenu", -1, systemKind == 2 || systemKind == 4);
  if (systemKind == 1 || systemKind == 2 || systemKind == 4) {
    const bool equipment = systemKind == 1;
    Show(m, "Menu_3Sub", 17, equipment);
    Show(m, "Menu_3Sub", 18, equipment);
    Show(m, "Menu_3Sub", 19, systemKind != 2);
    Show(m, "Menu_3Sub", 20, equipment);
    Show(m, "Tokusyusub", 19, equipment);
    Show(m, "Tokusyusub", 20, equipment);
    Show(m, "Tokusyusub", 21, equipment);
  }
  // This decides the separator whatever the kind said.
  Show(m, "Tokusyusub", 19, specialPrintSpec);
  Show(m, "Tokusyusub", 22, specialPrintSpec);
}

void BusyLockMenus(EditorMenus& m, int systemKind, bool busy) {
  m.At("Menu_1").enabled = !busy;
  m.At("Menu_2").enabled = !busy;
  m.At("Menu_3", 3).enabled = !busy;
  if (systemKind == 2 || systemKind == 4) m.At("ObjectMenu").enabled = !busy;
  m.At("Menu_7").enabled = !busy;
  m.At("Tokusyu").enabled = !busy;
  m.At("MenuHelp").enabled = !busy;
}

void CheckOnly(EditorMenus& m, std::string_view name, int index) {
  for (MenuItem* item : m.Array(name)) item->checked = item->index == index;
}

void MaskMenuCaptions(EditorMenus& m, const std::array<std::string, 6>& maskNames) {
  for (int i = 0; i < 6; ++i) m.At("MaskGamen", i).caption = maskNames[size_t(i)];
  CheckOnly(m, "MaskGamen", 0);
}

void RecentMenuCaptions(EditorMenus& m, const std::array<std::string, 6>& recentFiles) {
  for (int i = 1; i <= 5; ++i) {
    const std::string& entry = recentFiles[size_t(i)];
    m.At("Menu_1Sub", 16 + i).caption = entry.empty() ? std::to_string(i) : PathShorten(entry, 32);
  }
}

std::string FontMenuCaption(std::string_view fontName) { return "ﾌｫﾝﾄ=" + std::string(fontName); }

void FontMenuCaptionSet(EditorMenus& m, std::string_view fontName) {
  m.At("Menu_7Sub", 2).caption = FontMenuCaption(fontName);
}

std::string ZoomMenuCaption(int zoom) {
  // A number's text carries a blank where a minus sign would stand.
  std::string number = zoom < 0 ? std::to_string(zoom) : " " + std::to_string(zoom);
  return "ｽﾞｰﾑ設定値=" + number + "%";
}

int LevelDisplayItem(std::string_view kvDisp) {
  if (kvDisp == "縦") return 1;
  if (kvDisp == "縦計") return 2;
  return 3;
}

FontChoiceResult FontChoiceFor(std::string_view fontName,
                               const std::vector<std::string>& screenFonts) {
  static constexpr std::string_view kFixed[] = {"標準明朝", "標準ゴシック", "ＭＳ 明朝",
                                                "ＭＳ ゴシック"};
  for (int i = 0; i < 4; ++i)
    if (fontName == kFixed[i]) return {i, std::string(fontName)};
  int position = 0;
  for (const std::string& f : screenFonts) {
    if (f.starts_with('@')) continue;
    if (std::find(std::begin(kFixed), std::end(kFixed), f) != std::end(kFixed)) continue;
    if (f == fontName) return {4 + position, std::string(fontName)};
    ++position;
  }
  return {2, "ＭＳ 明朝"};
}

}  // namespace kv
