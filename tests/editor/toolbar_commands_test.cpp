// The toolbar buttons' commands: the prologue every click runs (busy lock,
// level gate, totals line, marking modes), the commands on the sheet, and
// the differences of the floating copies.
#include "editor/toolbar_commands.h"

#include <string>
#include <vector>

#include "editing_keys_fixture.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/toolbar_tables.h"
#include "state/menu_model.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class RecordingToolbarPort : public ToolbarCommandPort {
 public:
  std::vector<std::string> calls;
  std::function<void()> onTreeDisplay;
  void SheetFocus() override { calls.push_back("SheetFocus"); }
  void Menu_1Sub_Click(int i) override { calls.push_back("Menu_1Sub_Click(" + std::to_string(i) + ")"); }
  void Menu_3Sub_Click(int i) override { calls.push_back("Menu_3Sub_Click(" + std::to_string(i) + ")"); }
  void Tokusyusub_Click(int i) override { calls.push_back("Tokusyusub_Click(" + std::to_string(i) + ")"); }
  void TreeDisplay() override {
    calls.push_back("TreeDisplay");
    if (onTreeDisplay) onTreeDisplay();
  }
  void ToggleSheetDivide() override { calls.push_back("ToggleSheetDivide"); }
  void FloatToolBar(int bar, int x, int y) override {
    calls.push_back("FloatToolBar" + std::to_string(bar) + "(" + std::to_string(x) + "," + std::to_string(y) + ")");
  }
  void DockedButtonPress(const std::string& key) override { calls.push_back("DockedButtonPress(" + key + ")"); }
  void KVCoverProc() override { calls.push_back("KVCoverProc"); }
};

class MenuEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
};

using Calls = std::vector<std::string>;

class ToolbarCommandsTest : public EditingKeysFixture {
 protected:
  ToolbarCommandsTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kQty, "2"}, {kPrice, "1500"}}), Row(' ', {{kName, "型枠"}, {kPrice, "800"}})});
    st.editor = &editor;
  }
  ~ToolbarCommandsTest() override { st.editor = nullptr; }

  void Click(int bar, const std::string& key, bool floating = false) {
    port.calls.clear();
    if (bar == 1)
      Toolbar1_ButtonClick(st, grid, port, key, floating);
    else
      Toolbar2_ButtonClick(st, grid, port, key, floating);
  }
  void BothModesOn() { st.NotPrintLineMode = st.NotPrintLvlLineMode = true; }

  RecordingToolbarPort port;
  MenuEditor editor;
};

