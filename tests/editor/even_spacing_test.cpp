// Even spacing over a selection: text and two-line columns spread row by
// row, memo-type rows passed over, the links of every rewritten row
// followed, other columns left alone; and the extended-functions menu's
// gates for the items that need level 1 or a named estimate.
#include "editor/even_spacing.h"

#include <string>
#include <vector>

#include "editing_keys_fixture.h"
#include "editor/calc_menu.h"
#include "platform/grid/grid_api.h"
#include "sheet/sheet_fields.h"

namespace kv::test {
namespace {

class EvenSpacingTest : public EditingKeysFixture {
 protected:
  // The cursor at the top of the column, rows top..bottom selected (as the
  // menu's SelRectStore leaves them).
  void Select(int col, int top, int bottom) {
    Cursor(col, top);
    SetSelect32(grid, col, top, col, bottom);
    st.SelLeft = st.SelRight = col;
    st.SelTop = top;
    st.SelBottom = bottom;
  }
};

TEST_F(EvenSpacingTest, TextColumnOverRowsWithMemoRowsAndALink) {
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = kName;
  st.ABLinkDst[1] = kCodeName;
  Sheet({Row(' ', {{kName, "基礎"}}), MemoRow(kMemoKind, "メモの本文です"), MemoRow('H', "見出しの行"),
         Row(' ', {{kName, "ab"}}), Row(' ', {})});
  const std::string memo2 = st.SheetRows[2], memo3 = st.SheetRows[3];
  st.SheetModified = false;
  Select(kName, 1, 5);
  EvenSpacing(st, grid);
  EXPECT_EQ(Field(1, kName), "　基礎　  ");
  EXPECT_EQ(Field(4, kName), "　a    b　");
  EXPECT_EQ(Field(5, kName), std::string(10, ' '));
  EXPECT_EQ(st.SheetRows[2], memo2);
  EXPECT_EQ(st.SheetRows[3], memo3);
  EXPECT_EQ(Shown(kName, 1), "　基礎　");
  EXPECT_EQ(Shown(kName, 4), "　a    b　");
  // Every rewritten row's link follows, not only the cursor row's.
  EXPECT_EQ(Field(1, kCodeName), "　基礎　    ");
  EXPECT_EQ(Field(4, kCodeName), "　a    b　  ");
  EXPECT_EQ(FieldText(st, st.SheetRows[2], kCodeName, 1), FieldText(st, memo2, kCodeName, 1));
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(grid.HasSelection());
}

TEST_F(EvenSpacingTest, TwoLineColumnSpreadsEachLineAndKeepsOneLineOnOne) {
  std::string twoLines = "鉄骨\r\n木材";
  std::string rec1 = Row(' ', {}), rec2 = Row(' ', {{kDetail, "鉄骨"}});
  FieldStore(st, rec1, kDetail, 1, ToSjis(twoLines));
  Sheet({rec1, rec2});
  Select(kDetail, 1, 2);
  EvenSpacing(st, grid);
  // 20 bytes: two lines of (20 - 2) / 2 = 9 bytes.
  EXPECT_EQ(Field(1, kDetail), "　鉄骨　\r\n　木材　  ");
  EXPECT_EQ(Field(2, kDetail), "　鉄骨　" + std::string(12, ' '));
}

TEST_F(EvenSpacingTest, OtherColumnsAreLeftAlone) {
  Sheet({Row(' ', {{kName, "基礎"}, {kPrice, "100"}, {kCodeName, "鉄骨"}})});
  const auto rows = st.SheetRows;
  for (int col : {kPrice, kCodeName, kFormula}) {
    SCOPED_TRACE(col);
    st.SheetModified = false;
    Select(col, 1, 1);
    EvenSpacing(st, grid);
    EXPECT_EQ(st.SheetRows, rows);
    EXPECT_FALSE(st.SheetModified);
  }
}

// A selection down to the totals line spreads the sheet's rows only.
TEST_F(EvenSpacingTest, TheTotalsLineIsNoSheetRow) {
  Sheet({Row(' ', {{kName, "ab"}})});
  st.SheetRows[size_t(st.Imax + 1)] = Row(' ', {{kName, "cd"}});
  const std::string total = st.SheetTotalRecord, beyond = st.SheetRows[size_t(st.Imax + 1)];
  Select(kName, 1, st.Imax + 1);
  EvenSpacing(st, grid);
  EXPECT_EQ(Field(1, kName), "　a    b　");
  EXPECT_EQ(st.SheetTotalRecord, total);
  EXPECT_EQ(st.SheetRows[size_t(st.Imax + 1)], beyond);
}

TEST_F(EvenSpacingTest, MenuItemEndsAMarkingModeAndSpreadsTheSelection) {
  Sheet({Row(' ', {{kName, "ab"}}), Row(' ', {{kName, "cd"}})});
  st.NotPrintLineMode = true;
  Cursor(kName, 1);
  SetSelect32(grid, kName, 1, kName, 2);
  Tokusyusub_Click(g, kEvenSpacingItem);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(Field(1, kName), "　a    b　");
  EXPECT_EQ(Field(2, kName), "　c    d　");
}

// The classification file (11) and the hidden 7 .. 10 need level 1 of a
// named estimate; 21 and 22 need level 1. A refused item does nothing else;
// 22 on level 1 closes the search and reference windows and shows the
// special print set-up.
TEST_F(EvenSpacingTest, ExtendedMenuGates) {
  struct Case {
    int item;
    int level;
    bool untitled;
    const char* message;  // "" passes the gate
    const char* modal = "";
  };
  const Case cases[] = {
      {kClassifyFileItem, 2, false, "(1)階層で実行して下さい"},
      {kClassifyFileItem, 2, true, "(1)階層で実行して下さい"},
      {kClassifyFileItem, 1, true, "ﾌｧｲﾙを保存後に実行して下さい."},
      {kClassifyFileItem, 1, false, ""},
      {10, 1, true, "ﾌｧｲﾙを保存後に実行して下さい."},
      {7, 3, false, "(1)階層で実行して下さい"},
      {kSpecialPrintSetupItem, 2, false, "(1)階層で実行して下さい"},
      {kSpecialPrintSetupItem, 1, true, "", "frmOrviKen"},
      {12, 2, true, ""},  // a separator: the prologue only
  };
  Sheet({Row(' ', {{kName, "ab"}})});
  const auto rows = st.SheetRows;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    st.CurrentLevel = c.level;
    st.WorkFileBase = c.untitled ? "/p/WORK/無題" : "/p/WORK/見積A";
    st.NotPrintLvlLineMode = true;
    st.SearchSheetLoaded = st.RefSheetLoaded = true;
    if (*c.message != '\0') ui.AnswerMsgBox(vbOK, c.message);
    // Past the gate the classification file command asks for the new name.
    if (c.item == kClassifyFileItem && *c.message == '\0') ui.AnswerSaveDialog(std::nullopt);
    if (*c.modal != '\0')
      ui.AnswerModal(c.modal, [this] {
        EXPECT_FALSE(st.SearchSheetLoaded);
        EXPECT_FALSE(st.RefSheetLoaded);
      });
    Tokusyusub_Click(g, c.item);
    ui.ExpectAllAnswered();
    EXPECT_FALSE(st.NotPrintLvlLineMode);
    EXPECT_EQ(st.SheetRows, rows);
  }
  st.CurrentLevel = 1;
}

// The search item asks the search pre-check, which refuses an untitled
// estimate; a named one gets the search window.
TEST_F(EvenSpacingTest, SearchItemRunsThePreCheck) {
  st.WorkFileBase = "/p/WORK/無題";
  ui.AnswerMsgBox(vbOK, "ﾌｧｲﾙを保存後に実行して下さい.");
  Tokusyusub_Click(g, kSearchItem);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.SearchWindowOpen);
  EXPECT_TRUE(ui.ModelessShown().empty());
  st.WorkFileBase = "/p/WORK/EST";
  Tokusyusub_Click(g, kSearchItem);
  EXPECT_TRUE(st.SearchWindowOpen);
  EXPECT_EQ(ui.ModelessShown(), (std::vector<std::string>{"SchSheet_Frm"}));
}

}  // namespace
}  // namespace kv::test
