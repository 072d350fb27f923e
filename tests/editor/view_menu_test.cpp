// The View menu and the basic toolbar's combos over a program folder of their
// own: the windows the menu opens, zoom by combo and by the hidden submenu,
// the print form by combo and by menu (renumbering, level 2, untitled, a
// recording that fails), the mask screens, the page-break line styles and
// the company-name position.
#include "editor/view_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/grid/grid_api.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "storage/file_command_fixture.h"
#include "storage/level_files.h"

namespace kv::test {
namespace {

using Journal = std::vector<std::string>;

// The sheet engine's display steps, in one journal with the rest.
class SheetLog : public RecordingSheet {
 public:
  explicit SheetLog(Journal& j) : j_(j) {}
  void SheetGridInit(ProgramState& st, int level) override {
    j_.push_back("SheetGridInit(" + std::to_string(level) + (st.SheetLoading ? ", loading)" : ")"));
  }
  void SheetRedisplay(ProgramState&, int first, int last) override {
    j_.push_back("SheetRedisplay(" + std::to_string(first) + ", " + std::to_string(last) + ")");
  }
  void PageLinesDraw(ProgramState& st) override {
    j_.push_back("PageLinesDraw(" + std::to_string(st.PrnTypeNo) + ")");
  }
  void DMButtonsLayout(ProgramState&) override { j_.push_back("DMButtonsLayout"); }
  void ShowParentLevelPath(ProgramState&) override { j_.push_back("ShowParentLevelPath"); }

 private:
  Journal& j_;
};

class EditorLog : public RecordingEditor {
 public:
  explicit EditorLog(Journal& j) : j_(j) {}
  void ShowToolBar2(ProgramState&, bool visible) override {
    j_.push_back(std::string("ShowToolBar2(") + (visible ? "true)" : "false)"));
  }
  void PageNumbersWrite(ProgramState& st) override {
    j_.push_back("PageNumbersWrite(" + std::to_string(st.PrnTypeNo) + ")");
    if (afterPageNumbers) afterPageNumbers();
  }
  std::function<void()> afterPageNumbers;  // what befalls the files then

 private:
  Journal& j_;
};

class PrintLog : public RecordingPrint {
 public:
  explicit PrintLog(Journal& j) : j_(j) {}
  void SavePrintType(ProgramState& st) override {
    j_.push_back("SavePrintType(" + std::to_string(st.PrnTypeNo) + ")");
  }

 private:
  Journal& j_;
};

// The window: a menu tree, the two combos that raise their handlers when the
// program changes their index (and only then), the floating copies.
class PortLog : public ViewMenuPort {
 public:
  explicit PortLog(Journal& j) : j_(j) {
    for (int zoom = 200; zoom >= 30; zoom -= 10) zoomItems.push_back(" " + std::to_string(zoom) + "%");
  }
  EditorMenus menus = EditorMenuTree();
  std::array<std::string, 7> panels;
  std::vector<std::string> zoomItems;
  int zoomIndex = 10;
  int paperIndex = 0;
  int floatingZoom = -1;
  int floatingPaper = -1;
  bool toolbar2Shown = true;
  std::function<void()> paperHandler;

  EditorMenus& Menus() override { return menus; }
  void MenusChanged() override {}
  void StatusPanelSet(int panel, const std::string& text) override { panels[size_t(panel)] = text; }
  bool SheetVisible() const override { return true; }
  void SheetFocus() override {}
  int ZoomComboIndex() const override { return zoomIndex; }
  std::string ZoomComboText(int index) const override { return zoomItems[size_t(index)]; }
  int PaperComboIndex() const override { return paperIndex; }
  void PaperComboSelect(int index) override {
    j_.push_back("PaperComboSelect(" + std::to_string(index) + ")");
    if (index == paperIndex) return;
    paperIndex = index;
    if (paperHandler) paperHandler();
  }
  void FloatingZoomSelect(int index) override { floatingZoom = index; }
  void FloatingPaperSelect(int index) override { floatingPaper = index; }
  bool Toolbar2Visible() const override { return toolbar2Shown; }
  void Toolbar2Customise() override { j_.push_back("Toolbar2Customise"); }

 private:
  Journal& j_;
};

class ViewMenuTest : public ::testing::Test {
 protected:
  Program p{"PC1"};
  ScriptedUi& ui = p.ui;
  ProgramState& st = p.st;
  Journal journal;
  SheetLog sheetLog{journal};
  EditorLog editorLog{journal};
  PrintLog printLog{journal};
  PortLog port{journal};
  GridModel grid;
  ViewMenu v{st, grid, port};
  TempFolder data;

