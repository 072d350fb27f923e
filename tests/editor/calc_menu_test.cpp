// The calculation-row menu (its refusals and dispatch), the extended-functions
// menu's items built so far, and the two non-print marking modes switched on
// and off.
#include "editor/calc_menu.h"

#include "editing_keys_fixture.h"
#include "editor/edit_menu.h"
#include "platform/grid/grid_api.h"
#include "state/menu_model.h"
#include "storage/row_record.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

// The editor double with the window's menu tree.
class MenuEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
};

class CalcMenuTest : public EditingKeysFixture {
 protected:
  MenuEditor editor;
  CalcMenuTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kQty, "2"}, {kPrice, "1500"}}), Row(' ', {{kName, "型枠"}, {kPrice, "800"}}),
           Row(' ', {{kName, "柱"}})});
    st.editor = &editor;
    st.EditCursor = 1;
    grid.SetMouseMode(1);
  }
  ~CalcMenuTest() override { st.editor = nullptr; }
  char Kind(int row) const { return st.SheetRows[size_t(row)][size_t(kKindPos - 1)]; }
  bool Checked(const char* name, int index) const { return editor.menus.At(name, index).checked; }
};

TEST_F(CalcMenuTest, AMarkingModeSwitchesFlagCursorModePanelAndCheckMarkTogether) {
  struct Mode {
    void (*toggle)(ProgramState&);
    bool ProgramState::*flag;
    int item;
    const char* panel;
  };
  const Mode modes[] = {
      {NotPrintLine, &ProgramState::NotPrintLineMode, kNotPrintLineItem, "非印刷行設定解除,ESCｷｰまたはﾏｳｽ右ﾎﾞﾀﾝ"},
      {NotPrintLvlLine, &ProgramState::NotPrintLvlLineMode, kNotPrintLvlLineItem,
       "非印刷階層行設定解除,ESCｷｰ,ﾏｳｽ右ﾎﾞﾀﾝ"},
  };
  for (const Mode& m : modes) {
    SCOPED_TRACE(m.item);
    m.toggle(st);
    EXPECT_TRUE(st.*m.flag);
    EXPECT_EQ(grid.MouseMode(), kMarkingCursorMode);
    EXPECT_EQ(bar.panels[1], m.panel);
    EXPECT_TRUE(Checked("Tokusyusub", m.item));
    m.toggle(st);
    EXPECT_FALSE(st.*m.flag);
    EXPECT_EQ(grid.MouseMode(), 1);
    EXPECT_EQ(bar.panels[1], "");
    EXPECT_FALSE(Checked("Tokusyusub", m.item));
  }
}

TEST_F(CalcMenuTest, ExtendedMenuEndsTheOtherModeAndTogglesItsOwn) {
  Tokusyusub_Click(g, kNotPrintLineItem);
  EXPECT_TRUE(st.NotPrintLineMode);
  Tokusyusub_Click(g, kNotPrintLvlLineItem);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_FALSE(Checked("Tokusyusub", kNotPrintLineItem));
  EXPECT_TRUE(st.NotPrintLvlLineMode);
  Tokusyusub_Click(g, kNotPrintLvlLineItem);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  // Any other item ends a running mode before it acts.
  Tokusyusub_Click(g, kNotPrintLineItem);
  Cursor(kName, 2);
  Tokusyusub_Click(g, kSpecialMemoRowItem);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(grid.MouseMode(), 1);
  EXPECT_EQ(Kind(2), 'Q');
  EXPECT_EQ(Cell(3, kName), "型枠");
  EXPECT_FALSE(memo.visible);
}

// Clearing the level-row marks of the whole estimate runs on the top level
// only; below it the user is told so and nothing is recorded or re-read.
TEST_F(CalcMenuTest, ExtendedMenuLevelMarksClearIsRefusedBelowTheTopLevel) {
  st.CurrentLevel = 2;
  st.NotPrintLvlLineMode = true;
  st.SheetModified = false;
  const auto rows = st.SheetRows;
  ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");
  Tokusyusub_Click(g, kLevelMarksClearItem);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"(1)階層で実行して下さい"});
  EXPECT_EQ(st.SheetRows, rows);
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(CalcMenuTest, ExtendedMenuMemoRowOpensTheMemoEditorAndSeriesFillNumbers) {
  Cursor(kName, 2);
  Tokusyusub_Click(g, kMemoRowItem);
  EXPECT_EQ(Kind(2), kMemoKind);
  EXPECT_TRUE(memo.visible);
  memo.visible = false;
  st.UsedRows = 4;
  for (int row = 1; row <= 4; ++row) FieldStore(st, st.SheetRows[size_t(row)], kNote, 1, "");
  FieldStore(st, st.SheetRows[1], kNote, 1, "1");
  Cursor(kNote, 1);
  SetSelect32(grid, kNote, 1, kNote, 4);
  Tokusyusub_Click(g, kSeriesFillItem);
  EXPECT_EQ(Cell(1, kNote), "1");
  EXPECT_EQ(Cell(3, kNote), "2");  // the memo row takes no number
  EXPECT_EQ(Cell(4, kNote), "3");
}

