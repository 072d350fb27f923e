// The editor grid's cursor and edit events: hidden columns skipped, which
// cells typing opens and with which input method, the totals-line write into
// the closing record, the split per level, and the double click.
#include "editor/grid_events.h"

#include "editor/calc_box.h"
#include "editor/grid_key_table.h"
#include "editor_grid_fixture.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"

namespace kv::test {
namespace {

class GridEventsTest : public EditorGridFixture {};

struct SkipCase {
  std::string hidden;  // one character per column 1..8: 'M' hidden
  int from, to;        // the cursor goes from column `from` to column `to`
  int gridCol;         // where the grid's cursor ends
  int currentCol;      // CurrentCol afterwards
};

TEST_F(GridEventsTest, HiddenColumnsAreSkippedInTheDirectionOfTheMove) {
  const SkipCase cases[] = {
      {"  M     ", 2, 3, 4, 4},  // right over one
      {"  MM    ", 2, 3, 5, 5},  // right over a run
      {"  M     ", 4, 3, 2, 2},  // left over one
      {" MM     ", 4, 3, 1, 1},  // left over a run, shown columns remain
      {"MM      ", 3, 2, 3, 3},  // left: the run reaches column 1, first shown column
      {"       M", 7, 8, 8, 7},  // the last column hidden: the cursor stays on it
      {"MMMMMMMM", 3, 2, 2, 3},  // nothing shown: stays
  };
  for (const SkipCase& c : cases) {
    st.XMASK[1] = 2;
    for (int col = 1; col <= 8; ++col) st.MaskDef[1][size_t(col)][2] = ' ';
    st.CurrentCol = 0;
    MoveTo(c.from, 5);
    for (int col = 1; col <= 8; ++col) st.MaskDef[1][size_t(col)][2] = c.hidden[size_t(col - 1)];
    MoveTo(c.to, 5);
    EXPECT_EQ(grid.CurrentCol(), c.gridCol) << c.hidden << " " << c.from << "->" << c.to;
    EXPECT_EQ(st.CurrentCol, c.currentCol) << c.hidden << " " << c.from << "->" << c.to;
  }
}

struct ModeCase {
  char kind;
  int col;
  int systemKind;
  int mode;
};

TEST_F(GridEventsTest, EditModeByRowKindColumnAndEdition) {
  const ModeCase cases[] = {
      {' ', 1, 2, 9},     {' ', 3, 2, 9},     {' ', 5, 2, 15},    // computed column
      {'Q', 5, 2, 9},     {'#', 3, 2, 9},     {'\xB9', 3, 2, 15},  // ｹ row, numeric
      {'\xB9', 3, 4, 15}, {'\xB9', 3, 1, 9},  {'\xB9', 3, 3, 9},   // only editions 2 and 4
      {'\xB9', 8, 2, 9},  {'\xB9', 1, 2, 9},                       // its "A" and text columns
      {'\xD2', 1, 2, 15}, {'H', 3, 2, 15},    {'1', 1, 2, 15},    {'D', 2, 2, 15},
  };
  for (const ModeCase& c : cases) {
    st.SystemKind = c.systemKind;
    Kind(7, c.kind);
    MoveTo(1, 1);
    MoveTo(c.col, 7);
    EXPECT_EQ(grid.EditMode(), c.mode) << "kind '" << c.kind << "' col " << c.col << " edition " << c.systemKind;
  }
  MoveTo(1, st.Imax + 1);
  EXPECT_EQ(grid.EditMode(), 15);  // the totals line
  st.CustomerVariant = true;
  st.ColCount[1] = 12;
  for (int col = 9; col <= 12; ++col) st.ColType[1][size_t(col)] = "C";
  SheetGridInit(st, grid, 1);
  MoveTo(11, 3);
  EXPECT_EQ(grid.EditMode(), 15);
  MoveTo(10, 3);
  EXPECT_EQ(grid.EditMode(), 9);
}

TEST_F(GridEventsTest, TypingIntoAClosedCellDoesNotOpenIt) {
  MoveTo(5, 2);
  EXPECT_FALSE(grid.StartEditByTyping('1', "1"));
  MoveTo(3, 2);
  EXPECT_TRUE(grid.StartEditByTyping('1', "1"));
  EXPECT_TRUE(st.CellEditActive);
}

TEST_F(GridEventsTest, PreEditRefusesComputedAndExpenseNumbers) {
  struct Case { char kind; int col; int systemKind; bool allowed; };
  const Case cases[] = {{' ', 5, 2, false}, {'Q', 5, 2, true}, {'\xB9', 3, 2, false},
                        {'\xB9', 8, 2, true}, {'\xB9', 1, 4, true}, {'\xB9', 3, 3, true}};
  for (const Case& c : cases) {
    st.SystemKind = c.systemKind;
    Kind(4, c.kind);
    st.CurrentCol = c.col;
    st.CurrentRow = 4;
    st.CellEditActive = false;
    int key = 'X';
    EdtSheet_PreEdit(g, key);
    EXPECT_EQ(key != 0, c.allowed) << c.kind << " " << c.col;
    EXPECT_EQ(st.CellEditActive, c.allowed);
  }
}

TEST_F(GridEventsTest, InputMethodFollowsTheOrderedRules) {
  struct Case { char kind; int col; int codeCol; bool customer; bool before; bool on; };
  const Case cases[] = {
      {'\xD2', 3, -1, false, false, true},  // memo row: on, whatever the column
      {'H', 1, -1, false, true, false},     // heading kinds: off
      {' ', 1, 1, false, true, false},      // the code column: off
      {' ', 1, -1, true, true, false},      // customer variant column 1
      {' ', 1, -1, false, false, true},     // "C"
      {' ', 2, -1, false, false, true},     // "W"
      {' ', 3, -1, false, true, false},     // numeric
      {' ', 6, -1, false, true, false},     // "I"
      {' ', 8, -1, false, true, false},     // "A"
  };
  for (const Case& c : cases) {
    Kind(6, c.kind);
    st.CodeColmun = c.codeCol;
    st.CustomerVariant = c.customer;
    grid.SetCursor(c.col, 6);
    grid.SetImeOn(c.before);
    grid.SetCursor(c.col, 5);
    grid.SetCursor(c.col, 6);
    EXPECT_EQ(grid.CellImeOn(c.col, 6), c.on) << "kind '" << c.kind << "' col " << c.col;
  }
  // A type no rule names keeps the cell's switch.
  st.ColType[1][7] = "X";
  st.CodeColmun = -1;
  st.CustomerVariant = false;
  Kind(6, ' ');
  for (bool before : {false, true}) {
    grid.SetCursor(7, 6);
    grid.SetImeOn(before);
    grid.SetCursor(7, 5);
    grid.SetCursor(7, 6);
    EXPECT_EQ(grid.CellImeOn(7, 6), before);
  }
}

TEST_F(GridEventsTest, StatusPanelsShowTheCellButNotOnTheTotalsLine) {
  st.SheetRows[1].replace(15, 4, "  3P");
  MoveTo(3, 12);
  EXPECT_EQ(bar.panels[5], "C 12");
  EXPECT_EQ(bar.panels[4], " 3P");
  MoveTo(2, st.Imax + 1);
  EXPECT_EQ(bar.panels[5], "C 12");
  EXPECT_EQ(st.CurrentRow, st.Imax + 1);
}

TEST_F(GridEventsTest, MovingTheCursorClosesTheCalculatorBoxAndDropsItsText) {
  box.shown = true;
  box.text = "3*4";
  MoveTo(3, 4);
  EXPECT_FALSE(box.shown);
  EXPECT_EQ(box.text, "");
  EXPECT_EQ(box.sheetFocus, 1);
}

// Typing on the totals line: into the closing record, inside the column.
TEST_F(GridEventsTest, TotalsLineWriteStaysInsideItsColumnWithoutSplittingACharacter) {
  struct Case {
    int col;
    std::string typed;
    int pos, len;          // the bytes of the closing record checked
    std::string stored;    // their text after the write
    std::string shown;     // the grid's totals cell
  };
  const Case cases[] = {
      // "C", 10 bytes: 合 would take bytes 10-11; a blank takes byte 10.
      {1, "ABCDEFGHI合", 20, 10, "ABCDEFGHI ", "ABCDEFGHI "},
      // numeric: the text as typed over the column's 12 bytes (its mask is longer).
      {3, "1234.5", 70, 12, "1234.5      ", "1234.5      "},
      {3, "abc", 70, 12, "abc         ", "abc         "},
      // "W" 40 bytes: the lines joined, cut to 19 bytes; 漢 would take 19-20.
      {2, "ABCDEFGHIJ\r\nKLMNOPQR漢", 30, 19, "ABCDEFGHIJKLMNOPQR ", "ABCDEFGHIJKLMNOPQR "},
  };
  for (const Case& c : cases) {
    st.SheetTotalRecord = Record({{30, std::string(40, 'w')}, {82, "NEXT"}, {20, "xxxxxxxxxx"}});
    st.SheetModified = false;
    MoveTo(c.col, st.Imax + 1);
    grid.BeginEdit(0);
    grid.CommitEdit(c.typed);
    EXPECT_EQ(Bytes(st.SheetTotalRecord, c.pos, c.len), c.stored) << c.typed;
    EXPECT_EQ(grid.CellText(c.col, st.Imax + 1), c.shown) << c.typed;
    EXPECT_EQ(Bytes(st.SheetTotalRecord, 82, 4), "NEXT");  // the next column left whole
    EXPECT_TRUE(st.SheetModified);
    EXPECT_FALSE(st.CellCommitting);
    EXPECT_FALSE(st.CellEditActive);
  }
  // The "W" write leaves the rest of its column as it was.
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 49, 21), std::string(21, 'w'));
  // A numeric column never writes past its last byte into the next one.
  st.SheetTotalRecord = Record({{82, "NEXT"}});
  MoveTo(3, st.Imax + 1);
  grid.BeginEdit(0);
  grid.CommitEdit("12345678901234567");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 70, 16), "123456789012NEXT");
}

