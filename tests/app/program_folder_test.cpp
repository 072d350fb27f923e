// The default program folder the build makes beside the binary: every file
// parses and the column tables of every level are complete.
#include <gtest/gtest.h>

#include "calc/equipment/equipment_definitions.h"
#include "core/column_letter.h"
#include "core/ini_file.h"
#include "platform/codepage.h"
#include "state/base_text.h"
#include "state/column_numbers.h"
#include "state/data_ini.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "state/sys_ini.h"
#include "storage/split_path.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  ProgramFolderTest() : st(ui) {
    // A copy, so that nothing a load writes reaches the build's folder.
    for (const auto& entry : std::filesystem::directory_iterator(KORVANE_PROGRAM_DIR)) {
      if (entry.is_regular_file()) std::filesystem::copy_file(entry.path(), dir / entry.path().filename().string());
    }
    std::filesystem::create_directory(dir / "WORK");
    st.AppPath = dir.path().string();
    st.WorkFolderName = "/WORK";
    st.calc = &calc;
  }

  std::vector<std::string> Lines(const std::string& name) {
    const std::string bytes = test::ReadBytes((dir / name).string());
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
      const size_t end = bytes.find("\r\n", pos);
      EXPECT_NE(end, std::string::npos) << name << ": every line ends with CR LF";
      if (end == std::string::npos) break;
      lines.push_back(bytes.substr(pos, end - pos));
      pos = end + 2;
    }
    return lines;
  }

  void LoadAll() {
    std::string levelProblem;
    ASSERT_TRUE(LevelIniRead(st, levelProblem)) << levelProblem;
    ASSERT_TRUE(DataIniLoad(st, st.AppPath + "/DAVIROV.INI"));
    ASSERT_TRUE(SysIniLoad(st));
    const SplitPathResult base = SplitPath(st, st.KvTextPath);
    ASSERT_EQ(base.extension, st.LevelExt[1]);
    ASSERT_TRUE(ColumnDefRead(st, st.AppPath + "/" + base.name));
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  test::RecordingCalc calc;
  ProgramState st;
};

TEST_F(ProgramFolderTest, SettingsFilesLoadWithoutCorrections) {
  const std::string davirov = test::ReadBytes((dir / "DAVIROV.INI").string());
  LoadAll();
  EXPECT_EQ(test::ReadBytes((dir / "DAVIROV.INI").string()), davirov);  // nothing written back
  EXPECT_EQ(st.LevelCount, 8);
  EXPECT_EQ(st.LevelExt[1], ".Y1");
  EXPECT_EQ(LayoutFilePath(st, "x"), "x.Y$");
  EXPECT_EQ(st.PackedExt, ".YZH");
  EXPECT_EQ(st.OleDataExt, "OPD");
  EXPECT_EQ(st.CompFileCount, 12);
  EXPECT_EQ(st.CompFileExt[12], ".WH2");  // the cover file goes with the estimate
  EXPECT_EQ(st.DataLen, 256);
  EXPECT_EQ(st.Imax, 200);
  EXPECT_EQ(st.STax, Currency::FromRaw(1000));  // 10 %
  EXPECT_EQ(st.Zero, "0");
  EXPECT_EQ(st.SUBTOTALNAME[1], "小計");
  EXPECT_EQ(st.SUBTOTALNAME[3], "大計");
  EXPECT_FALSE(st.MASK_NAME[0].empty());
  EXPECT_EQ(st.FontName, "ＭＳ 明朝");
  EXPECT_EQ(st.PrnTypeNo, 1);
  for (int n = 1; n <= 7; ++n) {
    EXPECT_FALSE(st.PrintFormNames[n].empty()) << n;
    EXPECT_GT(st.PrintRows[n], 0) << n;
  }
  EXPECT_EQ(st.KVZoom, 100);
  EXPECT_GT(st.EditWinWidth, 4200);
  EXPECT_EQ(st.KVDisp, "縦");
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(st.CellHabaAdjust[i], 0) << i;

  std::string gstax;
  IniGetString("官庁用消費税仕様", "GSTAX", gstax, st.AppPath + "/GSTAX.INI");
  EXPECT_EQ(gstax, "OFF");
}

TEST_F(ProgramFolderTest, ColumnTablesOfEveryLevelAreComplete) {
  LoadAll();
  EXPECT_FALSE(st.LevelsDifferInCols);
  for (int L = 1; L <= st.LevelCount; ++L) {
    SCOPED_TRACE("level " + std::to_string(L));
    ASSERT_GT(st.ColCount[L], 0);
    const int last = st.ColCount[L];
    EXPECT_LE(st.ColStart[L][last] + st.ColWidth[L][last] - 1, st.DataLen);
    for (int c = 1; c <= last; ++c) {
      EXPECT_GT(st.ColWidth[L][c], 0);
      EXPECT_FALSE(st.ColType[L][c].empty());
      EXPECT_NE(FromSjis(st.LevelCaption[L].substr(st.ColStart[L][c] - 1, st.ColWidth[L][c])).find_first_not_of(' '),
                std::string::npos)
          << "column " << c << " has a heading";
      if (IsNumericColumn(st, L, c)) {
        EXPECT_FALSE(st.FormatMasks[L][c].empty()) << c;
      }
      // Every reference of a definition names a column of the level.
      for (const std::string* def : {&st.ColFormula[L][c], &st.ColTotalKind[L][c]}) {
        for (size_t p = def->find("[["); p != std::string::npos; p = def->find("[[", p + 2)) {
          const int ref = ColLetterToNum(def->substr(p + 2, 1));
          EXPECT_TRUE(ref >= 1 && ref <= last) << *def;
        }
      }
      const std::string& carry = st.ColCarryDef[L][c];
      if (!carry.empty()) {
        const size_t p = carry.find("->");
        ASSERT_NE(p, std::string::npos);
        const int target = ColLetterToNum(carry.substr(p + 4, 1));
        EXPECT_TRUE(target >= 1 && target <= last) << carry;
      }
    }
    EXPECT_GT(st.ParentTotalCols[L], 0) << "an amount column totalled with SUM";
    EXPECT_TRUE(LevelHasWColumn(st, L));
  }
  EXPECT_EQ(calc.Count("RowFormulaOrderBuild"), 8);
}

