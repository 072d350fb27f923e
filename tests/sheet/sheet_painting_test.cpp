// Painting the sheet in memory onto a plain grid model: headers and colours
// by row, memo rows, number forms, the order of a full repaint, the totals
// line and the page lines.
#include "sheet/sheet_painting.h"

#include <vector>

#include "core/stored_number.h"
#include "platform/grid/grid_api.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_fixture.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class SheetPaintingTest : public SheetFixture {
 protected:
  void SetUp() override {
    SheetFixture::SetUp();
    st.ReCalcFlag = true;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    SheetGridInit(st, grid, 1);
  }

  // A row record: kind, print mark, and the four columns' texts.
  std::string Row(char kind, char mark, const std::string& a, const std::string& b = {},
                  const std::string& qty = {}, const std::string& amount = {}) {
    std::string rec = Record({{20, a}, {30, b}});
    rec[1] = mark;
    rec[2] = kind;
    rec.replace(69, 12, std::string(12 - qty.size(), ' ') + qty);
    rec.replace(81, 12, std::string(12 - amount.size(), ' ') + amount);
    SetLinkField(rec, kChildPos, kNoRecord, false);
    return rec;
  }
};

TEST_F(SheetPaintingTest, RowsShowTheirRecordsByKindAndPrintMark) {
  st.SheetRows[1] = Row(' ', ' ', "基礎工事", "ABC\r\nDEF", "1234.50", "1234567");
  st.SheetRows[2] = Row('#', ' ', "小計", "", "", "2000000");
  st.SheetRows[3] = Row(' ', 'U', "除外", "", "", "5000");
  st.SheetRows[4] = Row(' ', 'I', "別階層", "", "", "6000");
  st.SheetRows[5] = Record({{20, "ここはメモ行です。全列にわたって表示されます。"}});
  st.SheetRows[5][2] = '\xD2';  // ﾒ
  st.SheetRows[6] = Row(' ', ' ', "内訳あり");
  SetLinkField(st.SheetRows[6], kChildPos, 3, false);
  st.SheetRows[7] = Row('Q', ' ', "特記", "", "12.5", "1234567");
  st.SheetRows[8] = Row('\xBC', ' ', "消費税", "", "", "100000");  // ｼ
  st.UsedRows = 8;

  RowDisplay(st, grid, 1, 8);

  EXPECT_EQ(grid.CellText(0, 1), "  1 ");
  EXPECT_EQ(grid.CellText(1, 1), "基礎工事  ");
  EXPECT_EQ(grid.CellText(2, 1), "ABC\r\nDEF");  // a two-line text without its trailing blanks
  EXPECT_EQ(grid.CellText(3, 1), "1,234.50");
  EXPECT_EQ(grid.CellText(4, 1), "1,234,567");
  EXPECT_EQ(grid.CellColour(1, 1), 0);

  EXPECT_EQ(grid.CellText(0, 2), "  2#");
  EXPECT_EQ(grid.CellColour(4, 2), 3);
  EXPECT_EQ(grid.CellText(0, 3), "  . ");
  EXPECT_EQ(grid.CellColour(1, 3), 2);
  EXPECT_EQ(grid.CellText(0, 4), "  4 ");
  EXPECT_EQ(grid.CellColour(4, 4), 5);

  EXPECT_TRUE(grid.MemoRow(5));
  EXPECT_EQ(grid.CellText(0, 5), "  5ﾒ");
  EXPECT_EQ(grid.CellText(1, 5).substr(0, 3 * 9), "ここはメモ行です。");
  EXPECT_EQ(ToSjis(grid.CellText(1, 5)).size(), 60u);  // MemoRowMax bytes

  EXPECT_EQ(grid.CellText(0, 6), "  6 ");
  EXPECT_EQ(grid.CellColour(0, 6), 14);
  EXPECT_EQ(grid.CellColour(0, 1), 0);

  EXPECT_EQ(grid.CellText(0, 7), "  7Q");
  EXPECT_EQ(grid.CellText(3, 7), "        12.5");  // as stored
  EXPECT_EQ(grid.CellColour(3, 7), 4);
  EXPECT_EQ(grid.CellText(0, 8), "  8ｼ");
  EXPECT_EQ(grid.CellColour(4, 8), 3);

  // Rows below the used rows: grey headers.
  EXPECT_EQ(grid.CellColour(0, 9), 7);
  EXPECT_EQ(grid.CellColour(0, 200), 7);
  EXPECT_FALSE(ui.Busy());
}

