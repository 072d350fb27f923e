#include "storage/level_write.h"

#include "state/calc_services.h"
#include "storage/file_commands_double.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"

namespace kv::test {
namespace {

class LevelWriteTest : public LevelFixture, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override { Configure(256, GetParam(), 3); }

  // Level 1: parent row P (record 1) whose breakdown begins at `child`.
  void TopWithParent(int child) { WriteLevel(1, {{' ', 0, 2, child, "P"}, {'G', 0, kNoRecord, kNoRecord, ""}}); }

  // Reads the breakdown of P as the sheet in memory at level 2.
  void ReadBreakdown() {
    st.CurrentLevel = 2;
    SetParent(2, 1);
    ASSERT_TRUE(LevelRowsRead(st, 2));
  }

  // The chain of a level file from `first`, as record numbers.
  std::vector<int> Chain(int level, int first) {
    std::vector<std::string> recs = ReadLevel(level);
    std::vector<int> out;
    for (int n = first; n >= 1 && out.size() <= recs.size(); n = Next(recs.at(n - 1))) out.push_back(n);
    return out;
  }
};

// The sheet read from 5 -> 2 -> 9 of a 12-record file, written with four rows:
// rows 1-3 take records 5, 2 and 9, row 4 and the closing record are appended.
TEST_P(LevelWriteTest, RewrittenSheetReusesItsRecordsAndAppendsTheRest) {
  TopWithParent(5);
  std::vector<Rec> level2 = Filler(12);
  level2[4] = {' ', 0, 2, kNoRecord, "a", '@'};
  level2[1] = {' ', 0, 9, kNoRecord, "b"};
  level2[8] = {'G', 0, kNoRecord, kNoRecord, "sum"};
  WriteLevel(2, level2);
  ReadBreakdown();
  for (int r = 1; r <= 4; ++r) SetRow(r, "row" + std::to_string(r));

  ASSERT_TRUE(LevelWrite(st, 2));

  std::vector<std::string> recs = ReadLevel(2);
  ASSERT_EQ(recs.size(), 14u);
  EXPECT_EQ(Chain(2, 5), (std::vector<int>{5, 2, 9, 13, 14}));
  EXPECT_EQ(RecordByte(recs[4], kMarkPos), '@');
  EXPECT_EQ(Text(recs[4]), Pad("row1"));
  EXPECT_EQ(Text(recs[12]), Pad("row4"));
  EXPECT_EQ(RecordByte(recs[13], kKindPos), 'G');
  EXPECT_EQ(Own(recs[13]), 14);
  EXPECT_EQ(LinkField(recs[13], kChildPos), " -99");
  EXPECT_EQ(Text(recs[0]), Pad("old"));  // records of no chain are left alone
  EXPECT_EQ(Child(ReadLevel(1)[0]), 5);
  EXPECT_EQ(Child(st.ParentRows[1]), 5);
  // The rows in memory are the records as written, next links included, so a
  // row written back from memory keeps its chain.
  EXPECT_EQ(BaseStrToNum(LinkField(st.SheetRows[1], kNextPos), IsHexBase(GetParam())), 2);
  EXPECT_EQ(LinkField(st.SheetRows[5], kNextPos), " -99");
  EXPECT_EQ(Own(st.SheetRows[1]), 5);
  EXPECT_EQ(RecordByte(st.SheetRows[5], kKindPos), 'G');
}

TEST_P(LevelWriteTest, NewBreakdownIsAppendedAndLinkedFromTheParent) {
  TopWithParent(kNoRecord);
  WriteLevel(2, Filler(3));
  ReadBreakdown();
  SetRow(1, "new1");
  SetRow(2, "new2");

  ASSERT_TRUE(LevelWrite(st, 2));

  std::vector<std::string> recs = ReadLevel(2);
  ASSERT_EQ(recs.size(), 6u);
  EXPECT_EQ(Chain(2, 4), (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(RecordByte(recs[3], kMarkPos), '@');
  EXPECT_EQ(RecordByte(recs[4], kMarkPos), ' ');
  EXPECT_EQ(Child(ReadLevel(1)[0]), 4);
  EXPECT_EQ(Child(st.ParentRows[1]), 4);
}

TEST_P(LevelWriteTest, EmptiedBreakdownIsNotWrittenAndTheParentLosesItsLink) {
  TopWithParent(1);
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "gone", '@'}, {'G', 0, kNoRecord, kNoRecord, ""}});
  ReadBreakdown();
  std::string before = ReadAll(LevelPath(2));
  SetRow(1, "");

  ASSERT_TRUE(LevelWrite(st, 2));

  EXPECT_EQ(ReadAll(LevelPath(2)), before);
  EXPECT_EQ(LinkField(ReadLevel(1)[0], kChildPos), " -99");
  EXPECT_EQ(LinkField(st.ParentRows[1], kChildPos), " -99");
}