  void SetUp() override {
    st.sheetEngine = &sheetLog;
    st.editor = &editorLog;
    st.print = &printLog;
    st.CurrentLevel = 1;
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows = {0, 40, 40, 50, 30, 60, 45, 35};
    CheckOnly(port.menus, "PeparSerect", 1);
    grid.SetColCount(8);
    grid.SetRowCount(200);
    // The combo's handler, raised by a selection that changes its index.
    port.paperHandler = [this] {
      journal.push_back("cmbYosi_Click");
      cmbYosi_Click(v);
    };
  }

  // A named estimate of three rows, recorded and packed.
  void Named() {
    p.StartNamed(data.path(), "港北ビル", {"基礎工事", "躯体工事", "仕上工事"});
    journal.clear();
  }

  // The user picks item `index` of the paper combo.
  void PaperPicked(int index) {
    port.paperIndex = index;
    cmbYosi_Click(v);
  }

  int CheckedPaper() const {
    for (int i = 1; i <= 7; ++i)
      if (port.menus.At("PeparSerect", i).checked) return i;
    return 0;
  }

  bool Logged(const std::string& call) const {
    return std::find(journal.begin(), journal.end(), call) != journal.end();
  }
};

// --- The View menu's items --------------------------------------------------

TEST_F(ViewMenuTest, WindowItemsEndTheMarkingModesAndShowTheirWindow) {
  struct Case {
    int item;
    const char* window;
  };
  for (const Case& c : {Case{2, "Font_Frm"}, Case{5, "MskSheet_Frm"}, Case{15, "frmTName"}}) {
    st.NotPrintLineMode = true;
    ui.AnswerModal(c.window);
    Menu_7Sub_Click(v, c.item);
    ui.ExpectAllAnswered();
    EXPECT_FALSE(st.NotPrintLineMode) << c.item;
  }
  Menu_7Sub_Click(v, 11);
  EXPECT_TRUE(st.UnitWindowOpen);
  EXPECT_EQ(ui.ModelessShown(), std::vector<std::string>{"UNIT2_Frm"});
}

TEST_F(ViewMenuTest, ToolbarItemsCustomiseBelowTheFloatingWindowsAndToggleTheExtendedToolbar) {
  st.ToolBar1Floating = true;
  Menu_7Sub_Click(v, 13);
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost("),
            (std::vector<std::string>{"SetWindowTopMost(frmToolBar, false)", "SetWindowTopMost(frmToolBar, true)"}));
  EXPECT_TRUE(Logged("Toolbar2Customise"));

  journal.clear();
  Menu_7Sub_Click(v, 17);
  port.toolbar2Shown = false;
  Menu_7Sub_Click(v, 17);
  EXPECT_EQ(journal, (Journal{"ShowToolBar2(false)", "DMButtonsLayout", "ShowToolBar2(true)", "DMButtonsLayout"}));
}

TEST_F(ViewMenuTest, ParentTotalsItemTogglesTheLineAndLaysTheSheetOutAgain) {
  st.UsedRows = 3;
  Menu_7Sub_Click(v, 10);
  EXPECT_TRUE(st.DMTotalFlag);
  EXPECT_TRUE(port.menus.At("Menu_7Sub", 10).checked);
  EXPECT_EQ(journal, (Journal{"DMButtonsLayout", "SheetGridInit(1, loading)", "SheetRedisplay(1, 3)",
                              "ShowParentLevelPath"}));
  Menu_7Sub_Click(v, 10);
  EXPECT_FALSE(st.DMTotalFlag);
  EXPECT_FALSE(port.menus.At("Menu_7Sub", 10).checked);
  EXPECT_FALSE(ui.Busy());
}

// --- Zoom -------------------------------------------------------------------

TEST_F(ViewMenuTest, ZoomComboSetsTheZoomAndTheFloatingComboAndLaysTheSheetOut) {
  st.UsedRows = 2;
  st.NotPrintLvlLineMode = true;
  port.zoomIndex = 12;  // " 80%"
  cmbZoom_Click(v);
  EXPECT_EQ(st.KVZoom, 80);
  EXPECT_EQ(grid.Zoom(), 80);
  EXPECT_EQ(port.floatingZoom, 12);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_EQ(journal, (Journal{"SheetGridInit(1, loading)", "SheetRedisplay(1, 2)"}));
  EXPECT_FALSE(ui.Busy());

  // The zoom the grid is laid out at already: nothing is laid out again.
  journal.clear();
  cmbZoom_Click(v);
  EXPECT_EQ(grid.Zoom(), 80);
  EXPECT_TRUE(journal.empty());

  // A running command: the combo's shown item changes, nothing else.
  st.CommandBusy = true;
  port.zoomIndex = 0;
  cmbZoom_Click(v);
  EXPECT_EQ(st.KVZoom, 80);
  EXPECT_EQ(port.floatingZoom, 12);
}

TEST_F(ViewMenuTest, ZoomSubmenuItems) {
  struct Case {
    int item;
    int before;
    int after;
  };
  for (const Case& c : {Case{0, 75, 75}, Case{1, 250, 100}, Case{1, 20, 100}, Case{1, 150, 150}, Case{3, 100, 140},
                        Case{5, 70, 100}, Case{8, 100, 70}}) {
    st.KVZoom = c.before;
    ZoomSub_Click(v, c.item);
    EXPECT_EQ(st.KVZoom, c.after) << c.item << " " << c.before;
    EXPECT_EQ(grid.Zoom(), c.after);
    EXPECT_EQ(port.menus.At("ZoomSub", 1).caption, ZoomMenuCaption(c.after));
  }
  st.NotPrintLineMode = true;
  ui.AnswerMsgBox(vbOK, "非印刷行指定を解除して下さい.");
  ZoomSub_Click(v, 3);
  EXPECT_EQ(st.KVZoom, 70);
}

TEST_F(ViewMenuTest, ZoomPromptReadsTheFirstThreeCharactersWithin30To200) {
  struct Case {
    std::optional<std::string> answer;
    int zoom;        // KVZoom afterwards (from 100)
    bool limitText;  // the limit message is shown
  };
  st.ToolBar1Floating = true;
  for (const Case& c : {Case{"150%", 150, false}, Case{"1500", 150, false}, Case{" 50% ", 50, false},
                        Case{"25", 100, true}, Case{"300", 100, true}, Case{"abc", 100, true}, Case{"", 100, false},
                        Case{std::nullopt, 100, false}}) {
    st.KVZoom = 100;
    grid.SetZoom(100);
    ui.AnswerInput(c.answer, "ｽﾞｰﾑの倍率を入力して下さい.\n(200% -- 30%)");
    if (c.limitText) ui.AnswerMsgBox(vbOK, "ｽﾞｰﾑ倍率の限度を越えてます!");
    ZoomSub_Click(v, 2);
    ui.ExpectAllAnswered();
    const std::string label = c.answer.value_or("<cancel>");
    EXPECT_EQ(st.KVZoom, c.zoom) << label;
    EXPECT_EQ(grid.Zoom(), c.zoom) << label;
    EXPECT_EQ(ui.inputBoxes.back().initial, " 100") << label;
    // The floating windows are back on top whatever the answer.
    EXPECT_TRUE(ui.TopMost("frmToolBar")) << label;
  }
  const Prompt& limit = ui.Prompts()[4];  // the limit message after "25"
  EXPECT_EQ(limit.title, "TheKorvane");
  EXPECT_EQ(limit.style, vbOKOnly);
  EXPECT_EQ(ui.Prompts()[0].title, "Zoom");
}

// --- Print form -------------------------------------------------------------

TEST_F(ViewMenuTest, PaperComboOnANamedEstimateStoresTheFormAndRenumbersThePages) {
  Named();
  PaperPicked(2);  // form 3
  EXPECT_EQ(st.PrnTypeNo, 3);
  EXPECT_EQ(CheckedPaper(), 3);
  EXPECT_EQ(port.floatingPaper, 2);
  // ShowParentLevelPath: the levels recorded and the path read back.
  EXPECT_EQ(journal, (Journal{"SavePrintType(3)", "ShowParentLevelPath", "PageNumbersWrite(3)", "PageLinesDraw(3)",
                              "SheetRedisplay(1, 3)"}));
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_FALSE(ui.Busy());

  // The item already chosen: nothing beyond ending a marking mode.
  journal.clear();
  st.NotPrintLineMode = true;
  PaperPicked(2);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_TRUE(journal.empty());
}

TEST_F(ViewMenuTest, PaperChangeOnAnUntitledOrEmptySheetOnlyRedrawsThePageLines) {
  st.UsedRows = 4;  // untitled
  PaperPicked(3);
  EXPECT_EQ(st.PrnTypeNo, 4);
  EXPECT_EQ(journal, Journal{"PageLinesDraw(4)"});

  Named();
  st.UsedRows = 0;
  PeparSerect_Click(v, 6);
  EXPECT_EQ(st.PrnTypeNo, 6);
  EXPECT_EQ(CheckedPaper(), 6);
  EXPECT_EQ(port.paperIndex, 5);
  EXPECT_EQ(port.floatingPaper, 5);
  EXPECT_EQ(journal, (Journal{"PaperComboSelect(5)", "cmbYosi_Click", "PageLinesDraw(6)"}));
}

// Forms 1 and 2 have the same rows per page: the combo renumbers, the menu
// only stores the form; form 3 has other rows and the menu renumbers from the
// top row shown.
TEST_F(ViewMenuTest, PaperMenuRenumbersOnlyWhenTheRowsPerPageChange) {
  Named();
  PeparSerect_Click(v, 2);
  EXPECT_EQ(st.PrnTypeNo, 2);
  EXPECT_EQ(port.paperIndex, 1);
  EXPECT_EQ(journal, (Journal{"PaperComboSelect(1)", "cmbYosi_Click", "SavePrintType(2)"}));

  journal.clear();
  PaperPicked(0);
  EXPECT_TRUE(Logged("PageNumbersWrite(1)"));

  journal.clear();
  SetTopCell32(grid, 1, 1, 2);  // row 2 at the top
  PeparSerect_Click(v, 3);
  EXPECT_EQ(journal, (Journal{"PaperComboSelect(2)", "cmbYosi_Click", "SavePrintType(3)", "ShowParentLevelPath",
                              "PageNumbersWrite(3)", "PageLinesDraw(3)", "SheetRedisplay(2, 3)"}));
}

TEST_F(ViewMenuTest, PaperChangeBelowLevelOneIsRefused) {
  st.CurrentLevel = 2;
  st.PrnTypeNo = 2;
  port.paperIndex = 1;
  ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");
  PaperPicked(4);
  EXPECT_EQ(st.PrnTypeNo, 2);
  EXPECT_EQ(port.paperIndex, 1);  // sprung back, without a second message
  ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");
  PeparSerect_Click(v, 5);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.PrnTypeNo, 2);
  EXPECT_EQ(port.paperIndex, 1);
  EXPECT_FALSE(Logged("SavePrintType(5)"));

