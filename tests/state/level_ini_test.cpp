#include "state/level_ini.h"

#include <gtest/gtest.h>

#include "settings_fixture.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class LevelIniTest : public ::testing::Test {
 protected:
  LevelIniTest() : st(ui) { st.AppPath = dir.path().string(); }
  void Write(const std::string& text) { test::WriteSjisFile((dir / "KVUTL.INI").string(), text); }
  static std::string Entries(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += std::to_string(i) + "=Y" + std::to_string(i) + "\n";
    return s;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st;
};

TEST_F(LevelIniTest, ReadsTheFileSet) {
  Write(
      "[DOS版見積DATA]\n構成ファイル数=3\n1=Y1\n2= Y$ \n3=INI\n"
      "[WIN版見積DATA]\n構成ファイル数=2\n1=ABC\n2=YZH\n"
      "[階層表現拡張子]\n階層レベル=7\n" +
      Entries(7) + "[WIN版OLEDATA]\nOLEDATA=OPD\n");
  ASSERT_TRUE(LevelIniRead(st));
  EXPECT_EQ(st.CompFileCount, 3);
  EXPECT_EQ(st.CompFileExt[2], ".Y$");
  EXPECT_EQ(st.PackedExt, ".YZH");
  EXPECT_EQ(st.LevelCount, 7);
  EXPECT_EQ(st.LevelExt[1], ".Y1");
  EXPECT_EQ(st.LevelExt[7], ".Y7");
  EXPECT_EQ(st.OleDataExt, "OPD");
  EXPECT_EQ(LayoutFilePath(st, "/w/EST"), "/w/EST.Y$");
}

TEST_F(LevelIniTest, MissingFileGivesEmptyDefinitionSilently) {
  ASSERT_TRUE(LevelIniRead(st));
  EXPECT_EQ(st.LevelCount, 0);
  EXPECT_EQ(st.CompFileCount, 0);
  EXPECT_EQ(st.PackedExt, "");
  EXPECT_EQ(st.OleDataExt, "");
}

TEST_F(LevelIniTest, CountsBeyondTheTablesAreRefused) {
  Write("[DOS版見積DATA]\n構成ファイル数=21\n" + Entries(21) + "[WIN版見積DATA]\n構成ファイル数=1\n1=YZH\n" +
        "[階層表現拡張子]\n階層レベル=9\n" + Entries(9));
  ui.AnswerMsgBox(vbOK, "階層レベル=9");
  EXPECT_FALSE(LevelIniRead(st));
  EXPECT_EQ(st.CompFileCount, 0);
  EXPECT_EQ(st.LevelCount, 0);
  EXPECT_EQ(st.PackedExt, ".YZH");
  ASSERT_EQ(ui.MessageTexts().size(), 1u);
  EXPECT_NE(ui.MessageTexts()[0].find("構成ファイル数=21"), std::string::npos);
}

}  // namespace
}  // namespace kv
