// The copy of lower levels after a row copy: chains appended with new
// numbers and links in both number bases, closing records reset, the depth
// the dialog allows, the capacity limit, and every way out that must leave
// the estimate whole (overflow, a failed write, a recording refused, an
// untitled estimate left unnamed, the dialog cancelled).
#include <gtest/gtest.h>

#include "reference/ref_copy_fixture.h"
#include "reference/ref_dm_copy_frm.h"
#include "reference/ref_lower_copy.h"
#include "reference/ref_row_copy.h"
#include "sheet/undo_clear.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class RefLowerCopy : public RefCopyFixture {
 protected:
  // Reference: P (breakdown p1 -> p11) and Q (breakdown q1); estimate: x,
  // and `filler` records in its level-2 file that no chain reaches.
  void Build(int filler = 11) {
    for (int l = 1; l <= 8; ++l) st.TotalRecordDefaults[static_cast<size_t>(l)].replace(19, 4, J("合計"));
    WriteRefLevel(1, {{' ', 0, kNoRecord, 1, "P"}, {' ', 0, kNoRecord, 3, "Q"}, {'G'}}, "R");
    Rec closing{'G', 0, kNoRecord, kNoRecord, "sum       " + std::string("         300")};
    WriteRefLevel(2, {{' ', 0, 2, 1, "p1"}, closing, {' ', 0, 4, kNoRecord, "q1"}, closing}, "R");
    WriteRefLevel(3, {{' ', 0, 2, kNoRecord, "p11"}, {'G'}}, "R");
    // The reference's closing records name an object file.
    for (int n : {2, 4}) {
      RecordFile f(Work2() / "R.Y2", st.DataLen);
      std::string rec;
      f.GetRecordText(n, rec);
      rec.replace(15, 4, "  77");
      f.PutRecordText(n, rec);
    }
    WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, "x"}, {'G'}});
    if (filler > 0) WriteLevel(2, Filler(filler));
    ShowRef(1);
    ShowEstimate(1, 2);
  }

  // The answers of a row copy of reference rows top .. bottom that offers
  // the lower levels: Yes, then the dialog played with option `option`
  // chosen (-1: its close box), then a message containing `later` if given.
  void CopyRows(int top, int bottom, int option, const std::string& later = {}) {
    ui.AnswerMsgBox(vbYes, kRefLowerQuestion);
    ui.AnswerModal(std::string(kRefDMCopyWindow), [this, option] {
      RefDMCopyForm f(st);
      f.Form_Load();
      enabled = {};
      for (size_t i = 0; i < 7; ++i) enabled[i] = f.DMCopy[i].enabled;
      if (option < 0) {
        f.Form_QueryUnload();
        return;
      }
      f.Choose(option);
      f.cmdOK_Click();
    });
    if (!later.empty()) ui.AnswerMsgBox(vbOK, later);
    Select(1, top, 1, bottom);
    RefRowCopy(st, grid, edt, 1);
  }

  std::array<bool, 7> enabled{};
};

