// File item 12, project information: refused for an untitled estimate; the
// project-information window when the outside program is not in the program
// folder; the outside program (the stand-in, copied into a program folder of
// the test's own) run and waited for with the editor minimised and
// disabled, and a program that cannot start reported with nothing marked.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/window_services.h"
#include "editor/file_menu.h"
#include "editor/kouji_sht.h"
#include "platform/codepage.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using Calls = std::vector<std::string>;

class MenuEditor : public test::RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
};

// The stand-in's test switch for one test.
class ToolMode {
 public:
  explicit ToolMode(const char* mode) { ::setenv("KORVANE_TOOL_MODE", mode, 1); }
  ~ToolMode() { ::unsetenv("KORVANE_TOOL_MODE"); }
};

class ProjectInfoItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    st.editor = &editor;
    st.FontName = "ＭＳ 明朝";
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.CurrentFilePath = (dir / "EST.YZH").string();
    dir.Write("WORK/EST.Y1", std::string(256, ' '));
    dir.Write("WORK/EST.YT", std::string(2000, ' '));
    // The unit list is open as a floating window.
    st.UnitWindowOpen = true;
    editor.menus.At("Menu_7Sub", 2).caption = "";
  }

  // The stand-in in the program folder under this name.
  void ToolIn(const std::string& name) {
    std::filesystem::copy_file(KORVANE_QUENBY_EXE, dir / name);
  }
  std::string FontCaption() const { return editor.menus.At("Menu_7Sub", 2).caption; }
  // The editor's own window calls, in order.
  Calls EditorWindowCalls() const {
    Calls out;
    for (const std::string& c : ui.Calls())
      if (c.find("EDTSHEET_FRM") != std::string::npos || c.starts_with("UnloadWindow(")) out.push_back(c);
    return out;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st{ui};
  MenuEditor editor;
  FileMenuPort port;
};

TEST_F(ProjectInfoItemTest, AnUntitledEstimateIsRefused) {
  ToolIn("Quenby.exe");
  ToolMode mode("write");
  st.WorkFileBase = (dir / "WORK" / "無題").string();
  dir.Write("WORK/無題.Y1", std::string(256, ' '));
  ui.AnswerMsgBox(vbOK, "見積データを保存後に実行してください。");
  Menu_1Sub_Click(st, kProjectInfoItem, port);
  EXPECT_EQ(EditorWindowCalls(), Calls{});
  EXPECT_FALSE(std::filesystem::exists(dir / "WORK" / "無題.YT"));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

TEST_F(ProjectInfoItemTest, WithoutTheOutsideProgramTheWindowIsShown) {
  bool shown = false;
  ui.AnswerModal(kKoujiWindow, [&] { shown = true; });
  Menu_1Sub_Click(st, kProjectInfoItem, port);
  EXPECT_TRUE(shown);
  // The floating windows come back on top after the modal window.
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost("), Calls{"SetWindowTopMost(UNIT2_Frm, true)"});
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

TEST_F(ProjectInfoItemTest, TheOutsideProgramRunsWithTheEditorMinimisedAndDisabled) {
  struct Case {
    const char* mode;
    const char* fileName;
    bool writes;
  };
  const Case cases[] = {{"write", "Quenby.exe", true}, {"keep", "quenby.EXE", false}, {"fail", "QUENBY.exe", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    test::TempFolder folder;
    st.AppPath = folder.path().string();
    std::filesystem::create_directories(folder / "WORK");
    st.WorkFileBase = (folder / "WORK" / "EST").string();
    folder.Write("WORK/EST.Y1", std::string(256, ' '));
    folder.Write("WORK/EST.YT", std::string(2000, ' '));
    std::filesystem::copy_file(KORVANE_QUENBY_EXE, folder / c.fileName);
    ui.windowStates["EDTSHEET_FRM"] = WindowState::Maximized;
    st.SheetModified = false;
    const size_t before = ui.Calls().size();
    ToolMode mode(c.mode);
    Menu_1Sub_Click(st, kProjectInfoItem, port);

    Calls calls;
    for (size_t i = before; i < ui.Calls().size(); ++i)
      if (ui.Calls()[i] != "ProcessEvents()") calls.push_back(ui.Calls()[i]);
    EXPECT_EQ(calls, (Calls{"UnloadWindow(UNIT2_Frm)", "SetWindowState(EDTSHEET_FRM, Minimized)",
                            "SetWindowEnabled(EDTSHEET_FRM, false)", "SetWindowEnabled(EDTSHEET_FRM, true)",
                            "SetWindowState(EDTSHEET_FRM, Maximized)"}));
    EXPECT_TRUE(ui.WindowEnabled("EDTSHEET_FRM"));
    // Waited for: what the program wrote is there when the command returns.
    const std::string yt = test::ReadAll(folder / "WORK" / "EST.YT");
    ASSERT_EQ(yt.size(), 2000u);
    EXPECT_EQ(yt.substr(0, 20) == ToSjis("工事情報ツールで記入"), c.writes);
    EXPECT_TRUE(st.SheetModified) << "the program may have changed the work files";
    EXPECT_TRUE(ui.Prompts().empty()) << "the window is not shown";
  }
}

TEST_F(ProjectInfoItemTest, AProgramThatCannotStartIsReportedAndChangesNothing) {
  // A file of that name that is no program (not executable).
  dir.Write("Quenby.exe", "MZ not for this system");
  ui.windowStates["EDTSHEET_FRM"] = WindowState::Normal;
  ui.AnswerMsgBox(vbOK, "工事情報プログラムを起動できません。\n" + (dir / "Quenby.exe").string());
  Menu_1Sub_Click(st, kProjectInfoItem, port);
  EXPECT_EQ(EditorWindowCalls(),
            (Calls{"UnloadWindow(UNIT2_Frm)", "SetWindowState(EDTSHEET_FRM, Minimized)",
                   "SetWindowEnabled(EDTSHEET_FRM, false)", "SetWindowEnabled(EDTSHEET_FRM, true)",
                   "SetWindowState(EDTSHEET_FRM, Normal)"}));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(FontCaption(), "ﾌｫﾝﾄ=ＭＳ 明朝");
}

}  // namespace
}  // namespace kv
