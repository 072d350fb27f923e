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
  std::string problem;
};

TEST_F(LevelIniTest, ReadsTheFileSet) {
  Write(
      "[DOS版見積DATA]\n構成ファイル数=3\n1=Y1\n2= Y$ \n3=INI\n"
      "[WIN版見積DATA]\n構成ファイル数=2\n1=ABC\n2=YZH\n"
      "[階層表現拡張子]\n階層レベル=7\n" +
      Entries(7) + "[WIN版OLEDATA]\nOLEDATA=OPD\n");
  ASSERT_TRUE(LevelIniRead(st, problem)) << problem;
  EXPECT_EQ(problem, "");
  EXPECT_EQ(st.CompFileCount, 3);
  EXPECT_EQ(st.CompFileExt[2], ".Y$");
  EXPECT_EQ(st.PackedExt, ".YZH");
  EXPECT_EQ(st.LevelCount, 7);
  EXPECT_EQ(st.LevelExt[1], ".Y1");
  EXPECT_EQ(st.LevelExt[7], ".Y7");
  EXPECT_EQ(st.OleDataExt, "OPD");
  EXPECT_EQ(LayoutFilePath(st, "/w/EST"), "/w/EST.Y$");
}

TEST_F(LevelIniTest, MissingFileGivesNoLevelsAndNamesTheKey) {
  EXPECT_FALSE(LevelIniRead(st, problem));
  EXPECT_EQ(st.LevelCount, 0);
  EXPECT_EQ(st.CompFileCount, 0);
  EXPECT_EQ(st.PackedExt, "");
  EXPECT_EQ(st.OleDataExt, "");
  EXPECT_NE(problem.find("KVUTL.INI"), std::string::npos);
  EXPECT_NE(problem.find("[階層表現拡張子] 階層レベル ()"), std::string::npos);
  EXPECT_TRUE(ui.MessageTexts().empty());
}

TEST_F(LevelIniTest, CountsBeyondTheTablesAreRefused) {
  Write("[DOS版見積DATA]\n構成ファイル数=21\n" + Entries(21) + "[WIN版見積DATA]\n構成ファイル数=1\n1=YZH\n" +
        "[階層表現拡張子]\n階層レベル=9\n" + Entries(9));
  EXPECT_FALSE(LevelIniRead(st, problem));
  EXPECT_EQ(st.CompFileCount, 0);
  EXPECT_EQ(st.LevelCount, 0);
  EXPECT_EQ(st.PackedExt, ".YZH");
  EXPECT_NE(problem.find("構成ファイル数=21"), std::string::npos);
  EXPECT_NE(problem.find("階層レベル (9) は 1 から 8"), std::string::npos);
  // The caller shows it: the reader shows nothing.
  EXPECT_TRUE(ui.MessageTexts().empty());
}

// Level definitions no estimate could be read or written with: each refused
// with the key named, and no levels are taken.
TEST_F(LevelIniTest, UnusableLevelsAreRefusedNamingTheKey) {
  const struct {
    const char* levels;  // the [階層表現拡張子] section's keys
    const char* named;   // what the refusal names
  } cases[] = {
      {"階層レベル=0\n", "階層レベル (0)"},
      {"階層レベル=abc\n1=Y1\n", "階層レベル (abc)"},
      {"階層レベル=-2\n", "階層レベル (-2)"},
      {"階層レベル=2.5\n1=Y1\n2=Y2\n", "階層レベル (2.5)"},
      {"階層レベル=9\n", "階層レベル (9)"},
      {"階層レベル=2\n1=Y1\n2=../../Y2\n", "[階層表現拡張子] 2 (../../Y2) "},
      {"階層レベル=2\n1=Y1\n2=a/Y2\n", "[階層表現拡張子] 2 (a/Y2) "},
      {"階層レベル=2\n1=Y1\n2=a\\Y2\n", "[階層表現拡張子] 2 (a\\Y2) "},
      {"階層レベル=2\n1=Y1\n2=.\n", "[階層表現拡張子] 2 (.) "},
      {"階層レベル=2\n1=Y1\n2=  \n", "[階層表現拡張子] 2 () "},
      {"階層レベル=3\n1=Y1\n2=Y2\n", "[階層表現拡張子] 3 () "},
      {"階層レベル=3\n1=Y1\n2=Y2\n3=y1\n", "[階層表現拡張子] 3 (y1) は 1 と同じ拡張子"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.levels);
    Write(std::string("[WIN版見積DATA]\n構成ファイル数=1\n1=YZH\n[階層表現拡張子]\n") + c.levels);
    EXPECT_FALSE(LevelIniRead(st, problem));
    EXPECT_EQ(st.LevelCount, 0);
    EXPECT_NE(problem.find((dir / "KVUTL.INI").string()), std::string::npos) << problem;
    EXPECT_NE(problem.find(c.named), std::string::npos) << problem;
  }
  // Blanks around a count and an extension are no fault.
  Write("[階層表現拡張子]\n階層レベル= 2 \n1= Y1\n2=Y2 \n");
  EXPECT_TRUE(LevelIniRead(st, problem)) << problem;
  EXPECT_EQ(st.LevelCount, 2);
  EXPECT_EQ(st.LevelExt[2], ".Y2");
}

}  // namespace
}  // namespace kv