  // The menu also refuses during a marking mode, before changing anything.
  st.CurrentLevel = 1;
  st.NotPrintLvlLineMode = true;
  ui.AnswerMsgBox(vbOK, "非印刷階層行の指定を解除して下さい.");
  PeparSerect_Click(v, 5);
  EXPECT_EQ(st.PrnTypeNo, 2);
}

// The levels cannot be recorded (the level file is not a file): the old form
// comes back in the state, the menu, both combos and the stored print type.
TEST_F(ViewMenuTest, PaperChangeThatCannotRecordTheLevelsChangesNothing) {
  Named();
  const std::filesystem::path level1 = LevelFilePath(st, st.WorkFileBase, 1);
  for (int form : {3, 4}) {
    std::filesystem::remove(level1);
    std::filesystem::create_directory(level1);
    journal.clear();
    ui.AnswerMsgBox(vbOK);
    if (form == 3)
      PaperPicked(2);
    else
      PeparSerect_Click(v, 4);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.PrnTypeNo, 1) << form;
    EXPECT_EQ(CheckedPaper(), 1) << form;
    EXPECT_EQ(port.paperIndex, 0) << form;
    EXPECT_EQ(port.floatingPaper, 0) << form;
    EXPECT_EQ(journal.back(), "SavePrintType(1)") << form;
    EXPECT_FALSE(Logged("PageNumbersWrite(" + std::to_string(form) + ")")) << form;
  }
}

