// The equipment edition's steps on a small sheet of system kind 1:
// A 名称, B マーク (marks and rule texts), C 数量, D 単位, E 単価,
// F 金額 = [[C*[[E (SUM), G 計算式 (12 bytes), H 率, I 値 (one decimal),
// J 集計, K 加算 = [[F+[[I (SUM), L 倍 = [[K*2+[[M, M 追加 (one decimal), N 単独.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calc/calc_expression.h"
#include "calc/calc_fixture.h"
#include "calc/equipment/equipment_aggregation.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_recalc.h"
#include "calc/equipment/equipment_rows.h"
#include "calc/rounding.h"
#include "calc/row_calc.h"
#include "calc/zoku_unit_round.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "storage/row_record.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

constexpr int kName = 1, kMark = 2, kQty = 3, kUnit = 4, kPrice = 5, kAmount = 6, kFormula = 7, kRate = 8, kValue = 9,
              kSum = 10, kPlus = 11, kTwice = 12, kExtra = 13, kLone = 14;

const std::vector<std::string> kSkeihi = {"SKEIHI", "[[G", "[[B", "[[F", "[[H", "[[F"};
const std::vector<std::string> kSzatu = {"SZATU", "SZ:[[G", "SZ:[[B", "SZ:[[F", "SZ:[[H", "SZ:[[F"};

class EquipmentCalcTest : public CalcFixture {
 protected:
  TempFolder folder;

  void SetUp() override {
    st.SystemKind = 1;
    Layout(1, {{"名称", "C", 10},
               {"マーク", "C", 6},
               {"数量", "0", 10},
               {"単位", "C", 6},
               {"単価", "0", 10},
               {"金額", "0", 12, "[[C*[[E", "SUM"},
               {"計算式", "C", 12},
               {"率", "0", 6},
               {"値", "1", 10},
               {"集計", "0", 12},
               {"加算", "0", 12, "[[F+[[I", "SUM"},
               {"倍", "0", 14, "[[K*2+[[M"},
               {"追加", "1", 10},
               {"単独", "0", 10}});
    Build();
  }

  void Define(std::vector<std::vector<std::string>> groups) {
    std::string bytes;
    for (const auto& g : groups)
      for (const std::string& l : g) bytes += l + "\r\n";
    SbClearDefinitions(st);
    SbLoadDefinitions(st, folder.Write("VEZ_SIKI.DAT", bytes).string());
  }
};

TEST_F(EquipmentCalcTest, OverheadRowsSeeTheMarkSumsAndTheRowsAboveThem) {
  Define({kSkeihi});
  Sheet({Row(1, ' ', {{kMark, "X"}, {kAmount, "1000"}}), Row(1, ' ', {{kMark, "*1Y"}, {kAmount, "2000"}}),
         Row(1, 'Z', {{kFormula, "#"}, {kRate, "10"}}), Row(1, 'Z', {{kFormula, "#"}}),
         Row(1, 'Z', {{kFormula, "(#-X)*5"}, {kRate, "10"}}), Row(1, 'Z', {{kFormula, "Y"}}),
         Row(1, 'Z', {{kAmount, "77"}})});
  EXPECT_TRUE(CalcExpenseRows(st, false));
  // 3000 x 10 %; then 3300 (the first overhead joined the sum); (6600 -
  // 1000) x 5 x 10 %; the mark Y of the "*" text; an empty formula keeps its value.
  EXPECT_EQ(Cell(3, 1, kAmount), "300");
  EXPECT_EQ(Cell(4, 1, kAmount), "3300");
  EXPECT_EQ(Cell(5, 1, kAmount), "2800");
  EXPECT_EQ(Cell(6, 1, kAmount), "2000");
  EXPECT_EQ(Cell(7, 1, kAmount), "77");

  // An amount that is no number fails the sums.
  Sheet({Row(1, ' ', {{kMark, "X"}, {kAmount, "++++"}}), Row(1, 'Z', {{kFormula, "#"}})});
  ui.AnswerMsgBox(vbOK, "諸経費計算行の計算に失敗しました｡");
  EXPECT_FALSE(CalcExpenseRows(st, false));
  ui.ExpectAllAnswered();
}