INSTANTIATE_TEST_SUITE_P(BothBases, LevelWriteTest, ::testing::Values("10", "16"));

using LevelWriteFixture = LevelFixture;

TEST_F(LevelWriteFixture, TopLevelIsRewrittenWholeWithTheClosingRecordLast) {
  WriteLevel(1, Filler(6, "longer"));
  st.CurrentLevel = 1;
  for (int r = 1; r <= 3; ++r) SetRow(r, "top" + std::to_string(r));
  st.SheetTotalRecord = std::string(256, ' ');
  st.SheetTotalRecord.replace(15, 4, "   7");
  st.SheetTotalRecord.replace(19, 5, "12345");

  ASSERT_TRUE(LevelWrite(st, 1));

  std::vector<std::string> recs = ReadLevel(1);
  ASSERT_EQ(recs.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Own(recs[i]), i + 1);
    EXPECT_EQ(Next(recs[i]), i + 2);
  }
  EXPECT_EQ(RecordByte(recs[3], kKindPos), 'G');
  EXPECT_EQ(LinkField(recs[3], kNextPos), " -99");
  EXPECT_EQ(recs[3].substr(15), st.SheetTotalRecord.substr(15));
}

TEST_F(LevelWriteFixture, EmptyTopLevelWrittenDirectlyHoldsOnlyItsClosingRecord) {
  WriteLevel(1, Filler(3));
  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  for (int r = 1; r <= 3; ++r) SetRow(r, "");
  ASSERT_TRUE(LevelWrite(st, 1));
  std::vector<std::string> recs = ReadLevel(1);
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(RecordByte(recs[0], kKindPos), 'G');
  EXPECT_EQ(Own(recs[0]), 1);
}

// Before a sheet of level 3 or deeper is written its file may hold 9800
// records in the decimal base and 32000 in the hexadecimal base.
TEST_F(LevelWriteFixture, RecordLimitOfDeepLevelFiles) {
  for (const char* base : {"10", "16"}) {
    for (int records : {9800, 9801}) {
      SCOPED_TRACE(std::string(base) + " " + std::to_string(records));
      st.H_Link = base;
      WriteLevel(1, {{' ', 0, 2, 1, "P"}, {'G'}});
      WriteLevel(2, {{' ', 0, 2, 1, "Q"}, {'G'}});
      std::vector<Rec> level3 = Filler(records);
      level3[0] = {' ', 0, 2, kNoRecord, "r", '@'};
      level3[1] = {'G'};
      WriteLevel(3, level3);
      st.CurrentLevel = 3;
      SetParent(2, 1);
      SetParent(3, 1);
      ASSERT_TRUE(LevelRowsRead(st, 3));
      SetRow(2, "more");
      std::string before = ReadAll(LevelPath(3));

      bool refused = std::string(base) == "10" && records == 9801;
      if (refused) ui.AnswerMsgBox(vbOK, "記録できる最大行数を越えました。");
      EXPECT_EQ(LevelWrite(st, 3), !refused);
      EXPECT_EQ(ReadAll(LevelPath(3)) == before, refused);
      ui.ExpectAllAnswered();
    }
  }
}

// The chain was read, then the file became shorter (compacted elsewhere): the
// record numbers of the chain no longer belong to it, so nothing is written.
TEST_F(LevelWriteFixture, StalePoolOfRecordNumbersIsRefused) {
  WriteLevel(1, {{' ', 0, 2, 5, "P"}, {'G'}});
  std::vector<Rec> level2 = Filler(6);
  level2[4] = {' ', 0, 6, kNoRecord, "a"};
  level2[5] = {'G'};
  WriteLevel(2, level2);
  st.CurrentLevel = 2;
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  WriteLevel(2, {{' ', 0, 2}, {'G'}});
  std::string before = ReadAll(LevelPath(2));
  ui.AnswerMsgBox(vbOK, "壊れています");
  EXPECT_FALSE(LevelWrite(st, 2));
  EXPECT_EQ(ReadAll(LevelPath(2)), before);
}

// The calculation of a level that is not the one shown runs in that level's
// context: `CurrentLevel` is the written level while it runs.
class ContextCalc : public CalcServices {
 public:
  int seenLevel = 0, seenCurrent = 0, seenRow = 0, seenUsed = 0;
  bool seenNoDisplay = false;
  bool IsEquipmentSiwakeFile(ProgramState&, const std::string&) override { return false; }
  void SbClearDefinitions(ProgramState&) override {}
  void SbLoadDefinitions(ProgramState&, const std::string&) override {}
  bool RowFormulaOrderBuild(ProgramState&, int) override { return true; }
  bool TotalFormulaOrderBuild(ProgramState&, int) override { return true; }
  void LevelCalc(ProgramState& st, int level, std::string& closing, int row, int used) override {
    seenLevel = level;
    seenCurrent = st.CurrentLevel;
    seenRow = row;
    seenUsed = used;
    seenNoDisplay = st.CalcNoDisplay;
    closing.replace(19, 5, "99999");
  }
  void RowFormulaCalc(ProgramState&, int, int, std::string&, int, int) override {}
  void RecalcFromTopLevel(ProgramState&, const std::string&) override {}
};

