// The column value links: the first link of a source column only, no
// chaining, numeric and two-line destinations, a narrower destination cut
// without half a character, a destination the level does not have, and the
// customer variant's column 10 rule over fields wider than 20 bytes.
#include "sheet/column_links.h"

#include <gtest/gtest.h>

#include "edit_fixture.h"
#include "sheet/cell_commit.h"

namespace kv::test {
namespace {

class ColumnLinksTest : public EditFixture {
 protected:
  void Links(std::initializer_list<std::pair<int, int>> links) {
    st.ABLinkCount = 0;
    for (const auto& [src, dst] : links) {
      ++st.ABLinkCount;
      st.ABLinkSrc[size_t(st.ABLinkCount)] = src;
      st.ABLinkDst[size_t(st.ABLinkCount)] = dst;
    }
  }
  std::string FieldBytesOf(int row, int col) const {
    return std::string(FieldBytes(st, st.SheetRows[size_t(row)], col, 1));
  }
};

TEST_F(ColumnLinksTest, OnlyTheFirstLinkOfASourceAndNoChain) {
  Links({{kName, kNote}, {kName, kDetail}, {kNote, kFormula}});
  Sheet({Row(' ', {{kName, "ab"}, {kDetail, "仕様"}, {kFormula, "1+1"}})});
  ABLinkUpdate(st, grid, kName, 1);
  EXPECT_EQ(Cell(1, kNote), "ab");
  EXPECT_EQ(Shown(kNote, 1), "ab  ");
  EXPECT_EQ(Cell(1, kDetail), "仕様");      // the second link of the source
  EXPECT_EQ(Cell(1, kFormula), "1+1");    // the destination's own link
}

TEST_F(ColumnLinksTest, NoLinksWithoutTheSetting) {
  st.ABLinkCount = -1;
  st.ABLinkSrc[1] = kName;
  st.ABLinkDst[1] = kNote;
  Sheet({Row(' ', {{kName, "ab"}})});
  const std::string before = st.SheetRows[1];
  ABLinkUpdate(st, grid, kName, 1);
  EXPECT_EQ(st.SheetRows[1], before);
}

TEST_F(ColumnLinksTest, NumericDestinationIsFittedAndShownWithSeparators) {
  Links({{kPrice, kAmount}});
  Sheet({Row(' ', {{kPrice, "1234"}})});
  ABLinkUpdate(st, grid, kPrice, 1);
  EXPECT_EQ(FieldBytesOf(1, kAmount), "        1234");
  EXPECT_EQ(Shown(kAmount, 1), "1,234");
}

// Between numeric columns of different widths the value is copied, fitted
// to the destination: never the first bytes of the source's field, never a
// mix with what the destination held.
TEST_F(ColumnLinksTest, NumericLinksCopyTheValueFittedToTheDestination) {
  struct Case {
    int src, dst;
    const char* value;
    const char* held;  // the destination's value before
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {
      {kAmount, kPrice, "123456", "", "    123456", "123,456"},         // 12 bytes into 10
      {kPrice, kAmount, "5", "999", "           5", "5"},                // 10 bytes into 12
      {kAmount, kPrice, "12345678901", "7", "++++++++++", "++++++++++"},  // too long for 10 bytes
      {kQty, kPrice, "1.5", "", "         1", "1"},                     // the destination's decimals
      {kPrice, kQty, "++++++++++", "3", "++++++++", "++++++++"},          // a mark stays a mark
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " from column " + std::to_string(c.src));
    Links({{c.src, c.dst}});
    Sheet({Row(' ', {})});
    for (const auto& [col, text] : {std::pair{c.dst, c.held}, std::pair{c.src, c.value}}) {
      std::string fitted = text;
      if (fitted.find('+') == std::string::npos) NumFitColumn(st, 1, fitted, col);
      FieldStore(st, st.SheetRows[1], col, 1, fitted);
    }
    ABLinkUpdate(st, grid, c.src, 1);
    EXPECT_EQ(FieldBytesOf(1, c.dst), c.stored);
    EXPECT_EQ(Shown(c.dst, 1), c.shown);
  }
}

TEST_F(ColumnLinksTest, TwoLineDestinationIsShownWithoutTrailingBlanks) {
  Links({{kName, kDetail}});
  Sheet({Row(' ', {{kName, "名前"}})});
  ABLinkUpdate(st, grid, kName, 1);
  EXPECT_EQ(Cell(1, kDetail), "名前");
  EXPECT_EQ(Shown(kDetail, 1), "名前");
}

TEST_F(ColumnLinksTest, NarrowerDestinationNeverHoldsHalfACharacter) {
  Links({{kName, kNote}});
  Sheet({Row(' ', {})});
  Cursor(kName, 1);
  // "aあいう": い lies across the 4-byte destination's end.
  ASSERT_TRUE(CellCommit(st, grid, ToSjis("aあいう")));
  EXPECT_EQ(FieldBytesOf(1, kNote), ToSjis("aあ "));
  EXPECT_EQ(Shown(kNote, 1), "aあ ");
  // A wider destination keeps its bytes after the source's width, but not
  // the second half of い.
  Links({{kNote, kName}});
  Cursor(kNote, 1);
  ASSERT_TRUE(CellCommit(st, grid, "xy"));
  EXPECT_EQ(FieldBytesOf(1, kName), ToSjis("xy   う   "));
}

TEST_F(ColumnLinksTest, DestinationOutsideTheLevelIsLeftAlone) {
  Links({{kName, 11}});
  Sheet({Row(' ', {{kName, "ab"}})});
  const std::string before = st.SheetRows[1];
  ABLinkUpdate(st, grid, kName, 1);
  Cursor(kName, 1);
  CellWriteBack(st, grid);
  EXPECT_EQ(st.SheetRows[1], before);
}

TEST_F(ColumnLinksTest, WriteBackRepaintsTextDestinationsOnly) {
  Links({{kName, kNote}, {kFormula, kPrice}});
  Sheet({Row(' ', {{kName, "cd"}, {kFormula, "77"}})});
  Cursor(kName, 1);
  CellWriteBack(st, grid);
  EXPECT_EQ(Shown(kNote, 1), "cd  ");
  Cursor(kFormula, 1);
  CellWriteBack(st, grid);
  EXPECT_EQ(Cell(1, kPrice), "77");
  EXPECT_EQ(Shown(kPrice, 1), "");
}

// The customer variant: column 8 holds the amount, column 10 the switch,
// columns 11 and 12 (24 bytes, wider than 20) receive it.
class CustomerVariantTest : public ColumnLinksTest {
 protected:
  void SetUp() override {
    st.CustomerVariant = true;
    st.ColType[1][8] = "0";
    for (int c : {11, 12}) {
      st.ColType[1][c] = "0";
      st.ColWidth[1][c] = 24;
      st.ColStart[1][c] = c == 11 ? 122 : 146;
    }
    st.ColCount[1] = 12;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    SheetGridInit(st, grid, 1);
  }
};

TEST_F(CustomerVariantTest, ColumnTenSendsTheAmountAndBlanksTheOtherWhole) {
  Sheet({Row(' ', {{8, "500"}, {11, "123456"}, {12, "987654"}})});
  Cursor(kNote, 1);
  ASSERT_TRUE(CellCommit(st, grid, "1"));
  EXPECT_EQ(Cell(1, 11), "500");
  EXPECT_EQ(Shown(11, 1), "500");
  EXPECT_EQ(Cell(1, 12), "");
  ASSERT_TRUE(CellCommit(st, grid, "2"));
  EXPECT_EQ(Cell(1, 11), "");
  EXPECT_EQ(Cell(1, 12), "500");
  EXPECT_EQ(Shown(12, 1), "500");
}

TEST_F(CustomerVariantTest, RuleNeedsItsColumnsOnTheLevel) {
  st.ColCount[1] = 11;
  Sheet({Row(' ', {{8, "500"}, {kNote, "2"}, {12, "777"}})});
  const std::string tail = st.SheetRows[1].substr(145);
  ABLinkUpdate(st, grid, kNote, 1);
  EXPECT_EQ(Cell(1, 11), "");
  EXPECT_EQ(st.SheetRows[1].substr(145), tail);  // column 12 is not on the level
}

}  // namespace
}  // namespace kv::test