TEST_F(EquipmentCalcTest, TheConsumablesRowRoundsTheRunningTotalUpToAThousand) {
  Define({kSzatu});
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    const char* formula;  // after
    const char* amount;
  };
  const std::vector<Case> cases = {
      // 12,340 above, base 500: total 12,840, rounded 13,000, adjustment 160.
      {"the example",
       {Row(1, ' ', {{kMark, "A"}, {kAmount, "500"}}), Row(1, ' ', {{kAmount, "11840"}}),
        Row(1, 'S', {{kFormula, "A+(120)"}})},
       "A+(160)", "660"},
      {"parentheses kept",
       {Row(1, ' ', {{kMark, "A"}, {kAmount, "500"}}), Row(1, ' ', {{kMark, "B"}, {kAmount, "100"}}),
        Row(1, 'S', {{kFormula, "(A+B)"}})},
       "(A+B)+(800)", "1400"},
      {"a rule text takes its third character",
       {Row(1, ' ', {{kMark, "*1A"}, {kAmount, "500"}}), Row(1, ' ', {{kMark, "*A"}, {kAmount, "100"}}),
        Row(1, 'S', {{kFormula, "A"}, {kRate, "50"}})},
       "A+(150)", "400"},
      {"a negative total",
       {Row(1, ' ', {{kMark, "A"}, {kAmount, "-12840"}}), Row(1, 'S', {{kFormula, "A"}})},
       "A+(-320)", "-13160"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet(c.rows);
    bool again = true;
    EXPECT_TRUE(CalcConsumablesRow(st, false, again));
    EXPECT_FALSE(again);
    const int s = static_cast<int>(c.rows.size());
    EXPECT_EQ(Cell(s, 1, kFormula), c.formula);
    EXPECT_EQ(Cell(s, 1, kAmount), c.amount);
  }
}

TEST_F(EquipmentCalcTest, ConsumablesFailuresHaveTheirMessages) {
  Define({kSzatu});
  // A new formula text too long for its 12 bytes: the row stays as it was.
  Sheet({Row(1, ' ', {{kMark, "A"}, {kAmount, "500"}}), Row(1, 'S', {{kFormula, "A*1*1*1*1*1"}, {kAmount, "9"}})});
  const std::string sRow = st.SheetRows[2];
  bool again = false;
  ui.AnswerMsgBox(vbOK, "消耗品雑材の計算に失敗しました｡");
  EXPECT_FALSE(CalcConsumablesRow(st, false, again));
  EXPECT_EQ(st.SheetRows[2], sRow);

  Sheet({Row(1, ' ', {{kMark, "A"}}), Row(1, 'S', {{kFormula, "A+("}})});
  ui.AnswerMsgBox(vbOK, "消耗品雑材の計算に失敗しました｡");
  EXPECT_FALSE(CalcConsumablesRow(st, false, again));

  Sheet({Row(1, 'S', {{kFormula, "A"}}), Row(1, 'S', {{kFormula, "A"}})});
  ui.AnswerMsgBox(vbOK, "消耗品雑材行が2行以上あります｡");
  EXPECT_FALSE(CalcConsumablesRow(st, false, again));

  Sheet({Row(1, 'S', {{kFormula, "100"}})});
  ui.AnswerMsgBox(vbOK, "消耗品雑材行計算式内に集計マークが有りません｡");
  EXPECT_TRUE(CalcConsumablesRow(st, false, again));
  ui.ExpectAllAnswered();

  Sheet({Row(1, ' ', {{kAmount, "5"}})});  // no "S" row
  EXPECT_TRUE(CalcConsumablesRow(st, false, again));
}

