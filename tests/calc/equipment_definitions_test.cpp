// The equipment definitions file: small files and the tables, column set and
// warnings they give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/equipment/equipment_definitions.h"
#include "platform/codepage.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

class EquipmentDefinitionsTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScriptedUi ui;
  ProgramState st{ui};

  // Loads a file of these lines (UTF-8 here, Shift-JIS with CR LF on disk).
  void Load(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += ToSjis(l) + "\r\n";
    SbClearDefinitions(st);
    SbLoadDefinitions(st, folder.Write("VEZ_SIKI.DAT", bytes).string());
  }
  std::vector<int> Columns() const {
    return {st.SbColumnTable.begin() + 1, st.SbColumnTable.begin() + 1 + st.SbColumnCount};
  }
};

TEST_F(EquipmentDefinitionsTest, KeywordsFillTheirTablesAndTheColumnSet) {
  Load({"; 設備定義", "siki ; 集計", "R(B)=[#F=>R(J)", "ZOKU", "U(D)->(I)", "ZOKU", "U(B)->(E)", "AUTO",
        "A(H) 100", "KEIHI", "K(F)-K(H)-K(F)", "SKEIHI", "[[G", "[[B", "[[F", "[[H", "[[F", "SZATU", "SZ:[[G",
        "SZ:[[B", "SZ:[[F", "SZ:[[H", "SZ:[[F", "SIKI x", "　　", "R(C)=[#F=>R(J)"});
  EXPECT_TRUE(ui.Prompts().empty());
  ASSERT_EQ(st.SikiCount, 1);
  EXPECT_EQ(st.SikiRules[1], "R(B)=[#F=>R(J)");
  ASSERT_EQ(st.ZokuCount, 2);
  EXPECT_EQ(st.ZokuUnitCols[1], 4);
  EXPECT_EQ(st.ZokuValueCols[1], 9);
  EXPECT_EQ(st.AutoLines[1], "A(H)100");  // spaces removed
  EXPECT_EQ(st.KeihiCount, 1);
  EXPECT_EQ(st.SkeihiCount, 1);
  EXPECT_EQ(st.SkeihiRateLines[1], "[[H");
  EXPECT_EQ(st.SzatuCount, 1);
  EXPECT_EQ(st.SzatuResultLines[1], "SZ:[[F");
  // Rule column B, unit columns D and B (once), the consumables formula G.
  EXPECT_EQ(Columns(), (std::vector<int>{2, 4, 7}));
}

TEST_F(EquipmentDefinitionsTest, BrokenEntriesAreLeftOutWithOneWarning) {
  // No "=>", "=>" too early, 11 "[#", a unit column "1", value lines past the end.
  ui.AnswerMsgBox(vbOK, "行: 1, 3, 5, 7, 11");
  Load({"SIKI", "R(B)=[#F", "SIKI", "R(B=>R(J)", "SIKI", "R(B)=[#A[#B[#C[#D[#E[#F[#G[#H[#I[#J[#K=>R(J)", "ZOKU",
        "U(1)->(I)", "AUTO", "A(H)1", "SZATU", "SZ:[[G", "SZ:[[B"});
  EXPECT_EQ(st.SikiCount, 0);
  EXPECT_EQ(st.ZokuCount, 0);
  EXPECT_EQ(st.AutoCount, 1);
  EXPECT_EQ(st.SzatuCount, 0);
}

TEST_F(EquipmentDefinitionsTest, LimitsAreKeptAndAMissingFileLeavesEmptyTables) {
  std::vector<std::string> lines;
  for (int i = 0; i < 250; ++i) lines.insert(lines.end(), {"AUTO", "A(H)" + std::to_string(i)});
  ui.AnswerMsgBox(vbOK, "行: 201, 202,");
  ui.AnswerMsgBox(vbOK, "設備定義ファイル VEZ_SIKI.DAT を読み込めません。");
  Load(lines);
  EXPECT_EQ(st.AutoCount, 100);  // 200 definition lines hold 100 entries
  ASSERT_EQ(ui.MessageTexts().size(), 1u);
  // 300 lines left out: the first 20 are named, the rest counted.
  std::string named;
  for (int n = 201; n <= 220; ++n) named += (n == 201 ? "" : ", ") + std::to_string(n);
  EXPECT_EQ(ui.MessageTexts()[0], "設備定義ファイル VEZ_SIKI.DAT の次の行は読み込めません。\r行: " + named + " ほか 280 行");

  SbClearDefinitions(st);
  SbLoadDefinitions(st, (folder.path() / "none.DAT").string());
  EXPECT_EQ(st.AutoCount, 0);

  // A binary file loads nothing, quietly.
  SbClearDefinitions(st);
  SbLoadDefinitions(st, folder.Write("BIN.DAT", std::string("\0\x01\xff\xfe;ZOKU", 10)).string());
  EXPECT_EQ(st.ZokuCount, 0);
  ui.ExpectAllAnswered();
}

TEST_F(EquipmentDefinitionsTest, SmallServices) {
  for (const auto& [unit, factor] : std::vector<std::pair<std::string, long long>>{
           {"J", 10}, {"jx", 10}, {"H", 100}, {"S", 1000}, {"m", 10000}, {"T", 100000}, {"O", 1000000}, {"", 1},
           {"X", 1}})
    EXPECT_EQ(UnitLetterFactor(unit), factor) << unit;
  EXPECT_TRUE(IsHalfKana("\xB1"));   // ｱ
  EXPECT_TRUE(IsHalfKana("\xDD"));   // ﾝ
  EXPECT_FALSE(IsHalfKana("\xA6"));  // ｦ
  EXPECT_FALSE(IsHalfKana("\xB0"));  // ｰ
  EXPECT_EQ(ParseDoubleBracketNumber("SZ:[[a"), 27);
  EXPECT_EQ(ParseDoubleBracketNumber("none"), 0);

  const std::string base = (folder.path() / "EST").string();
  folder.Write("EST.INI", "[VEZ_File]\r\nFileType=SetubiSiwakeFile\r\n");
  EXPECT_TRUE(IsEquipmentSiwakeFile(base));
  folder.Write("EST.INI", "[VEZ_File]\r\nFileType=setubisiwakefile\r\n");
  EXPECT_FALSE(IsEquipmentSiwakeFile(base));
  EXPECT_FALSE(IsEquipmentSiwakeFile((folder.path() / "NONE").string()));
}

}  // namespace
}  // namespace kv::test
