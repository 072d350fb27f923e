// Every level is calculated with its own columns, parent row and closing
// record, also when it is not the level on screen: the level writer
// calculates the levels above the current one while it records the path.
#include <gtest/gtest.h>

#include "state/settings_fixture.h"
#include "calc/calc_engine.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace kv::test {
namespace {

class LevelContextTest : public LevelFixture {
 protected:
  CalcEngine engine;

  void SetUp() override {
    Configure(256, "10", 3);
    SetDefaultItemLayout(st);
    // Three levels that differ: level 1 keeps a rate in B (bytes 30-37);
    // level 2 computes D from its own B and the parent's B, and E from its
    // closing record; level 3 has other columns where those lie.
    SetLevelColumns(st, 1, {{"名称", "C", 10}, {"掛率", "0", 8}});
    SetLevelColumns(st, 2,
                    {{"計算式", "S", 12}, {"数量", "A", 8}, {"名称", "C", 6},
                     {"金額", "0", 10, "[[B*[$B", "SUM"}, {"倍額", "0", 10, "", "[#D*2"}});
    SetLevelColumns(st, 3, {{"品名", "C", 40}, {"数量", "0", 8}, {"金額", "0", 10, "[[B*[$B", "SUM"}});
    st.calc = &engine;
    ASSERT_TRUE(SumColumnFind(st));
  }
};

TEST_F(LevelContextTest, UpperLevelWrittenOnThePathUsesItsOwnColumns) {
  WriteLevel(1, {{' ', 0, 2, 1, "P" + std::string(9, ' ') + "       3"}, {'G'}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "2+3", '@'}, {'G'}});
  st.CurrentLevel = 3;  // the level on screen; level 2 is recorded on the way up
  SetParent(2, 1);
  ASSERT_TRUE(LevelRowsRead(st, 2));

  ASSERT_TRUE(LevelWrite(st, 2));

  // 2 + 3 = 5 into B; D = 5 x the parent's 3 = 15; the closing record's D is
  // the sum 15 and its E = [#D x 2 = 30.
  const std::vector<std::string> recs = ReadLevel(2);
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0].substr(31, 8), "       5");
  EXPECT_EQ(recs[0].substr(45, 10), "        15");
  EXPECT_EQ(recs[1].substr(45, 10), "        15");
  EXPECT_EQ(recs[1].substr(55, 10), "        30");
  EXPECT_EQ(st.CurrentLevel, 3);
}

}  // namespace
}  // namespace kv::test
