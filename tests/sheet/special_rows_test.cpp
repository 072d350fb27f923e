// Special rows made at the cursor: the kind and texts each command index
// writes by edition, the one-per-sheet rules and the other refusals, the
// expense rate asked until it is right, and the switch of automatic
// recalculation with its check mark.
#include "calc/special_rows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "edit_fixture.h"
#include "sheet/row_commands.h"
#include "sheet/undo_clear.h"
#include "state/menu_model.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class MenusEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  int changed = 0;
  EditorMenus* Menus() override { return &menus; }
  void MenusChanged(ProgramState&) override { ++changed; }
};

class SpecialRowsTest : public EditFixture {
 protected:
  SpecialRowsTest() {
    st.LevelCount = 1;
    st.editor = &editor;
    const char* names[] = {"", "小計名", "中計名", "大計名", "大大名", "大大大名", "消費税名"};
    for (int n = 1; n <= 6; ++n) st.SUBTOTALNAME[size_t(n)] = names[n];
    st.SetubiRowNames = {"諸経費", "消耗品雑材", "経費"};
    st.ToTalNameColmun = kName;
    st.ToTalNameColmun2 = kNote;
    st.STax = Currency::FromRaw(1000);  // 10 %
    st.FormulaColumn[1] = kFormula;
    st.SKeihiMethodKeta = 0;  // expense rows rounded up to whole units
  }
  // Three item rows of amount 100, 200, 300 and the cursor on row 2.
  void Items() {
    Sheet({Row(' ', {{kName, "a"}, {kQty, "1"}, {kPrice, "100"}, {kAmount, "100"}}), Row(' ', {{kName, "b"}, {kQty, "1"}, {kPrice, "200"}, {kAmount, "200"}}),
           Row(' ', {{kName, "c"}, {kQty, "1"}, {kPrice, "300"}, {kAmount, "300"}})});
    calc.LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
    Cursor(kName, 2);
  }
  // The rate box answered with `text` (nullopt: Cancel).
  void Rate(std::optional<std::string> text) {
    ui.AnswerModal("Z_InputBox", [this, text] {
      EXPECT_EQ(st.InputTitle, "経費行掛け率");
      EXPECT_EQ(st.InputText, "*");
      EXPECT_EQ(st.InputMaxLen, 8);
      EXPECT_EQ(st.InputImeMode, 2);
      st.InputOk = text.has_value();
      if (text) st.InputText = *text;
    });
  }
  char Kind(int row) const { return st.SheetRows[size_t(row)][2]; }

  MenusEditor editor;
};

