#include "storage/level_read.h"

#include "storage/level_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class LevelReadTest : public LevelFixture, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override { Configure(256, GetParam(), 3); }
};

TEST_P(LevelReadTest, TopLevelRowsInFileOrderAndClosingRecordApart) {
  Rec closing{'G', 0, kNoRecord, kNoRecord, "TOTAL"};
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "A"}, {'#', 0, 3, 7, "B"}, {' ', 0, 4, kNoRecord, "C"}, closing});
  std::string total = Make({'G', 4, kNoRecord, kNoRecord, "TOTAL"});
  total.replace(15, 4, "  12");
  {
    RecordFile f(LevelPath(1), st.DataLen);
    f.PutRecordText(4, total);
  }

  ASSERT_TRUE(LevelRowsRead(st, 1));
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("B"));
  EXPECT_EQ(st.SheetTotalRecord, total);
  EXPECT_EQ(st.PathTotalRecords[1], total);
  EXPECT_EQ(st.SheetObjNo, "12");
  EXPECT_EQ(st.SheetRows[4], std::string(256, ' '));  // the closing record's slot is blank again
}

// The chain 5 -> 2 -> 9 of a 12-record file: rows are records 5 and 2, record
// 9 closes the sheet, the others are not read.
TEST_P(LevelReadTest, DeeperLevelFollowsTheChainFromTheParentsChildLink) {
  WriteLevel(1, {{' ', 0, 2, 5, "P"}, {'G', 0, kNoRecord, kNoRecord, ""}});
  std::vector<Rec> level2 = Filler(12);
  level2[4] = {' ', 0, 2, kNoRecord, "first", '@'};
  level2[1] = {' ', 0, 9, kNoRecord, "second"};
  level2[8] = {'G', 0, kNoRecord, kNoRecord, "sum"};
  WriteLevel(2, level2);
  SetParent(2, 1);

  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("first"));
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("second"));
  EXPECT_EQ(Text(st.SheetTotalRecord), Pad("sum"));
  EXPECT_EQ(st.RowRecNos[1], 5);
  EXPECT_EQ(st.RowRecNos[2], 2);
  EXPECT_EQ(st.RowRecNos[3], 9);
  EXPECT_EQ(st.RowRecNos[4], kNoRecord);
  EXPECT_EQ(st.RowRecNos[5], 0);
}

TEST_P(LevelReadTest, ParentWithoutBreakdownOrMissingFileGivesAnEmptySheet) {
  st.ParentRows[1] = Make({' ', 1, 2, kNoRecord, "P"});
  st.ParentRows[1].replace(11, 4, "    ");  // a link never written: none in both bases
  SetRow(3, "stale");
  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(st.SheetObjNo, "");
  EXPECT_EQ(st.SheetRows[3], std::string(256, ' '));
  EXPECT_EQ(st.SheetTotalRecord.size(), 256u);
}

// Whatever the sheet in memory held before (a longer sheet, a row cut short,
// a row 0), after a read the rows past the sheet are blank, whole records.
TEST_P(LevelReadTest, EveryRowPastTheSheetIsBlankAfterARead) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "A"}, {' ', 0, 3, kNoRecord, "B"}, {'G', 0, kNoRecord, kNoRecord, ""}});
  const int imax = SheetRowLimit(st);
  const std::string blank(256, ' ');
  for (const int row : {0, 1, 2, 3, 4, imax, imax + 1}) {
    SCOPED_TRACE(row);
    for (int r = 0; r <= imax + 1; ++r) st.SheetRows[size_t(r)] = blank;
    st.SheetRows[size_t(row)] = row == 4 ? std::string("cut") : Make({' ', 9, kNoRecord, kNoRecord, "stale"});
    st.RowRecNos[size_t(row)] = 77;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    EXPECT_EQ(st.UsedRows, 2);
    EXPECT_EQ(Text(st.SheetRows[1]), Pad("A"));
    EXPECT_EQ(Text(st.SheetRows[2]), Pad("B"));
    for (int r = 0; r <= imax + 1; ++r)
      if (r != 1 && r != 2) EXPECT_EQ(st.SheetRows[size_t(r)], blank) << r;
    if (row != 1) EXPECT_EQ(st.RowRecNos[size_t(row)], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(BothBases, LevelReadTest, ::testing::Values("10", "16"));

using LevelReadFixture = LevelFixture;

TEST_F(LevelReadFixture, OldFormatTopLevelGetsTheDefaultClosingRecord) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "A"}, {' ', 0, kNoRecord, kNoRecord, "B"}});
  ASSERT_TRUE(LevelRowsRead(st, 1));
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_NE(RecordByte(st.SheetTotalRecord, kKindPos), 'G');
}