TEST_F(GridEventsTest, TypedTextWithCharactersShiftJisCannotHoldIsRefused) {
  st.SheetTotalRecord = Record({{20, "合計"}});
  MoveTo(1, st.Imax + 1);
  grid.BeginEdit(0);
  ui.AnswerMsgBox(vbOK, "保存できない文字が含まれています: 「😀」");
  grid.CommitEdit("A😀B");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), "合計      ");
  EXPECT_EQ(grid.CellText(1, st.Imax + 1), "合計      ");
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(st.CellCommitting);
}

TEST_F(GridEventsTest, EditEndDoesNothingWhileTheMemoEditorIsOpenOrOnAHiddenColumn) {
  st.SheetTotalRecord = Record({});
  MoveTo(1, st.Imax + 1);
  memo.visible = true;
  st.CellEditActive = true;
  grid.BeginEdit(0);
  grid.CommitEdit("X");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 1), " ");
  EXPECT_TRUE(st.CellEditActive);
  memo.visible = false;
  st.MaskDef[1][1][0] = 'M';
  grid.BeginEdit(0);
  grid.CommitEdit("X");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 1), " ");
  EXPECT_FALSE(st.CellEditActive);
}

TEST_F(GridEventsTest, GotFocusHidesTheMemoEditor) {
  memo.visible = true;
  EdtSheet_GotFocus(g);
  EXPECT_FALSE(memo.visible);
}

