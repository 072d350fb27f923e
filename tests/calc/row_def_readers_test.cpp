// The columns the row definitions of a level read.
#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "calc/row_def_readers.h"

namespace kv::test {
namespace {

class RowDefinitionReadersTest : public CalcFixture {};

TEST_F(RowDefinitionReadersTest, OnlyTheOtherNumericColumnsDefinitionsCount) {
  // B reads A, C reads itself and B, D (a text column) reads E: E is read by none.
  Layout(1, {{"a", "0", 8}, {"b", "0", 8, "[[A*2"}, {"c", "0", 8, "[[C+[[B"}, {"d", "C", 8, "[[E"}, {"e", "0", 8}});
  const RowDefinitionReaders readers(st, 1);
  const struct {
    int col;
    bool read;
    std::vector<int> readers;  // itself included
  } cases[] = {{1, true, {2}},     {2, true, {3}},     {3, false, {3}}, {4, false, {}},
               {5, false, {}},     {0, true, {2, 3}}, {60, true, {2, 3}}};
  for (const auto& c : cases) {
    EXPECT_EQ(readers.IsRead(c.col), c.read) << c.col;
    EXPECT_EQ(readers.Readers(c.col), c.readers) << c.col;
  }
}

TEST_F(RowDefinitionReadersTest, EveryReferenceCountsOverlappingOnesToo) {
  // "[[[B" holds "[[B"; "[[" before a character that is no letter reads no column.
  Layout(1, {{"a", "0", 8, "[[[B+[[1"}, {"b", "0", 8}, {"c", "0", 8, "[[B+[[a"}});
  const RowDefinitionReaders readers(st, 1);
  EXPECT_EQ(readers.Readers(2), (std::vector<int>{1, 3}));
  EXPECT_EQ(readers.Readers(27), (std::vector<int>{3}));  // "a" is column 27
  EXPECT_TRUE(readers.Readers(1).empty());
  EXPECT_EQ(readers.Readers(0), (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace kv::test