// The levels are recorded, then level 1 cannot be read back (cut short by
// then): the user is told once and the sheet stays as it was recorded.
TEST_F(ViewMenuTest, ASheetThatCannotBeReadBackAfterRenumberingStaysAsRecorded) {
  Named();
  const std::filesystem::path level1 = LevelFilePath(st, st.WorkFileBase, 1);
  editorLog.afterPageNumbers = [&] {
    std::filesystem::resize_file(level1, std::filesystem::file_size(level1) - 100);
  };
  ui.AnswerMsgBox(vbOK, "[ 港北ビル.Y1 ] が壊れています。");
  PaperPicked(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.MessageTexts().size(), 1u);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(p.Text(1, 3), "仕上工事");
  EXPECT_FALSE(Logged("SheetRedisplay(1, 3)"));
  EXPECT_FALSE(ui.Busy());
}

TEST_F(ViewMenuTest, PrintFormOutsideOneToSevenCountsAsOne) {
  for (int stored : {-1, 0, 8}) {
    st.PrnTypeNo = stored;
    EXPECT_EQ(PrintFormNo(st), 1);
    PaperPicked(0);
    PeparSerect_Click(v, 1);
    EXPECT_EQ(st.PrnTypeNo, stored);
  }
  EXPECT_TRUE(journal.empty());
}

