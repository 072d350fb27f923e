// The font dialogs' logic and the offered-font file.
#include "app/font_choice.h"

#include <algorithm>
#include <system_error>

#include "app/help_file.h"
#include "core/ini_file.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void InsertSorted(std::vector<std::string>& list, std::string name) {
  auto at = std::upper_bound(list.begin(), list.end(), name,
                             [](const std::string& a, const std::string& b) { return FontNameLess(a, b); });
  list.insert(at, std::move(name));
}

// The entry to select after one was taken out at `i`: the same place, or the
// new last entry; none in an empty list.
int AfterRemoval(int i, size_t count) { return count == 0 ? -1 : std::min(i, static_cast<int>(count) - 1); }

bool Contains(const std::vector<std::string>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// A name FONT.DAT can hold: it comes back unchanged from Shift-JIS.
bool StorableName(std::string_view name) { return FromSjis(ToSjis(name)) == name; }

void SettingsWrite(ProgramState& st, const std::string& file, const std::string& fontName) {
  if (!IniPutString("Font", "Name", fontName, file)) WarnMsgBox(st, "設定ファイル " + file + " に書き込めません。");
}

}  // namespace

bool IsFixedFace(std::string_view name) {
  return std::find(std::begin(kFixedFaces), std::end(kFixedFaces), name) != std::end(kFixedFaces);
}

std::string FontDatPath(const ProgramState& st) {
  return fs::ResolveNoCase(fs::stdfs::path(st.AppPath) / "FONT.DAT").string();
}

std::optional<std::vector<std::string>> FontDatRead(const std::string& path) {
  std::error_code ec;
  std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
  if (!bytes) return std::nullopt;
  std::vector<std::string> names;
  std::string line;
  bool open = false;  // a line has begun and is not ended yet
  for (size_t i = 0; i < bytes->size(); ++i) {
    const char c = (*bytes)[i];
    if (c == '\r' || c == '\n') {
      names.push_back(FromSjis(line));
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') ++i;
      continue;
    }
    line += c;
    open = true;
  }
  if (open) names.push_back(FromSjis(line));
  return names;
}

bool FontDatWrite(const std::string& path, const std::vector<std::string>& names) {
  std::string bytes;
  for (const std::string& name : names) bytes += ToSjis(name) + "\r\n";
  std::error_code ec;
  return fs::WriteFileAtomic(path, bytes, ec);
}

bool FontNameLess(std::string_view a, std::string_view b) {
  // In the order of the stored (Shift-JIS) names, as the file keeps them.
  const std::string x = ToSjis(a);
  const std::string y = ToSjis(b);
  const size_t n = std::min(x.size(), y.size());
  for (size_t i = 0; i < n; ++i) {
    const char p = Lower(x[i]);
    const char q = Lower(y[i]);
    if (p != q) return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
  }
  if (x.size() != y.size()) return x.size() < y.size();
  return x < y;
}

// --- Font_Frm -----------------------------------------------------------------

void FontComboLoad(ProgramState& st, FontFrmState& f, int& fontChoice) {
  std::optional<std::vector<std::string>> names = FontDatRead(FontDatPath(st));
  f.Combo1 = names ? *names : std::vector<std::string>(std::begin(kFixedFaces), std::end(kFixedFaces));
  std::stable_sort(f.Combo1.begin(), f.Combo1.end(),
                   [](const std::string& a, const std::string& b) { return FontNameLess(a, b); });
  for (size_t i = 0; i < f.Combo1.size(); ++i) {
    if (f.Combo1[i] == st.FontName) {
      fontChoice = static_cast<int>(i);
      break;
    }
  }
  f.choiceAtActivation = fontChoice;
  f.fontAtActivation = st.FontName;
  const int count = static_cast<int>(f.Combo1.size());
  f.selected = fontChoice >= 0 && fontChoice < count ? fontChoice : (count > 0 ? 0 : -1);
}

