// The manual against the program: every menu item of the editor is named in
// it by its caption, its keyboard table lists exactly the keys the sheet and
// the menus act on, and its pages and its contents name the same files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/help_manual_files.h"
#include "app/help_search.h"
#include "editor/editing_keys_fixture.h"
#include "editor/grid_key_table.h"
#include "platform/grid/grid_keys.h"
#include "state/menu_model.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

using test::ReadText;
const stdfs::path& kManual = test::kManualFolder;

// What a reader sees of all the pages together.
std::string ManualText() {
  std::string text;
  for (const auto& e : stdfs::directory_iterator(kManual))
    if (e.path().extension() == ".html") text += HelpPlainText(ReadText(e.path())) + "\n";
  return text;
}

// A caption as the manual writes it: no accelerator "(&F)", no "...", blanks
// made one.
std::string Spoken(std::string caption) {
  caption = std::regex_replace(caption, std::regex(R"(\(&.\))"), "");
  caption = std::regex_replace(caption, std::regex(R"(\.\.\.)"), "");
  caption = std::regex_replace(caption, std::regex(R"( +)"), " ");
  while (!caption.empty() && caption.back() == ' ') caption.pop_back();
  return caption;
}

// The items a user can see, a hidden menu hiding everything in it.
void VisibleItems(const std::vector<MenuItem>& items, std::vector<const MenuItem*>& out) {
  for (const MenuItem& m : items) {
    if (!m.visible || m.IsSeparator()) continue;
    out.push_back(&m);
    VisibleItems(m.items, out);
  }
}

TEST(HelpManual, NamesEveryMenuItemOfTheEditor) {
  const std::string text = ManualText();
  const EditorMenus menus = EditorMenuTree();
  std::vector<const MenuItem*> items;
  VisibleItems(menus.bar, items);
  ASSERT_FALSE(items.empty());
  for (const MenuItem* m : items) {
    const std::string caption = Spoken(m->caption);
    // The recent estimates and the paper forms are numbers filled in later.
    if (std::regex_match(caption, std::regex("[0-9]+"))) continue;
    EXPECT_NE(text.find(caption), std::string::npos) << m->name << "(" << m->index << ") " << caption;
  }
}

// The keys of the manual's keyboard table, as "Shift+F1", "Ctrl+Home", "F9".
std::set<std::string> ManualKeys() {
  const std::string page = ReadText(kManual / "keys.html");
  const size_t from = page.find("<table class=\"keys\">");
  const std::string table = page.substr(from, page.find("</table>", from) - from);
  std::set<std::string> keys;
  static const std::regex row(R"(<tr><td>([^<]+)</td>)");
  for (auto it = std::sregex_iterator(table.begin(), table.end(), row); it != std::sregex_iterator(); ++it)
    keys.insert((*it)[1]);
  return keys;
}

class HelpManualKeys : public test::EditingKeysFixture {};

// A key is a command of the sheet when the first row of the key table that
// takes it does something of its own; the rows of modifier keys, of a commit
// under way, of the grid's own moves and of every other key leave it to the
// grid. A key with Shift or Ctrl is a key of its own when another row takes
// it than takes the key alone.
TEST_F(HelpManualKeys, TheKeyboardTableMatchesTheKeysTheProgramActsOn) {
  using namespace gridkey;
  const std::set<std::string> passOn = {"1", "2", "12", "21"};
  std::map<std::string, int> names = {{"Enter", kReturn}, {"Esc", kEscape}, {"Delete", kDelete},
                                      {"Backspace", kBack}, {"Tab", kTab},   {"Home", kHome},
                                      {"End", kEnd},        {"Up", kUp},     {"Down", kDown},
                                      {"Left", kLeft},      {"Right", kRight}, {"PageUp", kPageUp},
                                      {"PageDown", kPageDown}, {"Insert", kInsert}, {"Space", kSpace}};
  for (int f = 1; f <= 12; ++f) names["F" + std::to_string(f)] = kF1 + f - 1;
  auto decide = [&](int key, bool shift, bool ctrl) {
    int k = key;
    KeyPress press{k, shift, ctrl};
    for (const KeyTableRow& r : EditorKeyTable())
      if (r.matches(g, press)) return r.id;
    return std::string();
  };
  std::set<std::string> acted;
  for (const auto& [name, key] : names) {
    const std::string alone = decide(key, false, false);
    if (!passOn.count(alone)) acted.insert(name);
    for (const auto& [prefix, shift, ctrl] : {std::tuple{"Shift+", true, false}, std::tuple{"Ctrl+", false, true}}) {
      const std::string with = decide(key, shift, ctrl);
      if (!passOn.count(with) && with != alone) acted.insert(prefix + name);
    }
  }
  // The menus' shortcut keys.
  const EditorMenus menus = EditorMenuTree();
  std::vector<const MenuItem*> items;
  VisibleItems(menus.bar, items);
  for (const MenuItem* m : items)
    if (!m->shortcut.empty()) acted.insert(m->shortcut);

  EXPECT_EQ(ManualKeys(), acted);
}

TEST(HelpManual, ThePagesAndTheContentsNameTheSameFiles) {
  const std::set<std::string> named = test::ContentsPages();
  std::set<std::string> pages;
  for (const auto& e : stdfs::directory_iterator(kManual))
    if (e.path().extension() == ".html") pages.insert(e.path().filename().string());
  EXPECT_EQ(named, pages);
  // Every link between pages and every picture points at a file that is there.
  static const std::regex link(R"((?:href|src)="([^"#:]+))");
  for (const std::string& page : pages) {
    const std::string html = ReadText(kManual / page);
    for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator(); ++it)
      EXPECT_TRUE(stdfs::is_regular_file(kManual / (*it)[1].str())) << page << " -> " << (*it)[1];
  }
}

}  // namespace
}  // namespace kv
