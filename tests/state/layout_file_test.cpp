#include "state/layout_file.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "settings_fixture.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::TestColumn;

class LayoutFileTest : public ::testing::Test {
 protected:
  LayoutFileTest() : st(ui) {
    st.LevelCount = 3;
    st.LevelExt[1] = ".Y1";
    st.LevelExt[2] = ".Y2";
    st.DataLen = 256;
    test::SetDefaultItemLayout(st);
    st.calc = &calc;
  }

  void SetThreeLevels(ProgramState& s) {
    test::SetLevelColumns(s, 1,
                          {{"名称", "W", 12, "", "", "", "合計", "   M  "},
                           {"数量", "A2", 8},
                           {"単価", "0", 6, "", "", "", "", "M     "},
                           {"金額", "A", 10, "[[B*[[C", "SUM", "->[$D"}});
    test::SetLevelColumns(s, 2, {{"名称", "C", 20}, {"金額", "A", 10, "", "SUM", "->[$D"}});
    test::SetLevelColumns(s, 3, {{"品名", "C", 16}, {"金額", "1", 12}});
  }

  std::string Base(const std::string& name) { return (dir / name).string(); }
  std::string Layout(const std::string& name) { return Base(name) + ".Y$"; }

  test::TempFolder dir;
  test::ScriptedUi ui;
  test::RecordingCalc calc;
  ProgramState st;
};

TEST_F(LayoutFileTest, WritesLevelsAndColumnLines) {
  SetThreeLevels(st);
  st.XMASK[1] = 2;
  ASSERT_TRUE(WriteLayoutFile(st, Base("EST")));
  const std::string text = test::ReadBytes(Layout("EST"));
  const std::string expected = ToSjis(
      "DM=1\r\n"
      "名称        \tW\t0\t12\t\t\t\t合計        \t   M   \r\n"
      "数量    \tA2\t2\t8\t\t\t\t        \t       \r\n"
      "単価  \t0\t0\t6\t\t\t\t      \tM      \r\n"
      "金額      \tA\t0\t10\t[[B*[[C\tSUM\t->[$D\t          \t       \r\n"
      "DM=2\r\n"
      "名称                \tC\t0\t20\t\t\t\t                    \t       \r\n"
      "金額      \tA\t0\t10\t\tSUM\t->[$D\t          \t       \r\n"
      "DM=3\r\n"
      "品名            \tC\t0\t16\t\t\t\t                \t       \r\n"
      "金額        \t1\t1\t12\t\t\t\t            \t       \r\n");
  EXPECT_EQ(text, expected);
}

TEST_F(LayoutFileTest, WriteThenLoadReproducesTheTables) {
  SetThreeLevels(st);
  ASSERT_TRUE(WriteLayoutFile(st, Base("EST")));

  test::ScriptedUi ui2;
  ProgramState loaded(ui2);
  loaded.LevelCount = 3;
  loaded.LevelExt[1] = ".Y1";
  loaded.DataLen = 256;
  loaded.UsesCurrentSettings = false;  // the estimate's own masks
  test::SetDefaultItemLayout(loaded);
  ASSERT_TRUE(LoadEditLayout(loaded, Base("EST")));

  for (int L = 1; L <= 3; ++L) {
    ASSERT_EQ(loaded.ColCount[L], st.ColCount[L]) << L;
    for (int c = 1; c <= st.ColCount[L]; ++c) {
      EXPECT_EQ(loaded.ColStart[L][c], st.ColStart[L][c]);
      EXPECT_EQ(loaded.ColWidth[L][c], st.ColWidth[L][c]);
      EXPECT_EQ(loaded.ColType[L][c], st.ColType[L][c]);
      EXPECT_EQ(loaded.ColDecimals[L][c], st.ColDecimals[L][c]);
      EXPECT_EQ(loaded.ColFormula[L][c], st.ColFormula[L][c]);
      EXPECT_EQ(loaded.ColTotalKind[L][c], st.ColTotalKind[L][c]);
      EXPECT_EQ(loaded.ColCarryDef[L][c], st.ColCarryDef[L][c]);
      EXPECT_EQ(loaded.MaskDef[L][c], st.MaskDef[L][c]);
    }
    EXPECT_EQ(loaded.LevelCaption[L], st.LevelCaption[L]);
    EXPECT_EQ(loaded.TotalRecordDefaults[L], st.TotalRecordDefaults[L]);
  }
  EXPECT_EQ(loaded.ParentTotalCols[1], 4);
  EXPECT_TRUE(loaded.LevelsDifferInCols);
}