TEST_F(ToolbarCommandsTest, ABusyCommandLeavesEveryButtonWithoutEffect) {
  st.CommandBusy = true;
  for (int bar : {1, 2}) {
    for (std::string_view key : WiredToolbarKeys(bar)) {
      for (bool floating : {false, true}) {
        BothModesOn();
        Click(bar, std::string(key), floating);
        EXPECT_TRUE(port.calls.empty()) << key;
        EXPECT_TRUE(st.NotPrintLineMode && st.NotPrintLvlLineMode) << key;
      }
    }
  }
  EXPECT_EQ(st.AutoDownFlag, 0);
  EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(ToolbarCommandsTest, NewAndOpenBelowLevelOneOnlyShowTheLevelMessage) {
  st.CurrentLevel = 2;
  for (const char* key : {"NEW", "OPEN"}) {
    BothModesOn();
    ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");
    Click(1, key);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
    EXPECT_TRUE(st.NotPrintLineMode && st.NotPrintLvlLineMode) << key;
  }
  // Save runs on any level; the marking modes end first.
  const size_t shown = ui.Prompts().size();
  Click(1, "SAVE");
  EXPECT_EQ(ui.Prompts().size(), shown);
  EXPECT_FALSE(st.NotPrintLineMode || st.NotPrintLvlLineMode);
  // On level 1 Open goes straight to the file dialog.
  st.CurrentLevel = 1;
  ui.AnswerOpenDialog(std::nullopt);
  Click(1, "OPEN");
  ui.ExpectAllAnswered();
}

TEST_F(ToolbarCommandsTest, RowInsertAndDeleteDoNothingAtAllOnTheTotalsLine) {
  Cursor(kName, st.Imax + 1);
  for (const char* key : {"GIN", "GDEL"}) {
    BothModesOn();
    Click(2, key);
    EXPECT_TRUE(port.calls.empty()) << key;
    EXPECT_TRUE(st.NotPrintLineMode && st.NotPrintLvlLineMode) << key;
  }
  EXPECT_EQ(st.UsedRows, 2);
  // Another button on the totals line ends the modes.
  Click(2, "GCOPY");
  EXPECT_FALSE(st.NotPrintLineMode || st.NotPrintLvlLineMode);
}

TEST_F(ToolbarCommandsTest, TheNonPrintRowButtonTogglesItsModeAfterEndingTheLevelRowMode) {
  // Row mode on: switched off once.
  st.NotPrintLineMode = true;
  Click(2, "HIINSATU");
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(port.calls, Calls{"SheetFocus"});
  // Level-row mode on: it ends, then the row mode comes on.
  st.NotPrintLvlLineMode = true;
  Click(2, "HIINSATU");
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_TRUE(st.NotPrintLineMode);
  // Any other button ends both.
  Click(2, "S");
  EXPECT_FALSE(st.NotPrintLineMode);
}

TEST_F(ToolbarCommandsTest, ExtendedButtonsCallTheWindowsCommandsAndFocusAsDocked) {
  struct Case {
    const char* key;
    Calls docked;
    Calls floating;
  };
  const Case cases[] = {
      {"S", {"Menu_3Sub_Click(2)", "SheetFocus"}, {"Menu_3Sub_Click(2)", "SheetFocus"}},
      {"T", {"Menu_3Sub_Click(3)", "SheetFocus"}, {"Menu_3Sub_Click(3)", "SheetFocus"}},
      {"D", {"Menu_3Sub_Click(4)", "SheetFocus"}, {"Menu_3Sub_Click(4)", "SheetFocus"}},
      {"TAX", {"Menu_3Sub_Click(16)", "SheetFocus"}, {"Menu_3Sub_Click(16)", "SheetFocus"}},
      {"MEMO", {"Tokusyusub_Click(2)", "SheetFocus"}, {"Tokusyusub_Click(2)", "SheetFocus"}},
      {"RENZOK", {"Tokusyusub_Click(14)", "SheetFocus"}, {"Tokusyusub_Click(14)", "SheetFocus"}},
      {"TREE", {"TreeDisplay", "SheetFocus"}, {"TreeDisplay", "SheetFocus"}},
      {"DIVID", {"ToggleSheetDivide", "SheetFocus"}, {"ToggleSheetDivide"}},
      {"GPASTE", {"SheetFocus"}, {"SheetFocus"}},
      // The unit list opens beside the sheet, which keeps no focus call.
      {"TANI", {}, {}},
      {"KOUZI", {"Menu_1Sub_Click(12)"}, {"Menu_1Sub_Click(12)"}},
  };
  for (const Case& c : cases) {
    Click(2, c.key);
    EXPECT_EQ(port.calls, c.docked) << c.key;
    Click(2, c.key, true);
    EXPECT_EQ(port.calls, c.floating) << c.key << " floating";
  }
  EXPECT_TRUE(st.UnitWindowOpen);
  // The tree's layout knows that the button shows or hides it.
  bool toggling = false;
  port.onTreeDisplay = [&] { toggling = st.TreeToggling; };
  Click(2, "TREE");
  EXPECT_TRUE(toggling);
  EXPECT_FALSE(st.TreeToggling);
  // Ｙ計算 on a text column: its own refusal; the floating copy leaves the focus.
  MoveTo(kName, 1);
  ui.AnswerMsgBox(vbOK, "数値入力の欄を指定して下さい");
  Click(2, "YKEISAN");
  EXPECT_EQ(port.calls, Calls{"SheetFocus"});
  ui.AnswerMsgBox(vbOK, "数値入力の欄を指定して下さい");
  Click(2, "YKEISAN", true);
  EXPECT_TRUE(port.calls.empty());
  ui.ExpectAllAnswered();
}

TEST_F(ToolbarCommandsTest, ClipboardAndRowButtonsWorkOnTheSelection) {
  MoveTo(kName, 1);
  SetSelect32(grid, kName, 1, kName, 2);
  Click(2, "CUT");
  EXPECT_EQ(port.calls, Calls{"SheetFocus"});
  EXPECT_EQ(Cell(1, kName), "");
  EXPECT_NE(ui.clipboard.find("型枠"), std::string::npos);
  EXPECT_FALSE(grid.HasSelection());
  EXPECT_FALSE(ui.Busy());
  MoveTo(kNote, 1);
  Cursor(kNote, 1);
  Click(2, "PASTE");
  EXPECT_EQ(Cell(2, kNote), "型枠");

  // Row delete keeps the row for the row paste.
  Cursor(kPrice, 1);
  SetSelect32(grid, kPrice, 1, kPrice, 1);
  Click(2, "GDEL");
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(Cell(1, kPrice), "800");
  Cursor(kPrice, 2);
  Click(2, "GPASTE");
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Cell(2, kPrice), "1500");
  // Row insert: a blank row at the selection.
  Cursor(kPrice, 1);
  SetSelect32(grid, kPrice, 1, kPrice, 1);
  Click(2, "GIN");
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Cell(1, kPrice), "");
  EXPECT_EQ(Cell(2, kPrice), "800");
}