TEST_F(LevelWriteFixture, CalculationRunsInTheWrittenLevelsContext) {
  ContextCalc calc;
  st.calc = &calc;
  WriteLevel(1, {{' ', 0, 2, 1, "P"}, {'G'}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "a", '@'}, {'G'}});
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  st.CurrentLevel = 3;  // the level shown; level 2 is written on the way up
  st.CurrentRow = 7;

  ASSERT_TRUE(LevelWrite(st, 2));

  EXPECT_EQ(calc.seenLevel, 2);
  EXPECT_EQ(calc.seenCurrent, 2);
  EXPECT_EQ(calc.seenRow, 8);
  EXPECT_EQ(calc.seenUsed, 1);
  EXPECT_TRUE(calc.seenNoDisplay);
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_FALSE(st.CalcNoDisplay);
  EXPECT_EQ(Text(ReadLevel(2)[1], 5), "99999");  // the closing record carries the totals
}

TEST_F(LevelWriteFixture, ObjectsOfTheGridCountOnlyForTheLevelShown) {
  st.EditGridObjectsLastRow = [] { return 4; };
  WriteLevel(1, {{'G'}});
  st.CurrentLevel = 1;
  SetRow(1, "one");
  ASSERT_TRUE(LevelWrite(st, 1));
  EXPECT_EQ(st.UsedRows, 4);

  ASSERT_TRUE(LevelRowsRead(st, 1));
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelWrite(st, 1));
  EXPECT_EQ(st.UsedRows, 1);
}

// The estimate's settings file is found without letter case: an "EST.ini"
// is the estimate's and is not replaced by a copy of DAVIROV.INI.
TEST_F(LevelWriteFixture, SettingsFileIsFoundWithoutLetterCase) {
  app.Write("WORK/EST.ini", "[Boot]\r\nmine=1\r\n");
  st.CurrentLevel = 1;
  SetRow(1, "one");
  ASSERT_TRUE(LevelWrite(st, 1));
  EXPECT_EQ(ReadAll(app.path() / "WORK/EST.ini"), "[Boot]\r\nmine=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(app.path() / "WORK/EST.INI"));
  EXPECT_TRUE(std::filesystem::exists(app.path() / "WORK/EST.Y$"));

  std::filesystem::remove(app.path() / "WORK/EST.ini");
  ASSERT_TRUE(LevelWrite(st, 1));
  EXPECT_EQ(ReadAll(app.path() / "WORK/EST.INI"), ReadAll(app.path() / "DAVIROV.INI"));
}

// The special-print mark is decided on the columns of the level written.
TEST_F(LevelWriteFixture, SpecialPrintMarkUsesTheWrittenLevelsColumns) {
  st.SpecialPrintSpec = true;
  st.OrviSUU = 1;    // quantity: column A
  st.OrviTANKA = 2;  // unit price: column B
  st.ColStart[2][1] = 50;
  st.ColWidth[2][1] = 5;
  st.ColStart[2][2] = 60;
  st.ColWidth[2][2] = 5;
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "P"}, {'G'}});
  st.CurrentLevel = 1;
  SetParent(2, 1);
  st.RowRecNos.fill(0);
  SetRow(1, "first");
  SetRow(2, "name");  // text where level 1 has its quantity column
  st.SheetRows[2].replace(59, 3, "100");
  SetRow(3, "name", '#');
  st.SheetRows[3].replace(59, 3, "100");

  ASSERT_TRUE(LevelWrite(st, 2));
  std::vector<std::string> recs = ReadLevel(2);
  EXPECT_EQ(RecordByte(recs[0], kMarkPos), '@');
  EXPECT_EQ(RecordByte(recs[1], kMarkPos), 'x');
  EXPECT_EQ(RecordByte(recs[2], kMarkPos), ' ');  // not an item row

  st.SheetRows[2].replace(49, 1, "3");  // a quantity now
  st.RowRecNos.fill(0);
  st.RowRecNos[1] = 1;
  st.RowRecNos[2] = 2;
  ASSERT_TRUE(LevelWrite(st, 2));
  EXPECT_EQ(RecordByte(ReadLevel(2)[1], kMarkPos), ' ');
}

