// Cells through the clipboard: the text ClipboardPut writes, the round trip
// back through ClipboardPaste, and what the paste protects (memo rows,
// computed columns, the sheet's edges) and brings up to date (numbers,
// codes, amounts, totals).
#include "sheet/clipboard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "edit_fixture.h"
#include "platform/calc2.h"
#include "sheet/cell_text_store.h"

namespace kv::test {
namespace {

class ClipboardTest : public EditFixture {
 protected:
  ClipboardTest() { st.LevelCount = 1; }

  void Select(int left, int top, int right, int bottom) {
    st.SelLeft = left;
    st.SelTop = top;
    st.SelRight = right;
    st.SelBottom = bottom;
  }
  // Pastes `text` at (col, row) with the cursor cell as the selection.
  void PasteAt(int col, int row, const std::string& text) {
    ui.clipboard = text;
    Cursor(col, row);
    Select(col, row, col, row);
    ClipboardPaste(st, grid);
  }
  void TwoLines(int row, const std::string& text) {
    std::string t = text;
    CellTextStore(st, t, kDetail, row, 1);
  }
};

TEST_F(ClipboardTest, PutWritesFieldsTabsAndLineEnds) {
  Sheet({Row(' ', {{kName, "a"}, {kDetail, "b"}}), Row(' ', {{kName, "c"}, {kFormula, "1+2"}})});
  Select(kName, 1, kFormula, 2);
  ClipboardPut(st);
  EXPECT_EQ(ui.clipboard,
            "a         \tb                   \t\r\n"
            "c         \t\t1+2             \r\n");

  Select(kName, 1, kName, 2);
  ClipboardPut(st);
  EXPECT_EQ(ui.clipboard, "a         \r\nc         \r\n");
}

TEST_F(ClipboardTest, PutWritesATwoLineCellAsLineLfLine) {
  Sheet({Blank(), Blank()});
  TwoLines(1, "上段\r\n下段");
  // A first line left empty: the cell still pastes back as two lines.
  FieldStore(st, st.SheetRows[2], kDetail, 1, ToSjis("\r\n下だけ"));
  Select(kDetail, 1, kFormula, 2);
  ClipboardPut(st);
  EXPECT_EQ(ui.clipboard,
            "上段\n下段          \t\r\n"
            "\n下だけ            \t\r\n");
  PasteAt(kDetail, 3, ui.clipboard);
  EXPECT_EQ(st.SheetRows[3], st.SheetRows[1]);
  EXPECT_EQ(st.SheetRows[4], st.SheetRows[2]);
}

TEST_F(ClipboardTest, PutThenPasteGivesTheSameRecords) {
  Sheet({Row(' ', {{kName, "鉄骨"}, {kQty, "2"}, {kPrice, "1500"}, {kAmount, "3000"}, {kCode, "A01"}, {kCodeName, "鉄骨"}}),
         Row(' ', {{kName, "木"}, {kQty, "1.5"}, {kPrice, "-20"}, {kAmount, "-30"}, {kNote, "ﾒﾓ"}}),
         Row(' ', {{kName, "石"}})});
  TwoLines(1, "上段\r\n下段");
  TwoLines(3, "一行だけの長い仕様です");
  calc.LevelRecalcAndShow(st, st.SheetTotalRecord, 1, 3);
  const auto before = st.SheetRows;
  const std::string total = st.SheetTotalRecord;
  Select(kName, 1, kNote, 3);
  ClipboardPut(st);

  for (int r = 1; r <= 3; ++r) st.SheetRows[size_t(r)] = Blank();
  st.SheetTotalRecord = Blank();
  Sheet({});
  PasteAt(kName, 1, ui.clipboard);
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(FromSjis(st.SheetRows[size_t(r)]), FromSjis(before[size_t(r)])) << r;
  EXPECT_EQ(Cell(0, kAmount), "2970");
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Shown(kPrice, 1), "1,500");
  EXPECT_EQ(Shown(kAmount, 2), "-30");
  EXPECT_EQ(bar.panels[2], " 3 行");
  EXPECT_TRUE(st.SheetModified);
  (void)total;
}

TEST_F(ClipboardTest, NumbersAreFittedAndTheAmountsAndTotalsFollow) {
  Sheet({Row(' ', {{kName, "a"}, {kQty, "2"}})});
  ui.AnswerMsgBox(vbOK, PasteFormulaFailedMessage(1));
  PasteAt(kPrice, 1, "1,234\r\n  56 \r\nabc\r\n12345678901\r\n");
  EXPECT_EQ(Field(1, kPrice), "      1234");
  EXPECT_EQ(Shown(kPrice, 1), "1,234");
  EXPECT_EQ(Cell(1, kAmount), "2468");
  EXPECT_EQ(Cell(2, kPrice), "56");
  EXPECT_EQ(Cell(3, kPrice), "");  // text in a numeric column: a formula that fails
  EXPECT_EQ(Cell(4, kPrice), "");  // too long for the column: its overflow mark refits to blanks
  EXPECT_EQ(Cell(0, kAmount), "2468");
  EXPECT_EQ(st.UsedRows, 2);
}

// A pasted numeric column that no row definition reads changes no computed
// cell; the calculator's column variables still end as a recomputation of
// every pasted row leaves them: with the last item row's values.
TEST_F(ClipboardTest, AColumnNoDefinitionReadsLeavesTheLastItemRowsVariables) {
  st.ColFormula[1][kAmount] = "[[D*2";
  st.ReCalcFlag = false;
  Sheet({Row(' ', {{kQty, "3"}, {kAmount, "6"}}), Row(' ', {{kQty, "4"}, {kAmount, "8"}}),
         MemoRow(kMemoKind, "メモの行"), MemoRow(kMemoKind, "メモの行")});
  PasteAt(kPrice, 1, "10\r\n20\r\n30\r\n");  // rows 1 to 4 are recomputed
  EXPECT_EQ(Cell(2, kPrice), "20");
  EXPECT_EQ(Cell(1, kAmount), "6");
  EXPECT_EQ(Cell(2, kAmount), "8");
  for (const auto& [name, value] : {std::pair{"[[D", "4.000000"}, {"[[E", "20.000000"}, {"[[F", "8.000000"}}) {
    std::string result(40, '\0');
    ASSERT_EQ(Calc2(st.Calc2Vars, name, result), 1) << name;
    EXPECT_STREQ(result.c_str(), value) << name;
  }
}

TEST_F(ClipboardTest, MemoRowsAndComputedColumnsArePassedOver) {
  Sheet({Blank(), MemoRow('1', "見出しの行"), MemoRow(kMemoKind, "メモの行"), Blank(), Row('G', {})});
  const std::string memo1 = st.SheetRows[2], memo2 = st.SheetRows[3], closing = st.SheetRows[5];
  PasteAt(kPrice, 1, "10\t99\tA01\r\n20\t99\r\n30\t99\r\n40\t99\tZZ\r\n50\r\n");
  EXPECT_EQ(st.SheetRows[2], memo1);
  EXPECT_EQ(st.SheetRows[3], memo2);
  EXPECT_EQ(st.SheetRows[5], closing);
  EXPECT_EQ(Cell(1, kPrice), "10");
  EXPECT_EQ(Cell(4, kPrice), "40");
  // The computed amount is not written from the text: it is computed.
  EXPECT_EQ(Cell(1, kAmount), "");
  // A known code brings its name; an unknown one goes with its name.
  EXPECT_EQ(Cell(1, kCode), "A01");
  EXPECT_EQ(Cell(1, kCodeName), "鉄骨");
  EXPECT_EQ(RTrimBlanks(Shown(kCodeName, 1)), "鉄骨");
  EXPECT_EQ(Cell(4, kCode), "");
  EXPECT_EQ(Cell(4, kCodeName), "");
}

TEST_F(ClipboardTest, OneLineFillsEverySelectedRow) {
  Sheet({Row(' ', {{kQty, "1"}})});
  ui.clipboard = "x\t5";
  Cursor(kName, 2);
  Select(kName, 2, kName, 7);
  ClipboardPaste(st, grid);
  for (int r = 2; r <= 7; ++r) {
    EXPECT_EQ(Cell(r, kName), "x") << r;
    EXPECT_EQ(Cell(r, kDetail), "5") << r;
  }
  EXPECT_EQ(Cell(8, kName), "");
  EXPECT_EQ(st.UsedRows, 7);
}

TEST_F(ClipboardTest, LineEnds) {
  struct Case {
    const char* name;
    std::string text;
    const char* row1;
    const char* row2;
    const char* row3;
  };
  const Case cases[] = {
      {"no final CR LF", "a\r\nb", "a", "b", "old"},
      {"LF line ends from another program", "a\nb\nc\n", "a", "b", "c"},
      {"an empty line blanks its row", "a\r\n\r\nc\r\n", "a", "", "c"},
      {"control characters become blanks", std::string("a\x01z\r\nb\0c", 8), "a z", "b c", "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet({Row(' ', {{kName, "old"}}), Row(' ', {{kName, "old"}}), Row(' ', {{kName, "old"}})});
    PasteAt(kName, 1, c.text);
    EXPECT_EQ(Cell(1, kName), c.row1);
    EXPECT_EQ(Cell(2, kName), c.row2);
    EXPECT_EQ(Cell(3, kName), c.row3);
  }
}

TEST_F(ClipboardTest, ATwoLineCellFromTheClipboardKeepsItsLines) {
  Sheet({});
  PasteAt(kName, 1, "x\t上段\n下段\tq\r\n");
  EXPECT_EQ(Field(1, kDetail), "上段\r\n下段          ");
  EXPECT_EQ(Cell(1, kFormula), "q");
  // One long text is broken into the two lines of the cell.
  PasteAt(kDetail, 2, "あいうえおかきくけこ\r\n");
  EXPECT_EQ(Field(2, kDetail), "あいうえ \r\nおかきく ");
}

// A formula in a numeric column is evaluated as a typed entry is; those that
// fail are left blank and counted in one message.
TEST_F(ClipboardTest, AFormulaIsEvaluatedAndTheFailuresAreCountedOnce) {
  Sheet({Row(' ', {{kQty, "2"}})});
  ui.AnswerMsgBox(vbOK, PasteFormulaFailedMessage(2));
  PasteAt(kPrice, 1, "2*3\r\n1,000+5\r\n2*(3\r\n-7\r\nabc\r\n 8 \r\n");
  ui.ExpectAllAnswered();
  const char* expected[] = {"6", "1005", "", "-7", "", "8"};
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(Cell(r, kPrice), expected[r - 1]) << r;
  EXPECT_EQ(Cell(1, kAmount), "12");
  EXPECT_EQ(Cell(0, kAmount), "12");

  // One line over three selected rows: three cells fail.
  ui.AnswerMsgBox(vbOK, PasteFormulaFailedMessage(3));
  ui.clipboard = "1\t2*(3\r\n";
  Cursor(kQty, 1);
  Select(kQty, 1, kQty, 3);
  ClipboardPaste(st, grid);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Cell(3, kQty), "1.00");
  EXPECT_EQ(Cell(3, kPrice), "");
}

TEST_F(ClipboardTest, ATextThatDoesNotFitIsRefusedBeforeAnythingChanges) {
  Sheet({Row(' ', {{kName, "a"}})});
  const auto before = st.SheetRows;
  // One line more than the sheet's 30 rows is refused at every row, row 1
  // included; empty lines below the sheet are no cells.
  std::string tooLong;
  for (int i = 1; i <= 31; ++i) tooLong += std::to_string(i) + "\r\n";
  for (const auto& [col, row, text] : {std::tuple{kCode9, 1, std::string("1\t2\t3")},
                                       std::tuple{kName, 29, std::string("1\r\n2\r\n3\r\n")},
                                       std::tuple{kName, 1, tooLong}, std::tuple{kName, 2, tooLong}}) {
    ui.AnswerMsgBox(vbOK, kPasteRangeMessage);
    PasteAt(col, row, text);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.SheetRows, before);
    EXPECT_EQ(st.UsedRows, 1);
  }
}