TEST_F(SpecialRowsTest, EachIndexWritesItsKindAndTexts) {
  struct Case {
    int index;
    int systemKind;
    char kind;
    const char* name;   // column ToTalNameColmun, trimmed
    const char* label;  // column ToTalNameColmun2 (4 bytes), as stored
  };
  const Case cases[] = {
      {2, 2, '#', "小計名", "小計"},
      {3, 2, '$', "中計名", "中計"},
      {4, 4, '%', "大計名", "大計"},
      {13, 2, '\xB1', "大大名", "    "},  // a label cut in a double-byte character loses it whole
      {14, 2, '\xB2', "大大大名", "    "},
      {15, 2, '\xB3', "大大大", "    "},
      {16, 2, kTaxKind, "消費税名", "消費"},
      {17, 1, 'Z', "諸経費", "    "},
      {18, 1, 'S', "消耗品雑材", "    "},
      {19, 1, '\xB9', "経費", "    "},
      {19, 3, ' ', "", "    "},  // kind 3 has no expense row: the blank row stays
      {20, 2, 'Q', "", "    "},
      {7, 2, ' ', "", "    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    st.SystemKind = c.systemKind;
    Items();
    EXPECT_FALSE(InsertSpecialRow(st, grid, c.index));
    ui.ExpectAllAnswered();
    EXPECT_EQ(Kind(2), c.kind);
    EXPECT_EQ(Cell(2, kName), c.name);
    EXPECT_EQ(Field(2, kNote), c.label);
    EXPECT_EQ(Cell(3, kName), "b");
    EXPECT_EQ(st.UsedRows, 4);
    EXPECT_EQ(bar.panels[2], " 4 行");
    EXPECT_TRUE(st.SheetModified);
  }
}

TEST_F(SpecialRowsTest, TotalAndTaxRowsAreComputedAtOnce) {
  Items();
  InsertSpecialRow(st, grid, 2);
  EXPECT_EQ(Cell(2, kAmount), "100");
  EXPECT_EQ(Shown(kAmount, 2), "100");
  Cursor(kName, 5);
  InsertSpecialRow(st, grid, 16);
  EXPECT_EQ(Cell(5, kAmount), "60");  // 10 % of 600
  EXPECT_EQ(st.UsedRows, 5);          // written at the cursor below the rows
}

TEST_F(SpecialRowsTest, MemoRowsAskForTheMemoEditor) {
  Items();
  EXPECT_TRUE(InsertSpecialRow(st, grid, 5));
  EXPECT_EQ(Kind(2), kMemoKind);
  EXPECT_TRUE(grid.MemoRow(2));
}

TEST_F(SpecialRowsTest, Refusals) {
  struct Case {
    const char* name;
    int index;
    int systemKind;
    char existing;  // kind of row 3 before ('\0': none)
    bool full;      // UsedRows = Imax
    bool beep;
    const char* message;
  };
  const Case cases[] = {
      {"a second tax row", 16, 2, kTaxKind, false, false, "既に消費税行が設定されています."},
      {"a second consumables row", 18, 1, 'S', false, false, "既に消耗品雑材行が設定されています."},
      {"an expense row without a formula column (kind 4)", 19, 4, '\0', false, false,
       "経費行を使用するためにはシステム設定に数式項目が必要です。"},
      {"an expense row without a formula column (kind 2)", 19, 2, '\0', false, false,
       "経費行を使用するためにはシステム設定に数式項目が必要です。"},
      {"a memo row on a full sheet", 5, 2, '\0', true, true, "最大行を越える為、メモ行が挿入できません。"},
      {"a special memo row on a full sheet", 20, 2, '\0', true, true, "最大行を越える為、特殊メモ行が挿入できません。"},
      {"a total row on a full sheet", 2, 2, '\0', true, true, kRowLimitMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    st.SystemKind = c.systemKind;
    Items();
    if (c.index == 19) st.FormulaColumn[1] = 0;
    if (c.existing != '\0') st.SheetRows[3][2] = c.existing;
    if (c.full) {
      for (int r = 4; r <= st.Imax; ++r) st.SheetRows[size_t(r)] = Row(' ', {{kName, "x"}});
      st.UsedRows = st.Imax;
    }
    const auto before = st.SheetRows;
    const size_t beeps = ui.CallsStartingWith("Beep").size();
    ui.AnswerMsgBox(vbOK, c.message);
    EXPECT_FALSE(InsertSpecialRow(st, grid, c.index));
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.SheetRows, before);
    EXPECT_EQ(ui.CallsStartingWith("Beep").size() - beeps, c.beep ? 1u : 0u);
    st.FormulaColumn[1] = kFormula;
  }
}

TEST_F(SpecialRowsTest, TheExpenseRateIsAskedUntilItIsRight) {
  for (int kind : {4, 2}) {
    SCOPED_TRACE(kind);
    st.SystemKind = kind;
    Items();
    for (const char* wrong : {"1.05", "*abc", "*", "*1.050001"}) {
      Rate(wrong);
      ui.AnswerMsgBox(vbOK, "正しく入力して下さい");
    }
    Rate(" *1.05 ");
    InsertSpecialRow(st, grid, 19);
    ui.ExpectAllAnswered();
    EXPECT_EQ(Kind(2), '\xB9');
    EXPECT_EQ(Cell(2, kFormula), "[@*1.05");
    EXPECT_EQ(Cell(2, kAmount), "105");  // the sum above it times the rate
    EXPECT_EQ(st.InputImeMode, 0);
  }
}

TEST_F(SpecialRowsTest, ACancelledRateLeavesTheBlankRowThatUndoTakesBack) {
  st.SystemKind = 4;
  Items();
  const auto before = st.SheetRows;
  Rate(std::nullopt);
  InsertSpecialRow(st, grid, 19);
  EXPECT_EQ(Kind(2), ' ');
  EXPECT_EQ(Cell(2, kName), "");
  EXPECT_EQ(Cell(3, kName), "b");
  UndoRestore(st, grid);
  EXPECT_EQ(st.SheetRows, before);
}

TEST_F(SpecialRowsTest, IndexZeroSwitchesAutomaticRecalculation) {
  Items();
  InsertSpecialRow(st, grid, 2);
  const MenuItem& item = editor.menus.At("Menu_3Sub", 0);
  InsertSpecialRow(st, grid, 0);
  EXPECT_FALSE(st.ReCalcFlag);
  EXPECT_FALSE(item.checked);
  EXPECT_EQ(Shown(kAmount, 2).find_first_not_of('#'), std::string::npos);
  EXPECT_EQ(editor.changed, 1);

  // A change while off is taken in as soon as it is switched on again.
  FieldStore(st, st.SheetRows[1], kAmount, 1, "         500");
  InsertSpecialRow(st, grid, 0);
  EXPECT_TRUE(st.ReCalcFlag);
  EXPECT_TRUE(item.checked);
  EXPECT_EQ(Cell(2, kAmount), "500");
  EXPECT_EQ(Shown(kAmount, 2), "500");
  EXPECT_EQ(editor.changed, 2);
}

}  // namespace
}  // namespace kv::test