// The breakdown's totals reach the parent row through the carry definitions,
// fitted to the parent's column, and the parent row's definitions that
// depend on it are evaluated in the parent level's context.
class CarryCalc : public ContextCalc {
 public:
  std::vector<std::string> rowCalcs;
  void RowFormulaCalc(ProgramState& st, int mode, int level, std::string& rec, int col, int flag) override {
    rowCalcs.push_back(std::to_string(mode) + "," + std::to_string(level) + "," + std::to_string(col) + "," +
                       std::to_string(flag) + " current " + std::to_string(st.CurrentLevel) + " value " +
                       rec.substr(29, 12));
  }
};

TEST_F(LevelWriteFixture, TotalsAreCarriedIntoTheParentRow) {
  CarryCalc calc;
  st.calc = &calc;
  st.ColType[1][2] = "1";       // one decimal in the parent's column B
  st.ColCarryDef[2][2] = "->[[B";  // level 2 column B into the parent's column B
  WriteLevel(1, {{' ', 0, 2, 1, "P"}, {'G'}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "a", '@'}, {'G'}});
  st.CurrentLevel = 2;
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  st.SheetTotalRecord.replace(29, 12, "    1234.567");
  st.calc = nullptr;  // no calculation: the totals stay as set

  ASSERT_TRUE(LevelWrite(st, 2));
  EXPECT_EQ(ReadLevel(1)[0].substr(29, 12), "      1234.5");
  EXPECT_EQ(st.ParentRows[1].substr(29, 12), "      1234.5");

  st.calc = &calc;
  calc.seenLevel = 0;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  SetRow(1, "");  // emptied: nothing recalculated, the last totals carried
  st.SheetTotalRecord.replace(29, 12, "        77.0");
  ASSERT_TRUE(LevelWrite(st, 2));
  EXPECT_EQ(calc.seenLevel, 0);
  ASSERT_EQ(calc.rowCalcs.size(), 1u);
  EXPECT_EQ(calc.rowCalcs[0], "1,1,2,0 current 1 value         77.0");
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(LinkField(ReadLevel(1)[0], kChildPos), " -99");
}

class NamingTest : public LevelFixture {
 protected:
  FileCommandsDouble files;
  void SetUp() override {
    Configure(256, "10", 3);
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    st.CurrentFilePath = st.WorkFileBase;
    st.CurrentLevel = 1;
    SetRow(1, "first");
    files.chosenPath = st.AppPath + "/DATA/NEW.YZH";
  }
};

TEST_F(NamingTest, UntitledEstimateIsNamedWrittenCompactedAndPacked) {
  st.PackPending = true;
  ASSERT_TRUE(LevelWrite(st, 1, &files));
  EXPECT_EQ(st.WorkFileBase, st.AppPath + "/WORK/NEW");
  EXPECT_EQ(st.CurrentFilePath, st.AppPath + "/DATA/NEW.YZH");
  EXPECT_EQ(st.KVData, st.AppPath + "/DATA");
  EXPECT_EQ(ReadLevel(1, "NEW").size(), 2u);
  EXPECT_EQ(files.calls, (std::vector<std::string>{
                             "SaveAsNameInput()",
                             "CompactWorkFiles(" + st.AppPath + "/WORK/NEW)",
                             "PackEstimateFile(" + st.AppPath + "/DATA/NEW.YZH,keep)",
                             "AddRecentEstimate(" + st.AppPath + "/DATA/NEW.YZH)",
                         }));
  EXPECT_FALSE(st.PackPending);
}

TEST_F(NamingTest, CancelledNamingWritesNothing) {
  files.chosenPath = std::nullopt;
  EXPECT_FALSE(LevelWrite(st, 1, &files));
  files.chosenPath = "   ";
  EXPECT_FALSE(LevelWrite(st, 1, &files));
  EXPECT_EQ(st.WorkFileBase, st.AppPath + "/WORK/無題");
  EXPECT_TRUE(std::filesystem::is_empty(app.path() / "WORK"));
  // With no one to ask for a name nothing is written either.
  EXPECT_FALSE(LevelWrite(st, 1));
}

TEST_F(NamingTest, RefusedOrFailedPackIsReportedAndLeftPending) {
  struct Case {
    int result;
    const char* message;
  };
  for (Case c : {Case{1, "ディスクの残り容量が少ない為、見積データ [ NEW ] を保存することが出来ません。"},
                 Case{0, "見積データ [ NEW ] を保存することが出来ませんでした。"}}) {
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    SetRow(2, "");  // the closing record the last write left in memory
    files.packResult = c.result;
    ui.AnswerMsgBox(vbOK, c.message);
    EXPECT_FALSE(LevelWrite(st, 1, &files));
    EXPECT_TRUE(st.PackPending);
    EXPECT_EQ(ReadLevel(1, "NEW").size(), 2u);  // the level file is written under the new name
    EXPECT_EQ(files.Count("AddRecentEstimate"), 0);
    ui.ExpectAllAnswered();
  }
}

}  // namespace
}  // namespace kv::test