// A sheet of Imax rows and its closing record is read whole; one record more
// is refused rather than cut (a record after a cut would lose the rest), at
// the top level and below, with the sheet in memory and the files as they
// were.
TEST_F(LevelReadFixture, ChainLongerThanTheSheetIsRefusedNotCut) {
  st.Imax = 3;
  const std::vector<Rec> full = {{' ', 0, 2, kNoRecord, "r1"},
                                 {' ', 0, 3, kNoRecord, "r2"},
                                 {' ', 0, 4, kNoRecord, "r3"},
                                 {'G', 0, kNoRecord, kNoRecord, "sum"}};
  std::vector<Rec> longer = full;
  longer.back() = {' ', 0, 5, kNoRecord, "r4"};
  longer.push_back({'G', 0, kNoRecord, kNoRecord, "sum"});
  for (int level : {1, 2}) {
    SCOPED_TRACE(level);
    if (level == 2) {
      WriteLevel(1, {{' ', 0, 2, 1, "P"}, {'G'}});
      st.CurrentLevel = 1;
      ASSERT_TRUE(LevelRowsRead(st, 1));
      SetParent(2, 1);
    }
    WriteLevel(level, full);
    ASSERT_TRUE(LevelRowsRead(st, level));
    EXPECT_EQ(st.UsedRows, 3);
    EXPECT_EQ(Text(st.SheetTotalRecord), Pad("sum"));

    WriteLevel(level, longer);
    const std::string before = ReadAll(LevelPath(level));
    ui.AnswerMsgBox(vbOK, "シートのレコードが一つのシートに入る数を超えています");
    EXPECT_FALSE(LevelRowsRead(st, level));
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.UsedRows, 3);
    EXPECT_EQ(Text(st.SheetRows[3]), Pad("r3"));
    EXPECT_EQ(ReadAll(LevelPath(level)), before);
  }
}

TEST_F(LevelReadFixture, OldRowKindsAreConverted) {
  struct Case {
    char stored;
    int systemKind;
    char read;
  };
  for (Case c : {Case{'D', 2, '%'}, Case{'B', 3, '%'}, Case{'K', 2, '\xBC'}, Case{'K', 3, '\xB9'},
                 Case{'}', 2, '\xB9'}, Case{'#', 2, '#'}, Case{' ', 2, ' '}}) {
    st.SystemKind = c.systemKind;
    WriteLevel(1, {{c.stored, 0, 2, kNoRecord, "x"}, {'G'}});
    ASSERT_TRUE(LevelRowsRead(st, 1));
    EXPECT_EQ(RecordByte(st.SheetRows[1], kKindPos), c.read) << c.stored << " kind " << c.systemKind;
  }
}

TEST_F(LevelReadFixture, LevelReadSetsTheCaptionAndTheStatusPanel) {
  RecordingEditor editor;
  RecordingSheet sheet;
  st.editor = &editor;
  st.sheetEngine = &sheet;
  WriteLevel(1, {{'G'}});
  ASSERT_TRUE(LevelRead(st, 1));
  ASSERT_EQ(editor.calls.size(), 1u);
  EXPECT_NE(editor.calls[0].find("EST.YZH > 内訳書 "), std::string::npos) << editor.calls[0];
  EXPECT_TRUE(sheet.Has("StatusPanelSet(1,データ 読み込み中)"));
  EXPECT_TRUE(sheet.Has("StatusPanelClear(1)"));

  editor.calls.clear();
  st.CurrentFilePath = st.AppPath + "/WORK/無題";
  LevelRead(st, 1);
  EXPECT_NE(editor.calls[0].find("< 無題 > "), std::string::npos);
}

