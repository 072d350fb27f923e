// After a commit on a calculating sheet the grid shows what a full repaint
// of the sheet would show: the commit paints its row, the level calculation
// paints what it computed, and nothing is left stale or in another form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_fixture.h"
#include "sheet/cell_commit.h"

namespace kv::test {
namespace {

struct RepaintCase {
  const char* what;
  int row;
  int col;
  const char* typed;
};

void PrintTo(const RepaintCase& c, std::ostream* os) { *os << c.what; }

class CommitRepaint : public EditFixture, public ::testing::WithParamInterface<RepaintCase> {
 protected:
  struct Painted {
    std::vector<std::string> texts;
    std::vector<int> colours;
  };
  // Every cell's text and colour, headers and the totals line included.
  Painted Snapshot() const {
    Painted p;
    for (int r = 1; r <= st.Imax + 1; ++r)
      for (int c = 0; c <= st.ColCount[1]; ++c) {
        p.texts.push_back("r" + std::to_string(r) + "c" + std::to_string(c) + " " + grid.CellText(c, r));
        p.colours.push_back(grid.CellColour(c, r));
      }
    return p;
  }
};

TEST_P(CommitRepaint, GridMatchesAFreshRepaint) {
  const RepaintCase& c = GetParam();
  // Item rows with and without quantity formulas (one of them 0, whose
  // amount shows blank), a subtotal, the tax row and the grand total.
  Sheet({Row(' ', {{kQty, "3"}, {kPrice, "10"}}),
         Row(' ', {{kFormula, "2*1.25"}, {kPrice, "7"}}),
         Row(' ', {{kFormula, "1/3"}, {kPrice, "1000"}}),
         Row('#', {}),
         Row(' ', {{kQty, "1.5"}, {kPrice, "1234"}}),
         Row(' ', {{kFormula, "0"}, {kPrice, "9"}}),
         // Reads the amount total: the calculation after any commit changes
         // this row's quantity and amount, below the committed row.
         Row(' ', {{kFormula, "[#F/1000"}, {kPrice, "3"}}),
         Row(kTaxKind, {}),
         Row('%', {})});
  // The level's formula orders and its quantity formula column; the sheet
  // computed once as the entries would have left it.
  st.LevelCount = 1;
  ASSERT_TRUE(SumColumnFind(st));
  ASSERT_EQ(st.FormulaColumn[1], kFormula);
  st.RecalcAllRunning = true;
  calc.LevelCalc(st, 1, st.SheetTotalRecord, 1, st.UsedRows);
  st.RecalcAllRunning = false;
  SheetRedisplay(st, grid, 1, st.UsedRows);
  const std::string quantityBefore = Shown(kQty, 7);

  Cursor(c.col, c.row);
  st.CellCommitting = true;
  ASSERT_TRUE(CellCommit(st, grid, ToSjis(c.typed)));
  const Painted committed = Snapshot();
  EXPECT_NE(Shown(kQty, 7), quantityBefore);
  SheetRedisplay(st, grid, 1, st.UsedRows);
  const Painted fresh = Snapshot();
  ASSERT_EQ(committed.texts.size(), fresh.texts.size());
  for (size_t i = 0; i < fresh.texts.size(); ++i) {
    EXPECT_EQ(committed.texts[i], fresh.texts[i]);
    EXPECT_EQ(committed.colours[i], fresh.colours[i]) << fresh.texts[i];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commits, CommitRepaint,
    ::testing::Values(RepaintCase{"QuantityInTheFirstRow", 1, kQty, "12"},
                      RepaintCase{"QuantityFormulaIntoTheFirstRow", 1, kFormula, "4*2.5"},
                      RepaintCase{"ZeroQuantityFormulaIntoTheFirstRow", 1, kFormula, "0"},
                      RepaintCase{"QuantityFormulaReplaced", 2, kFormula, "3*1.5"},
                      RepaintCase{"QuantityOfAFormulaRow", 3, kQty, "2"},
                      RepaintCase{"FormulaTypedAsAQuantity", 5, kQty, "2*3.5"},
                      RepaintCase{"UnitPriceOfAFormulaRow", 3, kPrice, "2500"},
                      RepaintCase{"QuantityBelowTheLastRow", 12, kQty, "4"}),
    [](const ::testing::TestParamInfo<RepaintCase>& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace kv::test