TEST_F(GridEventsTest, ItemSelectedMarksTheObjectsChanged) {
  EdtSheet_ItemSelected(st, 3);
  EXPECT_TRUE(st.OleObjectsChanged);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.SelectedObjectItem, 3);
}

TEST_F(GridEventsTest, DivideKeepsTheSplitPerLevelAndReturnsToTheColumnOnUnsplit) {
  MoveTo(3, 4);
  EdtSheet_Divide(g, 120, 0);
  EXPECT_EQ(st.GamenX[1], 120);
  EXPECT_EQ(st.GamenX[2], 0);
  EXPECT_EQ(st.DivideCol, 3);
  MoveTo(6, 4);  // each move while split records the column
  EXPECT_EQ(st.DivideCol, 6);
  st.CurrentLevel = 2;
  EdtSheet_Divide(g, 80, 5);
  EXPECT_EQ(st.GamenX[2], 80);
  EXPECT_EQ(st.GamenY[2], 5);
  EXPECT_EQ(st.GamenX[1], 120);
  st.CurrentLevel = 1;
  st.DivideCol = 2;
  EdtSheet_Divide(g, 0, 0);
  EXPECT_EQ(st.GamenX[1], 0);
  EXPECT_EQ(grid.CurrentCol(), 2);
  st.SheetLoading = true;
  EdtSheet_Divide(g, 50, 0);
  EXPECT_EQ(st.GamenX[1], 0);
}