TEST_F(ProgramFolderTest, UntitledLayoutRoundTrips) {
  LoadAll();
  const std::string untitled = st.AppPath + "/WORK/無題";
  ASSERT_TRUE(WriteLayoutFile(st, untitled));
  const ColumnTables written = st;
  st.ColCount.fill(0);
  ASSERT_TRUE(LoadEditLayout(st, untitled));
  for (int L = 1; L <= st.LevelCount; ++L) {
    EXPECT_EQ(st.ColCount[L], written.ColCount[L]);
    EXPECT_EQ(st.ColStart[L], written.ColStart[L]);
    EXPECT_EQ(st.ColType[L], written.ColType[L]);
    EXPECT_EQ(st.ColFormula[L], written.ColFormula[L]);
    EXPECT_EQ(st.LevelCaption[L], written.LevelCaption[L]);
    EXPECT_EQ(st.TotalRecordDefaults[L], written.TotalRecordDefaults[L]);
  }
  EXPECT_FALSE(LayoutsDiffer(st, untitled, untitled + "2"));
}

TEST_F(ProgramFolderTest, ListFilesHaveTheirFixedForms) {
  const auto units = Lines("UNIT.DAT");
  ASSERT_EQ(units.size(), 60u);
  for (const auto& u : units) EXPECT_EQ(u.size(), 5u);
  EXPECT_EQ(FromSjis(units[0]), "式   ");
  const auto labels = Lines("SUBTITLE.DAT");
  ASSERT_EQ(labels.size(), 50u);
  for (const auto& l : labels) EXPECT_EQ(l.size(), 20u);
  EXPECT_EQ(FromSjis(labels[0]).substr(0, 12), "工事名称");
  const auto fonts = Lines("FONT.DAT");
  ASSERT_FALSE(fonts.empty());
  EXPECT_EQ(FromSjis(fonts[0]), "ＭＳ 明朝");
}

// The equipment definitions load without a warning, and every column they name
// is the column of the default layout that the file's comments describe.
TEST_F(ProgramFolderTest, EquipmentDefinitionsFitTheDefaultLayout) {
  ASSERT_FALSE(Lines("VEZ_SIKI.DAT").empty());
  LoadAll();
  st.SystemKind = 1;
  SbClearDefinitions(st);
  SbLoadDefinitions(st, st.AppPath + "/VEZ_SIKI.DAT");  // a warning would be an unexpected message box
  auto heading = [&](int c) {
    EXPECT_TRUE(c >= 1 && c <= st.ColCount[1]) << c;
    if (c < 1 || c > st.ColCount[1]) return std::string();
    std::string h = FromSjis(st.LevelCaption[1].substr(st.ColStart[1][c] - 1, st.ColWidth[1][c]));
    return h.substr(0, h.find_last_not_of(' ') + 1);
  };
  auto letterAt = [](const std::string& line, size_t pos) { return ColLetterToNum(line.substr(pos - 1, 1)); };

  ASSERT_EQ(st.SikiCount, 1);
  const std::string& rule = st.SikiRules[1];
  EXPECT_EQ(heading(letterAt(rule, 3)), "備考");  // the rule texts "*1", the group codes
  EXPECT_EQ(rule.substr(5, rule.find("=>") - 5), "[#D");
  EXPECT_EQ(heading(letterAt(rule, rule.find("=>") + 5)), "数量");

  ASSERT_EQ(st.ZokuCount, 1);
  EXPECT_EQ(heading(st.ZokuUnitCols[1]), "備考");
  EXPECT_EQ(heading(st.ZokuValueCols[1]), "金額");
  EXPECT_TRUE(IsNumericColumn(st, 1, st.ZokuValueCols[1]));

  ASSERT_EQ(st.AutoCount, 1);
  EXPECT_EQ(heading(letterAt(st.AutoLines[1], 3)), "数量");
  EXPECT_EQ(st.AutoLines[1].substr(4), "1");
  EXPECT_EQ(st.KeihiCount, 0);

  // Formula, marks, amount, rate, result of the overhead and consumables rows.
  const std::vector<std::string> five = {"計算式", "備考", "金額", "規格", "単価"};
  ASSERT_EQ(st.SkeihiCount, 1);
  EXPECT_EQ((std::vector<std::string>{heading(ParseDoubleBracketNumber(st.SkeihiFormulaLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SkeihiMarkLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SkeihiAmountLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SkeihiRateLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SkeihiResultLines[1]))}),
            five);
  ASSERT_EQ(st.SzatuCount, 1);
  EXPECT_EQ((std::vector<std::string>{heading(ParseDoubleBracketNumber(st.SzatuFormulaLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SzatuMarkLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SzatuAmountLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SzatuRateLines[1])),
                                      heading(ParseDoubleBracketNumber(st.SzatuResultLines[1]))}),
            five);
  // The column set: the rule and unit column once, then the consumables formula column.
  ASSERT_EQ(st.SbColumnCount, 2);
  EXPECT_EQ(heading(st.SbColumnTable[1]), "備考");
  EXPECT_EQ(heading(st.SbColumnTable[2]), "計算式");
}

}  // namespace
}  // namespace kv
