// The reference window's layout arithmetic, its level bar and level moves,
// the grid's navigation events, the tree and the zoom, over the scripted UI
// and a plain grid model.
#include "reference/ref_window.h"

#include <gtest/gtest.h>

#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "reference/ref_fixture.h"
#include "reference/ref_layout.h"
#include "reference/ref_tree.h"

namespace kv::test {
namespace {

TEST(RefLayout, ResizeKeepsTheMinimumsAndTheTreeAtMostHalf) {
  struct Case {
    const char* name;
    long w, h, scaleW, sizerLeft, treeW;
    bool shown, visible;
    long outW, outH, treeOut, gridLeft, gridWidth;
    bool clamped;
  };
  const Case cases[] = {
      {"plain", 12000, 8000, 11800, 2500, 2500, true, true, 12000, 8000, 2500, 2635, 9165, false},
      {"low", 12000, 3000, 11800, 2500, 2500, true, true, 12000, 3500, 2500, 2635, 9165, false},
      {"narrow", 3000, 8000, 2800, 1400, 1400, true, true, 3400, 8000, 1400, 1535, 1265, false},
      {"tree past half", 12000, 8000, 4000, 2500, 2500, true, true, 12000, 8000, 2000, 2135, 1865, true},
      {"tree hidden by the splitter", 12000, 8000, 11800, 0, 750, true, false, 12000, 8000, 0, 135, 11665, false},
      {"no tree pane", 3000, 8000, 2800, 2500, 2500, false, true, 3000, 8000, 0, 135, 2665, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RefResizeFrame f;
    f.treeShown = c.shown;
    f.treeVisible = c.visible;
    f.sizerLeft = c.sizerLeft;
    f.treeWidth = c.treeW;
    f.windowWidth = c.w;
    f.windowHeight = c.h;
    f.scaleWidth = c.scaleW;
    f.scaleHeight = c.h - 500;
    f.level = 3;
    const RefResizeLayout r = RefFormResizeLayout(f);
    EXPECT_EQ(r.windowWidth, c.outW);
    EXPECT_EQ(r.windowHeight, c.outH);
    EXPECT_EQ(r.treeWidth, c.treeOut);
    EXPECT_EQ(r.sizerLeft, c.treeOut);
    EXPECT_EQ(r.gridLeft, c.gridLeft);
    EXPECT_EQ(r.gridWidth, c.gridWidth);
    EXPECT_EQ(r.treeClamped, c.clamped);
    EXPECT_EQ(r.gridTop, 40);
  }
}

TEST(RefLayout, GridUnderTheLevelBarAndTheBarByMode) {
  struct Case {
    const char* mode;
    int level;
    long top;
  };
  const Case cases[] = {{"縦", 1, 0}, {"縦", 3, 600}, {"横", 1, 0}, {"横", 4, 300}, {"縦計", 3, 600}, {"", 2, 300}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + std::to_string(c.level));
    const LevelBarFrame f = RefLevelBarFrame(c.mode, c.level, 8, true, 2500, 135, 300, 900, 12000, 7000);
    const auto place = EdtSheet_Pos(f);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->top, c.top);
    EXPECT_EQ(place->height, 7000 - c.top);
  }
  // "縦" at level 3: two pairs stacked beside the tree; "横": side by side, the
  // label where the next button starts.
  auto bar = DMButtonsLayout(RefLevelBarFrame("縦", 3, 8, true, 2500, 135, 300, 900, 12000, 7000));
  ASSERT_EQ(bar.size(), 7u);
  EXPECT_TRUE(bar[1].visible);
  EXPECT_FALSE(bar[2].visible);
  EXPECT_EQ(bar[1].buttonTop, 300);
  EXPECT_EQ(bar[1].buttonLeft, 2635);
  EXPECT_EQ(bar[1].labelLeft, 3535);
  bar = DMButtonsLayout(RefLevelBarFrame("横", 3, 8, false, 2500, 135, 300, 900, 12000, 7000));
  EXPECT_EQ(bar[1].buttonTop, 0);
  EXPECT_EQ(bar[1].buttonLeft, 135 + 900);
  EXPECT_EQ(bar[1].labelLeft, 135 + 1800);
}

TEST(RefLayout, StoredPlaceAndSizes) {
  const RefWindowPlace none = RefWindowPlaceFrom(-1, -1, -1, -1, 19200, 14400);
  EXPECT_EQ(none.width, 12000);
  EXPECT_EQ(none.height, 8000);
  EXPECT_EQ(none.left, 0);
  const RefWindowPlace off = RefWindowPlaceFrom(50000, 30000, 9000, 6000, 19200, 14400);
  EXPECT_EQ(off.left, 19200 - 9000);
  EXPECT_EQ(off.top, 14400 - 6000);
  const RefWindowPlace kept = RefWindowPlaceFrom(300, 400, 9000, 6000, 19200, 14400);
  EXPECT_EQ(kept.left, 300);
  EXPECT_EQ(kept.top, 400);
  EXPECT_EQ(RefStoredSize(3800), 4200);
  EXPECT_EQ(RefStoredSize(4200), 4200);
  EXPECT_EQ(RefStoredSize(4201), 4201);
}

class RefWindow : public RefFixture {
 protected:
  void SetUp() override {
    RefFixture::SetUp();
    LoadExampleReference();
    RefTreeBuild(st);
  }