// A record whose next link names itself ends its sheet, as converted DOS
// files end their breakdowns; the pool of record numbers ends there too, so
// a longer sheet written back appends its new records.
TEST_F(LevelReadFixture, ASelfLinkEndsTheSheet) {
  WriteLevel(1, {{' ', 0, 2, 1, "P"}, {'G'}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "a", '@'}, {'G', 0, 2, kNoRecord, "sum"}});
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(Text(st.SheetTotalRecord), Pad("sum"));
  EXPECT_EQ(st.RowRecNos[2], 2);
  EXPECT_EQ(st.RowRecNos[3], kNoRecord);
}

// Damaged level files: each is refused with a message, the file and the
// sheet in memory stay as they were.
TEST_F(LevelReadFixture, DamagedLevelFilesAreRefused) {
  struct Case {
    const char* what;
    std::vector<Rec> level2;
    int parentChild;
    std::string tail;  // bytes appended to the file
    std::string patch;  // replaces bytes 4-15 of record 1 when not empty
  };
  std::vector<Case> cases = {
      {"length not whole records", {{' ', 0, 2}, {'G'}}, 1, "xyz", ""},
      {"next link past the end", {{' ', 0, 7}, {'G'}}, 1, "", ""},
      {"child link past the end", {{' ', 0, 2}, {'G'}}, 9, "", ""},
      {"garbage in a decimal field", {{' ', 0, 2}, {'G'}}, 1, "", "   1  2A -99"},
      {"negative link", {{' ', 0, 2}, {'G'}}, 1, "", "   1  -5 -99"},
      {"fraction", {{' ', 0, 2}, {'G'}}, 1, "", "   1 1.5 -99"},
      {"own number not its position", {{' ', 0, 2}, {'G'}}, 1, "", "   3   2 -99"},
      {"loop", {{' ', 0, 2}, {' ', 0, 1}, {'G'}}, 1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteLevel(1, {{' ', 0, 2, c.parentChild, "P"}, {'G'}});
    WriteLevel(2, c.level2);
    if (!c.patch.empty()) {
      std::string rec = ReadLevel(2)[0];
      rec.replace(3, 12, c.patch);
      RecordFile(LevelPath(2), st.DataLen).PutRecordText(1, rec);
    }
    if (!c.tail.empty()) {
      std::string bytes = ReadAll(LevelPath(2)) + c.tail;
      app.Write("WORK/EST.Y2", bytes);
    }
    std::string before = ReadAll(LevelPath(2));
    SetParent(2, 1);
    SetRow(1, "in memory");
    st.UsedRows = 1;
    ui.AnswerMsgBox(vbOK, "壊れています");
    EXPECT_FALSE(LevelRowsRead(st, 2));
    EXPECT_EQ(Text(st.SheetRows[1]), Pad("in memory"));
    EXPECT_EQ(st.UsedRows, 1);
    EXPECT_EQ(ReadAll(LevelPath(2)), before);
    ui.ExpectAllAnswered();
  }
}

TEST_F(LevelReadFixture, GarbageChildLinkOfTheParentIsRefused) {
  WriteLevel(2, {{'G'}});
  st.ParentRows[1] = Make({' ', 1, 2, kNoRecord, "P"});
  st.ParentRows[1].replace(11, 4, "  ?1");
  ui.AnswerMsgBox(vbOK, "壊れています");
  EXPECT_FALSE(LevelRowsRead(st, 2));
}

}  // namespace
}  // namespace kv::test