// A row that was a memo row or a total row and is now an item row loses its
// memo mode and colour.
TEST_F(SheetPaintingTest, ItemRowsLoseStaleMemoModeAndColour) {
  SetMemoRow32(grid, 3, 1);
  for (int c = 1; c <= 4; ++c) SetCellTextColor32(grid, c, 3, 3);
  st.SheetRows[3] = Row(' ', ' ', "普通行");
  st.UsedRows = 3;
  RowDisplay(st, grid, 3, 3);
  EXPECT_FALSE(grid.MemoRow(3));
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(grid.CellColour(c, 3), 0) << c;
}

TEST_F(SheetPaintingTest, NoUsedRowsKeepsHeaderColours) {
  SetCellTextColor32(grid, 0, 10, 0);
  st.UsedRows = 0;
  RowDisplay(st, grid, 1, 1);
  EXPECT_EQ(grid.CellColour(0, 10), 0);
}

TEST_F(SheetPaintingTest, RowHeaderLabelForCommands) {
  std::string rec = Row('$', ' ', "中計");
  EXPECT_EQ(RowHeaderLabel(st, grid, 12, rec), " 12$");
  rec[1] = 'U';
  EXPECT_EQ(RowHeaderLabel(st, grid, 12, rec), "  .$");
  SetLinkField(rec, kChildPos, 7, false);
  SetCellTextColor32(grid, 0, 12, 0);
  EXPECT_EQ(RowHeaderLabel(st, grid, 12, rec), "  . ");
  EXPECT_EQ(grid.CellColour(0, 12), 14);
}

// Records which rows are painted when the grid is scrolled.
class ScrollWatch : public GridObserver {
 public:
  explicit ScrollWatch(GridModel& g) : grid(g) { lastTop = g.TopRow(); }
  void GridLayoutChanged() override {
    if (grid.TopRow() == lastTop) return;
    lastTop = grid.TopRow();
    std::vector<int> painted;
    for (int r = 1; r <= 200; ++r)
      if (!grid.CellText(1, r).empty()) painted.push_back(r);
    scrolls.push_back({lastTop, painted});
  }
  struct Scroll {
    int top;
    std::vector<int> painted;
  };
  GridModel& grid;
  int lastTop;
  std::vector<Scroll> scrolls;
};

std::vector<int> Range(int a, int b) {
  std::vector<int> v;
  for (int i = a; i <= b; ++i) v.push_back(i);
  return v;
}

TEST_F(SheetPaintingTest, RepaintOrderShowsTheTopBlockFirst) {
  for (int r = 1; r <= 200; ++r) st.SheetRows[size_t(r)] = Row(' ', ' ', "r" + std::to_string(r));
  st.UsedRows = 200;
  grid.SetViewportSize(600, 400);

  struct Case {
    int top, last, startTop;
    std::vector<ScrollWatch::Scroll> scrolls;  // expected
    std::vector<int> paintedAtEnd;
  };
  const std::vector<Case> cases = {
      {1, 40, 30, {}, Range(1, 40)},
      {1, 120, 30, {{1, Range(1, 51)}}, Range(1, 120)},
      {60, 200, 1, {{60, Range(60, 110)}}, Range(1, 200)},
      {60, 80, 1, {{60, Range(60, 80)}}, Range(1, 80)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.top) + ".." + std::to_string(c.last));
    for (int r = 1; r <= 200; ++r) SetTextData32(grid, 1, r, "");
    SetTopCell32(grid, 0, 1, c.startTop);
    ScrollWatch watch(grid);
    grid.SetObserver(&watch);
    SheetRedisplay(st, grid, c.top, c.last);
    grid.SetObserver(nullptr);

    ASSERT_EQ(watch.scrolls.size(), c.scrolls.size());
    for (size_t i = 0; i < c.scrolls.size(); ++i) {
      EXPECT_EQ(watch.scrolls[i].top, c.scrolls[i].top);
      EXPECT_EQ(watch.scrolls[i].painted, c.scrolls[i].painted);
    }
    std::vector<int> painted;
    for (int r = 1; r <= 200; ++r)
      if (!grid.CellText(1, r).empty()) painted.push_back(r);
    EXPECT_EQ(painted, c.paintedAtEnd);
    EXPECT_EQ(grid.TopRow(), c.scrolls.empty() ? c.startTop : c.scrolls.back().top);
  }
  EXPECT_EQ(bar.panels[2], " 200 行");
}

