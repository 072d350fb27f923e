// Grid model: top cells, visibility tests and cell positions from the
// viewport the view reports, zoom, and the split into two panes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/grid/grid_api.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

// 40 body rows and a totals line, all 20 units high; header column 40 and
// six columns of 100. A 500 x 220 viewport leaves 220 - 20 (captions) - 20
// (totals line) = 180 pixels: nine body rows; 460 pixels: four columns.
class GridScroll : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetTotalsLine(true);
    g.SetColCount(6);
    g.SetRowCount(41);
    for (int r = 0; r <= 41; ++r) SetRowHeight32(g, r, 20);
    SetColWidth32(g, 0, 40);
    for (int c = 1; c <= 6; ++c) SetColWidth32(g, c, 100);
    g.SetViewportSize(500, 220);
  }
  GridModel g;
};

struct VisCase {
  int top, col, row;
  bool out;
};

TEST_F(GridScroll, CellsAreInRangeOnlyWhenFullyShown) {
  const VisCase cases[] = {
      {1, 1, 1, false},   {1, 4, 9, false},  {1, 5, 1, true},   // column 5 is cut at 460
      {1, 1, 10, true},                                         // row 10 is below the body
      {5, 1, 4, true},    {5, 1, 13, false}, {5, 1, 14, true},  // scrolled by four rows
      {5, 1, 41, false},                                        // the totals line is always shown
      {5, 1, 0, false},   {5, 0, 7, false},                     // captions and headers too
      {1, 7, 1, true},    {1, 1, 42, true},                     // outside the grid
  };
  for (const VisCase& k : cases) {
    SetTopCell32(g, 0, 1, k.top);
    EXPECT_EQ(IsCellOutOfRange32(g, 0, k.col, k.row) != 0, k.out)
        << "top " << k.top << " cell " << k.col << "," << k.row;
  }
}

TEST_F(GridScroll, TopCellIsHeldWhereTheLastRowsFillTheBody) {
  SetTopCell32(g, 0, 2, 15);
  int c, r;
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 15));
  SetTopCell32(g, 0, 0, 100);  // column 0 leaves the column as it is
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 32));  // rows 32..40 fill the body
  LineDownScroll32(g);
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(r, 32);
  SetTopCell32(g, 0, 99, 0);
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(3, 32));  // columns 3..6 fill 460
  SetTopCell32(g, 0, 1, 1);
  LineDownScroll32(g);
  LineRightScroll32(g);
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 2));
  // A taller viewport takes the top row back when the rows would run out.
  SetTopCell32(g, 0, 1, 32);
  g.SetViewportSize(500, 420);  // 19 rows
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(r, 22);
}

TEST_F(GridScroll, ZoomScalesEverything) {
  SetZoom32(g, 50);
  EXPECT_EQ(GetColRealWidth32(g, 1), 50);
  // Captions 10 and totals 10 leave 200: twenty rows of 10.
  EXPECT_EQ(IsCellOutOfRange32(g, 0, 1, 20), 0);
  EXPECT_EQ(IsCellOutOfRange32(g, 0, 1, 21), 1);
  GridRect px;
  ASSERT_EQ(GetCellPosition32(g, 0, GridRect{2, 3, 2, 3}, px), 1);
  EXPECT_EQ(px, (GridRect{20 + 50, 10 + 20, 20 + 100, 10 + 30}));
}

TEST_F(GridScroll, CellPositionsExceptForTheTotalsLineAndHiddenCells) {
  SetTopCell32(g, 0, 2, 3);
  GridRect px;
  // Columns 2..3 of rows 5..6: x from 40, y from 20 + 2 rows.
  ASSERT_EQ(GetCellPosition32(g, 0, GridRect{2, 5, 3, 6}, px), 1);
  EXPECT_EQ(px, (GridRect{40, 60, 240, 100}));
  // A range may run on below the visible rows (the memo editor asks for the
  // row under its own).
  ASSERT_EQ(GetCellPosition32(g, 0, GridRect{2, 11, 2, 12}, px), 1);
  EXPECT_EQ(px.bottom, 20 + 10 * 20);
  EXPECT_EQ(GetCellPosition32(g, 0, GridRect{2, 41, 2, 41}, px), 0);  // totals line
  EXPECT_EQ(GetCellPosition32(g, 0, GridRect{2, 2, 2, 2}, px), 0);    // scrolled away
  EXPECT_EQ(GetCellPosition32(g, 0, GridRect{1, 5, 1, 5}, px), 0);    // left of the pane
  EXPECT_EQ(GetCellPosition32(g, 0, GridRect{2, 12, 2, 12}, px), 0);  // below the body
}

TEST_F(GridScroll, WithoutViewportNothingCountsAsShown) {
  GridModel fresh;
  fresh.SetColCount(3);
  fresh.SetRowCount(30);
  EXPECT_EQ(IsCellOutOfRange32(fresh, 0, 1, 1), 1);
  SetTopCell32(fresh, 0, 1, 25);
  int c, r;
  GetTopCell32(fresh, 0, c, r);
  EXPECT_EQ(r, 25);
}

