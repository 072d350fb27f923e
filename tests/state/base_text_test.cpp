#include "state/base_text.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "settings_fixture.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::TestColumn;

class BaseTextTest : public ::testing::Test {
 protected:
  BaseTextTest() : st(ui) {
    st.AppPath = dir.path().string();
    st.LevelCount = 3;
    st.LevelExt[1] = ".Y1";
    st.LevelExt[2] = ".Y2";
    st.LevelExt[3] = ".Y3";
    st.DataLen = 256;
    test::SetDefaultItemLayout(st);
    st.calc = &calc;
  }

  std::string Set() const { return (dir / "KVTEXT").string(); }

  // Rewrites bytes 8..11 (the next link) of column record `n`.
  void SetNextLink(int n, const std::string& field) {
    RecordFile file(Set() + ".Y2", 256);
    std::string r;
    ASSERT_TRUE(file.GetRecordText(n, r));
    r.replace(7, 4, field);
    file.PutRecordText(n, r);
  }

  void WriteThreeLevels(int columnsOfLevel2 = 2) {
    std::vector<TestColumn> level2;
    for (int c = 0; c < columnsOfLevel2; ++c) level2.push_back({"列", "C", 4});
    test::WriteBaseText(
        st, Set(),
        {{{"名称", "W", 12, "", "", "", "合計"}, {"金額", "A", 10, "", "SUM", "->[$B"}}, level2, {{"品名", "C", 16}}});
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  test::RecordingCalc calc;
  ProgramState st;
};

TEST_F(BaseTextTest, ItemLayoutFromTheThirdCommaFields) {
  test::WriteSjisFile((dir / "KVSSYS.INI").string(),
                      "[システム設定用基本TEXT]\n項目数=7\n1=見出し,C,20\n2=型,C,4\n3=幅,N,3\n4=a,b,40\n"
                      "5=a,b,40,x\n6=a,b,10\n7=a,b,20\n");
  st.DefItemPos.fill(0);
  ASSERT_TRUE(BaseTextRead(st, (dir / "KVSSYS.INI").string()));
  const int expected[] = {20, 40, 44, 47, 87, 127, 137};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(st.DefItemPos[i], expected[i - 1]) << i;
  EXPECT_EQ(st.DefItemLen[7], 20);
}

TEST_F(BaseTextTest, ItemLayoutBeyondTheRecordIsRefused) {
  const auto before = st.DefItemPos;
  struct Case {
    std::string ini;
    std::string expect;
  } cases[] = {
      {"項目数=11\n", "10を超えています"},
      {"項目数=2\n1=a,b,200\n2=a,b,20\n", "項目2"},
      {"項目数=1\n1=a,b,-3\n", "項目1"},
  };
  for (const auto& c : cases) {
    test::WriteSjisFile((dir / "KVSSYS.INI").string(), "[システム設定用基本TEXT]\n" + c.ini);
    ui.AnswerMsgBox(vbOK, c.expect);
    EXPECT_FALSE(BaseTextRead(st, (dir / "KVSSYS.INI").string()));
    EXPECT_EQ(st.DefItemPos, before);
  }
}

TEST_F(BaseTextTest, ReadsEveryLevel) {
  WriteThreeLevels();
  ASSERT_TRUE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[1], 2);
  EXPECT_EQ(st.ColCount[2], 2);
  EXPECT_EQ(st.ColCount[3], 1);
  EXPECT_EQ(st.DefColumnMap[1], 1);
  EXPECT_EQ(st.DefColumnMap[2], 3);
  EXPECT_EQ(st.DefColumnMap[3], 5);
  EXPECT_EQ(st.ColStart[1][2], 32);
  EXPECT_EQ(st.ColType[1][1], "W");
  EXPECT_EQ(st.ColCarryDef[1][2], "->[$B");
  EXPECT_EQ(st.ParentTotalCols[1], 2);
  EXPECT_EQ(st.LevelCaption[3].substr(19, 16), ToSjis("品名") + std::string(12, ' '));
  EXPECT_EQ(st.TotalRecordDefaults[1].substr(19, 4), ToSjis("合計"));
  EXPECT_EQ(st.FormatMasks[1][2], "#,###,###,###");
  EXPECT_TRUE(st.LevelsDifferInCols);
  EXPECT_EQ(calc.Count("RowFormulaOrderBuild"), 3);
}

TEST_F(BaseTextTest, OneRecordChainIsOneColumnAtByte20) {
  test::WriteBaseText(st, Set(), {{{"A", "C", 7}}, {{"B", "C", 7}}, {{"C", "C", 7}}});
  ASSERT_TRUE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[1], 1);
  EXPECT_EQ(st.ColStart[1][1], 20);
}

