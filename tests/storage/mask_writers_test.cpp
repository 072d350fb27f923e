#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/grid/grid_model.h"
#include "state/base_text.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "storage/mask_info_save_file.h"
#include "storage/mask_info_save_sys.h"
#include "storage/mask_info_write.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::TestColumn;

// Four levels from a base text file set: level 1 has columns in records 1-3,
// level 2 in 4-7, level 3 in 8-11, level 4 in 12-15.
class MaskWritersTest : public ::testing::Test {
 protected:
  MaskWritersTest() {
    stdfs::create_directories(app.path() / "WORK");
    stdfs::create_directories(app.path() / "基本TEXT");
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
    st.WorkFileBase = st.AppPath + "/WORK/EST";
    st.LevelCount = 4;
    for (int i = 1; i <= 8; ++i) st.LevelExt[i] = ".Y" + std::to_string(i);
    st.CompFileCount = 2;
    st.CompFileExt[1] = ".Y1";
    st.CompFileExt[2] = ".Y2";
    st.PackedExt = ".YZH";
    st.DataLen = 256;
    st.calc = &calc;
    test::SetDefaultItemLayout(st);
    st.KvTextPath = st.AppPath + "/基本TEXT/基本TEXT.Y1";

    const TestColumn a{"名称", "C", 20, "", "", "", "", "MMMMMM"};
    const TestColumn b{"数量", "A2", 8, "", "", "", "", "M M M "};
    const TestColumn c{"単価", "0", 10, "", "", "", "", "      "};
    const TestColumn d{"金額", "A", 12, "", "SUM", "", "", " M M M"};
    test::WriteBaseText(st, st.AppPath + "/基本TEXT/基本TEXT",
                        {{a, b, c}, {a, b, c, d}, {d, c, b, a}, {a, b, c, d}});
    st.UsesCurrentSettings = false;  // as at start-up: the masks come from the base text
    EXPECT_TRUE(ColumnDefRead(st, st.AppPath + "/基本TEXT/基本TEXT"));
    st.UsesCurrentSettings = true;
  }

  std::string ColumnFile() const { return st.AppPath + "/基本TEXT/基本TEXT.Y2"; }
  std::string Davirov() const { return st.AppPath + "/DAVIROV.INI"; }
  std::string EstIni() const { return st.WorkFileBase + ".INI"; }
  static int Key(const std::string& key, const std::string& file) {
    return IniGetInt("マスク情報", key, file);
  }

  // Field 9 (the mask codes) of every column line of `level` in the layout file.
  std::vector<std::string> LayoutMasks(int level) const {
    std::istringstream in(test::ReadSjisFile(LayoutFilePath(st, st.WorkFileBase)));
    std::vector<std::string> out;
    std::string line;
    int current = 0;
    while (std::getline(in, line)) {
      if (line.rfind("DM=", 0) == 0) {
        current = std::stoi(line.substr(3));
        continue;
      }
      if (current != level) continue;
      std::vector<std::string> fields;
      std::istringstream f(line);
      for (std::string field; std::getline(f, field, '\t');) fields.push_back(field);
      out.push_back(fields.size() >= 9 ? fields[8] : "");
    }
    return out;
  }

  test::TempFolder app;
  test::ScriptedUi ui;
  test::RecordingCalc calc;
  ProgramState st{ui};
};

// Marks of four columns: hidden, blank (shown), empty (shown), hidden.
std::string FourMarks(int column) {
  static const char* marks[] = {"", "XXXX", "   ", "", "X"};
  return column >= 1 && column <= 4 ? marks[column] : "";
}

TEST_F(MaskWritersTest, MaskInfoWriteGoesToDavirovWhenUntitledElseTheEstimate) {
  struct Case {
    std::string base;
    bool davirov;
  } cases[] = {{st.AppPath + "/WORK/無題", true}, {"無題", true}, {st.WorkFileBase, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base);
    stdfs::remove(Davirov());
    stdfs::remove(EstIni());
    st.XMASK[1] = 4;
    ASSERT_TRUE(MaskInfoWrite(st, c.base, 1, 1));
    const std::string target = c.davirov ? Davirov() : EstIni();
    EXPECT_EQ(Key("XMASK1", target), 4);
    EXPECT_EQ(Key("MASK_NO", target), 4);
    EXPECT_FALSE(stdfs::exists(c.davirov ? EstIni() : Davirov()));
  }
}

