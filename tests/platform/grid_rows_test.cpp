// Grid model: cell texts, colours, memo and page-break flags, and how
// inserting and deleting rows moves them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/grid/grid_api.h"

namespace kv {
namespace {

constexpr int kImax = 8;  // body rows 1..8, totals line 9

// A sheet-like grid: every body row r holds "r<r>c<c>", colour r % 3 + 2 in
// column 1, header text "<r> " and header colour 14 on even rows; rows 3 and 6
// are memo rows and rows 4 and 8 carry a page break.
class GridRows : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetTotalsLine(true);
    g.SetColCount(3);
    g.SetRowCount(kImax + 1);
    for (int r = 0; r <= kImax + 1; ++r) {
      SetTextData32(g, 0, r, std::to_string(r) + " ");
      for (int c = 1; c <= 3; ++c) SetTextData32(g, c, r, Label(r, c));
    }
    for (int r = 1; r <= kImax; ++r) {
      SetCellTextColor32(g, 1, r, r % 3 + 2);
      if (r % 2 == 0) SetCellTextColor32(g, 0, r, 14);
    }
    SetMemoRow32(g, 3, 1);
    SetMemoRow32(g, 6, 1);
    g.SetPageBreak(4, true);
    g.SetPageBreak(8, true);
    SetTextData32(g, 1, 0, "caption");
    SetTextData32(g, 1, kImax + 1, "total");
    SetCellTextColor32(g, 1, kImax + 1, 3);
  }
  static std::string Label(int r, int c) {
    return "r" + std::to_string(r) + "c" + std::to_string(c);
  }
  // Which original row each body row shows now (0 = a blank row).
  std::vector<int> Origins() const {
    std::vector<int> out;
    for (int r = 1; r <= kImax; ++r) {
      const std::string t = GetTextData32(g, 2, r);
      out.push_back(t.empty() ? 0 : std::stoi(t.substr(1)));
    }
    return out;
  }
  GridModel g;
};

struct RowMoveCase {
  const char* name;
  bool insert;
  int row, count;
  std::vector<int> origins;
};
void PrintTo(const RowMoveCase& c, std::ostream* os) { *os << c.name; }

class GridRowMoves : public GridRows, public ::testing::WithParamInterface<RowMoveCase> {};