// --- Mask screens -------------------------------------------------------------

class MaskScreenTest : public ViewMenuTest {
 protected:
  void SetUp() override {
    ViewMenuTest::SetUp();
    Named();
    st.LevelCount = 3;
    st.CurrentLevel = 2;
    st.XMASK = {};
    st.UsesCurrentSettings = false;
    MaskMenuCaptions(port.menus, {"全項目", "金額", "数量", "単価", "備考", "予備"});
  }
  static std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int Stored(int level) const {
    return IniGetInt("マスク情報", "XMASK" + std::to_string(level), st.WorkFileBase + ".INI");
  }
};

TEST_F(MaskScreenTest, TheAnswerChoosesTheLevels) {
  struct Case {
    bool differ;
    int answer;  // 0: not asked
    std::array<int, 4> xmask;
  };
  for (const Case& c : {Case{false, vbYes, {0, 3, 3, 3}}, Case{false, vbNo, {0, 0, 3, 0}}, Case{true, 0, {0, 0, 3, 0}}}) {
    st.XMASK = {};
    st.PackPending = false;
    st.LevelsDifferInCols = c.differ;
    if (c.answer != 0) ui.AnswerMsgBox(c.answer, "全階層の画面切替をしますか?");
    MaskGamen_Click(v, 3);
    ui.ExpectAllAnswered();
    for (int level = 1; level <= 3; ++level) EXPECT_EQ(st.XMASK[size_t(level)], c.xmask[size_t(level)]) << level;
    EXPECT_EQ(Stored(2), 3);
    EXPECT_TRUE(st.PackPending);
    EXPECT_TRUE(port.menus.At("MaskGamen", 3).checked);
    EXPECT_EQ(port.panels[3], "単価");
  }
  EXPECT_EQ(Stored(1), 3);  // from the Yes
  const Prompt& asked = ui.Prompts()[0];
  EXPECT_EQ(asked.title, "画面切替");
  EXPECT_EQ(asked.style, vbYesNoCancel | vbQuestion);
}

TEST_F(MaskScreenTest, CancelPutsTheOldScreenBackEverywhere) {
  st.XMASK[2] = 1;
  CheckOnly(port.menus, "MaskGamen", 1);
  port.panels[3] = "金額";
  const std::string iniBefore = FileText(st.WorkFileBase + ".INI");
  journal.clear();
  ui.AnswerMsgBox(vbCancel);
  MaskGamen_Click(v, 4);
  EXPECT_EQ(st.XMASK[2], 1);
  EXPECT_TRUE(port.menus.At("MaskGamen", 1).checked);
  EXPECT_FALSE(port.menus.At("MaskGamen", 4).checked);
  EXPECT_EQ(port.panels[3], "金額");
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(FileText(st.WorkFileBase + ".INI"), iniBefore);
  EXPECT_TRUE(journal.empty());

  st.NotPrintLineMode = true;
  ui.AnswerMsgBox(vbOK, "非印刷行指定を解除して下さい.");
  MaskGamen_Click(v, 4);
  EXPECT_EQ(st.XMASK[2], 1);
}

// --- Line style and company-name position ---------------------------------------

TEST_F(ViewMenuTest, LineStyleItemsSetTheStyleOfTheGridAndTheCheck) {
  for (int item : {3, 1, 4, 2}) {
    Line_Style_Click(v, item);
    EXPECT_EQ(st.SheetPageLineStyle, item - 1);
    EXPECT_EQ(grid.PageLineStyle(), item - 1);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(port.menus.At("Line_Style", i).checked, i == item);
  }
}

TEST_F(ViewMenuTest, CompanyNamePositionIsWrittenToTheEstimateSettings) {
  const std::filesystem::path ini = st.WorkFileBase + ".INI";
  const char* values[] = {"左", "中", "右"};
  for (int item : {2, 3, 1}) {
    CoPrinPos_Click(v, item);
    std::string value;
    IniGetString("PrintInformation", "NamePosition", value, ini);
    EXPECT_EQ(value, values[item - 1]);
    EXPECT_TRUE(port.menus.At("CoPrinPos", item).checked);
  }
}

}  // namespace
}  // namespace kv::test