TEST_F(ClipboardTest, CellsAreCutToTheirFieldsAndUnknownCharactersBecomeQuestionMarks) {
  Sheet({});
  PasteAt(kNote, 1, "漢字漢字\r\nｱ漢字\r\n€1\r\n");
  EXPECT_EQ(Field(1, kNote), "漢字");
  EXPECT_EQ(Field(2, kNote), "ｱ漢 ");
  EXPECT_EQ(Cell(3, kNote), "?1");
}

TEST_F(ClipboardTest, NothingHappensOnAHeaderOrWithAnEmptyClipboard) {
  Sheet({Row(' ', {{kName, "a"}})});
  st.UndoTaken = false;
  PasteAt(0, 1, "x");
  PasteAt(kName, 0, "x");
  PasteAt(kName, 1, "");
  EXPECT_EQ(Cell(1, kName), "a");
  EXPECT_FALSE(st.UndoTaken);
}

TEST_F(ClipboardTest, ALongTextIsReadLineByLine) {
  st.Imax = 1000;
  SheetGridInit(st, grid, 1);
  Sheet({});
  std::string text;
  for (int i = 1; i <= 1000; ++i) text += std::to_string(i) + "\t" + std::string(90, 'x') + "\r\n";
  PasteAt(kPrice, 1, text + "\r\n\r\n");  // empty lines below the last row
  EXPECT_EQ(st.UsedRows, 1000);
  EXPECT_EQ(Cell(1000, kPrice), "1000");

  // A line with a cell below the last row refuses the whole text.
  const auto before = st.SheetRows;
  ui.AnswerMsgBox(vbOK, kPasteRangeMessage);
  PasteAt(kName, 1, text + "beyond the last row\r\n");
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.SheetRows, before);
}

}  // namespace
}  // namespace kv::test

namespace kv::test {
namespace {

// A clipboard that refuses the first text it is given.
class RefusingClipboardUi : public ScriptedUi {
 public:
  int refusals = 1;
  void SetClipboardText(std::string_view text) override {
    if (refusals-- > 0) throw std::runtime_error("clipboard busy");
    ScriptedUi::SetClipboardText(text);
  }
};

TEST(ClipboardPutErrorTest, IsReportedAndLeavesTheClipboardEmpty) {
  RefusingClipboardUi ui;
  ProgramState st{ui};
  st.DataLen = 256;
  st.CurrentLevel = 1;
  st.ColCount[1] = 1;
  st.ColStart[1][1] = 20;
  st.ColWidth[1][1] = 4;
  st.ColType[1][1] = "C";
  st.SheetRows[1] = std::string(256, ' ');
  st.SheetRows[1][19] = 'a';
  st.SelLeft = st.SelRight = st.SelTop = st.SelBottom = 1;
  ui.clipboard = "old";
  ui.AnswerMsgBox(vbOK, "clipboard busy\n(ClipboardPutErr ｴﾗｰNo 5)");
  ClipboardPut(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.clipboard, "");
}

}  // namespace
}  // namespace kv::test
