// Grid model: cursor moves raising Locate (also from handlers that call back
// in), the selection, and mouse clicks with their Ignore flag.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/grid/grid_api.h"

namespace kv {
namespace {

using Cell = std::pair<int, int>;

class GridCursor : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetTotalsLine(true);
    g.SetColCount(6);
    g.SetRowCount(21);
    g.SetViewportSize(800, 600);
    g.events.Locate = [this](int c, int r) { located.emplace_back(c, r); };
  }
  GridModel g;
  std::vector<Cell> located;
};

TEST_F(GridCursor, ProgramMovesRaiseLocateBeforeReturning) {
  SetSheetLocate32(g, 3, 7);
  EXPECT_EQ(located, (std::vector<Cell>{{3, 7}}));
  EXPECT_EQ(g.CurrentCol(), 3);
  // Writing the current column or row (properties 21 and 22) moves too, and
  // a move to the cell it is on is still reported.
  g.SetCurrentRow(9);
  g.SetCurrentCol(2);
  SetSheetLocate32(g, 2, 9);
  EXPECT_EQ(located, (std::vector<Cell>{{3, 7}, {3, 9}, {2, 9}, {2, 9}}));
  // Outside the cells the cursor is held at the edge (the totals line is a cell).
  SetSheetLocate32(g, 99, 99);
  EXPECT_EQ(located.back(), Cell(6, 21));
}

TEST_F(GridCursor, AHandlerMayMoveTheCursorOnFromInsideLocate) {
  // As the editor skips a hidden column 3: the handler moves the cursor
  // right, which reports the new cell before the first event returns.
  std::vector<std::string> log;
  g.events.Locate = [&](int c, int r) {
    log.push_back("in " + std::to_string(c));
    if (c == 3) g.SetCurrentCol(c + 1);
    log.push_back("out " + std::to_string(c) + " cursor " + std::to_string(g.CurrentCol()));
  };
  SetSheetLocate32(g, 3, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"in 3", "in 4", "out 4 cursor 4", "out 3 cursor 4"}));
  EXPECT_EQ(g.CurrentCol(), 4);
}

TEST_F(GridCursor, HandlersThatAnswerEachOtherDoNotRecurseForEver) {
  int calls = 0;
  // Putting the cursor back where the event reports it is not reported again.
  g.events.Locate = [&](int c, int r) {
    ++calls;
    SetSheetLocate32(g, c, r);
  };
  SetSheetLocate32(g, 2, 2);
  EXPECT_EQ(calls, 1);
  // Two cells bouncing the cursor to each other stop at the nesting limit.
  calls = 0;
  g.events.Locate = [&](int c, int r) {
    ++calls;
    SetSheetLocate32(g, c == 2 ? 3 : 2, r);
  };
  SetSheetLocate32(g, 2, 5);
  EXPECT_GT(calls, 1);
  EXPECT_LE(calls, 40);
  // A handler that lays the grid out again while it is being told of a move.
  g.events.Locate = [&](int, int) {
    g.SetRowCount(3);
    InsertRow32(g, 1, 1);
  };
  SetSheetLocate32(g, 6, 20);
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_LE(g.CurrentRow(), 3);
}

TEST_F(GridCursor, SelectionComesBackInDragOrderOrAsTheCursorCell) {
  SetSheetLocate32(g, 2, 4);
  int c1, r1, c2, r2;
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({2, 4, 2, 4}));
  SetSelect32(g, 5, 9, 1, 3);
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({5, 9, 1, 3}));
  EXPECT_TRUE(g.IsSelected(3, 5));
  // The program moving the cursor keeps the marking; the user's keys do not.
  SetSheetLocate32(g, 1, 1);
  EXPECT_TRUE(g.HasSelection());
  g.KeyDown(40, false, false);  // Down
  EXPECT_FALSE(g.HasSelection());
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({1, 2, 1, 2}));
  SetSelect32(g, 1, 1, 2, 2);
  ClearSelect32(g);
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({1, 2, 1, 2}));
}

TEST_F(GridCursor, ShiftAndCursorKeysExtendTheRangeAndEndASelection) {
  std::vector<Cell> ends;
  g.events.SelectEnd = [&](int c, int r) { ends.emplace_back(c, r); };
  SetSheetLocate32(g, 2, 2);
  g.KeyDown(39, true, false);  // Shift+Right
  g.KeyDown(40, true, false);  // Shift+Down
  int c1, r1, c2, r2;
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({2, 2, 3, 3}));
  EXPECT_EQ(ends, (std::vector<Cell>{{3, 2}, {3, 3}}));
  EXPECT_EQ(g.CurrentCol(), 2);  // the cursor stays where the range began
}

TEST_F(GridCursor, IgnoreStopsTheGridsOwnClickHandling) {
  std::vector<std::string> log;
  bool ignore = false;
  g.events.LButtonDown = [&](int c, int r, bool& ig) {
    log.push_back("down " + std::to_string(c) + "," + std::to_string(r));
    ig = ignore;
  };
  g.events.SelectEnd = [&](int c, int r) {
    log.push_back("end " + std::to_string(c) + "," + std::to_string(r));
  };
  SetSheetLocate32(g, 1, 1);
  located.clear();

  ignore = true;
  EXPECT_FALSE(g.LeftButtonDown(1, 4, 6, false));
  EXPECT_EQ(g.CurrentCol(), 1);
  EXPECT_TRUE(located.empty());

  ignore = false;
  EXPECT_TRUE(g.LeftButtonDown(1, 4, 6, false));
  g.DragTo(2, 9);
  g.LeftButtonUp();
  EXPECT_EQ(located, (std::vector<Cell>{{4, 6}}));
  int c1, r1, c2, r2;
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({4, 6, 2, 9}));
  EXPECT_EQ(log, (std::vector<std::string>{"down 4,6", "down 4,6", "end 2,9"}));

  bool rightIgnored = false;
  g.events.RButtonDown = [&](int c, int r, bool& ig) {
    rightIgnored = true;
    ig = true;
  };
  g.RightButtonDown(3, 3);
  EXPECT_TRUE(rightIgnored);
  EXPECT_EQ(g.CurrentCol(), 4);
}

TEST_F(GridCursor, HeaderClicksSelectOnlyWhenTheGridIsSetSo) {
  g.LeftButtonDown(1, 3, 0, false);  // caption of column 3
  int c1, r1, c2, r2;
  GetSelect32(g, c1, r1, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({3, 1, 3, 20}));  // the body rows
  ClearSelect32(g);
  g.SetHeaderClickSelects(false);  // property 11 off, as the sheet windows set it
  g.LeftButtonDown(1, 0, 5, false);
  EXPECT_FALSE(g.HasSelection());
  EXPECT_TRUE(located.empty());
}

TEST_F(GridCursor, SingleCellMouseModeNeverDragsARange) {
  g.SetMouseMode(2);
  int ended = 0;
  g.events.SelectEnd = [&](int, int) { ++ended; };
  g.LeftButtonDown(1, 2, 2, false);
  g.DragTo(5, 8);
  g.LeftButtonUp();
  EXPECT_FALSE(g.HasSelection());
  EXPECT_EQ(ended, 1);
}

TEST_F(GridCursor, ADisabledGridTakesNoClicksOrKeys) {
  g.SetEnabled(false);
  int events = 0;
  g.events.LButtonDown = [&](int, int, bool&) { ++events; };
  g.events.KeyDown2 = [&](int&, bool, bool) { ++events; };
  g.LeftButtonDown(1, 2, 2, false);
  g.KeyDown(40, false, false);
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(located.empty());
}

}  // namespace
}  // namespace kv
