// The row recalculation without the column variables stores what the row
// recalculation stores, for every column that can change.
#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "calc/equipment/equipment_row_defs.h"
#include "calc/row_calc.h"
#include "calc/row_def_readers.h"

namespace kv::test {
namespace {

class RowDefinitionsAfterTest : public CalcFixture {};

TEST_F(RowDefinitionsAfterTest, StoresWhatTheRowRecalculationStores) {
  // Chains (C -> B -> A -> D), a definition reading itself (E), one that
  // fails (F), one beyond the calculable range (G), an overlapping reference
  // (H reads "[[[C"), a text column's definition (I: no reader), a result
  // rounded up to the row's unit (A, unit in J), a column read by none (K)
  // and two definitions reading each other (L, M).
  Layout(1, {{"A", "0", 10, "[[B*2"},
             {"B", "0", 8, "[[C+1"},
             {"C", "1", 8},
             {"D", "0", 8, "[[A-1+[[K"},
             {"E", "0", 8, "[[E+[[C"},
             {"F", "0", 8, "[[C/0"},
             {"G", "0", 12, "[[C*999999999*999999999"},
             {"H", "2", 10, "[[[C*3"},
             {"I", "C", 8, "[[C"},
             {"J", "C", 4},
             {"K", "0", 6},
             {"L", "0", 10, "[[M+[[C"},
             {"M", "0", 10, "[[L*2"}});
  // (No evaluation order: a definition reading itself has none, and the row
  // recalculation after a change needs none.)
  st.SystemKind = 1;
  st.ZokuCount = 1;
  st.ZokuUnitCols[1] = 10;
  st.ZokuValueCols[1] = 1;
  const RowDefinitionReaders readers(st, 1);
  const LevelContext ctx{1, {}, st.SheetTotalRecord};
  const std::vector<std::string> records = {
      Row(1, ' ', {{3, "12.5"}, {5, "7"}, {11, "3"}}),
      Row(1, ' ', {{1, "1"}, {2, "2"}, {3, "-4"}, {4, "9"}, {6, "5"}, {7, "1"}, {10, "H"}}),
      Row(1, ' ', {{3, "0"}, {8, "1.25"}, {9, "x"}, {10, "S"}}),
      Row(1, ' ', {{2, "99999999"}, {10, "T"}, {12, "5"}, {13, "-3"}}),
  };
  for (const std::string& rec : records) {
    for (int col : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 60}) {
      SCOPED_TRACE(rec.substr(0, 120) + " column " + std::to_string(col));
      std::string expected = rec;
      st.CalcRangeExceeded = false;
      RowFormulaCalc(st, ctx, 1, expected, col, false);
      const bool exceeded = st.CalcRangeExceeded;
      const int sign = st.FormulaRangeSign;

      std::string actual = rec;
      st.CalcRangeExceeded = false;
      RowDefinitionsAfter(st, ctx, actual, col, readers);
      EXPECT_EQ(actual, expected);
      EXPECT_EQ(st.CalcRangeExceeded, exceeded);
      EXPECT_EQ(st.FormulaRangeSign, sign);
    }
  }
}

}  // namespace
}  // namespace kv::test
