// The calculator box: which cells open it, Enter commits the fitted result,
// Esc and a loss of focus commit nothing, a formula error and a result too
// large for the column keep it open with the formula.
#include "editor/calc_box.h"

#include "core/sjis_text.h"
#include "editing_keys_fixture.h"
#include "sheet/memo_editor.h"
#include "platform/grid/grid_keys.h"

namespace kv::test {
namespace {

class CalcBoxTest : public EditingKeysFixture {
 protected:
  CalcBoxTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kQty, "2"}, {kPrice, "1500"}}), Row('#', {{kAmount, "3000"}}),
           MemoRow(kMemoKind, "メモ"), Row('Q', {{kPrice, "7"}})});
  }
  // Opens the box on a cell; true when it opened.
  bool OpenOn(int col, int row) {
    MoveTo(col, row);
    box.shown = false;
    return DentakuOpen(g);
  }
  void Type(const std::string& formula) { box.text = formula; }
};

TEST_F(CalcBoxTest, OpensOnlyOnNumericCellsOfPlainRowsThatNothingComputes) {
  struct Case { int col, row; bool opens; };
  const Case cases[] = {
      {kPrice, 1, true},   {kQty, 1, true},          // numeric cells of an item row
      {kAmount, 1, false},                           // computed
      {kName, 1, false},   {kCode, 1, false},        // text and code columns
      {kPrice, 2, false},                            // a total row
      {kPrice, 3, false},                            // a memo row
      {kPrice, 4, false},                            // a "Q" row
      {kPrice, st.Imax + 1, false},                  // the totals line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenOn(c.col, c.row), c.opens) << c.col << "," << c.row;
    EXPECT_EQ(box.shown, c.opens);
  }
  OpenOn(kPrice, 1);
  EXPECT_EQ(box.text, "1500");
  EXPECT_GE(box.boxFocus, 1);
}

TEST_F(CalcBoxTest, EnterCommitsTheFittedResultToTheCell) {
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("3*4+0.9");
  DentakuText_KeyPress(g, 13);
  EXPECT_FALSE(box.shown);
  EXPECT_EQ(box.text, "");
  EXPECT_EQ(Field(1, kPrice), "        12");  // a whole-number column: the fraction cut
  EXPECT_EQ(Cell(1, kAmount), "24");
  EXPECT_EQ(Shown(kPrice, 1), "12");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_GE(box.sheetFocus, 1);
}

TEST_F(CalcBoxTest, EscAndALossOfFocusCommitNothing) {
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("99");
  DentakuText_KeyPress(g, 27);
  EXPECT_FALSE(box.shown);
  EXPECT_EQ(Cell(1, kPrice), "1500");
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("99");
  DentakuText_LostFocus(g);
  EXPECT_FALSE(box.shown);
  EXPECT_EQ(box.text, "");
  EXPECT_EQ(Cell(1, kPrice), "1500");
  // Other keys are the box's own typing.
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("9");
  DentakuText_KeyPress(g, '*');
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, "9");
}

TEST_F(CalcBoxTest, AFormulaErrorIsShownAndTheBoxKeepsTheFormula) {
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("2*(3");
  ui.AnswerMsgBox(vbOK, "Err");
  DentakuText_KeyPress(g, 13);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, "2*(3");
  EXPECT_EQ(Cell(1, kPrice), "1500");
}

TEST_F(CalcBoxTest, AResultTooLargeForTheColumnIsRefusedAndTheBoxStaysOpen) {
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("99999999*1000");
  ui.AnswerMsgBox(vbOK, "入力した数値の桁数が多すぎます!");
  DentakuText_KeyPress(g, 13);
  EXPECT_EQ(ui.CallsStartingWith("Beep").size(), 1u);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, "99999999*1000");
  EXPECT_EQ(Cell(1, kPrice), "1500");
}

TEST_F(CalcBoxTest, CharactersShiftJisCannotHoldAreRefused) {
  ASSERT_TRUE(OpenOn(kPrice, 1));
  Type("3*𠮷");
  ui.AnswerMsgBox(vbOK, "保存できない文字が含まれています: 「𠮷」");
  DentakuText_KeyPress(g, 13);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(Cell(1, kPrice), "1500");
}

TEST_F(CalcBoxTest, EnterInTheSheetOpensTheBoxAndIsConsumed) {
  MoveTo(kPrice, 1);
  EXPECT_TRUE(Press(gridkey::kReturn));
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(grid.CurrentRow(), 1);  // the grid did not move on
}

// The memo editor's grid.
class RowSheetTest : public CalcBoxTest {
 protected:
  RowSheetTest() {
    st.UsedRows = 4;
    MoveTo(kName, 3);
  }
};

TEST_F(RowSheetTest, EditEndCommitsTheMemoShowsItAndMovesTheCursorDown) {
  OpenMemoEditor(st, grid, rowSheet, memo);
  ASSERT_TRUE(memo.visible);
  rowSheet.BeginEdit(0);
  rowSheet.CommitEdit("新しいメモ");
  EXPECT_EQ(MidAnsi(st.SheetRows[3], 20, 10), "新しいメモ");
  EXPECT_EQ(Shown(1, 3), "新しいメモ");
  EXPECT_EQ(grid.CurrentRow(), 4);
  EXPECT_FALSE(memo.visible);
  EXPECT_GE(box.sheetFocus, 1);
  // On row Imax the cursor stays there.
  st.SheetRows[size_t(st.Imax)] = MemoRow(kMemoKind, "");
  MoveTo(kName, st.Imax);
  grid.EnsureVisible(kName, st.Imax);
  OpenMemoEditor(st, grid, rowSheet, memo);
  rowSheet.BeginEdit(0);
  rowSheet.CommitEdit("最後");
  EXPECT_EQ(grid.CurrentRow(), st.Imax);
}

TEST_F(RowSheetTest, UnstorableCharactersAreRefusedAndTheMemoKept) {
  OpenMemoEditor(st, grid, rowSheet, memo);
  rowSheet.BeginEdit(0);
  ui.AnswerMsgBox(vbOK, "保存できない文字が含まれています: 「😀」");
  rowSheet.CommitEdit("メモ😀");
  EXPECT_EQ(MidAnsi(st.SheetRows[3], 20, 4), "メモ");
  EXPECT_EQ(rowSheet.CellText(1, 1), "メモ");
}

TEST_F(RowSheetTest, KeysOfTheMemoEditor) {
  st.AutoDownFlag = 1;
  OpenMemoEditor(st, grid, rowSheet, memo);
  int key = gridkey::kDelete;
  RowSheet_KeyDown2(g, key, false, false);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(RTrimBlanks(MidAnsi(st.SheetRows[3], 20, 40)), "");
  EXPECT_EQ(st.AutoDownFlag, 1);
  EXPECT_EQ(grid.CurrentRow(), 3);  // no move, whatever the setting
  st.SheetRows[3] = MemoRow(kMemoKind, "再編集");
  key = gridkey::kF2;
  RowSheet_KeyDown2(g, key, false, false);
  EXPECT_EQ(key, 0);
  EXPECT_TRUE(rowSheet.Editing());
  EXPECT_EQ(rowSheet.CellText(1, 1), "再編集");
  rowSheet.CancelEdit();
  key = gridkey::kEscape;
  RowSheet_KeyDown2(g, key, false, false);
  EXPECT_FALSE(memo.visible);
  EXPECT_EQ(key, gridkey::kEscape);
  bool ignore = true;
  RowSheet_RButtonDown(1, 1, ignore);
  EXPECT_FALSE(ignore);
}

}  // namespace
}  // namespace kv::test