TEST_F(GridScroll, SetDivideSplitsIntoTwoPanesAndRaisesDivide) {
  std::vector<std::pair<int, int>> divides;
  g.events.Divide = [&](int x, int y) { divides.emplace_back(x, y); };
  SetDivide32(g, 245, 7);  // left pane: header and two columns
  EXPECT_EQ(divides, (std::vector<std::pair<int, int>>{{245, 7}}));
  EXPECT_TRUE(g.Split());
  EXPECT_EQ(GetActiveClientNum32(g), 1);
  // Column 3 is cut off in pane 1, so pane 2 goes on from it.
  int c, r;
  GetTopCell32(g, 2, c, r);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(IsCellOutOfRange32(g, 1, 2, 1), 0);
  EXPECT_EQ(IsCellOutOfRange32(g, 1, 3, 1), 1);
  EXPECT_EQ(IsCellOutOfRange32(g, 2, 0, 1), 1);  // the headers are in pane 1 only
  EXPECT_EQ(IsCellOutOfRange32(g, 2, 3, 1), 0);
  // Panes scroll their columns apart and their rows together.
  g.SetActivePane(2);
  LineRightScroll32(g);
  LineDownScroll32(g);
  int c1, r1, c2, r2;
  GetTopCell32(g, 1, c1, r1);
  GetTopCell32(g, 2, c2, r2);
  EXPECT_EQ(std::vector<int>({c1, r1, c2, r2}), std::vector<int>({1, 2, 4, 2}));
  const GridHit hit = g.HitTest(260, 30);
  EXPECT_EQ(hit.pane, 2);
  EXPECT_EQ(hit.col, 4);
  EXPECT_EQ(hit.row, 2);

  SetDivide32(g, 0, 0);
  EXPECT_EQ(divides.back(), std::make_pair(0, 0));
  EXPECT_EQ(GetActiveClientNum32(g), 1);
  EXPECT_EQ(IsCellOutOfRange32(g, 2, 1, 1), 1);  // no pane 2 any more
}

TEST_F(GridScroll, ADivideHandlerThatUndoesTheSplitEnds) {
  // As the small windows do: every split is taken back at once.
  int calls = 0;
  g.events.Divide = [&](int, int) {
    ++calls;
    SetDivide32(g, 0, 0);
  };
  SetDivide32(g, 200, 0);
  EXPECT_FALSE(g.Split());
  EXPECT_EQ(calls, 2);  // the split, then the undoing reported once
}

TEST_F(GridScroll, DroppingTheSplitBarMovesOrRemovesTheSplit) {
  std::vector<std::pair<int, int>> divides;
  g.events.Divide = [&](int x, int y) { divides.emplace_back(x, y); };
  SetZoom32(g, 200);
  SetDivide32(g, 150, 3);
  g.DropSplitBar(400);  // pixels at 200 % -> 200 units
  EXPECT_EQ(g.DivideX(), 200);
  g.DropSplitBar(30);  // onto the row headers
  EXPECT_FALSE(g.Split());
  EXPECT_EQ(divides, (std::vector<std::pair<int, int>>{{150, 3}, {200, 3}, {0, 0}}));
}

TEST_F(GridScroll, UserMovesKeepTheCursorInViewProgramMovesDoNot) {
  SetSheetLocate32(g, 1, 9);
  g.KeyDown(40, false, false);  // Down onto row 10
  int c, r;
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(r, 2);
  EXPECT_EQ(IsCellOutOfRange32(g, 0, 1, 10), 0);
  SetSheetLocate32(g, 6, 30);
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(1, 2));
  g.KeyDown(37, false, false);  // Left onto column 5: brought into view
  GetTopCell32(g, 0, c, r);
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 22));
  EXPECT_EQ(IsCellOutOfRange32(g, 0, 5, 30), 0);
}

TEST_F(GridScroll, UnitConversions) {
  struct FixedMetrics : GridFontMetrics {
    int LineHeight(std::string_view font, int size) override { return size * 2; }
    int CharWidth(std::string_view font, int size) override { return size / 2 + 1; }
  } metrics;
  g.SetFontMetrics(&metrics);
  EXPECT_EQ(PointToHeight32(g, 12), 24);
  EXPECT_EQ(PointToWidth32(g, 12), 7);
  EXPECT_EQ(WidthToPoint32(g, 100), 75);  // 100 px at 96 dpi = 75 pt (1500 twips)
  g.SetFontMetrics(nullptr);
  EXPECT_GT(PointToHeight32(g, 12), PointToWidth32(g, 12));
  // Measured through the UI seam's text extent (the double: 8 x 16 at 10 pt).
  test::ScriptedUi ui;
  UiGridFontMetrics seam(ui);
  g.SetFontMetrics(&seam);
  EXPECT_EQ(PointToHeight32(g, 10), 16);
  EXPECT_EQ(PointToWidth32(g, 20), 32);  // a full-width character
  g.SetFontMetrics(nullptr);
}

}  // namespace
}  // namespace kv