TEST_F(EquipmentCalcTest, RuleGroupsNestAndRoundToTheirUnit) {
  Define({{"SIKI", "R(B)=[#J+[#F=>R(J)"}});
  // "*1" takes 1, 12 and 31; "*21" (group 2: the row 12) lies in group 1
  // and is computed first, its result joining group 1's sum of J.
  Sheet({Row(1, ' ', {{kMark, "*1"}}), Row(1, ' ', {{kMark, "1"}, {kAmount, "100"}}),
         Row(1, ' ', {{kMark, "12"}, {kAmount, "20"}}), Row(1, ' ', {{kMark, "31"}, {kAmount, "3"}}),
         Row(1, ' ', {{kMark, "*21"}}), Row(1, ' ', {{kMark, "4"}, {kAmount, "1000"}})});
  EXPECT_TRUE(SikiRulesApply(st, false));
  EXPECT_EQ(Cell(5, 1, kSum), "20");
  EXPECT_EQ(Cell(1, 1, kSum), "143");

  // A group that contains itself: the message names the row.
  Sheet({Row(1, ' ', {{kAmount, "1"}}), Row(1, ' ', {{kMark, "*11"}})});
  ui.AnswerMsgBox(vbOK, "[  2行目 ]に誤りがあるため計算不可能です。");
  EXPECT_FALSE(SikiRulesApply(st, false));
  ui.ExpectAllAnswered();

  // The result in a unit-rounded column: 501 / 2 = 250.5 with unit "H" -> 300.
  Define({{"SIKI", "R(B)=[#C/2=>R(I)"}, {"ZOKU", "U(D)->(I)"}});
  Sheet({Row(1, ' ', {{kMark, "*1"}, {kUnit, "H本"}}), Row(1, ' ', {{kMark, "1"}, {kQty, "501"}})});
  EXPECT_TRUE(SikiRulesApply(st, false));
  EXPECT_EQ(Cell(1, 1, kValue), "300.0");

  // A body without "[#" changes nothing.
  Define({{"SIKI", "R(B)=100=>R(J)"}});
  Sheet({Row(1, ' ', {{kMark, "*1"}}), Row(1, ' ', {{kMark, "1"}, {kAmount, "5"}})});
  EXPECT_TRUE(SikiRulesApply(st, false));
  EXPECT_EQ(Cell(1, 1, kSum), "");
}

TEST_F(EquipmentCalcTest, ARuleResultInTheRuleColumnIsSeenByTheLaterRuleRows) {
  // Row 1 ("*1", in its own group) sums E of group 1 (2 + 3) and writes the
  // sum over its own rule text: the later "*5" row then finds row 1 as a
  // member of group 5 and takes its E.
  Define({{"SIKI", "R(B)=[#E=>R(B)"}});
  Sheet({Row(1, ' ', {{kMark, "*1"}, {5, "2"}}), Row(1, ' ', {{kMark, "1"}, {5, "3"}}),
         Row(1, ' ', {{kMark, "*5"}})});
  EXPECT_TRUE(SikiRulesApply(st, false));
  EXPECT_EQ(Cell(1, 1, kMark), "5");
  EXPECT_EQ(Cell(3, 1, kMark), "2");
}

TEST_F(EquipmentCalcTest, UnitRoundingOfAllRowsAndOfOnePair) {
  Define({{"ZOKU", "U(D)->(I)"}});
  Sheet({Row(1, ' ', {{kUnit, "H"}, {kValue, "250.5"}}), Row(1, ' ', {{kValue, "250.5"}}),
         Row(1, ' ', {{kUnit, "X"}, {kValue, "250.5"}}), Row(1, '#', {{kUnit, "H"}, {kValue, "250.5"}})});
  EXPECT_TRUE(ZokuRoundAllRows(st, false));
  EXPECT_EQ(Cell(1, 1, kValue), "300.0");
  EXPECT_EQ(Cell(2, 1, kValue), "250.5");
  EXPECT_EQ(Cell(3, 1, kValue), "250.5");
  EXPECT_EQ(Cell(4, 1, kValue), "250.5");

  std::string rec = Row(1, ' ', {{kUnit, "j"}, {kValue, "31.5"}});
  EXPECT_FALSE(ZokuPairUpdate(st, rec, 1, kQty, 1));
  EXPECT_TRUE(ZokuPairUpdate(st, rec, 1, kUnit, 1));
  EXPECT_EQ(Cell(rec, 1, kValue), "40.0");
}

// Blanks inside a cell, full-width ones among them, do not count: the unit
// and the value are read without them; a value that is no plain number is
// rounded by the general rounding.
TEST_F(EquipmentCalcTest, UnitRoundingReadsCellsWithoutTheirBlanks) {
  Define({{"ZOKU", "U(D)->(I)"}});
  const struct {
    const char* unit;
    const char* value;
    const char* rounded;
  } cases[] = {{"　H", "250.5", "300.0"}, {"H", "2 50.5", "300.0"}, {"H", "25　0.5", "300.0"},
               {"ｈ", "250.5", "250.5"}, {"S", "-1 000.1", "-2000.0"}, {"J", "31", "40.0"}};
  for (const auto& c : cases) {
    Sheet({Row(1, ' ', {{kUnit, c.unit}, {kValue, c.value}})});
    EXPECT_TRUE(ZokuRoundAllRows(st, false));
    EXPECT_EQ(Cell(1, 1, kValue), c.rounded) << c.unit << " " << c.value;
  }
}