TEST_F(BaseTextTest, BrokenChainsStopWithAMessage) {
  struct Case {
    std::string name;
    int record;        // column record whose next link is rewritten
    std::string link;  // new bytes 8..11
    int level2Columns;
    std::string expect;
  } cases[] = {
      {"next link of 0 (blank)", 3, "    ", 1, "連結が正しくありません"},
      {"negative link", 3, " -12", 1, "連結が正しくありません"},
      {"back to itself", 4, "   3", 2, "循環"},
      {"past the end", 4, " 900", 2, "レコード900がありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteThreeLevels(c.level2Columns);
    SetNextLink(c.record, c.link);
    ui.AnswerMsgBox(vbOK, c.expect);
    EXPECT_FALSE(ColumnDefRead(st, Set()));
    EXPECT_EQ(st.ColCount[2], c.level2Columns);  // read up to the fault
    EXPECT_EQ(st.ColCount[3], 1);                // the other levels are read whole
  }
}

TEST_F(BaseTextTest, AtMost52Columns) {
  WriteThreeLevels(53);
  ui.AnswerMsgBox(vbOK, "52を超えています");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[2], 52);
  EXPECT_EQ(st.ColCount[3], 1);
}

TEST_F(BaseTextTest, TruncatedColumnFile) {
  WriteThreeLevels();
  const std::string path = Set() + ".Y2";
  std::filesystem::resize_file(path, 256 * 4 + 100);  // record 5 cut in the middle
  ui.AnswerMsgBox(vbOK, "途中で切れています");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[2], 2);
  EXPECT_EQ(st.ColCount[3], 0);
}

TEST_F(BaseTextTest, ShortIndexFile) {
  WriteThreeLevels();
  std::filesystem::resize_file(Set() + ".Y1", 256 * 22);  // no record 23 for level 3
  ui.AnswerMsgBox(vbOK, "第3階層の列定義がありません");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[1], 2);
  EXPECT_EQ(st.ColCount[3], 0);
}

TEST_F(BaseTextTest, MissingFilesChangeNothing) {
  WriteThreeLevels();
  ASSERT_TRUE(ColumnDefRead(st, Set()));
  const ColumnTables before = st;
  std::filesystem::remove(Set() + ".Y2");
  ui.AnswerMsgBox(vbOK, "KVTEXT.Y2");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  std::filesystem::remove(Set() + ".Y1");
  ui.AnswerMsgBox(vbOK, "KVTEXT.Y1");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount, before.ColCount);
  EXPECT_EQ(st.LevelCaption, before.LevelCaption);
}

TEST_F(BaseTextTest, CyclicDefinitionsRefuseTheSet) {
  WriteThreeLevels();
  calc.orderOk = false;
  ui.AnswerMsgBox(vbOK, "参照");
  EXPECT_FALSE(ColumnDefRead(st, Set()));
  EXPECT_EQ(st.ColCount[1], 0);
}

// Definitions that leave nothing to work with go to the caller (the start-up
// refuses to go on with them); a chain read up to a fault is only shown.
TEST_F(BaseTextTest, UnusableDefinitionsGoToTheCaller) {
  std::string refusal;
  WriteThreeLevels();
  std::filesystem::resize_file(Set() + ".Y1", 256 * 22);  // no column of level 3
  EXPECT_FALSE(ColumnDefRead(st, Set(), &refusal));
  EXPECT_NE(refusal.find(Set() + ".Y2 に誤りがあります。"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("第3階層の列定義がありません"), std::string::npos);
  EXPECT_TRUE(ui.MessageTexts().empty());

  refusal.clear();
  std::filesystem::remove(Set() + ".Y2");
  EXPECT_FALSE(ColumnDefRead(st, Set(), &refusal));
  EXPECT_EQ(refusal, "基本TEXTファイル " + Set() + ".Y2 を読み込めません。");

  refusal.clear();
  WriteThreeLevels();
  calc.orderOk = false;
  EXPECT_FALSE(ColumnDefRead(st, Set(), &refusal));
  EXPECT_NE(refusal.find(Set() + ".Y2 の列定義の計算式が互いを参照"), std::string::npos) << refusal;
  EXPECT_TRUE(ui.MessageTexts().empty());

  calc.orderOk = true;
  refusal.clear();
  WriteThreeLevels(53);
  ui.AnswerMsgBox(vbOK, "52を超えています");
  EXPECT_FALSE(ColumnDefRead(st, Set(), &refusal));
  EXPECT_EQ(refusal, "");
  EXPECT_EQ(st.ColCount[2], 52);
}

}  // namespace
}  // namespace kv
