#include "core/column_letter.h"

#include <gtest/gtest.h>

#include "state/column_numbers.h"
#include "state/column_tables.h"

namespace kv {
namespace {

TEST(ColumnLetter, LettersAndNumbers) {
  const struct {
    const char* letter;
    int column;
  } pairs[] = {{"A", 1}, {"B", 2}, {"Z", 26}, {"a", 27}, {"b", 28}, {"z", 52}};
  for (const auto& p : pairs) {
    EXPECT_EQ(ColLetterToNum(p.letter), p.column) << p.letter;
    EXPECT_EQ(ColNumToLetter(p.column), p.letter) << p.column;
  }
  for (int c = 1; c <= 52; ++c) EXPECT_EQ(ColLetterToNum(ColNumToLetter(c)), c);
  EXPECT_EQ(ColLetterToNum("Bx"), 2);  // the first character counts
}

TEST(ColumnLetter, AnythingElseIsNoColumn) {
  // The characters between "Z" and "a" must not land on columns U..Z.
  for (const char* bad : {"", "[", "`", "_", "@", "{", "1", " ", "\xE6\xBC\xA2"})
    EXPECT_EQ(ColLetterToNum(bad), 0) << '"' << bad << '"';
  for (int bad : {0, -1, 53, 100}) EXPECT_EQ(ColNumToLetter(bad), "") << bad;
}

TEST(ColumnLetter, NumericColumns) {
  for (const char* type : {"0", "1", "2", "3", "4", "A", "1X", "A9"})
    EXPECT_TRUE(IsNumericColumnType(type)) << type;
  for (const char* type : {"", "5", "C", "W", "a", " 1"}) EXPECT_FALSE(IsNumericColumnType(type)) << type;

  ColumnTables tables;
  tables.ColType[2][5] = "2";
  tables.ColType[2][6] = "C";
  tables.ColType[8][52] = "A";
  EXPECT_TRUE(IsNumericColumn(tables, 2, 5));
  EXPECT_FALSE(IsNumericColumn(tables, 2, 6));
  EXPECT_TRUE(IsNumericColumn(tables, 8, 52));
  EXPECT_FALSE(IsNumericColumn(tables, 2, 7));  // undefined column
  EXPECT_FALSE(IsNumericColumn(tables, 9, 1));
  EXPECT_FALSE(IsNumericColumn(tables, -1, 1));
  EXPECT_FALSE(IsNumericColumn(tables, 2, 53));
}

}  // namespace
}  // namespace kv