TEST_F(LayoutFileTest, CurrentMasksStayWhileTheEstimateUsesTheCurrentSettings) {
  test::WriteSjisFile(Layout("EST"), "DM=1\nA\tC\t0\t4\t\t\t\t    \tMM  M M\n");
  st.UsesCurrentSettings = false;
  ASSERT_TRUE(LoadEditLayout(st, Base("EST")));
  EXPECT_EQ(std::string(st.MaskDef[1][1].data(), 6), "MM  M ");
  st.MaskDef[1][1] = kShownEverywhere;
  st.UsesCurrentSettings = true;
  ASSERT_TRUE(LoadEditLayout(st, Base("EST")));
  EXPECT_EQ(st.MaskDef[1][1], kShownEverywhere);
}

TEST_F(LayoutFileTest, FileOfFewerLevelsLeavesDeeperLevelsAlone) {
  SetThreeLevels(st);
  st.LevelCount = 3;
  test::SetLevelColumns(st, 4, {{"深い", "C", 30}});
  test::WriteSjisFile(Layout("EST"), "DM=1\nA\tC\t0\t4\t\t\t\t    \t       \nDM=2\nB\tC\t0\t5\t\t\t\t     \t       \n");
  ASSERT_TRUE(LoadEditLayout(st, Base("EST")));
  EXPECT_EQ(st.ColCount[1], 1);
  EXPECT_EQ(st.ColCount[2], 1);
  EXPECT_EQ(st.ColCount[3], 2);  // level 3 kept
  EXPECT_EQ(st.ColCount[4], 1);
  EXPECT_EQ(st.ColWidth[4][1], 30);
}

TEST_F(LayoutFileTest, RefusedFilesChangeNothing) {
  std::string fiftyThree = "DM=1\n";
  for (int c = 0; c < 53; ++c) fiftyThree += "A\tC\t0\t2\t\t\t\t  \t       \n";
  const std::string good = "A\tC\t0\t4\t\t\t\t    \t       \n";
  struct Case {
    std::string name;
    std::string bytes;
    std::string expect;
  } cases[] = {
      {"too many columns", ToSjis(fiftyThree), "54行目"},
      {"ninth level", ToSjis("DM=1\n" + good + "DM=9\n" + good), "3行目"},
      {"levels out of order", ToSjis("DM=1\n" + good + "DM=3\n" + good), "3行目"},
      {"missing tabs", ToSjis("DM=1\n" + good + "B\tC\t0\t4\n"), "3行目"},
      {"column before the first level", ToSjis(good + "DM=1\n"), "1行目"},
      {"negative width", ToSjis("DM=1\nA\tC\t0\t-4\t\t\t\t\t\n"), "2行目"},
      {"lone lead byte", ToSjis("DM=1\n") + "\x8A\tC\t0\t4\t\t\t\t\t\r\n", "2行目"},
      {"bad trail byte", ToSjis("DM=1\n" + good) + "\x81\x20\tC\t0\t4\t\t\t\t\t\r\n", "3行目"},
      {"truncated mid-line", ToSjis("DM=1\n" + good + "B\tC\t0"), "3行目"},
      {"empty", "", "空のファイル"},
  };
  SetThreeLevels(st);
  const ColumnTables before = st;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(Layout("BAD"), c.bytes);
    ui.AnswerMsgBox(vbOK, c.expect);
    EXPECT_FALSE(LoadEditLayout(st, Base("BAD")));
    EXPECT_EQ(st.ColCount, before.ColCount);
    EXPECT_EQ(st.ColWidth, before.ColWidth);
    EXPECT_EQ(st.LevelCaption, before.LevelCaption);
    ui.AnswerMsgBox(vbOK, c.expect);
    EXPECT_FALSE(LoadRefLayout(st, Base("BAD")));
  }
}

TEST_F(LayoutFileTest, MissingFileIsReported) {
  ui.AnswerMsgBox(vbOK, "NONE.Y$");
  EXPECT_FALSE(LoadEditLayout(st, Base("NONE")));
}

