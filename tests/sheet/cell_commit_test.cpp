// Committing typed texts into the cursor cell: what each row kind and column
// type stores, shows and computes, what it refuses and says, the undo copy,
// the used-row count and the status bar; the code lookup, the comma strip
// and the classification window.
#include "sheet/cell_commit.h"

#include <gtest/gtest.h>

#include <cctype>

#include "edit_fixture.h"

namespace kv::test {
namespace {

constexpr int kRow = 2;  // the cursor row of the table; row 1 is an item row

struct CommitCase {
  const char* what;
  char kind;          // row kind of the cursor row
  int col;            // the cursor column
  const char* typed;  // display text as entered
  bool stored;        // CellCommit's answer
  const char* cell;   // the cell as stored, trimmed
  const char* shown;  // the grid cell's text
  const char* message = "";  // message box text, "" for none
  bool undo = true;          // the undo copy was taken
  int otherCol = 0;          // a second cell to check (0: none)
  const char* other = "";    // its stored text, trimmed
  bool govTax = false;
};

void PrintTo(const CommitCase& c, std::ostream* os) { *os << c.what; }

class CellCommitTable : public EditFixture, public ::testing::WithParamInterface<CommitCase> {
 protected:
  // The cursor row before each case: name 旧, quantity 3, unit price 10,
  // amount 30, code B02 with its name, note "メモ".
  std::string CursorRow(char kind) const {
    return Row(kind, {{kName, "旧"}, {kQty, "3"}, {kPrice, "10"}, {kAmount, "30"}, {kCode, "B02"},
                      {kCodeName, "木材"}, {kNote, "メモ"}});
  }
};

const CommitCase kCases[] = {
    // Plain numbers: the digit check at width 8 with 2 decimals.
    {"largest quantity", ' ', kQty, "99999.99", true, "99999.99", "99,999.99"},
    {"six integer digits", ' ', kQty, "123456", false, "3.00", "3.00", kTooManyDigitsMessage},
    {"one cent too many", ' ', kQty, "99999.991", false, "3.00", "3.00", kTooManyDigitsMessage},
    {"separators stripped", ' ', kQty, "1,234.5", true, "1234.50", "1,234.50", "", true, kAmount, "12345"},
    {"empty quantity", ' ', kQty, "", true, "", "   ", "", true, kAmount, ""},
    // Anything else is a quantity formula, evaluated with an empty row.
    {"minus sign", ' ', kQty, "-5", true, "-5.00", "-5.00", "", true, kAmount, "-50"},
    {"product", ' ', kQty, "2*3", true, "6.00", "6.00", "", true, kAmount, "60"},
    {"same-row reference reads blank", ' ', kQty, "[[E+1", true, "1.00", "1.00", "", true, kAmount, "10"},
    {"formula error keeps the cell", ' ', kQty, "2*(3", false, "3.00", "3.00", "Err()の数が違います", true,
     kAmount, "30"},
    {"formula value too large", ' ', kQty, "99999*99999", false, "3.00", "3.00", kTooManyDigitsMessage},
    {"formula value too small", ' ', kQty, "-99999*99999", false, "3.00", "3.00", kTooManyDigitsMessage},
    {"assignment is no error", ' ', kQty, "Z=5", true, "", "   ", "", true, kAmount, ""},
    // Text columns.
    {"name cut to the width", ' ', kName, "あいうえおかきくけこ", true, "あいうえお", "あいうえお"},
    {"half character at the cut", ' ', kName, "abcあいうえ", true, "abcあいう", "abcあいう "},
    {"two lines joined", ' ', kName, "名前\r\n二行", true, "名前二行", "名前二行"},
    {"two-line column", ' ', kDetail, "上段\r\n下段", true, "上段\r\n下段", "上段\r\n下段"},
    {"formula text and its value", ' ', kFormula, "12.5*4", true, "12.5*4", "12.5*4          ", "", true, kQty, "50.00"},
    {"formula text with an error", ' ', kFormula, "2*(3", true, "2*(3", "2*(3            ", "Err()の数が違います", true,
     kQty, ""},
    // Code columns.
    {"code found", ' ', kCode, "A01", true, "A01", "A01", "", true, kCodeName, "鉄骨"},
    {"code not found", ' ', kCode, "ZZZ", true, "", "", "", true, kCodeName, ""},
    {"master out of range", ' ', kCode9, "A01", true, "", "", "", true, kNote, ""},
    // Computed total rows refuse numeric and formula cells silently.
    {"total row quantity", '#', kQty, "5", false, "3.00", "3.00", "", false},
    {"total row formula", '$', kFormula, "1+1", false, "", "", "", false},
    {"total row name", '#', kName, "小計", true, "小計", "小計"},
    {"tax row quantity", kTaxKind, kQty, "5", false, "3.00", "3.00", "", false},
    {"tax row in the government mode", kTaxKind, kQty, "5", true, "5.00", "5.00", "", true, 0, "", true},
    // Special memo rows store what is typed.
    {"special memo number", 'Q', kQty, "12345", true, "12345", "   12345"},
    {"special memo text", 'Q', kQty, "abc", true, "abc", "abc"},
    {"special memo name", 'Q', kName, "備考\r\n二行", true, "備考二行", "備考二行"},
};

TEST_P(CellCommitTable, StoresShowsAndReports) {
  const CommitCase& c = GetParam();
  st.GovTaxMode = c.govTax;
  Sheet({Row(' ', {{kName, "上"}, {kQty, "1"}, {kPrice, "5"}, {kAmount, "5"}}), CursorRow(c.kind)});
  Cursor(c.col, kRow);
  if (*c.message != '\0') ui.AnswerMsgBox(1, c.message);
  const std::string before = st.SheetRows[kRow];
  bar.panels[2].clear();

  const bool stored = CellCommit(st, grid, ToSjis(c.typed));

  EXPECT_EQ(stored, c.stored);
  EXPECT_EQ(Cell(kRow, c.col), c.cell);
  EXPECT_EQ(Shown(c.col, kRow), c.shown);
  if (c.otherCol != 0) {
    EXPECT_EQ(Cell(kRow, c.otherCol), c.other);
  }
  EXPECT_EQ(ui.MessageTexts().size(), *c.message != '\0' ? 1u : 0u);
  EXPECT_EQ(st.UndoRowCount, c.undo ? 2 : 0);
  if (c.undo) {
    EXPECT_EQ(st.UndoRows[kRow], before);
  }
  EXPECT_EQ(st.UsedRows, 2);
  // The special memo branch ends after its own store, as the memo branch.
  EXPECT_EQ(bar.panels[2], stored && c.kind != 'Q' ? " 2 行" : "");
  EXPECT_EQ(st.SheetModified, stored);
  EXPECT_FALSE(st.CellCommitting);
  if (!stored) {
    EXPECT_EQ(st.SheetRows[kRow], before);
  }
  EXPECT_EQ(ui.CallsStartingWith("Beep(").size(),
            std::string(c.message) == kTooManyDigitsMessage ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, CellCommitTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CommitCase>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p != '\0'; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

class CellCommitTest : public EditFixture {};

TEST_F(CellCommitTest, SpecialMemoNumberIsStoredLeftAligned) {
  Sheet({Row('Q', {})});
  Cursor(kQty, 1);
  ASSERT_TRUE(CellCommit(st, grid, "12345"));
  EXPECT_EQ(Field(1, kQty), "12345   ");
}

TEST_F(CellCommitTest, MemoRowIsOneTextCutAtItsLengthWithoutUndo) {
  Sheet({Row(' ', {{kName, "上"}}), MemoRow(kMemoKind, "古いメモ")});
  Cursor(kQty, 2);
  // 39 single bytes and a double-byte character across the 40-byte limit.
  const std::string text = std::string(39, 'x') + "漢字";
  ASSERT_TRUE(CellCommit(st, grid, ToSjis(text)));
  const std::string stored = st.SheetRows[2].substr(19, 41);
  EXPECT_EQ(stored, std::string(40, 'x').replace(39, 1, " ") + " ");
  EXPECT_EQ(Shown(1, 2), std::string(39, 'x'));
  EXPECT_EQ(st.UndoRowCount, 0);
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(CellCommitTest, AmountAndTotalsFollowAQuantity) {
  Sheet({Row(' ', {{kQty, "1"}, {kPrice, "5"}, {kAmount, "5"}}), Row(' ', {{kQty, "3"}, {kPrice, "10"}})});
  Cursor(kQty, 2);
  ASSERT_TRUE(CellCommit(st, grid, "4"));
  EXPECT_EQ(Cell(2, kAmount), "40");
  EXPECT_EQ(Shown(kAmount, 2), "40");
  EXPECT_EQ(Cell(0, kAmount), "45");
  EXPECT_EQ(Shown(kAmount, st.Imax + 1), "45");
}

TEST_F(CellCommitTest, AnAmountBeyondTheCalculableRangeIsMarkedAndSaidOnce) {
  // 99,999.99 x 9,999,999,999 lies beyond what the arithmetic holds: the
  // amount shows the overflow mark (read as 0 by the total), never a blank.
  // (A negative amount takes "-": the row calculation's test.)
  const struct {
    const char* qty;
    const char* mark;
  } cases[] = {{"99999.99", "++++++++++++"}, {"99999", "++++++++++++"}};
  for (const auto& c : cases) {
    Sheet({Row(' ', {{kQty, "1"}, {kPrice, "5"}, {kAmount, "5"}}), Row(' ', {{kQty, c.qty}, {kPrice, "10"}})});
    Cursor(kPrice, 2);
    ui.AnswerMsgBox(1, kBeyondRangeMessage);
    const size_t said = ui.MessageTexts().size();
    ASSERT_TRUE(CellCommit(st, grid, "9999999999"));
    EXPECT_EQ(Cell(2, kAmount), c.mark);
    EXPECT_EQ(Shown(kAmount, 2), c.mark);
    EXPECT_EQ(Cell(0, kAmount), "5");
    EXPECT_EQ(ui.MessageTexts().size(), said + 1) << c.qty;

    // The next commit that computes within the range says nothing.
    Cursor(kPrice, 2);
    ASSERT_TRUE(CellCommit(st, grid, "2"));
    EXPECT_NE(Cell(2, kAmount), c.mark);
    EXPECT_EQ(ui.MessageTexts().size(), said + 1);
  }
}

TEST_F(CellCommitTest, NumericEntryCarriesItsLinkIntoTheRow) {
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = kQty;
  st.ABLinkDst[1] = kPrice;
  Sheet({Row(' ', {{kQty, "3"}, {kPrice, "10"}, {kAmount, "30"}})});
  Cursor(kQty, 1);
  ASSERT_TRUE(CellCommit(st, grid, "4"));
  EXPECT_EQ(Cell(1, kPrice), "4");
  EXPECT_EQ(Shown(kPrice, 1), "4");
  EXPECT_EQ(Cell(1, kAmount), "16");
  EXPECT_EQ(Cell(0, kAmount), "16");
}

TEST_F(CellCommitTest, EquipmentEditionComputesTheDependentColumns) {
  st.SystemKind = 1;
  Sheet({Row(' ', {{kQty, "3"}, {kPrice, "10"}, {kAmount, "30"}})});
  Cursor(kQty, 1);
  ASSERT_TRUE(CellCommit(st, grid, "5"));
  EXPECT_EQ(Cell(1, kAmount), "50");
  EXPECT_EQ(Shown(kAmount, 1), "50");
  EXPECT_EQ(Shown(kQty, 1), "5.00");
}

TEST_F(CellCommitTest, EntryBelowTheLastRowGrowsTheSheet) {
  Sheet({Row(' ', {{kName, "上"}}), Row(' ', {{kName, "中"}})});
  Cursor(kName, 5);
  ASSERT_TRUE(CellCommit(st, grid, ToSjis("下")));
  EXPECT_EQ(st.UsedRows, 5);
  for (int r = 3; r <= 5; ++r) EXPECT_EQ(grid.CellColour(0, r), 0) << r;
  EXPECT_EQ(grid.CellColour(0, 6), 7);
  EXPECT_EQ(bar.panels[2], " 5 行");

  // Blanking the last row shrinks it again: the header turns grey.
  ASSERT_TRUE(CellCommit(st, grid, "          "));
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(grid.CellColour(0, 5), 7);
  EXPECT_EQ(bar.panels[2], " 2 行");
}

TEST_F(CellCommitTest, CursorMovesOnAfterAnEntry) {
  st.AutoDownFlag = 1;
  Sheet({Row(' ', {})});
  Cursor(kName, 1);
  ASSERT_TRUE(CellCommit(st, grid, "a"));
  EXPECT_EQ(grid.CurrentRow(), 2);
  // A refused entry leaves the cursor where it is.
  st.SheetRows[2][2] = '#';
  Cursor(kQty, 2);
  EXPECT_FALSE(CellCommit(st, grid, "1"));
  EXPECT_EQ(grid.CurrentRow(), 2);
}

TEST_F(CellCommitTest, WithoutCalculationTheTextIsStoredAndFormulasAreNot) {
  st.calc = nullptr;
  Sheet({Row(' ', {{kQty, "3"}})});
  Cursor(kQty, 1);
  EXPECT_TRUE(CellCommit(st, grid, "7"));
  EXPECT_EQ(Cell(1, kQty), "7.00");
  EXPECT_FALSE(CellCommit(st, grid, "2*3"));
  EXPECT_EQ(Cell(1, kQty), "7.00");
}

TEST_F(CellCommitTest, ValueColumnBesideTheLastColumnIsNotWritten) {
  // The formula column is the level's last column: nothing lies to its right.
  st.ColCount[1] = kFormula;
  Sheet({Row(' ', {{kQty, "3"}})});
  Cursor(kFormula, 1);
  ASSERT_TRUE(CellCommit(st, grid, "2*4"));
  EXPECT_EQ(Cell(1, kFormula), "2*4");
  EXPECT_EQ(Cell(1, kQty), "3.00");
}

TEST(SiwakeItemFind, HalvesTheSortedTable) {
  ScriptedUi ui;
  ProgramState st{ui};
  for (int i = 1; i <= 9; ++i) st.CodeTables[2].push_back({"C" + std::to_string(i), " 名" + std::to_string(i) + " "});
  st.CodeTableCounts[2] = 9;
  std::string name = "unchanged";
  for (int i = 1; i <= 9; ++i) {
    EXPECT_TRUE(SiwakeItemFind(st, 2, " C" + std::to_string(i) + " ", name));
    EXPECT_EQ(name, "名" + std::to_string(i));
  }
  name = "unchanged";
  EXPECT_FALSE(SiwakeItemFind(st, 2, "C0", name));
  EXPECT_FALSE(SiwakeItemFind(st, 2, "D", name));
  EXPECT_FALSE(SiwakeItemFind(st, 1, "C1", name));
  EXPECT_FALSE(SiwakeItemFind(st, 4, "C1", name));
  EXPECT_FALSE(SiwakeItemFind(st, -1, "C1", name));
  EXPECT_EQ(name, "unchanged");
}

TEST(CommaStrip, RemovesEverySeparator) {
  EXPECT_EQ(CommaStrip("1,234,567.5"), "1234567.5");
  EXPECT_EQ(CommaStrip(",,"), "");
  EXPECT_EQ(CommaStrip("12"), "12");
}

TEST_F(CellCommitTest, ClassificationWindowOpensForMastersOneAndTwo) {
  st.ColType[1][kCode9] = "I2";
  struct Case {
    int col;
    bool opens;
  } cases[] = {{kCode, true}, {kCodeName, true}, {kCode9, true}, {kNote, false}, {kQty, false}};
  for (const Case& c : cases) {
    ui.loaded.clear();
    st.SiwakeWindowOpen = false;
    const size_t shown = ui.ModelessShown().size();
    Cursor(c.col, 1);
    SiwaWindowOpen(st);
    EXPECT_EQ(ui.ModelessShown().size() - shown, c.opens ? 1u : 0u) << c.col;
    EXPECT_EQ(st.SiwakeWindowOpen, c.opens) << c.col;
  }
  // An open window is unloaded before it is shown again.
  ui.loaded["KvSiwa_Frm"] = true;
  Cursor(kCode, 1);
  SiwaWindowOpen(st);
  EXPECT_EQ(ui.Unloaded().back(), "KvSiwa_Frm");
  // Master 3 has no window.
  st.ColType[1][kCode] = "I3";
  ui.loaded.clear();
  st.SiwakeWindowOpen = false;
  SiwaWindowOpen(st);
  EXPECT_FALSE(st.SiwakeWindowOpen);
}

}  // namespace
}  // namespace kv::test