  bool Header(int row) {
    bool ignore = false;
    win->RefSheet_LButtonDown(0, row, ignore);
    EXPECT_TRUE(ignore);
    return ignore;
  }
};

TEST_F(RefWindow, RowHeadersGoDownAndTheLevelBarComesBackWithTopCellAndCursor) {
  ASSERT_EQ(Shown(), (std::vector<std::string>{"工事", "躯体"}));
  Header(1);  // no breakdown
  EXPECT_EQ(st.RefCurrentLevel, 1);
  Header(2);
  EXPECT_EQ(st.RefCurrentLevel, 2);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"基礎", "柱"}));
  EXPECT_EQ(labels[1], "躯体      :");  // the heading column as stored, then ":"
  EXPECT_TRUE(bar[0].visible);
  Header(2);
  EXPECT_EQ(st.RefCurrentLevel, 3);
  EXPECT_EQ(labels[2], "柱        :");
  Header(1);  // the deepest level
  EXPECT_EQ(st.RefCurrentLevel, 3);

  // While the equipment totals are recalculated nothing moves.
  st.EquipRecalcRunning = true;
  win->DM_Button_Click(1);
  EXPECT_EQ(st.RefCurrentLevel, 3);
  st.EquipRecalcRunning = false;
  win->DM_Button_Click(1);
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"工事", "躯体"}));
  EXPECT_EQ(grid.CurrentRow(), 2);
  EXPECT_FALSE(bar[0].visible);
  // A level below the shown one is not on the bar.
  win->DMLabel_Click(2);
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(RefWindow, TheCursorSkipsHiddenRunsAndTheTotalsLineIsNotRecorded) {
  st.ColCount[1] = st.RefColCount[1] = 5;
  for (int c = 3; c <= 5; ++c) {
    st.RefColStart[1][c] = 42 + (c - 3) * 4;
    st.RefColWidth[1][c] = 4;
  }
  st.MaskDef[1][2][0] = 'M';
  st.MaskDef[1][3][0] = 'M';
  st.MaskDef[1][5][0] = 'M';
  win->DM_Disp_Click(1);
  grid.SetCursor(1, 1);
  EXPECT_EQ(st.RefSelStart, 1);
  grid.KeyDown(gridkey::kRight, false, false);  // onto 2, 3 hidden: lands on 4
  EXPECT_EQ(grid.CurrentCol(), 4);
  EXPECT_EQ(st.RefSelStart, 4);
  grid.KeyDown(gridkey::kLeft, false, false);
  EXPECT_EQ(grid.CurrentCol(), 1);
  grid.SetCursor(4, 1);
  grid.KeyDown(gridkey::kRight, false, false);  // the hidden last column keeps the cursor
  EXPECT_EQ(grid.CurrentCol(), 5);
  EXPECT_EQ(st.RefSelStart, 4);
  grid.SetCursor(1, 2);
  grid.SetCursor(1, st.Imax + 1);
  EXPECT_EQ(st.RefSelEnd, 2);
  grid.SetCursor(1, st.Imax);
  EXPECT_EQ(st.RefSelEnd, st.Imax);
}

