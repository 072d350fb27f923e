// Copying cells, rows and objects from the reference into the sheet in
// memory: what arrives where, what is refused with which message, and that a
// refusal leaves the sheet as it was.
#include <gtest/gtest.h>

#include "calc/calc_engine.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "reference/ref_cell_copy.h"
#include "reference/ref_copy_fixture.h"
#include "reference/ref_row_copy.h"
#include "sheet/sheet_fields.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class RefCopy : public RefCopyFixture {
 protected:
  // The reference takes the editor's level-1 columns again, and both grids
  // are laid out for them.
  void SameLayoutBothSides() {
    st.RefColCount[1] = st.ColCount[1];
    for (int c = 1; c <= st.ColCount[1]; ++c) {
      st.RefColStart[1][c] = st.ColStart[1][c];
      st.RefColWidth[1][c] = st.ColWidth[1][c];
      st.RefColType[1][c] = st.ColType[1][c].front();
    }
    ShowRef(1);
    ShowEstimate(1, 1);
  }

  // Reference level 1: a, b (item rows), a memo row, c; estimate: x, y.
  void TwoSheets() {
    WriteRefLevel(1,
                  {{' ', 0, kNoRecord, kNoRecord, "a         " + std::string("        1.50")},
                   {' ', 0, kNoRecord, kNoRecord, "b         " + std::string("          20")},
                   {'\xD2', 0, kNoRecord, kNoRecord, "memo text"},
                   {' ', 0, kNoRecord, kNoRecord, "c"},
                   {'G', 0, kNoRecord, kNoRecord, ""}},
                  "R");
    WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, "x", '@'}, {' ', 0, kNoRecord, kNoRecord, "y", 'x'}, {'G'}});
    ShowRef(1);
    ShowEstimate(1, 2);
  }
};

TEST_F(RefCopy, SelectedRowsAreInsertedAtTheCursorWithoutNumbersAndByteOneStays) {
  TwoSheets();
  st.SheetRows[1].replace(15, 4, "   3");  // the sheet's first page
  Select(1, 2, 1, 3);
  RefRowCopy(st, grid, edt, 1);

  EXPECT_EQ(ColumnA(5), (std::vector<std::string>{"x", "b", "memo text", "y", ""}));
  EXPECT_EQ(RecordByte(st.SheetRows[3], kKindPos), '\xD2');
  EXPECT_EQ(st.SheetRows[3].substr(19, 9), "memo text");
  // Byte 1 belongs to the position: row 2 keeps "x", row 4 (y moved) has none.
  EXPECT_EQ(RecordByte(st.SheetRows[1], kMarkPos), '@');
  EXPECT_EQ(RecordByte(st.SheetRows[2], kMarkPos), 'x');
  EXPECT_EQ(RecordByte(st.SheetRows[4], kMarkPos), ' ');
  for (int r : {2, 3}) EXPECT_EQ(st.SheetRows[static_cast<size_t>(r)].substr(3, 16), std::string(16, ' ')) << r;
  EXPECT_EQ(st.SheetRows[1].substr(15, 4), "   3");
  EXPECT_EQ(st.UsedRows, 4);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(RTrimBlanks(edt.CellText(1, 2)), "b");
  // The undo copy is the sheet before the copy.
  EXPECT_TRUE(st.UndoTaken);
  EXPECT_EQ(st.UndoRowCount, 2);
  EXPECT_EQ(st.CurrentRow, 2);
}

TEST_F(RefCopy, AClosingRecordArrivesAsABlankRow) {
  // A reference row that names its sheet's closing record.
  WriteRefLevel(1, {{' ', 0, kNoRecord, kNoRecord, "a"}, {'G', 0, kNoRecord, kNoRecord, "total"}}, "R");
  WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, "x"}, {'G'}});
  ShowRef(1);
  ShowEstimate(1, 1);
  st.RefSheetRows[1].replace(3, 4, "   2");
  Select(1, 1, 1, 1);
  RefRowCopy(st, grid, edt, 1);
  EXPECT_EQ(st.SheetRows[1], std::string(256, ' '));
  EXPECT_EQ(ColumnA(2), (std::vector<std::string>{"", "x"}));
}

TEST_F(RefCopy, AllRowsGoAfterTheLastUsedRowAndTheRowsLeftOutAreTold) {
  TwoSheets();
  st.Imax = 4;
  ShowEstimate(1, 1);
  ui.AnswerMsgBox(vbOK, RefRowsLeftOutMessage(4, 2));
  RefRowCopy(st, grid, edt, 2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ColumnA(4), (std::vector<std::string>{"x", "y", "a", "b"}));
  EXPECT_EQ(st.CurrentRow, 3);

  // A full sheet takes nothing.
  ui.AnswerMsgBox(vbOK, "見積ﾃﾞｰﾀが 4行を越えますので複写出来ません.");
  RefRowCopy(st, grid, edt, 2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ColumnA(4), (std::vector<std::string>{"x", "y", "a", "b"}));
}