void FontFrmOk(ProgramState& st, FontFrmState& f, int& fontChoice, const std::function<void()>& reloadObjects) {
  if (f.selected < 0 || f.selected >= static_cast<int>(f.Combo1.size())) return;
  fontChoice = f.selected;
  st.FontName = f.Combo1[static_cast<size_t>(f.selected)];
  FontMenuItemShow(st);
  st.SheetLoading = true;
  if (st.sheetEngine != nullptr) st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
  st.SheetLoading = false;
  st.ui.SetBusyPointer(true);
  if (st.sheetEngine != nullptr) st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
  st.ui.SetBusyPointer(false);
  if (reloadObjects) reloadObjects();
  SettingsWrite(st, st.AppPath + "/DAVIROV.INI", st.FontName);
  SettingsWrite(st, st.WorkFileBase + ".INI", st.FontName);
}

void FontFrmCancel(ProgramState& st, FontFrmState& f, int& fontChoice) {
  fontChoice = f.choiceAtActivation;
  st.FontName = f.fontAtActivation;
  FontMenuItemShow(st);
}

void FontStatusShow(ProgramState& st) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 6, st.FontName);
}

void FontMenuItemShow(ProgramState& st) {
  if (st.editor == nullptr) return;
  if (EditorMenus* menus = st.editor->Menus()) {
    FontMenuCaptionSet(*menus, st.FontName);
    st.editor->MenusChanged(st);
  }
}

// --- frmSelectFont --------------------------------------------------------------

void FontListFillSystem(ProgramState& st, SelectFontState& s, const std::vector<std::string>& installed) {
  s.remembered = FontDatRead(FontDatPath(st)).value_or(std::vector<std::string>{});
  s.LstSrcFont.clear();
  s.LstDscFont.clear();
  std::vector<std::string> names(std::begin(kFixedFaces), std::end(kFixedFaces));
  names.insert(names.end(), installed.begin(), installed.end());
  for (const std::string& name : names) {
    if (name.empty() || name.starts_with("@") || !StorableName(name)) continue;
    if (Contains(s.LstSrcFont, name) || Contains(s.LstDscFont, name)) continue;
    if (IsFixedFace(name) || Contains(s.remembered, name))
      InsertSorted(s.LstSrcFont, name);
    else
      InsertSorted(s.LstDscFont, name);
  }
  s.srcIndex = -1;
  s.dscIndex = -1;
}

void FontListAdd(SelectFontState& s) {
  if (s.dscIndex < 0 || s.dscIndex >= static_cast<int>(s.LstDscFont.size())) return;
  const int i = s.dscIndex;
  std::string name = s.LstDscFont[static_cast<size_t>(i)];
  const std::string keep = s.srcIndex >= 0 ? s.LstSrcFont[static_cast<size_t>(s.srcIndex)] : std::string();
  InsertSorted(s.LstSrcFont, name);
  if (s.srcIndex >= 0)
    s.srcIndex = static_cast<int>(std::find(s.LstSrcFont.begin(), s.LstSrcFont.end(), keep) - s.LstSrcFont.begin());
  s.LstDscFont.erase(s.LstDscFont.begin() + i);
  s.dscIndex = AfterRemoval(i, s.LstDscFont.size());
}

void FontListRemove(ProgramState& st, SelectFontState& s) {
  if (s.srcIndex < 0 || s.srcIndex >= static_cast<int>(s.LstSrcFont.size())) return;
  const int i = s.srcIndex;
  std::string name = s.LstSrcFont[static_cast<size_t>(i)];
  if (IsFixedFace(name)) return;
  if (name == st.FontName) {
    st.ui.MsgBox("現在使用中のため削除出来ません!", vbOKOnly, "削除出来ません");
    return;
  }
  const std::string keep = s.dscIndex >= 0 ? s.LstDscFont[static_cast<size_t>(s.dscIndex)] : std::string();
  InsertSorted(s.LstDscFont, name);
  if (s.dscIndex >= 0)
    s.dscIndex = static_cast<int>(std::find(s.LstDscFont.begin(), s.LstDscFont.end(), keep) - s.LstDscFont.begin());
  s.LstSrcFont.erase(s.LstSrcFont.begin() + i);
  s.srcIndex = AfterRemoval(i, s.LstSrcFont.size());
}

bool FontListSave(ProgramState& st, const SelectFontState& s) {
  const std::string path = FontDatPath(st);
  if (FontDatWrite(path, s.LstSrcFont)) return true;
  WarnMsgBox(st, "使用フォントのファイル " + path + " に書き込めません。");
  return false;
}

void OpenHelpFile(ProgramState& st) { HelpOpen(st, "Font_Frm"); }

}  // namespace kv