TEST_F(RefWindow, KeysAreFilteredAndCtrlJumpsStopOneShort) {
  struct Case {
    int key;
    bool shift, ctrl;
    bool passes;
  };
  namespace k = gridkey;
  const Case cases[] = {{'A', false, false, false},         {k::kDelete, false, false, false},
                        {k::kReturn, false, false, false},  {k::kHome, false, false, false},
                        {k::kEnd, false, false, false},     {k::kPageUp, false, false, true},
                        {k::kPageDown, false, false, true}, {k::kLeft, false, false, true},
                        {k::kDown, true, false, true},      {k::kDown, false, true, true},
                        {k::kHome, false, true, true}};
  for (const Case& c : cases) {
    int key = c.key;
    win->RefSheet_KeyDown2(key, c.shift, c.ctrl);
    EXPECT_EQ(key != 0, c.passes) << c.key;
  }
  int edit = 'X';
  win->RefSheet_PreEdit(edit);
  EXPECT_EQ(edit, 0);
  EXPECT_FALSE(grid.StartEditByTyping('X', "X"));

  // Ctrl+Down: one row short of the last, then the grid's own step.
  grid.SetCursor(1, 1);
  grid.KeyDown(k::kDown, false, true);
  EXPECT_EQ(grid.CurrentRow(), 2);
  grid.KeyDown(k::kUp, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  // With one row or none the jump goes to row 1, never 0.
  st.RefUsedRows = 0;
  int key = k::kEnd;
  win->RefSheet_KeyDown2(key, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  key = k::kDown;
  win->RefSheet_KeyDown2(key, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
}

TEST_F(RefWindow, AColumnHeaderSelectsItsUsedRowsAndSplitsAreKeptPerLevel) {
  bool ignore = false;
  win->RefSheet_LButtonDown(2, 0, ignore);
  EXPECT_TRUE(ignore);
  int c1, r1, c2, r2;
  GetSelect32(grid, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({2, 1, 2, 2}));
  EXPECT_EQ(st.RefSelStart, 2);

  grid.SetDivide(300, 0);
  EXPECT_EQ(st.RefDivideX[1], 300);
  Header(2);
  EXPECT_EQ(grid.DivideX(), 0);  // level 2 has a split of its own
  win->DM_Button_Click(1);
  EXPECT_EQ(grid.DivideX(), 300);
  bool moved = false;
  win->RefSheet_ItemMoveResized(moved);
  EXPECT_TRUE(moved);
}

TEST_F(RefWindow, TheTreeExpandsCollapsesAndANodeClickShowsItsRowAtTheTop) {
  EXPECT_EQ(tree.Find("Root")->data.text, "R");
  EXPECT_NE(tree.Find("Y12   Y22   "), nullptr);
  tree.UserToggle("Y12   ");
  const TreeNode* leaf = tree.Find("Y12   Y22   Y32   ");
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->data.image, "Leaf");
  tree.UserToggle("Y12   ");
  EXPECT_EQ(tree.Find("Y12   Y22   Y32   "), nullptr);
  tree.UserToggle("Y12   ");

  tree.UserClick("Y12   Y22   Y32   ");
  EXPECT_EQ(st.RefCurrentLevel, 3);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"型枠", "鉄筋"}));
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.CurrentRow(), 2);
  EXPECT_EQ(labels[1], ":躯体      ");
  EXPECT_EQ(labels[2], ":柱        ");
  EXPECT_TRUE(bar[1].visible);
  EXPECT_TRUE(levelButtonsEnabled);
  // The level bar goes back up the path the click made.
  win->DM_Button_Click(2);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"基礎", "柱"}));

  tree.UserClick("Root");
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_EQ(grid.TopRow(), 1);

  // A key whose record the file does not hold changes nothing.
  TreeNodeData stale;
  stale.key = "Y19   Y21   ";
  ui.AnswerMsgBox(vbOK, "R.Y1");
  win->RefTreeView_NodeClick(stale);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefCurrentLevel, 1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"工事", "躯体"}));
  // A row no longer in its sheet shows the sheet from its top.
  stale.key = "Y12   Y22   Y39   ";
  win->RefTreeView_NodeClick(stale);
  EXPECT_EQ(st.RefCurrentLevel, 3);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(RefWindow, ZoomByMenuAndByInput) {
  struct Case {
    std::optional<std::string> answer;
    int zoom;
    bool limit;
  };
  const Case cases[] = {{"75", 75, false},  {"1000", 100, false}, {"25", 100, true},
                        {"abc", 100, true}, {"", 100, false},     {std::nullopt, 100, false}};
  st.RefWindowOpen = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.value_or("cancel"));
    st.RefZoom = 100;
    ui.AnswerInput(c.answer, "ｽﾞｰﾑの倍率を入力して下さい.\n(200---30)");
    if (c.limit) ui.AnswerMsgBox(vbOK, "ｽﾞｰﾑ倍率の限度を越えてます!");
    win->RefZoomSub_Click(2);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.RefZoom, c.zoom);
    EXPECT_EQ(ui.inputBoxes.back().initial, " 100");
    // The floating windows come back on every road.
    EXPECT_TRUE(ui.TopMost(kRefWindow));
  }
  win->RefZoomSub_Click(6);
  EXPECT_EQ(st.RefZoom, 70);
  EXPECT_EQ(grid.Zoom(), 70);
  EXPECT_EQ(win->Menus().At("RefZoomSub", 1).caption, "ｽﾞｰﾑ設定値= 70%");
}