// Moving to a shorter sheet: the rows below the used rows show nothing of the
// sheet painted before.
TEST_F(SheetPaintingTest, RowsBelowTheUsedRowsAreBlank) {
  for (int r = 1; r <= 30; ++r) st.SheetRows[size_t(r)] = Row(' ', ' ', "old");
  st.SheetRows[20][2] = '\xD2';
  st.SheetRows[25][2] = '#';
  st.UsedRows = 30;
  SheetRedisplay(st, grid, 1, 30);
  ASSERT_TRUE(grid.MemoRow(20));

  for (auto& row : st.SheetRows) row = Record({});
  st.SheetRows[1] = Row(' ', ' ', "new");
  st.UsedRows = 1;
  SheetRedisplay(st, grid, 1, 1);
  EXPECT_EQ(grid.CellText(1, 1), "new       ");
  for (int r = 2; r <= 30; ++r) {
    EXPECT_EQ(grid.CellText(0, r), RowNumberText(r) + " ") << r;
    EXPECT_EQ(grid.CellText(1, r), "") << r;
    EXPECT_FALSE(grid.MemoRow(r)) << r;
  }
  EXPECT_EQ(grid.CellColour(4, 25), 0);
  EXPECT_EQ(bar.panels[2], " 1 行");
}

TEST_F(SheetPaintingTest, TotalsLineShowsTotalsOrHashesWhileRecalculationIsOff) {
  st.SheetTotalRecord = Record({{20, "合計"}, {30, "ABC\r\nDEF"}, {82, "     1234567"}});
  st.UsedRows = 0;
  SheetRedisplay(st, grid, 1, 0);
  EXPECT_EQ(grid.CellText(4, 201), "1,234,567");
  EXPECT_EQ(grid.CellText(1, 201), "合計      ");
  // A "W" column shows its first 19 bytes.
  EXPECT_EQ(grid.CellText(2, 201), "ABC\r\nDEF" + std::string(11, ' '));
  // A column without total definition is shown as stored.
  EXPECT_EQ(grid.CellText(3, 201), std::string(12, ' '));

  st.ReCalcFlag = false;
  SheetRedisplay(st, grid, 1, 0);
  EXPECT_EQ(grid.CellText(4, 201), std::string(12, '#'));
  st.SheetTotalRecord.replace(81, 12, std::string(12, ' '));
  SheetRedisplay(st, grid, 1, 0);
  EXPECT_EQ(grid.CellText(4, 201), std::string(12, ' '));
  EXPECT_EQ(st.SheetTotalRecord.size(), 256u);
}

// A totals-line edit is stored cut to the column's 10 bytes, never in half a
// character.
TEST_F(SheetPaintingTest, TotalsLineEditIsCutWithoutSplittingACharacter) {
  st.CurrentCol = 1;
  grid.SetCursor(1, 201);
  grid.SetCurrentText("aあいうえおか");
  SheetRedisplay(st, grid, 201, 0);
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), "aあいうえ ");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 30, 1), " ");
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(SheetPaintingTest, CalcRowsShowComputedValues) {
  st.FormulaColumn[1] = 3;
  st.SheetRows[1] = Row(' ', ' ', "計算行", "", "2", "5000");
  st.SheetRows[2] = Row(' ', ' ', "数量なし", "", "", "7000");
  st.SheetRows[3] = Row('%', 'U', "大計", "", "", "12000");
  st.SheetTotalRecord = Record({{82, "       12000"}});
  st.ReCalcFlag = false;
  CalcRowsDisplay(st, grid, 1, 3);
  EXPECT_EQ(grid.CellText(4, 1), "5,000");
  EXPECT_EQ(grid.CellText(4, 2), "");  // no formula value: not repainted
  EXPECT_EQ(grid.CellText(4, 3), "12,000");
  EXPECT_EQ(grid.CellColour(4, 3), 2);
  EXPECT_EQ(grid.CellText(4, 201), "12,000");  // values whatever ReCalcFlag says
}

TEST_F(SheetPaintingTest, PageLinesFollowTheRowsPerPage) {
  PageLinesDraw(st, grid);
  std::vector<int> lines;
  for (int r = 1; r <= 200; ++r)
    if (grid.PageBreak(r)) lines.push_back(r);
  EXPECT_EQ(lines, (std::vector<int>{50, 100, 150, 200}));

  // A print form without a row count has no page lines (and no division by 0).
  st.PrintRows[1] = 0;
  PageLinesDraw(st, grid);
  for (int r = 1; r <= 200; ++r) EXPECT_FALSE(grid.PageBreak(r)) << r;
}

}  // namespace
}  // namespace kv::test