TEST_F(ToolbarCommandsTest, AutoAdvanceButtonsSetTheFlagAndTheFloatingOnesPressTheDockedButton) {
  const struct {
    const char* key;
    int flag;
  } cases[] = {{"UNDER", 1}, {"RIGHT", 2}, {"NOT", 0}};
  for (const auto& c : cases) {
    st.AutoDownFlag = 7;
    st.NotPrintLvlLineMode = true;
    Click(1, c.key);
    EXPECT_EQ(st.AutoDownFlag, c.flag);
    EXPECT_FALSE(st.NotPrintLvlLineMode);
    EXPECT_EQ(port.calls, Calls{"SheetFocus"});
    Click(1, c.key, true);
    EXPECT_EQ(port.calls, (Calls{"DockedButtonPress(" + std::string(c.key) + ")", "SheetFocus"}));
  }
}

TEST_F(ToolbarCommandsTest, UndoRestoresTheLastEntry) {
  engine.UndoSave(st);
  MoveTo(kName, 1);
  SetSelect32(grid, kName, 1, kName, 1);
  Click(2, "CUT");
  EXPECT_EQ(Cell(1, kName), "");
  Click(1, "UNDO");
  EXPECT_EQ(Cell(1, kName), "基礎");
}

TEST_F(ToolbarCommandsTest, TheUndockButtonsFloatCentredAndTheFloatingOnesDockBack) {
  ui.screen = {1000, 800};
  ui.windowRects["frmToolBar"] = {0, 0, 600, 30};
  ui.windowRects["FrmToolBar2"] = {0, 0, 400, 80};
  Click(1, "RTN");
  EXPECT_EQ(port.calls, Calls{"FloatToolBar1(0,0)"});
  EXPECT_EQ(ui.Calls(), (Calls{"MoveWindow(frmToolBar, 200, 385)", "ShowModeless(frmToolBar)"}));
  EXPECT_TRUE(editor.menus.At("Menu_7Sub", 13).enabled);

  Click(2, "RTN");
  EXPECT_EQ(port.calls, Calls{"FloatToolBar2(0,0)"});
  EXPECT_EQ(ui.CallsStartingWith("ShowModeless(").back(), "ShowModeless(FrmToolBar2)");
  EXPECT_EQ(ui.CallsStartingWith("MoveWindow(").back(), "MoveWindow(FrmToolBar2, 300, 360)");
  EXPECT_FALSE(editor.menus.At("Menu_7Sub", 13).enabled);
  EXPECT_FALSE(editor.menus.At("Menu_7Sub", 17).enabled);

  Click(1, "RTN", true);
  Click(2, "RTN", true);
  EXPECT_EQ(ui.CallsStartingWith("UnloadWindow("), (Calls{"UnloadWindow(frmToolBar)", "UnloadWindow(FrmToolBar2)"}));
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(ToolbarCommandsTest, UndockingTheExtendedToolbarAtThePointerDisablesItsViewItems) {
  st.CommandBusy = true;  // a drag during a command undocks nothing
  ToolbarUndock(st, port, 1, 1500, 2400);
  EXPECT_TRUE(port.calls.empty());
  st.CommandBusy = false;
  ToolbarUndock(st, port, 2, 1500, 2400);
  EXPECT_EQ(port.calls, Calls{"FloatToolBar2(1500,2400)"});
  EXPECT_EQ(ui.Calls(), Calls{"ShowModeless(FrmToolBar2)"});
  EXPECT_FALSE(editor.menus.At("Menu_7Sub", 13).enabled);
  EXPECT_FALSE(editor.menus.At("Menu_7Sub", 17).enabled);
}

TEST_F(ToolbarCommandsTest, TheDockedCoverButtonNeedsAPrinterTheFloatingOneDoesNot) {
  ui.printers.clear();
  ui.AnswerMsgBox(vbOK,
                  "プリンタがインストールされていないため、表紙を起動することが出来ません\r"
                  "表紙を起動するためには、プリンタをインストールしてください。");
  Click(2, "HYOUSI");
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().title, "DI32DODA");
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
  EXPECT_TRUE(port.calls.empty());
  Click(2, "HYOUSI", true);
  EXPECT_EQ(port.calls, Calls{"KVCoverProc"});
  ui.printers = {"LBP-1"};
  Click(2, "HYOUSI");
  EXPECT_EQ(port.calls, Calls{"KVCoverProc"});
}