// The value is rounded up as it is, its fraction included: 200.5 to a unit
// of 100 is 300, a whole 200 stays 200.
TEST(UnitRounded, RoundsUpTheValueWithItsFraction) {
  const struct {
    const char* unit;
    const char* value;
    const char* rounded;
  } cases[] = {{"H", "200.5", "300"}, {"H", "200", "200"},   {"H", "200.00", "200"}, {"H", "200.01", "300"},
               {"J", "31.5", "40"},   {"H", ".5", "100"},    {"H", "-200.5", "-300"}, {"S", " 1000.1 ", "2000"},
               {"H", "0", "0"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(UnitRoundApplies(c.unit, c.value)) << c.value;
    EXPECT_EQ(UnitRounded(c.unit, c.value), c.rounded) << c.unit << " " << c.value;
  }
}

// Every plain value rounds as the general rounding up to a unit rounds it
// (whole digits, a fraction of zeros or not, a sign, the widest values).
TEST(UnitRounded, PlainValuesRoundAsTheGeneralRounding) {
  for (const char* unit : {"J", "H", "S", "M", "T", "O"}) {
    for (const char* sign : {"", "-"}) {
      for (const char* whole : {"0", "7", "99", "100", "101", "00250", "12345678901234", "99999999999999"}) {
        for (const char* fraction : {"", ".", ".0", ".000", ".5", ".05", ".0001", ".999999"}) {
          const std::string value = std::string(sign) + whole + fraction;
          std::string general = RoundUpToUnit(value, UnitLetterFactor(unit));
          general.erase(std::min(general.find('.'), general.size()));
          EXPECT_EQ(UnitRounded(unit, value), general) << unit << " " << value;
        }
      }
    }
  }
}

TEST_F(EquipmentCalcTest, APairAndADefinitionRoundUpAValueWithAFraction) {
  Define({{"ZOKU", "U(D)->(I)"}});
  std::string rec = Row(1, ' ', {{kUnit, "H"}, {kValue, "200.5"}});
  EXPECT_TRUE(ZokuPairUpdate(st, rec, 1, kUnit, 1));
  EXPECT_EQ(Cell(rec, 1, kValue), "300.0");

  Define({{"ZOKU", "U(D)->(F)"}});
  rec = Row(1, ' ', {{kQty, "2.5"}, {kUnit, "H"}, {5, "80.2"}});  // 200.5
  RowCalc(st, {1, {}, Blank()}, rec);
  EXPECT_EQ(Cell(rec, 1, kAmount), "300");
}

TEST_F(EquipmentCalcTest, ARowOfAnotherLevelIsRoundedByItsOwnColumns) {
  // Level 2 has a wider first column: its unit column lies elsewhere.
  Layout(2, {{"名称", "C", 30}, {"マーク", "C", 6}, {"数量", "0", 10}, {"単位", "C", 6}, {"単価", "0", 10},
             {"金額", "0", 12, "[[C*[[E", "SUM"}});
  Build();
  Define({{"ZOKU", "U(D)->(F)"}});
  st.CurrentLevel = 1;
  std::string rec = Row(2, ' ', {{kQty, "3"}, {kUnit, "H"}, {5, "101"}});
  const std::string total = Blank();
  RowCalc(st, {2, {}, total}, rec);
  EXPECT_EQ(Cell(rec, 2, kAmount), "400");  // 303 up to the hundred
}

TEST_F(EquipmentCalcTest, APairFedByABreakdownTakesItsClosingRecord) {
  Define({{"ZOKU", "U(D)->(I)"}});
  Layout(2, {{"名称", "C", 10}, {"金額", "0", 12, "", "SUM", "->[$I"}});
  st.WorkFileBase = (folder.path() / "EST").string();
  auto record = [&](char kind, int own, int next, const std::string& amount) {
    std::string r = Row(2, kind, {{2, amount}});
    SetLinkField(r, kOwnPos, own, false);
    SetLinkField(r, kNextPos, next, false);
    SetLinkField(r, kChildPos, kNoRecord, false);
    return r;
  };
  {
    RecordFile f(st.WorkFileBase + ".Y2", st.DataLen);
    f.PutRecordText(1, record(' ', 1, 2, "1234"));
    f.PutRecordText(2, record('G', 2, kNoRecord, "1234"));
    f.PutRecordText(3, record(' ', 3, kNoRecord, "77"));  // a sheet without closing record
    f.PutRecordText(4, record(' ', 4, 4, "77"));          // a self-link
  }
  // A link past the end of the file is damage: told, and nothing changes.
  const struct {
    int child;
    const char* value;
    const char* message;
  } cases[] = {{1, "2000.0", nullptr}, {3, "", nullptr}, {4, "", nullptr},
               {9, "5", "作業ファイル [ EST.Y2 ] が壊れています。"}};
  for (const auto& c : cases) {
    std::string parent = Row(1, ' ', {{kUnit, "S"}, {kValue, "5"}});
    SetLinkField(parent, kChildPos, c.child, false);
    if (c.message) ui.AnswerMsgBox(vbOK, c.message);
    EXPECT_TRUE(ZokuPairUpdate(st, parent, 1, kUnit, 1));
    ui.ExpectAllAnswered();
    EXPECT_EQ(Cell(parent, 1, kValue), c.value) << c.child;
  }
}

TEST_F(EquipmentCalcTest, AConsumablesRowWithRuleTextRunsTheRulesAndOverheadsAgain) {
  // The consumables row belongs to group 1: the rule row sums its amount
  // once the consumables are computed; the overhead (a sum of J) follows.
  Define({{"SIKI", "R(B)=[#F=>R(J)"}, kSzatu, {"SKEIHI", "[[G", "[[H", "[[J", "[[E", "[[J"}});
  Sheet({Row(1, ' ', {{kMark, "*1"}}), Row(1, ' ', {{kMark, "1"}, {kAmount, "500"}}),
         Row(1, 'S', {{kMark, "1"}, {kFormula, "#"}}), Row(1, 'Z', {{kFormula, "#"}})});
  EXPECT_TRUE(RecalcEquipmentTotals(st, false));
  EXPECT_EQ(Cell(3, 1, kAmount), "500");  // 500 + 500 -> 1000: base 500, adjustment 0
  EXPECT_EQ(Cell(1, 1, kSum), "1000");    // 500 and the consumables' 500
  EXPECT_EQ(Cell(4, 1, kSum), "1000");    // the overhead of the rule's new sum
}

TEST_F(EquipmentCalcTest, TheDriverRunsItsStepsInOrderAndStopsAtTheFirstFailure) {
  Define({{"SIKI", "R(B)=[#F=>R(J)"}, kSzatu});
  auto sheet = [&](const char* rule) {
    Sheet({Row(1, ' ', {{kMark, rule}}), Row(1, ' ', {{kMark, "1"}, {kQty, "2"}, {kAmount, "500"}}),
           Row(1, 'S', {{kFormula, "#+(5)"}})});
  };
  sheet("*1");
  EXPECT_TRUE(RecalcEquipmentTotals(st, false));
  EXPECT_EQ(Cell(1, 1, kSum), "500");
  EXPECT_EQ(Cell(3, 1, kFormula), "#+(0)");
  EXPECT_EQ(Cell(3, 1, kAmount), "500");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), "1000");  // the level calculation ran
  EXPECT_FALSE(st.EquipRecalcRunning);
  EXPECT_EQ(ui.Unloaded().back(), "SB_MsgFrm");

  // The rules fail: nothing after them runs.
  sheet("*11");
  st.SheetTotalRecord = Blank();
  ui.AnswerMsgBox(vbOK, "[  1行目 ]");
  EXPECT_FALSE(RecalcEquipmentTotals(st, false));
  ui.ExpectAllAnswered();
  EXPECT_EQ(Cell(3, 1, kFormula), "#+(5)");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), "");
  EXPECT_FALSE(st.EquipRecalcRunning);

  // The menu command and its key: nothing while another command is busy.
  sheet("*1");
  st.SheetModified = false;
  st.CommandBusy = true;
  EquipmentRecalcCommand(st);
  EXPECT_EQ(Cell(1, 1, kSum), "");
  st.CommandBusy = false;
  EquipmentRecalcCommand(st);
  EXPECT_EQ(Cell(1, 1, kSum), "500");
  EXPECT_TRUE(st.SheetModified);

  // Outside the equipment edition, or on a classification file: nothing.
  sheet("*1");
  st.IsSetubiSiwakeFile = true;
  EXPECT_TRUE(RecalcEquipmentTotals(st, false));
  st.IsSetubiSiwakeFile = false;
  st.SystemKind = 2;
  EXPECT_TRUE(RecalcEquipmentTotals(st, false));
  EXPECT_EQ(Cell(1, 1, kSum), "");
}