TEST_F(RefCopy, RangeCheckOfARowCopy) {
  TwoSheets();  // 4 reference rows, 2 estimate rows, Imax 20
  struct Case {
    const char* name;
    int top, bottom, cursor, imax;
    bool ok;
    int first, count;
    const char* message;
  };
  const Case cases[] = {
      {"one row", 2, 2, 1, 20, true, 2, 1, nullptr},
      {"dragged upwards", 3, 1, 1, 20, true, 1, 3, nullptr},
      {"cut to the used rows", 3, 9, 1, 20, true, 3, 2, nullptr},
      {"below the used rows", 5, 9, 1, 20, false, 0, 0, kRefRangeInvalid},
      {"just fits", 1, 4, 3, 6, true, 1, 4, nullptr},
      {"one row too many", 1, 4, 3, 5, false, 0, 0, "見積ﾃﾞｰﾀが 5行を越えますので複写出来ません."},
      {"past Imax from the cursor", 1, 2, 6, 6, false, 0, 0, "見積ﾃﾞｰﾀが 6行を越えますので複写出来ません."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    st.Imax = c.imax;
    st.CurrentRow = c.cursor;
    SetSelect32(grid, 1, c.top, 1, c.bottom);
    if (c.message) ui.AnswerMsgBox(vbOK, c.message);
    const RefRowRange r = RefRowRangeCheck(st, grid);
    ui.ExpectAllAnswered();
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.used, 2);
    if (c.ok) {
      EXPECT_EQ(r.top, c.first);
      EXPECT_EQ(r.count, c.count);
    }
  }
}

TEST_F(RefCopy, ARowWhoseRecordTheFileDoesNotHoldIsRefusedBeforeTheSheetChanges) {
  TwoSheets();
  const auto before = st.SheetRows;
  st.RefSheetRows[2].replace(3, 4, "  99");
  Select(1, 1, 1, 2);
  ui.AnswerMsgBox(vbOK, "R.Y1");
  RefRowCopy(st, grid, edt, 1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.SheetRows, before);
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(RefCopy, CellCopyRefusalsLeaveTheSheetAsItWas) {
  TwoSheets();
  // Column 3: a computed number; column 4: a text column of another width.
  st.ColCount[1] = 4;
  st.ColStart[1][3] = 42, st.ColWidth[1][3] = 10, st.ColType[1][3] = "0", st.ColFormula[1][3] = "B*2";
  st.ColStart[1][4] = 52, st.ColWidth[1][4] = 8, st.ColType[1][4] = "C";
  struct Case {
    const char* name;
    int col1, col2, destCol, destRow;
    char destKind;
    int imax;
    std::string message;
  };
  const Case cases[] = {
      {"two columns", 1, 2, 1, 1, ' ', 20, kRefOneColumnOnly},
      {"computed destination", 2, 2, 3, 1, ' ', 20, kRefBadDestination},
      {"number into a total row", 2, 2, 2, 1, '#', 20, kRefBadDestination},
      {"another type", 1, 1, 2, 1, ' ', 20, kRefSourceDiffers},
      {"another width", 1, 1, 4, 1, ' ', 20, kRefSourceDiffers},
      {"past Imax", 1, 1, 1, 2, ' ', 3, "ﾃﾞｰﾀが 3行を越えますので複写出来ません."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRecordByte(st.SheetRows[1], kKindPos, c.destKind);
    const auto before = st.SheetRows;
    st.Imax = c.imax;
    st.CurrentCol = c.destCol;
    st.CurrentRow = c.destRow;
    Select(c.col1, 1, c.col2, 3);
    ui.AnswerMsgBox(vbOK, c.message);
    RefCellCopy(st, grid, edt);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.SheetRows, before);
    EXPECT_FALSE(st.SheetModified);
  }
  // A text column into a total row is taken; the total row is passed over.
  SetRecordByte(st.SheetRows[1], kKindPos, '#');
  st.Imax = 20;
  st.CurrentCol = 1;
  st.CurrentRow = 1;
  Select(1, 1, 1, 2);
  RefCellCopy(st, grid, edt);
  EXPECT_EQ(ColumnA(2), (std::vector<std::string>{"x", "b"}));
}

// The column copied is the one checked: a cursor left on a column of the
// destination's type does not let another column's bytes through.
TEST_F(RefCopy, CellCopyChecksTheColumnItCopies) {
  TwoSheets();
  st.CurrentCol = 1;  // text, width 10
  st.CurrentRow = 1;
  SetSelect32(grid, 2, 1, 2, 2);  // the number column, width 12
  st.RefSelStart = 1;
  ui.AnswerMsgBox(vbOK, kRefSourceDiffers);
  RefCellCopy(st, grid, edt);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ColumnA(2), (std::vector<std::string>{"x", "y"}));
}

