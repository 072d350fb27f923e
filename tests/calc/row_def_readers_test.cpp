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
  } cases[] = {{1, true}, {2, true}, {3, false}, {4, false}, {5, false}, {0, true}, {60, true}};
  for (const auto& c : cases) EXPECT_EQ(readers.IsRead(c.col), c.read) << c.col;
}

}  // namespace
}  // namespace kv::test