TEST_F(RefLowerCopy, ChainsAreAppendedAndLinkedInBothNumberBases) {
  struct Case {
    const char* hLink;
    const char* first;   // P's link in the level-1 file: the level-2 file's count + 1
    const char* second;  // Q's: after the whole subtree of P
  };
  for (const Case& c : {Case{"10", "  12", "  14"}, Case{"16", "   C", "   E"}}) {
    SCOPED_TRACE(c.hLink);
    st.H_Link = c.hLink;
    Build();
    CopyRows(1, 2, 1);  // "３階層"
    ui.ExpectAllAnswered();
    EXPECT_EQ(enabled, (std::array<bool, 7>{true, true, false, false, false, false, false}));

    const auto y1 = ReadLevel(1);
    ASSERT_EQ(y1.size(), 4u);  // x, P, Q, closing
    EXPECT_EQ(LinkField(y1[1], kChildPos), c.first);
    EXPECT_EQ(LinkField(y1[2], kChildPos), c.second);
    EXPECT_EQ(LinkField(st.SheetRows[2], kChildPos), c.first);
    EXPECT_EQ(LinkField(st.SheetRows[3], kChildPos), c.second);

    const auto y2 = ReadLevel(2);
    ASSERT_EQ(y2.size(), 15u);
    EXPECT_EQ(Text(y2[11]), Pad("p1"));
    EXPECT_EQ(Own(y2[11]), 12);
    EXPECT_EQ(Next(y2[11]), 13);
    EXPECT_EQ(Child(y2[11]), 1);
    // The closing record keeps its totals, takes the default texts and loses
    // its object number.
    EXPECT_EQ(RecordByte(y2[12], kKindPos), 'G');
    EXPECT_EQ(Text(y2[12], 4), J("合計"));
    EXPECT_EQ(y2[12].substr(29, 12), "         300");
    EXPECT_EQ(y2[12].substr(15, 4), "    ");
    EXPECT_EQ(Next(y2[12]), kNoRecord);
    EXPECT_EQ(Text(y2[13]), Pad("q1"));
    EXPECT_EQ(Own(y2[13]), 14);
    EXPECT_EQ(Child(y2[13]), kNoRecord);

    const auto y3 = ReadLevel(3);
    ASSERT_EQ(y3.size(), 2u);
    EXPECT_EQ(Text(y3[0]), Pad("p11"));
    EXPECT_EQ(Next(y3[0]), 2);
    EXPECT_TRUE(st.PackPending);
    EXPECT_FALSE(st.SheetModified);
    EXPECT_EQ(st.CurrentLevel, 1);
    std::filesystem::remove(LevelPath(3));
    st.PackPending = false;
  }
}

TEST_F(RefLowerCopy, TheDepthTheDialogAllows) {
  // Shown at level 1, the deepest reference level 3: "２階層" copies level 2 only.
  Build();
  CopyRows(1, 1, 0);
  EXPECT_EQ(enabled, (std::array<bool, 7>{true, true, false, false, false, false, false}));
  EXPECT_EQ(ReadLevel(2).size(), 13u);
  EXPECT_EQ(Child(ReadLevel(2)[11]), kNoRecord);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(3)));

  // Shown at level 2: "２階層" is disabled but chosen, and the first lower
  // level is still copied.
  ShowRef(1);
  ShowRef(2, st.RefSheetRows[1]);
  ShowEstimate(1, 3);
  CopyRows(1, 1, 0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(enabled, (std::array<bool, 7>{false, true, false, false, false, false, false}));
  const auto y2 = ReadLevel(2);
  ASSERT_EQ(y2.size(), 15u);
  EXPECT_EQ(Text(y2[13]), Pad("p11"));
  EXPECT_EQ(LinkField(ReadLevel(1)[2], kChildPos), "  14");
}

TEST_F(RefLowerCopy, CapacityExactlyAtTheLimitAndOneOver) {
  // P and Q bring two records each to level 2.
  for (const int filler : {9796, 9797}) {
    SCOPED_TRACE(filler);
    st.PackPending = false;
    Build(filler);
    const auto before = st.SheetRows;
    const std::string y1 = ReadAll(LevelPath(1)), y2 = ReadAll(LevelPath(2));
    CopyRows(1, 2, 0, filler > 9796 ? kRefCopyOverflow : "");
    ui.ExpectAllAnswered();
    if (filler == 9796) {
      EXPECT_EQ(ReadLevel(2).size(), 9800u);
      EXPECT_EQ(st.RefCopyCounts[2], 9800);
    } else {
      EXPECT_EQ(ReadAll(LevelPath(1)), y1);
      EXPECT_EQ(ReadAll(LevelPath(2)), y2);
      EXPECT_EQ(st.SheetRows, before);
      EXPECT_EQ(edt.CellText(1, 2), "");
      EXPECT_FALSE(st.PackPending);
    }
  }
}