TEST_F(RefCopy, CellCopyFollowsUpByTheDestinationType) {
  TwoSheets();
  CalcEngine calc;
  st.calc = &calc;
  st.ReCalcFlag = false;
  st.AutoDownFlag = 1;
  // Column 3 "W" (20 bytes), column 4 "C" linked from column 1, column 5 "S"
  // answered in column 6 "A".
  st.ColCount[1] = 6;
  st.ColStart[1][3] = 42, st.ColWidth[1][3] = 20, st.ColType[1][3] = "W";
  st.ColStart[1][4] = 62, st.ColWidth[1][4] = 10, st.ColType[1][4] = "C";
  st.ColStart[1][5] = 72, st.ColWidth[1][5] = 12, st.ColType[1][5] = "S";
  st.ColStart[1][6] = 84, st.ColWidth[1][6] = 12, st.ColType[1][6] = "A";
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = 1;
  st.ABLinkDst[1] = 4;
  SameLayoutBothSides();
  st.RefSheetRows[1].replace(41, 20, "long text wraps here");
  st.RefSheetRows[1].replace(71, 12, "2*3         ");
  st.RefSheetRows[1].replace(29, 12, "20          ");

  // Text with its column link, the cursor advanced over the block.
  Select(1, 1, 1, 2);
  st.CurrentCol = 1;
  st.CurrentRow = 1;
  edt.SetCursor(1, 1);
  RefCellCopy(st, grid, edt);
  EXPECT_EQ(ColumnA(2), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(st.SheetRows[2].substr(61, 10), "b         ");
  EXPECT_EQ(RTrimBlanks(edt.CellText(4, 2)), "b");
  EXPECT_EQ(edt.CurrentRow(), 3);

  // A number evaluated and fitted to the column.
  st.CurrentCol = 2, st.CurrentRow = 1;
  Select(2, 1, 2, 1);
  RefCellCopy(st, grid, edt);
  EXPECT_EQ(st.SheetRows[1].substr(29, 12), "          20");
  EXPECT_EQ(edt.CellText(2, 1), "20");

  // A two-line text laid out by the cell store.
  st.CurrentCol = 3, st.CurrentRow = 1;
  Select(3, 1, 3, 1);
  RefCellCopy(st, grid, edt);
  EXPECT_EQ(st.SheetRows[1].substr(41, 11), "long text\r\n");
  EXPECT_NE(st.SheetRows[1].substr(52, 9).find("wraps"), std::string::npos);

  // A formula text computed into its answer column.
  st.CurrentCol = 5, st.CurrentRow = 1;
  Select(5, 1, 5, 1);
  RefCellCopy(st, grid, edt);
  EXPECT_EQ(st.SheetRows[1].substr(71, 3), "2*3");
  EXPECT_EQ(std::string(TrimBlanks(st.SheetRows[1].substr(83, 12))), "6");

  EXPECT_EQ(ui.Prompts().size(), 0u);
  st.calc = nullptr;
}

TEST_F(RefCopy, ObjectCopyWithinBothLimits) {
  TwoSheets();
  grid.CreateItem(1, 1, "PICTURE", 600, 300);
  st.RefSelectedObjectItem = 1;
  st.OleFileMax = 2;
  st.OleFilePicMax = 1;
  edt.SetCursor(2, 2);
  IniPutString("OLE", "OleFileCnt", "2", st.WorkFileBase + ".INI");
  ui.AnswerMsgBox(vbOK, kRefOleFileLimit);
  RefOLEObjectCopy(st, grid, edt);
  IniPutString("OLE", "OleFileCnt", "1", st.WorkFileBase + ".INI");
  RefOLEObjectCopy(st, grid, edt);
  ASSERT_EQ(edt.ItemCount(), 1);
  EXPECT_EQ(edt.Item(1).data, "PICTURE");
  EXPECT_EQ(edt.ItemCol(1), 2);
  EXPECT_EQ(edt.ItemRow(1), 2);
  EXPECT_TRUE(st.OleObjectsChanged);
  EXPECT_TRUE(st.SheetModified);
  ui.AnswerMsgBox(vbOK, kRefOlePicLimit);
  RefOLEObjectCopy(st, grid, edt);
  ui.ExpectAllAnswered();
  EXPECT_EQ(edt.ItemCount(), 1);
  // Nothing selected: nothing happens.
  st.RefSelectedObjectItem = -1;
  st.OleFilePicMax = 5;
  RefOLEObjectCopy(st, grid, edt);
  EXPECT_EQ(edt.ItemCount(), 1);
}

TEST_F(RefCopy, TheCopyMenuRunsOnlyWhileTheLayoutsAgree) {
  TwoSheets();
  Select(1, 1, 1, 1);
  win->MenuChosen("MnuEItem", 1);
  EXPECT_EQ(ColumnA(3), (std::vector<std::string>{"x", "a", "y"}));
  EXPECT_TRUE(win->Menus().At("MnuE").enabled);
  EXPECT_TRUE(levelButtonsEnabled);

  // Another layout: the double click says so and closes the window.
  st.RefFitsEditor = false;
  const auto before = st.SheetRows;
  ui.AnswerMsgBox(vbOK, "一旦参考画面を閉じます。");
  st.CurrentCol = 1;
  st.CurrentRow = 1;
  win->RefSheet_DblClk(1, 2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.SheetRows, before);
  EXPECT_FALSE(st.RefSheetLoaded);
  EXPECT_FALSE(st.RefWindowOpen);
}

}  // namespace
}  // namespace kv::test