TEST_F(CalcMenuTest, SeriesFillRefusesTheEquipmentRuleAndUnitColumns) {
  st.SikiRules[1] = "S:J  [#F=>   F";  // totals in J (the note column)
  st.SikiCount = 1;
  st.ZokuUnitCols[1] = kName;
  st.ZokuValueCols[1] = kPrice;
  st.ZokuCount = 1;
  FieldStore(st, st.SheetRows[1], kNote, 1, "1");
  struct Case {
    int systemKind;
    int col;
    const char* message;  // "" fills
  };
  const Case cases[] = {
      {1, kNote, "[設備版] 集計項目での文字連続設定は無効です"},
      {1, kName, "[設備版] 属性丸め項目での文字連続設定は無効です"},
      {2, kNote, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.col);
    st.SystemKind = c.systemKind;
    FieldStore(st, st.SheetRows[1], kName, 1, ToSjis("1"));
    FieldStore(st, st.SheetRows[2], c.col, 1, "");
    Cursor(c.col, 1);
    SetSelect32(grid, c.col, 1, c.col, 2);
    if (*c.message != '\0') ui.AnswerMsgBox(vbOK, c.message);
    Tokusyusub_Click(g, kSeriesFillItem);
    ui.ExpectAllAnswered();
    EXPECT_EQ(Cell(2, c.col), *c.message != '\0' ? "" : "2");
  }
}

TEST_F(CalcMenuTest, CalcRowRefusalsInTheirOrder) {
  struct Case {
    const char* what;
    int index;
    int row;
    int usedRows;
    bool equipmentFile;
    const char* message;  // "" inserts the row
  };
  const int imax = st.Imax;
  const Case cases[] = {
      {"subtotal on row 1", 2, 1, 3, false, "始めの行では無効です"},
      {"grand total on the totals line", 4, imax + 1, 3, false, "この行では無効です"},
      {"tax on a full sheet", 16, 2, imax, false, "最大行を超えるので入力できません"},
      {"row 1 before the full sheet", 13, 1, imax, false, "始めの行では無効です"},
      {"overhead row is not row-checked", 17, 1, 3, false, ""},
      {"tax on an equipment file", 16, 1, 3, true, "設備版の仕訳ファイルでは消費税行を挿入できません。"},
      {"overhead on an equipment file", 17, 2, 3, true, "設備版の仕訳ファイルでは諸経費計算行を挿入できません。"},
      {"consumables on an equipment file", 18, 2, 3, true, "設備版の仕訳ファイルでは消耗品雑材行を挿入できません。"},
      {"expense on an equipment file", 19, 2, 3, true, "設備版の仕訳ファイルでは経費行を挿入できません。"},
      {"equipment totals on an equipment file", 20, 2, 3, true, "設備版の仕訳ファイルでは集計再計算ができません。"},
      {"subtotal on an equipment file", 2, 2, 3, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto rows = st.SheetRows;
    st.SystemKind = c.equipmentFile ? 1 : 2;
    st.IsSetubiSiwakeFile = c.equipmentFile;
    st.UsedRows = c.usedRows;
    Cursor(kName, c.row);
    if (*c.message != '\0') ui.AnswerMsgBox(vbOK, c.message);
    Menu_3Sub_Click(g, c.index);
    ui.ExpectAllAnswered();
    if (*c.message != '\0') EXPECT_EQ(st.SheetRows, rows);
    st.SheetRows = rows;
    st.UsedRows = 3;
  }
}

TEST_F(CalcMenuTest, CalcRowDispatch) {
  st.NotPrintLineMode = true;
  Cursor(kName, 2);
  Menu_3Sub_Click(g, 2);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(Kind(2), '#');
  EXPECT_EQ(Cell(3, kName), "型枠");
  // 0 switches the automatic totals with the check mark.
  editor.menus.At("Menu_3Sub", kCalcTotalsSwitchItem).checked = true;
  Menu_3Sub_Click(g, kCalcTotalsSwitchItem);
  EXPECT_FALSE(st.ReCalcFlag);
  EXPECT_FALSE(Checked("Menu_3Sub", kCalcTotalsSwitchItem));
  // 22 switches them on again before recalculating (refused: untitled).
  st.WorkFileBase = "C:/WORK/無題";
  ui.AnswerMsgBox(vbOK, "ﾌｧｲﾙを保存後に実行して下さい.");
  Menu_3Sub_Click(g, kCalcAllLevelsItem);
  ui.ExpectAllAnswered();
  EXPECT_TRUE(st.ReCalcFlag);
  EXPECT_TRUE(Checked("Menu_3Sub", kCalcTotalsSwitchItem));
  EXPECT_FALSE(st.RecalcAllRunning);
  EXPECT_FALSE(st.CommandBusy);
  // 1 checks the selected column, then gives the grid the focus.
  Cursor(kName, 1);
  ui.AnswerMsgBox(vbOK, "数値入力の欄を指定して下さい");
  const int focus = box.sheetFocus;
  Menu_3Sub_Click(g, kCalcYItem);
  ui.ExpectAllAnswered();
  EXPECT_EQ(box.sheetFocus, focus + 1);
  // 20 runs the equipment recalculation under the busy lock.
  editor.calls.clear();
  st.SheetModified = false;
  Menu_3Sub_Click(g, kCalcEquipmentRecalcItem);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(editor.calls, (std::vector<std::string>{"ToolBarStateSet(1)", "ToolBarStateSet(0)"}));
}

}  // namespace
}  // namespace kv::test