std::uint64_t Fnv(std::uint64_t h, std::string_view bytes) {
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

// A sheet of unit pairs on plain columns, on computed columns and on columns
// that other definitions read (F = C*E, K = F+I, L = K*2+M, N read by none),
// stale computed cells, values already on their unit, rows that are no
// items, a rule with a nested group, an overhead and a consumables row: its
// stored bytes after the equipment steps are pinned, and any change in the
// order of the computations shows in them.
class EquipmentBytesTest : public EquipmentCalcTest {
 protected:
  void SetUp() override {
    EquipmentCalcTest::SetUp();
    Define({{"SIKI", "R(B)=[#F=>R(J)"},
            {"ZOKU", "U(D)->(I)"},
            {"ZOKU", "U(D)->(E)"},
            {"ZOKU", "U(D)->(K)"},
            {"ZOKU", "U(D)->(M)"},
            {"ZOKU", "U(D)->(N)"},
            kSkeihi,
            kSzatu});
    std::vector<std::string> rows = {
        Row(1, ' ', {{kName, "rule 1"}, {kMark, "*1"}, {kQty, "1"}, {kUnit, "H"}}),
        Row(1, ' ', {{kMark, "1"}, {kQty, "3"}, {kUnit, "H"}, {kPrice, "1050"}, {kAmount, "1"}, {kValue, "250.5"},
                     {kExtra, "12.5"}, {kLone, "77"}}),
        Row(1, ' ', {{kMark, "2"}, {kQty, "2"}, {kUnit, "J"}, {kPrice, "90"}, {kAmount, "180"}, {kValue, "40"},
                     {kPlus, "220"}, {kTwice, "440"}}),
        Row(1, ' ', {{kMark, "12"}, {kQty, "7"}, {kPrice, "1234"}, {kAmount, "5"}, {kValue, "7.5"}}),
        Row(1, ' ', {{kMark, "X"}, {kQty, "2"}, {kUnit, "S"}, {kPrice, "1999"}, {kValue, "-250.5"}, {kLone, "-5"}}),
        Row(1, ' ', {{kName, "rule 2"}, {kMark, "*21"}, {kUnit, "H"}, {kQty, "1"}}),
        Row(1, ' ', {{kMark, "Y"}, {kQty, "4"}, {kUnit, "h"}, {kPrice, "101"}, {kExtra, "0.5"}}),
        Row(1, '#', {{kUnit, "H"}, {kPrice, "150"}, {kValue, "250.5"}}),
        Row(1, ' ', {{kMark, "1"}, {kQty, "2"}, {kUnit, "H"}, {kPrice, "150"}, {kValue, "1.5"}}, 'U'),
        Row(1, ' ', {{kMark, "Z"}, {kQty, "9"}, {kUnit, "T"}, {kPrice, "123456"}, {kLone, "123"}}),
        Row(1, ' ', {{kMark, "2"}, {kQty, "1"}, {kUnit, "O"}, {kPrice, "5"}, {kValue, "0"}}),
        Row(1, ' ', {{kMark, "1X"}, {kQty, "5"}, {kUnit, "H"}, {kValue, ".5"}, {kExtra, "300"}}),
        Row(1, ' ', {{kMark, "2Y"}, {kQty, "3"}, {kUnit, "Q"}, {kPrice, "333"}, {kValue, "3.3"}}),
    };
    const char* marks[] = {"1", "2", "12", "X", "Y", "Z", "1Y"};
    const char* units[] = {"H", "", "J", "S", "H", "M"};
    for (int r = 1; r <= 24; ++r) {
      Cells cells = {{kMark, marks[r % 7]},
                     {kQty, std::to_string(r % 5 + 1)},
                     {kUnit, units[r % 6]},
                     {kPrice, std::to_string(1000 + 37 * r)},
                     {kValue, std::to_string(r * 13) + ".5"}};
      if (r % 4 == 0) cells.push_back({kAmount, std::to_string((r % 5 + 1) * (1000 + 37 * r))});
      if (r % 3 == 0) cells.push_back({kExtra, std::to_string(r) + ".25"});
      if (r % 2 == 0) cells.push_back({kLone, std::to_string(r * 51)});
      rows.push_back(Row(1, ' ', cells));
    }
    rows.push_back(Row(1, 'Z', {{kName, "overhead"}, {kFormula, "(#-X)*5"}, {kRate, "10"}, {kUnit, "H"}}));
    rows.push_back(Row(1, 'S', {{kName, "supplies"}, {kFormula, "X+Y+Z+(120)"}}));
    Sheet(rows);
  }

  // Every stored byte of the sheet and of its closing record.
  std::uint64_t SheetHash() const {
    std::uint64_t h = 14695981039346656037ull;
    for (int r = 1; r <= st.UsedRows; ++r) h = Fnv(h, st.SheetRows[static_cast<size_t>(r)]);
    return Fnv(h, st.SheetTotalRecord);
  }

  std::string Listing() const {
    std::string out;
    for (int r = 1; r <= st.UsedRows; ++r) out += "[" + st.SheetRows[static_cast<size_t>(r)].substr(0, 160) + "]\n";
    return out + "[" + st.SheetTotalRecord.substr(0, 160) + "]\n";
  }
};

TEST_F(EquipmentBytesTest, TheTotalsStoreTheSameBytes) {
  ASSERT_TRUE(RecalcEquipmentTotals(st, false));
  EXPECT_EQ(SheetHash(), 10983721180604491118ull) << Listing();
}

// Rows recalculated without their column variables before the last row the
// rounding recalculates: the bytes and the variables left are those of the
// rounding that recalculates every row in full (painting, here without a
// grid), whichever row is the last, with rows after it or not.
TEST_F(EquipmentBytesTest, TheRoundingLeavesTheSameWhicheverRowIsTheLastRecalculated) {
  const std::vector<std::string> all(st.SheetRows.begin() + 1, st.SheetRows.begin() + 1 + st.UsedRows);
  const char* const names[] = {"[[C", "[[E", "[[F", "[[I", "[[K", "[[L", "[[M", "[[N"};
  // The first `count` rows (blanks after them), the variables set apart.
  auto after = [&](size_t count, bool paint) {
    std::vector<std::string> rows(all.size(), Blank());
    std::copy(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(count), rows.begin());
    Sheet(rows);
    CalcInit(st);
    std::string state;
    for (const char* name : names) CalcExpression(st, name + std::string("=-1"), state);
    EXPECT_TRUE(ZokuRoundAllRows(st, paint));
    state = Listing();
    for (const char* name : names) {
      std::string v;
      CalcExpression(st, name, v);
      state += std::string(name) + "=" + v + " ";
    }
    return state;
  };
  for (size_t count = 1; count <= all.size(); ++count) EXPECT_EQ(after(count, false), after(count, true)) << count;
}

// The unit rounding of all rows alone, and the row variables it leaves
// behind (the row calculation sets them; later sums may read them).
TEST_F(EquipmentBytesTest, TheUnitRoundingStoresTheSameBytesAndLeavesTheSameVariables) {
  CalcInit(st);
  ASSERT_TRUE(ZokuRoundAllRows(st, false));
  std::string variables;
  for (const char* name : {"[[C", "[[E", "[[F", "[[H", "[[I", "[[J", "[[K", "[[L", "[[M", "[[N"}) {
    std::string v;
    CalcExpression(st, name, v);
    variables += std::string(name) + "=" + v + " ";
  }
  EXPECT_EQ(variables, "[[C=5 [[E=1900 [[F=9500 [[H=0 [[I=400 [[J=0 [[K=9900 [[L=19900 [[M=100 [[N=1300 ") << Listing();
  EXPECT_EQ(SheetHash(), 16190331376688106958ull) << Listing();
}

}  // namespace
}  // namespace kv::test