TEST_F(RefWindow, DisplayModeAndMenuLock) {
  Header(2);
  win->DM_Disp_Click(2);
  EXPECT_EQ(st.RefDisp, "横");
  EXPECT_TRUE(win->Menus().At("DM_Disp", 2).checked);
  EXPECT_FALSE(win->Menus().At("DM_Disp", 1).checked);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"基礎", "柱"}));
  win->RefMenuLock(true);
  for (const char* m : {"REfM1", "MnuE", "RefM3", "mnuT", "Help"}) EXPECT_FALSE(win->Menus().At(m).enabled) << m;
  EXPECT_FALSE(levelButtonsEnabled);
  win->RefMenuLock(false);
  EXPECT_TRUE(win->Menus().At("Help").enabled);
  // The copy commands are there (not the separator), and the text search.
  for (int i : {0, 1, 2, 4}) EXPECT_TRUE(win->Menus().At("MnuEItem", i).Choosable()) << i;
  EXPECT_FALSE(win->Menus().At("MnuEItem", 3).Choosable());
  EXPECT_TRUE(win->Menus().At("Ref_Sch").Choosable());
  EXPECT_TRUE(win->Menus().At("RefM1Sub", 1).Choosable());
}

TEST_F(RefWindow, TheSplitterHidesShowsAndStopsAtHalf) {
  struct Case {
    long x;
    bool visible;
    long left;
  };
  // 50 pixels (750 twips) hide the tree; a drop between shows it (rebuilt)
  // exactly that wide; beyond the middle it stops at half the inner width.
  const Case cases[] = {{750, false, 0}, {3000, true, 3000}, {9000, true, 6000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    tree.Clear();
    win->RefSizer_MouseUp(c.x);
    EXPECT_EQ(measures.treeVisible, c.visible);
    EXPECT_EQ(measures.sizerLeft, c.left);
  }
  EXPECT_EQ(tree.Count(), 0);  // shown already: no rebuild
  win->RefSizer_MouseUp(750);
  win->RefSizer_MouseUp(2000);
  EXPECT_GT(tree.Count(), 0);
}

}  // namespace
}  // namespace kv::test
