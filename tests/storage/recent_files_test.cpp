// The recent-file list: newest first, numbered, five long, and the File
// menu's captions following it.
#include "storage/recent_files.h"

#include <gtest/gtest.h>

#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using List = std::array<std::string, 6>;

List Of(std::initializer_list<const char*> paths) {
  List l;
  int i = 1;
  for (const char* p : paths) {
    l[size_t(i)] = std::to_string(i) + " " + p;
    ++i;
  }
  return l;
}

struct RecentCase {
  const char* name;
  List before;
  std::string added;
  List after;
};

class AddRecent : public ::testing::TestWithParam<RecentCase> {};

TEST_P(AddRecent, MovesTheListAsExpected) {
  List l = GetParam().before;
  AddRecentPath(l, GetParam().added);
  EXPECT_EQ(l, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddRecent,
    ::testing::Values(
        RecentCase{"IntoEmptyList", List{}, "/d/a.YZH", List{"", "1 /d/a.YZH", "2 ", "3 ", "4 ", "5 "}},
        RecentCase{"AlreadyFirst", Of({"/d/a.YZH", "/d/b.YZH"}), "/d/a.YZH", Of({"/d/a.YZH", "/d/b.YZH"})},
        RecentCase{"ThirdMovesUp", Of({"/d/a.YZH", "/d/b.YZH", "/d/c.YZH", "/d/e.YZH"}), "/d/c.YZH",
                   Of({"/d/c.YZH", "/d/a.YZH", "/d/b.YZH", "/d/e.YZH"})},
        // Paths differing in letter case are different files here.
        RecentCase{"OtherCaseIsNew", Of({"/d/a.YZH", "/d/b.YZH"}), "/d/B.YZH",
                   List{"", "1 /d/B.YZH", "2 /d/a.YZH", "3 /d/b.YZH", "4 ", "5 "}},
        RecentCase{"SixthDropsTheOldest", Of({"/1.YZH", "/2.YZH", "/3.YZH", "/4.YZH", "/5.YZH"}), "/6.YZH",
                   Of({"/6.YZH", "/1.YZH", "/2.YZH", "/3.YZH", "/4.YZH"})},
        RecentCase{"UntitledNeverEnters", Of({"/d/a.YZH"}), "/p/WORK/無題", Of({"/d/a.YZH"})},
        RecentCase{"EmptyNeverEnters", Of({"/d/a.YZH"}), "", Of({"/d/a.YZH"})}),
    [](const auto& info) { return info.param.name; });

// An editor with the menu tree, so the captions can be seen.
class MenuEditor : public test::RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
  void MenusChanged(ProgramState&) override { Add("MenusChanged()"); }
};

TEST(AddRecentEstimate, SetsTheFileMenuCaptions) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  MenuEditor editor;
  st.editor = &editor;
  AddRecentEstimate(st, "/home/user/estimates/2024/港北ビル改修工事の見積書.YZH");
  AddRecentEstimate(st, "/d/a.YZH");
  EXPECT_EQ(st.RecentFiles[1], "1 /d/a.YZH");
  EXPECT_EQ(editor.menus.At("Menu_1Sub", 17).caption, "1 /d/a.YZH");
  const std::string& second = editor.menus.At("Menu_1Sub", 18).caption;
  EXPECT_EQ(second.rfind("2 ", 0), 0u);
  EXPECT_NE(second.find("..."), std::string::npos);
  EXPECT_EQ(editor.menus.At("Menu_1Sub", 21).caption, "5 ");
  EXPECT_EQ(editor.Count("MenusChanged"), 2);
}

TEST(AddRecentReference, KeepsItsOwnList) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  AddRecentReference(st, "/d/ref.YZH");
  EXPECT_EQ(st.RecentRefFiles[1], "1 /d/ref.YZH");
  EXPECT_EQ(st.RecentFiles[1], "");
}

}  // namespace
}  // namespace kv
