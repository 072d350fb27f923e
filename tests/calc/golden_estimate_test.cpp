// A small estimate of two levels on the default layout, recalculated as the
// recalculation of all levels drives it: every item row's definitions
// computed, the breakdown calculated and written by the level writer before
// the sheet that owns it, its total carried into the parent row. Every
// computed cell and closing record is worked out by hand below.
//
// The default layout, on every level: A 名称, B 規格, C 計算式 (the
// formula column, "S"), D 数量 ("A2": its answer, two decimals), E 単位,
// F 単価 (whole numbers), G 金額 ("A": whole numbers, row definition
// [[D*[[F, total SUM, carried "->[$F" into the parent's unit price),
// H 備考. System kind 2, tax 10 %, rounded down to whole yen.
#include <gtest/gtest.h>

#include "state/column_defs.h"
#include "calc/calc_engine.h"
#include "state/column_numbers.h"
#include "state/stored_number_base.h"
#include "core/number_text.h"
#include "sheet/sheet_fields.h"
#include "storage/file_command_fixture.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace kv::test {
namespace {

constexpr int kFormula = 3, kQuantity = 4, kPrice = 6, kAmount = 7;
constexpr char kTax = '\xBC';  // ｼ

// The computed columns of a row as they are stored, blanks trimmed:
// formula, quantity, unit price, amount.
struct Cells {
  std::string formula, quantity, price, amount;
  bool operator==(const Cells&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cells& c) {
  return os << "{" << c.formula << "|" << c.quantity << "|" << c.price << "|" << c.amount << "}";
}

class GoldenEstimate : public ::testing::Test {
 protected:
  Program program{"MACHINE-A"};
  ProgramState& st = program.st;
  CalcEngine engine;

  void SetUp() override {
    ASSERT_EQ(st.SystemKind, 2);
    ASSERT_EQ(st.STax, *Currency::Parse(".1"));
    ASSERT_EQ(st.STaxMethod, 1);
    ASSERT_EQ(st.STaxMethodKeta, 0);
    st.calc = &engine;
    ASSERT_TRUE(SumColumnFind(st));
    std::filesystem::create_directories(program.folder.path() / "DATA");
    st.WorkFileBase = program.Work() + "/GOLDEN";
    st.CurrentFilePath = (program.folder.path() / "DATA/GOLDEN.YZH").string();
  }

  // A row as typed: name, a quantity formula or a quantity, a unit price.
  std::string Typed(int level, char kind, const std::string& name, const std::string& formula = "",
                    const std::string& quantity = "", const std::string& price = "") const {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    FieldStore(st, rec, 1, level, ToSjis(name));
    FieldStore(st, rec, kFormula, level, formula);
    for (const auto& [col, text] : {std::pair{kQuantity, quantity}, std::pair{kPrice, price}}) {
      if (text.empty()) continue;
      std::string fitted = text;
      NumFitColumn(st, level, fitted, col);
      FieldStore(st, rec, col, level, fitted);
    }
    return rec;
  }

  void SetSheet(const std::vector<std::string>& rows) {
    program.ClearSheet();
    for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
    st.UsedRows = static_cast<int>(rows.size());
  }

  std::string Trimmed(std::string_view rec, int level, int col) const {
    std::string s(FieldBytes(st, rec, col, level));
    const size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, s.find_last_not_of(' ') - a + 1);
  }
  Cells CellsOf(std::string_view rec, int level) const {
    return {Trimmed(rec, level, kFormula), Trimmed(rec, level, kQuantity), Trimmed(rec, level, kPrice),
            Trimmed(rec, level, kAmount)};
  }
  // The sheet of `level` as its level file holds it.
  std::vector<Cells> Stored(int level) {
    st.CurrentLevel = level;
    EXPECT_TRUE(LevelRowsRead(st, level));
    std::vector<Cells> rows;
    for (int r = 1; r <= st.UsedRows; ++r) rows.push_back(CellsOf(st.SheetRows[size_t(r)], level));
    rows.push_back(CellsOf(st.SheetTotalRecord, level));  // the closing record
    return rows;
  }
};

TEST_F(GoldenEstimate, EveryLevelRecalculatedFromTheBreakdownsUp) {
  // Written as typed, nothing computed yet.
  st.calc = nullptr;
  st.CurrentLevel = 1;
  SetSheet({Typed(1, ' ', "躯体工事", "", "1"), Typed(1, ' ', "設備工事", "120.5", "", "2345"),
            Typed(1, kTax, "消費税"), Typed(1, '%', "合計")});
  ASSERT_TRUE(LevelWrite(st, 1));
  st.ParentRows[1] = st.SheetRows[1];
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  SetSheet({Typed(2, ' ', "型枠", "12.5*4", "", "1200"), Typed(2, ' ', "鉄筋", "", "3", "850"),
            Typed(2, '#', "小計"), Typed(2, ' ', "生コン", "2*(3+1)", "", "1500"), Typed(2, '%', "合計")});
  ASSERT_TRUE(LevelWrite(st, 2));

  // Recalculated: the breakdown first, then level 1.
  st.calc = &engine;
  st.RecalcAllRunning = true;
  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  st.ParentRows[1] = st.SheetRows[1];
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  ASSERT_TRUE(LevelWrite(st, 2));
  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  ASSERT_TRUE(LevelWrite(st, 1));
  st.RecalcAllRunning = false;

  // Level 1: row 1's unit price is its breakdown's total, 74550, carried;
  // its amount 1 x 74550. Row 2: 120.5 x 2345 = 282572.5, cut to the
  // whole-number amount column. The tax row: (74550 + 282572) x 10 % =
  // 35712.2, rounded down: 35712. The grand total and the closing record:
  // 357122 + 35712 = 392834.
  EXPECT_EQ(Stored(1), (std::vector<Cells>{{"", "1.00", "74550", "74550"},
                                           {"120.5", "120.50", "2345", "282572"},
                                           {"", "", "", "35712"},
                                           {"", "", "", "392834"},
                                           {"", "", "", "392834"}}));

  // The breakdown of row 1: 12.5 x 4 = 50 at 1200 gives 60000; 3 typed at
  // 850 gives 2550 (its definition, computed by the full recalculation);
  // the subtotal 62550; 2 x (3 + 1) = 8 at 1500 gives 12000; the grand
  // total, which runs on past the subtotal, 62550 + 12000 = 74550; the
  // closing record 74550.
  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  st.ParentRows[1] = st.SheetRows[1];
  EXPECT_EQ(Stored(2), (std::vector<Cells>{{"12.5*4", "50.00", "1200", "60000"},
                                           {"", "3.00", "850", "2550"},
                                           {"", "", "", "62550"},
                                           {"2*(3+1)", "8.00", "1500", "12000"},
                                           {"", "", "", "74550"},
                                           {"", "", "", "74550"}}));
}

}  // namespace
}  // namespace kv::test
