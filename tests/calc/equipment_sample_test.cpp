// The program folder's equipment definitions on a sheet of the default
// columns (A 名称, B 規格, C 計算式, D 数量, E 単位, F 単価, G 金額 = [[D*[[F,
// H 備考): one recalculation fills the rule row, rounds the marked amount,
// computes the overhead and the consumables row with its adjustment group.
#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_recalc.h"

namespace kv::test {
namespace {

constexpr int kName = 1, kSpec = 2, kFormula = 3, kQty = 4, kPrice = 6, kAmount = 7, kNote = 8;

class EquipmentSampleTest : public CalcFixture {
 protected:
  void SetUp() override {
    st.SystemKind = 1;
    Layout(1, {{"名称", "W", 62},
               {"規格", "W", 42},
               {"計算式", "S", 30},
               {"数量", "A2", 12},
               {"単位", "C", 6},
               {"単価", "0", 12},
               {"金額", "A", 14, "[[D*[[F", "SUM"},
               {"備考", "C", 40}});
    Build();
    SbClearDefinitions(st);
    SbLoadDefinitions(st, std::string(KORVANE_PROGRAM_DIR) + "/VEZ_SIKI.DAT");  // no warning
  }
};

TEST_F(EquipmentSampleTest, OneRecalculationFillsEveryEquipmentRow) {
  Sheet({Row(1, ' ', {{kName, "保温"}, {kPrice, "500"}, {kNote, "*1"}}),
         Row(1, ' ', {{kName, "配管 20A"}, {kQty, "10"}, {kPrice, "1000"}, {kAmount, "10000"}, {kNote, "A1"}}),
         Row(1, ' ', {{kName, "配管 25A"}, {kQty, "20"}, {kPrice, "1200"}, {kAmount, "24000"}, {kNote, "1"}}),
         Row(1, ' ', {{kName, "器具"}, {kQty, "3"}, {kPrice, "12345"}, {kAmount, "37035"}, {kNote, "H"}}),
         Row(1, 'Z', {{kName, "諸経費"}, {kSpec, "10"}, {kFormula, "#"}}),
         Row(1, 'S', {{kName, "消耗品雑材"}, {kFormula, "A+(120)"}})});
  ASSERT_TRUE(RecalcEquipmentTotals(st, false));
  // The rule row: the quantities of the rows marked "1", at its own price.
  EXPECT_EQ(Cell(1, 1, kQty), "30.00");
  EXPECT_EQ(Cell(1, 1, kAmount), "15000");
  // "H": the amount rounded up to the hundred.
  EXPECT_EQ(Cell(4, 1, kAmount), "37100");
  // 10 % of every amount above: 15000 + 10000 + 24000 + 37100 = 86100.
  EXPECT_EQ(Cell(5, 1, kPrice), "8610");
  EXPECT_EQ(Cell(5, 1, kQty), "1.00");
  EXPECT_EQ(Cell(5, 1, kAmount), "8610");
  // The rows marked "A" (10000) plus what brings the running total 94710 +
  // 10000 up to the thousand: 290.
  EXPECT_EQ(Cell(6, 1, kFormula), "A+(290)");
  EXPECT_EQ(Cell(6, 1, kPrice), "10290");
  EXPECT_EQ(Cell(6, 1, kAmount), "10290");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), "105000");
}

}  // namespace
}  // namespace kv::test
