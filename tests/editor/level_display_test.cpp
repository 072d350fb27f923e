// The View menu's level display items: the mode and its check mark, the
// refusal while a marking mode runs, and the level bar laid out again.
#include "editor/level_display.h"

#include "editing_keys_fixture.h"
#include "sheet/level_bar_layout.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"

namespace kv::test {
namespace {

class BarCount : public LevelBarPort {
 public:
  int placed = 0, gridPlaced = 0;
  LevelBarFrame Measures() override { return {}; }
  void PlaceLevelBar(const std::vector<LevelBarPlace>&) override { ++placed; }
  void PlaceGrid(const GridPlace&) override { ++gridPlaced; }
  void SetLevelCaption(int, const std::string&) override {}
};

class LevelDisplayTest : public EditingKeysFixture {
 protected:
  EditorMenus menus = EditorMenuTree();
  BarCount levelBar;
  LevelDisplayTest() {
    engine.SetLevelBar(&levelBar);
    st.KVDisp = "縦";
    CheckOnly(menus, "DM_DISP", 1);
  }
  bool Checked(int item) const { return menus.At("DM_DISP", item).checked; }
};

TEST_F(LevelDisplayTest, EachItemSetsItsModeAndLaysTheBarOut) {
  struct Case {
    int item;
    const char* mode;
    bool totals;
  };
  for (const Case& c : {Case{3, "横", false}, Case{2, "縦計", true}, Case{1, "縦", false}}) {
    const int placed = levelBar.placed;
    DM_Disp_Click(st, menus, grid, c.item);
    EXPECT_EQ(st.KVDisp, c.mode);
    EXPECT_EQ(st.DMTotalFlag, c.totals);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(Checked(i), i == c.item) << c.item;
    EXPECT_EQ(levelBar.placed, placed + 1);
  }
}

TEST_F(LevelDisplayTest, RefusedWhileAMarkingModeRuns) {
  st.NotPrintLineMode = true;
  ui.AnswerMsgBox(vbOK, "非印刷行指定を解除して下さい.");
  DM_Disp_Click(st, menus, grid, 3);
  st.NotPrintLineMode = false;
  st.NotPrintLvlLineMode = true;
  ui.AnswerMsgBox(vbOK, "非印刷階層行の指定を解除して下さい.");
  DM_Disp_Click(st, menus, grid, 3);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.KVDisp, "縦");
  EXPECT_TRUE(Checked(1));
  EXPECT_EQ(levelBar.placed, 0);
}

}  // namespace
}  // namespace kv::test