TEST_F(MaskWritersTest, MaskInfoWriteOfARange) {
  st.XMASK = {0, 0, 1, 2, 5, 0, 0, 0, 0};
  ASSERT_TRUE(MaskInfoWrite(st, st.WorkFileBase, 2, 4));
  EXPECT_EQ(Key("XMASK1", EstIni()), -1);  // not in the range: not written
  EXPECT_EQ(Key("XMASK2", EstIni()), 1);
  EXPECT_EQ(Key("XMASK3", EstIni()), 2);
  EXPECT_EQ(Key("XMASK4", EstIni()), 5);
  EXPECT_EQ(Key("MASK_NO", EstIni()), 1);

  stdfs::remove(EstIni());
  EXPECT_FALSE(MaskInfoWrite(st, st.WorkFileBase, 0, 2));
  EXPECT_FALSE(MaskInfoWrite(st, st.WorkFileBase, 3, 2));
  EXPECT_FALSE(MaskInfoWrite(st, st.WorkFileBase, 1, 9));
  EXPECT_FALSE(stdfs::exists(EstIni()));
}

TEST_F(MaskWritersTest, SaveFileOfLevelsTwoToFourTakesTheCurrentScreen) {
  st.CurrentLevel = 2;
  st.XMASK = {0, 1, 3, 0, 5, 0, 0, 0, 0};
  const auto before = st.MaskDef;
  ASSERT_TRUE(MaskInfoSaveFile(st, 2, 4, FourMarks));

  EXPECT_EQ(st.XMASK[1], 1);
  for (int L = 2; L <= 4; ++L) {
    SCOPED_TRACE("level " + std::to_string(L));
    EXPECT_EQ(st.XMASK[L], 3);
    EXPECT_EQ(Key("XMASK" + std::to_string(L), EstIni()), 3);
    const char expected[] = {' ', 'M', ' ', ' ', 'M'};
    for (int c = 1; c <= 4; ++c) {
      for (int s = 0; s < kMaskScreens; ++s) {
        EXPECT_EQ(st.MaskDef[L][c][s], s == 3 ? expected[c] : before[L][c][s])
            << "column " << c << " screen " << s;
      }
    }
    // Field 9 of the layout file: screens 0..5, then the level's own screen.
    const auto masks = LayoutMasks(L);
    ASSERT_EQ(masks.size(), 4u);
    for (int c = 1; c <= 4; ++c) {
      std::string want(st.MaskDef[L][c].begin(), st.MaskDef[L][c].begin() + kMaskScreens);
      want += expected[c];
      EXPECT_EQ(masks[c - 1], want) << "column " << c;
    }
  }
  EXPECT_EQ(st.MaskDef[1], before[1]);
  EXPECT_EQ(Key("XMASK1", EstIni()), -1);
  EXPECT_EQ(Key("MASK_NO", EstIni()), 3);
  EXPECT_FALSE(stdfs::exists(Davirov()));
}

TEST_F(MaskWritersTest, SaveFileReadsTheMarksOfTheMaskGrid) {
  GridModel grid;
  grid.SetColCount(3);
  grid.SetRowCount(1);
  grid.SetCellText(1, 1, "XXXXXXXX");
  grid.SetCellText(2, 1, "        ");
  grid.SetCellText(3, 1, "X");
  grid.SetCurrentRow(1);
  st.CurrentLevel = 1;
  st.XMASK[1] = 0;
  ASSERT_TRUE(MaskInfoSaveFile(st, 1, 1, MaskGridMarks(grid)));
  EXPECT_EQ(st.MaskDef[1][1][0], 'M');
  EXPECT_EQ(st.MaskDef[1][2][0], ' ');
  EXPECT_EQ(st.MaskDef[1][3][0], 'M');
  EXPECT_EQ(Key("XMASK1", EstIni()), 0);
  EXPECT_EQ(Key("MASK_NO", EstIni()), 0);
  EXPECT_EQ(LayoutMasks(1).at(1), "  M M  ");  // screen 0 is now blank, and so is the level's own
}

