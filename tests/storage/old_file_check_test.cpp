// The checks made on an estimate just unpacked: the old record form brought
// up to date, the reference window closed when it shows the same file, and
// the one-time special-print conversion.
#include "storage/old_file_check.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "file_command_fixture.h"
#include "storage/level_files.h"
#include "storage/ref_in_use_check.h"
#include "storage/row_record.h"
#include "storage/special_print_convert.h"

namespace kv {
namespace {

class OldFileCheck : public test::FileCommandTest {
 protected:
  std::string base = a.Work() + "/OLD";
  void SetUp() override {
    FileCommandTest::SetUp();
    st.WorkFileBase = base;
    st.CurrentFilePath = Data("OLD.YZH");
  }
  // Level 1 as the old form kept it: rows only, no closing record.
  void WriteOldLevelOne(const std::vector<std::string>& texts) {
    a.SetTexts(1, texts);
    RecordFile f(LevelFilePath(st, base, 1), st.DataLen);
    for (size_t i = 0; i < texts.size(); ++i) {
      std::string rec = st.SheetRows[i + 1];
      SetLinkField(rec, kOwnPos, static_cast<int>(i) + 1, true);
      SetLinkField(rec, kNextPos, i + 1 < texts.size() ? static_cast<int>(i) + 2 : kNoRecord, true);
      SetLinkField(rec, kChildPos, kNoRecord, true);
      f.PutRecordText(static_cast<int>(i) + 1, rec);
    }
    f.Close();
  }
  std::vector<std::string> LevelOne() const {
    std::vector<std::string> out;
    RecordFile f(LevelFilePath(st, base, 1), st.DataLen, RecordFileMode::ReadOnly);
    std::string rec;
    for (int n = 1; f.GetRecordText(n, rec); ++n) out.push_back(rec);
    return out;
  }
};

TEST_F(OldFileCheck, ACurrentFileIsLeftAlone) {
  a.SetTexts(1, {"一"});
  ASSERT_TRUE(LevelWrite(st, 1));
  const std::string before = test::ReadAll(LevelFilePath(st, base, 1));
  EXPECT_TRUE(OldFileAndPageChk(st, base));
  EXPECT_EQ(test::ReadAll(LevelFilePath(st, base, 1)), before);
  EXPECT_EQ(a.calc.Count("RecalcFromTopLevel"), 0);
}

TEST_F(OldFileCheck, AnEmptyOrMissingLevelFileFails) {
  EXPECT_FALSE(OldFileAndPageChk(st, base));
  std::ofstream(LevelFilePath(st, base, 1)).close();
  EXPECT_FALSE(OldFileAndPageChk(st, base));
}

TEST_F(OldFileCheck, AnOldFileGetsItsClosingRecordAndIsRecalculated) {
  WriteOldLevelOne({"一", "二"});
  EXPECT_TRUE(OldFileAndPageChk(st, base));
  const std::vector<std::string> recs = LevelOne();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(RecordByte(recs.back(), kKindPos), kClosingKind);
  EXPECT_EQ(a.calc.Count("RecalcFromTopLevel"), 1);
  EXPECT_EQ(a.Text(1, 1), "一");
  EXPECT_EQ(a.Text(1, 2), "二");
}

TEST_F(OldFileCheck, AFailedStepFails) {
  WriteOldLevelOne({"一"});
  // The level file cannot be read back whole: a torn last record.
  std::ofstream(LevelFilePath(st, base, 1), std::ios::app) << "torn";
  ui.AnswerMsgBox(vbOK);  // the damaged file is reported
  EXPECT_FALSE(OldFileAndPageChk(st, base));
  EXPECT_EQ(a.calc.Count("RecalcFromTopLevel"), 0);
}

// The compaction refuses a damaged breakdown file (after its message): the
// conversion has not succeeded and is not answered as if it had.
TEST_F(OldFileCheck, ARefusedCompactionFails) {
  WriteOldLevelOne({"一"});
  std::ofstream(LevelFilePath(st, base, 2)) << "a torn record";
  ui.AnswerMsgBox(vbOK, "壊れています");
  EXPECT_FALSE(OldFileAndPageChk(st, base));
  EXPECT_EQ(a.calc.Count("RecalcFromTopLevel"), 0);
  ui.ExpectAllAnswered();
}

TEST_F(OldFileCheck, TheReferenceWindowShowingTheFileIsClosed) {
  test::RecordingReference ref;
  st.reference = &ref;
  st.RefSheetLoaded = true;
  ref.refFilePath = Data("old.yzh");
  ui.AnswerMsgBox(vbOK, "参考で使用中のﾌｧｲﾙです\n参考画面を閉じます ");
  RefInUseChk(st);
  EXPECT_TRUE(ref.Has("Unload()"));
  ref.calls.clear();
  ref.refFilePath = Data("other.YZH");
  RefInUseChk(st);
  EXPECT_TRUE(ref.calls.empty());
}

class SpecialPrint : public OldFileCheck {
 protected:
  void SetUp() override {
    OldFileCheck::SetUp();
    st.SpecialPrintSpec = true;
    st.OrviKenPrn = 1;
    st.OrviSUU = 2;
    st.OrviTANKA = 3;
    IniPutString("SysInfo", "SysName", "建築版 特殊印刷仕様", st.AppPath + "/DAVIROV.INI");
    IniPutString("SysInfo", "SysNo", "0200-01", base + ".INI");
    IniPutString("SysInfo", "SysName", "建築版", base + ".INI");
  }
  // A row with quantity and unit price texts (columns 2 and 3).
  void Row(int row, const std::string& qty, const std::string& price, char kind = ' ') {
    std::string& rec = st.SheetRows[size_t(row)];
    rec[2] = kind;
    rec.replace(size_t(st.ColStart[1][1] - 1), 2, "品");
    rec.replace(size_t(st.ColStart[1][2] - 1), qty.size(), qty);
    rec.replace(size_t(st.ColStart[1][3] - 1), price.size(), price);
  }
};

TEST_F(SpecialPrint, MarksPricedRowsWithoutQuantityOnce) {
  a.ClearSheet();
  Row(1, "", "100");       // marked
  Row(2, "3", "100");      // has a quantity
  Row(3, "", "");          // no price
  Row(4, "", "100", '%');  // not an item row
  st.UsedRows = 4;
  ASSERT_TRUE(LevelWrite(st, 1));
  ui.AnswerMsgBox(vbOK, "通常の建築版データを、特殊印刷仕様のデータにコンバートします。");
  SpecialPrintConvert(st, base);
  const std::vector<std::string> recs = LevelOne();
  EXPECT_EQ(recs[0][0], 'x');
  EXPECT_EQ(recs[1][0], ' ');
  EXPECT_EQ(recs[2][0], ' ');
  EXPECT_EQ(recs[3][0], ' ');
  EXPECT_TRUE(st.PackPending);
  std::string name, kenPrn;
  IniGetString("SysInfo", "SysName", name, base + ".INI");
  IniGetString("特殊仕様印刷", "OrviKenPrn", kenPrn, base + ".INI");
  EXPECT_EQ(name, "建築版 特殊印刷仕様");
  EXPECT_EQ(kenPrn, "1");

  st.PackPending = false;
  SpecialPrintConvert(st, base);  // converted once: no message, nothing changes
  EXPECT_FALSE(st.PackPending);
}

TEST_F(SpecialPrint, OtherEditionsAreNotConverted) {
  IniPutString("SysInfo", "SysNo", "0300", base + ".INI");
  SpecialPrintConvert(st, base);
  EXPECT_FALSE(st.PackPending);
}

}  // namespace
}  // namespace kv
