// A breakdown's totals reach its parent row the same way whether the
// breakdown is recorded (the level writer) or every level is recalculated:
// the parent row is calculated in its own level's context, and a value too
// long for the parent's column is stored as the overflow mark.
//
// Every level: A 名称, B 数量, C 単価, D 金額 = [[B*[[C (SUM, carried into the
// parent's C), E 比率 = [[D*100/[#D (the row's share of its sheet's total),
// F 単位.
//   level 1: P (breakdown)                      合計
//   level 2 (of P): A1 1 x 50 (breakdown)  A2 1 x 300   合計 D 350
//   level 3 (of A1): x 1 x 50                   合計 D 50
#include <gtest/gtest.h>

#include <functional>

#include "calc/calc_engine.h"
#include "calc/recalc_all_levels.h"
#include "state/column_defs.h"
#include "state/settings_fixture.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace kv::test {
namespace {

// Column positions of the layout below.
constexpr int kC = 38, kD = 50, kE = 64, kUnit = 74;

class TotalCarryTest : public LevelFixture {
 protected:
  CalcEngine engine;

  void SetUp() override {
    Configure(256, "10", 3);
    SetDefaultItemLayout(st);
    for (int level = 1; level <= 3; ++level)
      SetLevelColumns(st, level,
                      {{"名称", "C", 10},
                       {"数量", "0", 8},
                       {"単価", "0", 12},
                       {"金額", "0", 14, "[[B*[[C", "SUM", "->[$C"},
                       {"比率", "4", 10, "[[D*100/[#D"},
                       {"単位", "C", 4}});
    st.calc = &engine;
    ASSERT_TRUE(SumColumnFind(st));
    // As from the key: the stored row definitions stand, totals are summed.
    st.ReCalcFlag = true;
    st.RecalcAllRunning = false;
  }

  // A row's columns from byte 20: name, quantity, price, amount.
  static std::string Row(const std::string& name, const std::string& q, const std::string& c,
                         const std::string& d) {
    auto right = [](const std::string& s, size_t w) { return std::string(w - s.size(), ' ') + s; };
    return Pad(name) + right(q, 8) + right(c, 12) + right(d, 14);
  }

  // The estimate of the head comment, the breakdown of A1 totalling `total`.
  void Build(const std::string& total) {
    WriteLevel(1, {{' ', 0, 2, 1, Row("P", "1", "350", "350")}, {'G', 0, kNoRecord, kNoRecord, Row("", "", "", "350")}});
    WriteLevel(2, {{' ', 0, 2, 1, Row("A1", "1", "50", "50"), '@'},
                   {' ', 0, 3, kNoRecord, Row("A2", "1", "300", "300")},
                   {'G', 0, kNoRecord, kNoRecord, Row("", "", "", "350")}});
    WriteLevel(3, {{' ', 0, 2, kNoRecord, Row("x", "1", "", total), '@'},
                   {'G', 0, kNoRecord, kNoRecord, Row("", "", "", total)}});
  }


 public:
  // The user on A1's breakdown records it.
  void RecordBreakdown() {
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    SetParent(2, 1);
    st.CurrentLevel = 2;
    ASSERT_TRUE(LevelRowsRead(st, 2));
    SetParent(3, 1);
    st.CurrentLevel = 3;
    ASSERT_TRUE(LevelRowsRead(st, 3));
    ASSERT_TRUE(LevelWrite(st, 3));
  }

  void RecalcAll() {
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  }

  std::string A1(int pos, int width) const { return ReadLevel(2).at(0).substr(size_t(pos - 1), size_t(width)); }
};

struct CarryPath {
  const char* name;
  void (TotalCarryTest::*run)();
};
const CarryPath kPaths[] = {{"recording the breakdown", &TotalCarryTest::RecordBreakdown},
                            {"recalculating all levels", &TotalCarryTest::RecalcAll}};

TEST_F(TotalCarryTest, TheParentRowIsCalculatedWithItsOwnSheetsTotal) {
  for (const CarryPath& path : kPaths) {
    SCOPED_TRACE(path.name);
    Build("50");
    (this->*path.run)();
    EXPECT_EQ(A1(kC, 12), "          50");
    EXPECT_EQ(A1(kD, 14), "            50");
    // 50 of the level-2 sheet's 350, not of the breakdown's own 50.
    EXPECT_EQ(A1(kE, 10), "   14.2857");
  }
}

TEST_F(TotalCarryTest, ATotalTooLongForTheParentsColumnIsCarriedAsTheOverflowMark) {
  for (const CarryPath& path : kPaths) {
    SCOPED_TRACE(path.name);
    Build("9999999990000");  // 13 digits into a 12-byte price
    (this->*path.run)();
    EXPECT_EQ(A1(kC, 12), std::string(12, '+'));
  }
}

// The equipment edition rounds a carried value up to the unit of its row.
TEST_F(TotalCarryTest, TheEquipmentEditionRoundsTheCarriedValueToItsUnit) {
  st.SystemKind = 1;
  st.ZokuCount = 1;
  st.ZokuUnitCols[1] = 6;
  st.ZokuValueCols[1] = 3;
  for (const CarryPath& path : kPaths) {
    SCOPED_TRACE(path.name);
    Build("50");
    std::vector<std::string> level2 = ReadLevel(2);
    level2[0].replace(kUnit - 1, 4, "H   ");  // hundreds
    RecordFile f(LevelPath(2), st.DataLen);
    f.PutRecordText(1, level2[0]);
    f.Close();
    (this->*path.run)();
    EXPECT_EQ(A1(kC, 12), "         100");
  }
}

}  // namespace
}  // namespace kv::test
