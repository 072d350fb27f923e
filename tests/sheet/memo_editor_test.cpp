// The memo-row editor against plain grid models: the one-cell editor grid is
// set up from the row, laid over it where the sheet grid shows it, and its
// text is stored back into the row record.
#include "sheet/memo_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/grid_api.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_fixture.h"
#include "state/program_state.h"

namespace kv::test {
namespace {

constexpr char kMemo = '\xD2';  // ﾒ

// The editor grid's font: 7 units a full-width character, 16 a line.
class FixedMetrics : public GridFontMetrics {
 public:
  int LineHeight(std::string_view, int) override { return 16; }
  int CharWidth(std::string_view, int) override { return 7; }
};

class PortDouble : public MemoEditorPort {
 public:
  std::vector<GridRect> placed;
  bool visible = false;
  void Place(const GridRect& rect) override {
    placed.push_back(rect);
    visible = true;
  }
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }
};

class MemoEditorTest : public SheetFixture {
 protected:
  void SetUp() override {
    SheetFixture::SetUp();
    st.MemoRowMax = 100;
    st.KVZoom = 100;
    st.EditCellPosition = 1;
    rowSheet.SetFontMetrics(&fixed);
    SheetGridInit(st, grid, 1);
    grid.SetViewportSize(1000, 400);
    st.SheetRows[3] = MemoRecord(kMemo, "※ 既存部分の撤去を含む。");
    st.SheetRows[4] = MemoRecord('H', "見出し");
    st.UsedRows = 5;
  }
  void TearDown() override {
    rowSheet.SetFontMetrics(nullptr);
    SheetFixture::TearDown();
  }

  std::string MemoRecord(char kind, const std::string& text) {
    std::string rec = Record({{20, text}});
    rec[2] = kind;
    return rec;
  }

  void Open(int row) {
    st.CurrentRow = row;
    grid.SetCursor(1, row);
    OpenMemoEditor(st, grid, rowSheet, port);
  }

  // The sheet grid's pixel rectangle of a cell.
  GridRect Cell(int col, int row) {
    GridRect r;
    EXPECT_TRUE(grid.CellRect(grid.ActivePane(), col, row, r));
    return r;
  }

