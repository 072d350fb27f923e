// The editor window's level bar, splitter and tree pane as the user sees
// them: a button and a label for every parent level, the grid right under
// the bar, the splitter's drop rules, the smallest window, and the level tree
// under the window's tree view.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRubberBand>

#include "core/window_services.h"
#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "platform/tree/qt/tree_view.h"
#include "sheet/level_bar_layout.h"
#include "state/program_state.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

class EdtSheetLevelBar : public test::EditorWindowTest {
 protected:
  // The bar and the grid laid out for the level in the mode.
  void Layout(EDTSHEET_FRM& w, int level, const char* mode) {
    st.CurrentLevel = level;
    st.KVDisp = mode;
    DMButtonsLayout(st, w);
    EdtSheet_Pos(st, w);
  }
  static int Shown(EDTSHEET_FRM& w) {
    int n = 0;
    for (int i = 1; i <= EDTSHEET_FRM::kLevelButtons; ++i) n += w.DM_Button(i)->isHidden() ? 0 : 1;
    return n;
  }
  int Px(int twips) const { return TwipsToPixels(twips, 96); }
};

TEST_F(EdtSheetLevelBar, LevelEightShowsSevenPairsAndTheGridStartsUnderThem) {
  EDTSHEET_FRM& w = LoadEditor();
  Layout(w, 8, "縦");
  EXPECT_EQ(Shown(w), 7);
  EXPECT_TRUE(w.DM_Button(8)->isHidden());
  const int lh = w.DMLabel(1)->height();
  for (int i = 1; i <= 7; ++i) {
    EXPECT_FALSE(w.DMLabel(i)->isHidden()) << i;
    EXPECT_EQ(w.DM_Button(i)->y(), (i - 1) * lh) << i;
    EXPECT_EQ(w.DMLabel(i)->x(), w.DM_Button(i)->x() + w.DM_Button(i)->width()) << i;
  }
  GridView* grid = w.EdtSheetView();
  EXPECT_EQ(grid->y(), w.DMLabel(7)->geometry().bottom() + 1);
  EXPECT_EQ(grid->y() + grid->height(), w.centralWidget()->height());
  // The bar starts right of the splitter.
  EXPECT_EQ(w.DM_Button(1)->x(), w.Sizer()->x() + w.Sizer()->width());

  // On one line: the buttons side by side, the grid one label height down.
  Layout(w, 4, "横");
  EXPECT_EQ(Shown(w), 3);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(w.DM_Button(i)->y(), 0);
  EXPECT_EQ(w.DM_Button(2)->x(), w.DM_Button(1)->x() + w.DM_Button(1)->width());
  EXPECT_EQ(grid->y(), lh);

  // Level 1: no bar, the grid at the top.
  Layout(w, 1, "縦計");
  EXPECT_EQ(Shown(w), 0);
  EXPECT_EQ(grid->y(), 0);
}

TEST_F(EdtSheetLevelBar, SplitterDropsHideShowAndStopAtHalf) {
  EDTSHEET_FRM& w = LoadEditor();
  const int width = w.centralWidget()->width();
  ASSERT_GT(width, Px(4000));
  // Dropped at 1500 twips while hidden: the tree comes back there.
  ASSERT_FALSE(st.TreeShown);
  w.Sizer_MouseDown(w.Sizer()->x() + 2);
  auto* line = w.centralWidget()->findChild<QRubberBand*>();
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isVisible());
  w.Sizer_MouseMove(Px(1500));
  w.Sizer_MouseUp(Px(1500));
  EXPECT_FALSE(line->isVisible());
  EXPECT_TRUE(st.TreeShown);
  EXPECT_FALSE(w.TreeView1()->isHidden());
  EXPECT_EQ(w.TreeView1()->width(), Px(1500));
  EXPECT_EQ(w.Sizer()->x(), Px(1500));
  EXPECT_EQ(w.EdtSheetView()->x(), Px(1500) + w.Sizer()->width());
  EXPECT_EQ(st.SavedTreeWidth, 1500);
  // Beyond half the width: half.
  w.Sizer_MouseDown(w.Sizer()->x());
  w.Sizer_MouseUp(width - 5);
  EXPECT_NEAR(w.TreeView1()->width(), width / 2, 1);
  EXPECT_NEAR(w.Sizer()->x(), width / 2, 1);
  // Below 1000 twips: hidden, the grid beside the splitter at the left edge.
  w.Sizer_MouseDown(w.Sizer()->x());
  w.Sizer_MouseUp(Px(900));
  EXPECT_FALSE(st.TreeShown);
  EXPECT_TRUE(w.TreeView1()->isHidden());
  EXPECT_EQ(w.Sizer()->x(), 0);
  EXPECT_EQ(w.EdtSheetView()->x(), w.Sizer()->width());
  // Dragged past the window's edges: the line is held inside.
  w.Sizer_MouseDown(w.Sizer()->x());
  w.Sizer_MouseMove(-200);
  EXPECT_GE(line->geometry().center().x(), 0);
  w.Sizer_MouseMove(width + 300);
  EXPECT_LE(line->geometry().center().x(), width);
  w.Sizer_MouseUp(-200);
  EXPECT_FALSE(st.TreeShown);
}

TEST_F(EdtSheetLevelBar, TheTreeToggleRestoresTheSavedWidthOrAFifth) {
  EDTSHEET_FRM& w = LoadEditor();
  const int width = w.centralWidget()->width();
  w.TreeDisplay();
  EXPECT_TRUE(st.TreeShown);
  EXPECT_FALSE(st.TreeToggling);
  EXPECT_NEAR(w.TreeView1()->width(), width / 5, 1);
  w.TreeDisplay();
  EXPECT_FALSE(st.TreeShown);
  EXPECT_TRUE(w.TreeView1()->isHidden());
  st.SavedTreeWidth = 2400;
  w.TreeView1()->resize(Px(600), w.TreeView1()->height());
  w.TreeDisplay();
  EXPECT_EQ(w.TreeView1()->width(), Px(2400));
}

TEST_F(EdtSheetLevelBar, TheWindowKeepsItsSmallestSize) {
  EDTSHEET_FRM& w = LoadEditor();
  w.Sizer_MouseDown(0);
  w.Sizer_MouseUp(Px(3000));
  w.resize(50, 50);
  test::Settle();
  EXPECT_GE(w.height(), Px(4000));
  EXPECT_GE(w.width(), w.TreeView1()->width() + Px(2000));
}

TEST_F(EdtSheetLevelBar, TheTreeViewShowsTheEditorsTreeModel) {
  EDTSHEET_FRM& w = LoadEditor();
  EXPECT_EQ(st.EditTree, &w.EditTree());
  EXPECT_EQ(w.TreeView1()->objectName(), QStringLiteral("TreeView1"));
  EXPECT_EQ(&w.TreeView1()->tree(), &w.EditTree());
  w.EditTree().Add("", "Root", "港北ビル改修", "Close", 2);
  EXPECT_EQ(w.TreeView1()->model()->rowCount(), 1);
}

}  // namespace
}  // namespace kv
