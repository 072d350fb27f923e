#include "sheet/last_used_row.h"

#include <gtest/gtest.h>

#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv::test {
namespace {

class LastUsedRowTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  void SetUp() override {
    st.DataLen = 256;
    st.Imax = 200;
    for (auto& row : st.SheetRows) row = std::string(256, ' ');
  }
  void Put(int row, int pos, const std::string& bytes) { st.SheetRows[row].replace(pos - 1, bytes.size(), bytes); }
};

TEST_F(LastUsedRowTest, WhatMakesARowUsed) {
  EXPECT_EQ(LastUsedRow(st), 0);
  Put(3, 20, "text");
  EXPECT_EQ(LastUsedRow(st), 3);
  Put(5, 3, "#");
  EXPECT_EQ(LastUsedRow(st), 5);
  Put(7, 12, "  12");  // only a breakdown link
  EXPECT_EQ(LastUsedRow(st), 7);
  Put(9, 12, " -99");  // no breakdown
  Put(9, 4, "   9");   // numbers and marks alone do not count
  Put(9, 1, "@U");
  Put(10, 256, "x");   // the last byte of the record is not looked at
  EXPECT_EQ(LastUsedRow(st), 7);
  Put(201, 20, "beyond Imax");
  EXPECT_EQ(LastUsedRow(st), 7);
}

TEST_F(LastUsedRowTest, ObjectsOfTheGridCountUnlessALevelIsBeingWritten) {
  Put(25, 20, "last");
  st.EditGridObjectsLastRow = [] { return 40; };
  EXPECT_EQ(LastUsedRow(st), 40);
  st.LevelWriting = true;
  EXPECT_EQ(LastUsedRow(st), 25);
}

}  // namespace
}  // namespace kv::test