  FixedMetrics fixed;
  GridModel rowSheet;
  PortDouble port;
};

TEST(MemoEditorWidth, IsHalfTheMemoBytesInCharactersRoundedHalfToEven) {
  ScriptedUi ui;
  ProgramState st{ui};
  struct Case {
    int memoRowMax, charWidth, width;
  } cases[] = {{100, 7, 350}, {101, 7, 354}, {3, 5, 8}, {1, 9, 4}, {0, 7, 0}};
  for (const Case& c : cases) {
    st.MemoRowMax = c.memoRowMax;
    EXPECT_EQ(MemoEditorWidth(st, c.charWidth), c.width) << c.memoRowMax << " x " << c.charWidth;
  }
}

TEST_F(MemoEditorTest, MemoRowIsLoadedLaidOverItsRowAndOpenedForEditing) {
  Open(3);

  EXPECT_EQ(rowSheet.RowCount(), 1);
  EXPECT_EQ(rowSheet.ColCount(), 1);
  EXPECT_EQ(rowSheet.RowHeight(0), 0);
  EXPECT_EQ(rowSheet.ColWidth(0), 0);
  EXPECT_EQ(rowSheet.RowHeight(1), 18);
  EXPECT_EQ(rowSheet.ColWidth(1), 350);
  EXPECT_EQ(rowSheet.EditMode(), 9);
  EXPECT_FALSE(rowSheet.HorizontalScrollBar());
  EXPECT_FALSE(rowSheet.VerticalScrollBar());
  EXPECT_TRUE(rowSheet.Visible());
  EXPECT_EQ(rowSheet.CellText(1, 1), "※ 既存部分の撤去を含む。");
  EXPECT_TRUE(rowSheet.Editing());
  EXPECT_TRUE(st.MemoEditOpen);
  EXPECT_EQ(st.MemoEditRow, 3);

  // One row high, from the first column, as wide as the memo column.
  const GridRect cell = Cell(1, 3);
  ASSERT_EQ(port.placed.size(), 1u);
  EXPECT_EQ(port.placed[0], (GridRect{cell.left, cell.top, cell.left + 350, cell.bottom}));
}

TEST_F(MemoEditorTest, PlacementFollowsTheZoomScrollingAndTheGridsRightEdge) {
  // At 150 % the memo column (525 px) runs past a 400 px wide grid.
  SetZoom32(grid, 150);
  grid.SetViewportSize(400, 400);
  SetTopCell32(grid, 0, 2, 2);
  Open(3);

  const GridRect first = Cell(2, 3);  // the first column in view
  ASSERT_EQ(port.placed.size(), 1u);
  EXPECT_EQ(port.placed[0], (GridRect{first.left, first.top, 400, first.bottom}));
  EXPECT_EQ(first.left, grid.HeaderWidth());
}

TEST_F(MemoEditorTest, OtherMemoKindsAreCoveredWithoutTextAndNotOpened) {
  Open(3);
  rowSheet.CancelEdit();
  st.MemoEditOpen = false;
  port.placed.clear();

  for (int zoom : {100, 80}) {
    SetZoom32(grid, zoom);
    Open(4);
    // Two rows, and a third where the rows are low.
    const int last = zoom < 90 ? 6 : 5;
    const GridRect top = Cell(1, 4);
    ASSERT_FALSE(port.placed.empty());
    EXPECT_EQ(port.placed.back(),
              (GridRect{top.left, top.top, top.left + grid.Scaled(350), Cell(1, last).bottom}))
        << zoom;
    EXPECT_EQ(rowSheet.CellText(1, 1), "") << "no text of the earlier memo row";
    EXPECT_FALSE(rowSheet.Editing());
    EXPECT_FALSE(st.MemoEditOpen);
    EXPECT_EQ(st.MemoEditRow, 3);
  }
}

TEST_F(MemoEditorTest, TotalsLineHasNoPlaceAndGetsTheMessageOnly) {
  Open(3);
  rowSheet.CancelEdit();
  port.placed.clear();
  const int totals = st.Imax + 1;

  ui.AnswerMsgBox(1, "合計行ではメモ行の作成及び編集はできません。");
  Open(totals);

  EXPECT_TRUE(port.placed.empty());
  EXPECT_EQ(rowSheet.CellText(1, 1), "※ 既存部分の撤去を含む。") << "the editor is left as it was";
  EXPECT_FALSE(rowSheet.Editing());
  EXPECT_EQ(st.MemoEditRow, 3);
  ui.ExpectAllAnswered();
}

TEST_F(MemoEditorTest, CommitStoresTheTextCutAtMemoRowMaxWithoutHalfACharacter) {
  st.SheetRows[3][119] = 'X';  // byte 120, just past the memo text
  Open(3);

  // 120 bytes: 99 letters, a double-byte character at bytes 100-101, more.
  const std::string kanji = ToSjis("漢");
  const std::string text = std::string(99, 'a') + kanji + std::string(19, 'b');
  ASSERT_EQ(text.size(), 120u);
  CommitMemoRow(st, rowSheet, text);

  const std::string& rec = st.SheetRows[3];
  EXPECT_EQ(rec.substr(19, 100), std::string(99, 'a') + " ");
  EXPECT_EQ(rec[119], 'X');
  EXPECT_EQ(rec.size(), 256u);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.CurrentRow, 3);
  EXPECT_EQ(st.CurrentCol, 1);

  // A short text blanks the rest of the memo.
  CommitMemoRow(st, rowSheet, "0123456789");
  EXPECT_EQ(rec.substr(19, 100), "0123456789" + std::string(90, ' '));
}

TEST_F(MemoEditorTest, CommitOnARowThatIsNoLongerAMemoRowChangesNothing) {
  Open(3);
  st.SheetRows[3][2] = ' ';
  const std::string before = st.SheetRows[3];

  CommitMemoRow(st, rowSheet, "新しいメモ");

  EXPECT_EQ(st.SheetRows[3], before);
  EXPECT_FALSE(st.SheetModified);
}

}  // namespace
}  // namespace kv::test