TEST_F(GridEventsTest, DoubleClickOpensTheEditorTheCellAsksFor) {
  st.SheetRows[3] = Record({{20, "名称"}, {70, "      125.50"}});
  // A plain text cell: in-cell edit with the stored text trimmed.
  MoveTo(1, 3);
  grid.DoubleClick(1, 3);
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.CellText(1, 3), "名称");
  EXPECT_TRUE(st.CellEditActive);
  EXPECT_TRUE(st.SheetModified);
  grid.CancelEdit();
  // A numeric cell of a plain row: the calculator box with the stored value.
  MoveTo(3, 3);
  grid.DoubleClick(3, 3);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, "125.50");
  box.shown = false;
  // A computed cell: nothing; on a "Q" row it opens.
  st.SheetModified = false;
  MoveTo(5, 3);
  grid.DoubleClick(5, 3);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(grid.Editing());
  // A column header selects the column down to Imax.
  MoveTo(2, 3);
  EdtSheet_DblClk(g, 2, 0);
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  GetSelect32(grid, c1, r1, c2, r2);
  EXPECT_EQ((std::vector<int>{c1, r1, c2, r2}), (std::vector<int>{2, 1, 2, st.Imax}));
  // A marking mode: nothing.
  st.NotPrintLineMode = true;
  MoveTo(1, 3);
  st.CellEditActive = false;
  EdtSheet_DblClk(g, 1, 3);
  EXPECT_FALSE(st.CellEditActive);
}

TEST_F(GridEventsTest, TotalsLineRenameAsksWithJapaneseInputAndCutsToTheColumn) {
  st.SheetTotalRecord = Record({{20, "合計"}, {30, std::string(40, 'w')}, {82, "NEXT"}});
  // "C" of 10 bytes: cut to min(40, 10) without splitting 漢 at bytes 10-11.
  MoveTo(1, st.Imax + 1);
  ui.AnswerInput(std::string("ABCDEFGHI漢字   "), "合計欄の名称を変更します、新規名称を入力して下さい");
  EdtSheet_DblClk(g, 1, st.Imax + 1);
  ASSERT_EQ(ui.inputBoxes.size(), 1u);
  EXPECT_TRUE(ui.inputBoxes[0].imeOn);
  EXPECT_EQ(ui.inputBoxes[0].initial, "合計      ");
  EXPECT_FALSE(ui.InputBoxImeOn());
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), "ABCDEFGHI ");
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 30, 1), "w");
  EXPECT_TRUE(st.SheetModified);
  // "W" of 40 bytes: 19 bytes written, the rest of the column kept.
  MoveTo(2, st.Imax + 1);
  ui.AnswerInput(std::string("12345678901234567890123"));
  EdtSheet_DblClk(g, 2, st.Imax + 1);
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 30, 40), "1234567890123456789" + std::string(21, 'w'));
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "1234567890123456789");
  // Cancelled: nothing changes. A column with a total definition is not renamed.
  MoveTo(1, st.Imax + 1);
  ui.AnswerInput(std::nullopt);
  EdtSheet_DblClk(g, 1, st.Imax + 1);
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), "ABCDEFGHI ");
  MoveTo(4, st.Imax + 1);
  EdtSheet_DblClk(g, 4, st.Imax + 1);
  EXPECT_EQ(ui.inputBoxes.size(), 3u);
}

}  // namespace
}  // namespace kv::test