TEST_P(GridRowMoves, MoveEverythingOfTheRowAndKeepCaptionAndTotals) {
  const RowMoveCase& k = GetParam();
  if (k.insert)
    InsertRow32(g, k.row, k.count);
  else
    DeleteRow32(g, k.row, k.count);

  ASSERT_EQ(Origins(), k.origins);
  for (int r = 1; r <= kImax; ++r) {
    const int o = k.origins[size_t(r) - 1];
    SCOPED_TRACE("row " + std::to_string(r) + " from " + std::to_string(o));
    EXPECT_EQ(GetTextData32(g, 1, r), o ? Label(o, 1) : "");
    EXPECT_EQ(GetTextData32(g, 3, r), o ? Label(o, 3) : "");
    EXPECT_EQ(g.CellColour(1, r), o ? o % 3 + 2 : 0);
    EXPECT_EQ(g.MemoRow(r), o == 3 || o == 6);
    EXPECT_EQ(g.PageBreak(r), o == 4 || o == 8);
    // Header texts label positions; header colours travel with the row.
    EXPECT_EQ(GetTextData32(g, 0, r), std::to_string(r) + " ");
    if (o) {
      EXPECT_EQ(g.CellColour(0, r), o % 2 == 0 ? 14 : 0);
    }
  }
  EXPECT_EQ(GetTextData32(g, 1, 0), "caption");
  EXPECT_EQ(GetTextData32(g, 1, kImax + 1), "total");
  EXPECT_EQ(g.CellColour(1, kImax + 1), 3);
  EXPECT_EQ(g.RowCount(), kImax + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridRowMoves,
    ::testing::Values(
        RowMoveCase{"InsertTwoAt3", true, 3, 2, {1, 2, 0, 0, 3, 4, 5, 6}},
        RowMoveCase{"InsertAtFirst", true, 1, 1, {0, 1, 2, 3, 4, 5, 6, 7}},
        RowMoveCase{"InsertAtLastBodyRow", true, kImax, 1, {1, 2, 3, 4, 5, 6, 7, 0}},
        RowMoveCase{"InsertMoreThanFit", true, 7, 5, {1, 2, 3, 4, 5, 6, 0, 0}},
        RowMoveCase{"DeleteTwoAt3", false, 3, 2, {1, 2, 5, 6, 7, 8, 0, 0}},
        RowMoveCase{"DeleteFirst", false, 1, 1, {2, 3, 4, 5, 6, 7, 8, 0}},
        RowMoveCase{"DeleteToTheEnd", false, 6, 9, {1, 2, 3, 4, 5, 0, 0, 0}},
        RowMoveCase{"InsertAtTotalsLineDoesNothing", true, kImax + 1, 1, {1, 2, 3, 4, 5, 6, 7, 8}},
        RowMoveCase{"DeleteAtCaptionDoesNothing", false, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8}},
        RowMoveCase{"ZeroCountDoesNothing", false, 2, 0, {1, 2, 3, 4, 5, 6, 7, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridRows, RowsOpenedAtTheBottomTakeTheLastRowsHeaderColour) {
  // Unused rows below the sheet's used rows have grey headers; a delete must
  // not leave the rows it opens at the bottom with another colour.
  for (int r = 5; r <= kImax; ++r) SetCellTextColor32(g, 0, r, 7);
  DeleteRow32(g, 2, 2);
  for (int r = kImax - 1; r <= kImax; ++r) EXPECT_EQ(g.CellColour(0, r), 7) << r;
  // Inserted rows come in with the default colour everywhere.
  InsertRow32(g, 1, 1);
  EXPECT_EQ(g.CellColour(0, 1), 0);
  EXPECT_EQ(g.CellColour(1, 1), 0);
}

TEST_F(GridRows, WithoutATotalsLineTheLastRowMovesToo) {
  g.SetTotalsLine(false);
  DeleteRow32(g, 1, 1);
  EXPECT_EQ(GetTextData32(g, 1, kImax), "total");
  EXPECT_EQ(GetTextData32(g, 1, kImax + 1), "");
}

TEST(GridCells, TextsEndAtANulAndStayUntilChanged) {
  GridModel g;
  g.SetColCount(2);
  g.SetRowCount(3);
  SetTextData32(g, 1, 1, std::string("見積\0garbage", 15));
  EXPECT_EQ(GetTextData32(g, 1, 1), "見積");
  SetTextData32(g, 2, 2, "一行目\r\n二行目");
  EXPECT_EQ(GetTextData32(g, 2, 2), "一行目\r\n二行目");
  // Out of range calls change nothing and read empty.
  SetTextData32(g, 3, 1, "x");
  SetTextData32(g, 1, 4, "x");
  SetTextData32(g, -1, 1, "x");
  EXPECT_EQ(GetTextData32(g, 3, 1), "");
  EXPECT_EQ(GetTextData32(g, 1, -1), "");
  // The property view of the same cells.
  g.SetCursor(2, 2);
  EXPECT_EQ(g.CurrentText(), "一行目\r\n二行目");
  g.SetCurrentText("changed");
  EXPECT_EQ(g.CellText(2, 2), "changed");
}

TEST(GridCells, ColoursAreStickyAndMemoRowsCanBeReset) {
  GridModel g;
  g.SetColCount(2);
  g.SetRowCount(3);
  SetCellTextColor32(g, 1, 1, 3);
  SetTextData32(g, 1, 1, "new text");
  EXPECT_EQ(g.CellColour(1, 1), 3);  // a text change keeps the colour
  g.SetCursor(1, 1);
  g.SetCurrentCellColour(0);  // property 26 back to the default colour
  EXPECT_EQ(g.CellColour(1, 1), 0);
  SetMemoRow32(g, 2, 1);
  EXPECT_TRUE(g.MemoRow(2));
  SetMemoRow32(g, 2, 0);
  EXPECT_FALSE(g.MemoRow(2));
}

TEST(GridCells, NothingIsRepaintedWhileRedrawIsOff) {
  struct Counter : GridObserver {
    int changed = 0;
    void GridChanged() override { ++changed; }
  } view;
  GridModel g;
  g.SetObserver(&view);
  g.SetRedraw(false);  // property 10, off during a sheet set-up
  g.SetColCount(3);
  g.SetRowCount(100);
  for (int r = 1; r <= 100; ++r) SetTextData32(g, 1, r, "x");
  EXPECT_EQ(view.changed, 0);
  g.SetRedraw(true);
  EXPECT_EQ(view.changed, 1);
}

TEST(GridCells, TheInputMethodSwitchBelongsToEachCell) {
  GridModel g;
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCursor(2, 2);
  g.SetImeOn(true);
  g.SetCursor(3, 2);
  EXPECT_FALSE(g.ImeOn());
  EXPECT_TRUE(g.CellImeOn(2, 2));
}

TEST(GridCells, ANewRowCountKeepsTextsAndEmptiesTheObjectLayer) {
  GridModel g;
  g.SetColCount(2);
  g.SetRowCount(5);
  SetTextData32(g, 1, 2, "kept");
  g.CreateItem(1, 1, "data");
  g.SetRowCount(10);
  EXPECT_EQ(GetTextData32(g, 1, 2), "kept");
  EXPECT_EQ(g.ItemCount(), 0);
}

}  // namespace
}  // namespace kv
