// The File menu's handler: the level gate, the brackets around the file
// commands, the epilogue, and a failing command reported and ended.
#include "editor/file_menu.h"

#include <gtest/gtest.h>

#include <system_error>

#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class MenuEditor : public test::RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
  void ToolBarStateSet(ProgramState& st, bool busy) override {
    st.CommandBusy = busy;
    RecordingEditor::ToolBarStateSet(st, busy);
  }
};

class FileMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    st.editor = &editor;
    st.FontName = "ＭＳ ゴシック";
    st.AppPath = "/nowhere";
    st.WorkFileBase = st.CurrentFilePath = "/nowhere/WORK/無題";
    port.SelRectStore = [this](ProgramState&) { calls.push_back("SelRectStore"); };
    port.NonPrintModesOff = [this](ProgramState&) { calls.push_back("NonPrintModesOff"); };
    port.LevelRecalcAndShow = [this](ProgramState&) { calls.push_back("LevelRecalcAndShow"); };
    port.GridFocus = [this](ProgramState&) { calls.push_back("GridFocus"); };
    port.UnloadEditor = [this](ProgramState&) {
      calls.push_back("UnloadEditor");
      return closes;
    };
    editor.menus.At("Menu_7Sub", 2).caption = "";
  }
  std::string FontCaption() const { return editor.menus.At("Menu_7Sub", 2).caption; }

  test::ScriptedUi ui;
  ProgramState st{ui};
  MenuEditor editor;
  FileMenuPort port;
  std::vector<std::string> calls;
  bool closes = false;
};

TEST_F(FileMenuTest, BelowLevelOneOnlySaveAndTheOtherCommandsRun) {
  st.CurrentLevel = 2;
  for (int index : {0, 1, 4, 17, 18, 19, 20, 21, 23}) {
    ui.AnswerMsgBox(vbOK, "(1)階層で実行して下さい");
    calls.clear();
    Menu_1Sub_Click(st, index, port);
    EXPECT_EQ(calls, (std::vector<std::string>{"SelRectStore", "NonPrintModesOff"})) << index;
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
    EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
    EXPECT_EQ(FontCaption(), "") << "no epilogue after the gate";
  }
  calls.clear();
  Menu_1Sub_Click(st, 3, port);  // Save: nothing changed, nothing to do
  EXPECT_EQ(calls, (std::vector<std::string>{"SelRectStore", "NonPrintModesOff", "GridFocus"}));
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ ゴシック");
}

TEST_F(FileMenuTest, OtherItemsRunOnlyThePrologueAndEpilogue) {
  ui.missingWindows = {"frmP1SetUp"};  // print without its dialog
  Menu_1Sub_Click(st, 15, port);  // print keeps its own selection
  Menu_1Sub_Click(st, 2, port);   // a separator
  EXPECT_EQ(calls, (std::vector<std::string>{"NonPrintModesOff", "SelRectStore", "NonPrintModesOff"}));
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ ゴシック");
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(FileMenuTest, TheCoverItemNeedsAPrinterAndThenHandsOff) {
  int handOffs = 0;
  port.KVCoverProc = [&](ProgramState&) { ++handOffs; };
  ui.printers.clear();
  ui.AnswerMsgBox(vbOK,
                  "プリンタがインストールされていないため、表紙を起動することが出来ません\r"
                  "表紙を起動するためには、プリンタをインストールしてください。");
  Menu_1Sub_Click(st, 10, port);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().title, "DI32DODA");
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
  EXPECT_EQ(handOffs, 0);
  EXPECT_EQ(FontCaption(), "") << "no epilogue after the printer message";
  ui.printers = {"LBP-1"};
  Menu_1Sub_Click(st, 10, port);
  EXPECT_EQ(handOffs, 1);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ ゴシック");
}

TEST_F(FileMenuTest, OpenIsBracketedAndRecalculatesAfterwards) {
  ui.AnswerOpenDialog(std::nullopt);
  Menu_1Sub_Click(st, 1, port);
  EXPECT_EQ(calls, (std::vector<std::string>{"SelRectStore", "NonPrintModesOff", "LevelRecalcAndShow",
                                             "GridFocus"}));
  EXPECT_EQ(ui.CallsStartingWith("TouchWindow("), std::vector<std::string>{"TouchWindow(EDTSHEET_FRM)"});
  EXPECT_TRUE(editor.Has("ToolBarStateSet(1)"));
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileMenuTest, ARefusedExitGivesTheGridTheFocus) {
  Menu_1Sub_Click(st, 23, port);
  EXPECT_EQ(calls.back(), "GridFocus");
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ ゴシック");
  closes = true;
  calls.clear();
  editor.menus.At("Menu_7Sub", 2).caption = "";
  Menu_1Sub_Click(st, 23, port);
  EXPECT_EQ(calls.back(), "UnloadEditor");
  EXPECT_EQ(FontCaption(), "");
}

// A sheet engine whose recording fails with a file error.
class FailingSheet : public test::RecordingSheet {
 public:
  std::errc error = std::errc::permission_denied;
  bool LevelSheetRecord(ProgramState&) override {
    throw std::system_error(std::make_error_code(error), "level file");
  }
};

TEST_F(FileMenuTest, AFailingCommandIsReportedAndEnded) {
  FailingSheet sheet;
  st.sheetEngine = &sheet;
  st.SheetModified = true;
  ui.AnswerMsgBox(vbOK, "\n開けません。他のﾕｰｻﾞｰが編集中です！");
  Menu_1Sub_Click(st, 3, port);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_FALSE(ui.Busy());

  sheet.error = std::errc::io_error;
  ui.AnswerMsgBox(vbOK, "(Menu1_Sub_Err ｴﾗｰNo " + std::to_string(EIO) + ")");
  Menu_1Sub_Click(st, 3, port);
  EXPECT_FALSE(st.CommandBusy);
}

}  // namespace
}  // namespace kv