TEST_F(LayoutFileTest, CycleInTheDefinitionsRefusesTheLayout) {
  SetThreeLevels(st);
  const ColumnTables before = st;
  test::WriteSjisFile(Layout("EST"), "DM=1\nA\tA\t0\t4\t[[B\t\t\t    \t       \nB\tA\t0\t4\t[[A\t\t\t    \t       \n");
  calc.orderOk = false;
  ui.AnswerMsgBox(vbOK, "参照");
  EXPECT_FALSE(LoadEditLayout(st, Base("EST")));
  EXPECT_EQ(st.ColCount, before.ColCount);
  EXPECT_EQ(st.ColFormula, before.ColFormula);
  EXPECT_EQ(st.LevelCaption, before.LevelCaption);
}

TEST_F(LayoutFileTest, LayoutsDifferInWidthsDecimalsTypesAndCounts) {
  const std::string col = "A\tC\t0\t10\t\t\t\t          \t       \n";
  auto file = [&](const std::string& level3) { return "DM=1\n" + col + "DM=2\n" + col + col + "DM=3\n" + level3; };
  test::WriteSjisFile(Layout("CUR"), file(col + "B\tA\t2\t12\t\t\t\t            \t       \n"));
  struct Case {
    std::string name;
    std::string level3;
    bool differs;
  } cases[] = {
      {"same", col + "B\tA\t2\t12\t\t\t\t            \t       \n", false},
      {"heading only", col + "Z\tA\t2\t12\tX\t\t\t            \tMMMMMMM\n", false},
      {"width at the deepest level", col + "B\tA\t2\t10\t\t\t\t          \t       \n", true},
      {"decimals", col + "B\tA\t1\t12\t\t\t\t            \t       \n", true},
      {"type code C against W", "A\tW\t0\t10\t\t\t\t          \t       \nB\tA\t2\t12\t\t\t\t            \t       \n",
       true},
      {"one column more", col + "B\tA\t2\t12\t\t\t\t            \t       \n" + col, true},
  };
  for (const auto& c : cases) {
    test::WriteSjisFile(Layout("EST"), file(c.level3));
    EXPECT_EQ(LayoutsDiffer(st, Base("EST"), Base("CUR")), c.differs) << c.name;
  }
  EXPECT_FALSE(LayoutsDiffer(st, Base("EST"), Base("EST")));
  EXPECT_FALSE(LayoutsDiffer(st, Base("NONE"), Base("CUR")));
  test::WriteSjisFile(Layout("BAD"), "DM=1\nA\n");
  ui.AnswerMsgBox(vbOK, "現在の設定で開きます");
  EXPECT_FALSE(LayoutsDiffer(st, Base("BAD"), Base("CUR")));
}

TEST_F(LayoutFileTest, ReferenceLayoutKeepsDecimalsOfAnswerColumns) {
  test::WriteSjisFile(Layout("REF"),
                      "DM=1\n名称\tW\t0\t12\t\t\t\t\t\nB\tA\t2\t10\t\t\t\t\t\nDM=2\nX\tS\t1\t4\t\t\t\t\t\n");
  ASSERT_TRUE(LoadRefLayout(st, Base("REF")));
  EXPECT_EQ(st.RefColCount[1], 2);
  EXPECT_EQ(st.RefColType[1][2], 'A');
  EXPECT_EQ(st.RefColDecimals[1][2], 2);
  EXPECT_EQ(st.RefColDecimals[2][1], 1);
  EXPECT_EQ(st.RefColStart[1][2], 32);
  EXPECT_EQ(st.RefLevelCaption[1].substr(19, 12), ToSjis("名称") + std::string(8, ' '));
  EXPECT_TRUE(st.RefLayoutDiffers);
  EXPECT_TRUE(RefLevelHasWColumn(st, 1));
  EXPECT_FALSE(RefLevelHasWColumn(st, 2));

  ASSERT_TRUE(LoadEditLayout(st, Base("REF")));
  EXPECT_EQ(st.ColType[1][2], "A");
  EXPECT_EQ(st.ColDecimals[1][2], 0);
  EXPECT_TRUE(LevelHasWColumn(st, 1));
  EXPECT_FALSE(LevelHasWColumn(st, 2));
}

TEST_F(LayoutFileTest, HeadingBeginningWithDMIsAColumn) {
  test::WriteSjisFile(Layout("EST"), "DM=1\nDM=2\tC\t0\t4\t\t\t\t    \t       \n");
  ASSERT_TRUE(LoadEditLayout(st, Base("EST")));
  EXPECT_EQ(st.ColCount[1], 1);
}

}  // namespace
}  // namespace kv