TEST_F(RefLowerCopy, ADamagedReferenceFileIsNotAnOverflow) {
  Build();
  // p1 -> its closing record -> p1 again.
  {
    RecordFile f(Work2() / "R.Y2", st.DataLen);
    std::string rec;
    f.GetRecordText(2, rec);
    SetLinkField(rec, kNextPos, 1, false);
    f.PutRecordText(2, rec);
  }
  const auto before = st.SheetRows;
  const std::string y2 = ReadAll(LevelPath(2));
  CopyRows(1, 1, 0, "R.Y2");
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.SheetRows, before);
  EXPECT_EQ(ReadAll(LevelPath(2)), y2);
  for (const std::string& m : ui.MessageTexts()) EXPECT_EQ(m.find(kRefCopyOverflow), std::string::npos);
}

TEST_F(RefLowerCopy, AFailedWriteCutsEveryFileBackAndLinksNothing) {
  Build();
  // The level-3 file cannot be written: the level-2 chain is already there.
  std::filesystem::create_directories(LevelPath(3));
  const std::string y2 = ReadAll(LevelPath(2));
  CopyRows(1, 2, 1, kRefCopyWriteFailed);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ReadAll(LevelPath(2)), y2);
  const auto y1 = ReadLevel(1);
  ASSERT_EQ(y1.size(), 4u);
  for (int r : {1, 2}) {
    EXPECT_EQ(Child(y1[static_cast<size_t>(r)]), kNoRecord);
    EXPECT_EQ(Child(st.SheetRows[static_cast<size_t>(r + 1)]), kNoRecord);
  }
}

TEST_F(RefLowerCopy, ARecordingRefusedLeavesTheEditorOnItsLevel) {
  // The estimate open at level 3 of 4, its level-3 file full.
  Configure(256, "10", 4);
  Build();
  std::vector<Rec> full = Filler(9801);
  full[0] = {' ', 0, 2, kNoRecord, "z3", '@'};
  full[1] = {'G'};
  WriteLevel(2, {{' ', 0, 2, 1, "z2", '@'}, {'G'}});
  WriteLevel(3, full);
  WriteLevel(1, {{' ', 0, kNoRecord, 1, "x"}, {'G'}});
  st.CurrentLevel = 2;
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  SetParent(3, 1);
  st.CurrentLevel = 3;
  ASSERT_TRUE(LevelRowsRead(st, 3));
  st.CurrentRow = 2;
  st.CurrentCol = 1;
  const std::string y3 = ReadAll(LevelPath(3));
  CopyRows(1, 1, 0, "記録できる最大行数");
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("z3"));
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("P"));
  EXPECT_EQ(ReadAll(LevelPath(3)), y3);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(4)));
}

TEST_F(RefLowerCopy, AnUntitledEstimateLeftUnnamedCopiesNothingBelow) {
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  st.CurrentFilePath = st.WorkFileBase;
  Build(0);
  WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, "x"}, {'G'}}, "無題");
  ShowEstimate(1, 2);
  files.chosenPath = std::nullopt;
  CopyRows(1, 1, 0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(files.Count("SaveAsNameInput"), 1);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(2, "無題")));
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("P"));
}

TEST_F(RefLowerCopy, TheDialogsCloseBoxAndNoCopyNothingBelow) {
  Build();
  const std::string y2 = ReadAll(LevelPath(2));
  CopyRows(1, 1, -1);
  ui.AnswerMsgBox(vbNo, kRefLowerQuestion);
  Select(1, 2, 1, 2);
  RefRowCopy(st, grid, edt, 1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefCopyCancel, -1);
  EXPECT_EQ(ReadAll(LevelPath(2)), y2);
  EXPECT_EQ(ReadLevel(1).size(), 2u);  // nothing recorded
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("Q"));
  EXPECT_EQ(Text(st.SheetRows[3]), Pad("P"));
  // Undo takes the copy answered No back.
  UndoRestore(st, edt);
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("P"));
  EXPECT_EQ(Text(st.SheetRows[3]), Pad(""));
}

}  // namespace
}  // namespace kv::test