// With screen 2 only byte 237 of the column records of the levels written
// changes; every other byte of the base text file stays.
TEST_F(MaskWritersTest, SaveSysWritesOnlyTheScreensByteOfTheLevelsWritten) {
  struct Case {
    int first, last, current, screen;
  } cases[] = {{1, 1, 1, 2}, {2, 3, 3, 2}};
  const int firstRecord[] = {0, 1, 4, 8, 12};  // by level
  const int columns[] = {0, 3, 4, 4, 4};
  for (const Case& c : cases) {
    SCOPED_TRACE("levels " + std::to_string(c.first) + ".." + std::to_string(c.last));
    stdfs::remove(Davirov());
    const std::string before = test::ReadBytes(ColumnFile());
    st.CurrentLevel = c.current;
    st.XMASK = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    st.XMASK[c.current] = c.screen;
    ASSERT_TRUE(MaskInfoSaveSys(st, c.first, c.last, FourMarks));

    std::string expected = before;
    for (int L = c.first; L <= c.last; ++L) {
      EXPECT_EQ(st.XMASK[L], c.screen);
      EXPECT_EQ(Key("XMASK" + std::to_string(L), Davirov()), c.screen);
      for (int col = 1; col <= columns[L]; ++col) {
        const char code = FourMarks(col).find_first_not_of(' ') == std::string::npos ? ' ' : 'M';
        expected[static_cast<size_t>(firstRecord[L] + col - 2) * 256 + 234 + c.screen] = code;
        EXPECT_EQ(st.MaskDef[L][col][c.screen], code);
      }
    }
    EXPECT_EQ(test::ReadBytes(ColumnFile()), expected);
    EXPECT_NE(expected, before);
    EXPECT_EQ(Key("MASK_NO", Davirov()), c.screen);
  }
}

TEST_F(MaskWritersTest, SaveSysWalkOfABrokenChainIsBoundedAndReported) {
  struct Case {
    std::string next;  // next link written into level 2's last column record (7)
    std::string reported;
  } cases[] = {{"   4", "循環"}, {"  99", "ありません"}, {"   7", "循環"}};
  const std::string good = test::ReadBytes(ColumnFile());
  for (const Case& c : cases) {
    SCOPED_TRACE("next " + c.next);
    std::string broken = good;
    broken.replace(6 * 256 + 7, 4, c.next);
    test::WriteBytes(ColumnFile(), broken);
    st.CurrentLevel = 2;
    st.XMASK[2] = 1;
    ui.AnswerMsgBox(vbOK, c.reported);
    EXPECT_FALSE(MaskInfoSaveSys(st, 2, 2, FourMarks));
    // The four columns reached are written all the same.
    const std::string after = test::ReadBytes(ColumnFile());
    EXPECT_EQ(after.substr(3 * 256 + 235, 1), "M");
    EXPECT_EQ(after.substr(4 * 256 + 235, 1), " ");
    EXPECT_EQ(after.substr(6 * 256 + 235, 1), "M");
    EXPECT_EQ(Key("XMASK2", Davirov()), 1);
  }
}

TEST_F(MaskWritersTest, SaveSysLeavesAReadOnlyBaseTextAsItWas) {
  const std::string before = test::ReadBytes(ColumnFile());
  stdfs::permissions(ColumnFile(), stdfs::perms::owner_read | stdfs::perms::group_read |
                                       stdfs::perms::others_read);
  st.CurrentLevel = 1;
  st.XMASK[1] = 2;
  ui.AnswerMsgBox(vbOK, "書き込めません");
  EXPECT_FALSE(MaskInfoSaveSys(st, 1, 1, FourMarks));
  EXPECT_EQ(test::ReadBytes(ColumnFile()), before);
  EXPECT_FALSE(stdfs::exists(Davirov()));
}

}  // namespace
}  // namespace kv