// The search button of either copy opens the search window once the search
// pre-check lets it; a refusal opens nothing.
TEST_F(ToolbarCommandsTest, SearchOpensTheSearchWindowAfterThePreCheck) {
  for (bool floating : {false, true}) {
    SCOPED_TRACE(floating ? "floating" : "docked");
    st.SearchWindowOpen = false;
    const size_t shown = ui.ModelessShown().size();
    st.WorkFileBase = "/p/WORK/無題";
    ui.AnswerMsgBox(vbOK, "ﾌｧｲﾙを保存後に実行して下さい.");
    Click(2, "SEARCH", floating);
    ui.ExpectAllAnswered();
    EXPECT_FALSE(st.SearchWindowOpen);
    EXPECT_EQ(ui.ModelessShown().size(), shown);
    st.WorkFileBase = "/p/WORK/EST";
    Click(2, "SEARCH", floating);
    EXPECT_TRUE(st.SearchWindowOpen);
    EXPECT_EQ(ui.ModelessShown().back(), "SchSheet_Frm");
    EXPECT_TRUE(port.calls.empty());
  }
}

TEST(ToolbarWiring, OnlyTheButtonsWithoutACommandStayUnwired) {
  const std::vector<std::string> unwired{"ZOOM", "YOSI"};
  for (int bar : {1, 2}) {
    ToolbarModel model(bar == 1 ? BasicToolbarTable() : ExtendedToolbarTable());
    SetWiredButtons(model, bar);
    for (const ToolButtonState& b : model.Buttons()) {
      const bool expected = std::find(unwired.begin(), unwired.end(), b.key) == unwired.end();
      EXPECT_EQ(model.Wired(b.key), expected) << b.key;
    }
  }
}

}  // namespace
}  // namespace kv::test
