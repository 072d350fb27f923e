// The cover hand-off from the running editor window: File item 10 and the
// extended toolbar's cover button start the stand-in cover tool of the program
// folder, and the window comes back enabled in its former state with the
// cover's change on the sheet.
#include <gtest/gtest.h>

#include <QAction>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/window_services.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class EdtSheetCover : public test::EditorWindowTest {
 protected:
  void TearDown() override {
    unsetenv("KORVANE_TOOL_MODE");
    EditorWindowTest::TearDown();
  }

  EDTSHEET_FRM& Load() {
    EDTSHEET_FRM& w = LoadEditor();
    // A named estimate A, the stand-in tool beside the program.
    stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / "Vorlet.exe", dir / "Vorlet.exe");
    stdfs::create_directories(dir / "WORK");
    stdfs::create_directories(dir / "DATA");
    st.AppPath = dir.path().string();
    st.WorkFileBase = (dir / "WORK/A").string();
    st.CurrentFilePath = (dir / "DATA/A.YZH").string();
    st.PackedExt = ".YZH";
    st.LevelExt[1] = ".Y1";
    std::ofstream(dir / "WORK/A.INI") << "[PrintInformation]\r\nCompanyName=KORVANE\r\n";
    return w;
  }

  test::TempFolder dir;
};

TEST_F(EdtSheetCover, TheFileMenuAndTheCoverButtonRunTheToolAndBringTheWindowBack) {
  EDTSHEET_FRM& w = Load();
  setenv("KORVANE_TOOL_MODE", "write", 1);
  QAction* item = w.MenuAction("Menu_1Sub", 10);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  test::Settle();
  EXPECT_TRUE(stdfs::exists(dir / "WORK/A.WH2"));
  EXPECT_TRUE(stdfs::exists(dir / "Mp_Cover.Dat"));
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(w.isEnabled());
  EXPECT_FALSE(w.isMinimized());
  EXPECT_FALSE(w.State().CoverToolRunning);
  EXPECT_EQ(st.CoverToolPid, 0);

  // The docked button: a tool that keeps the cover changes nothing.
  auto* actions = new ToolbarActions(w.Toolbar2Model(), w.Toolbar2());
  actions->AddTo(w.Toolbar2(), {});
  actions->clicked = [&w](const std::string& key) { w.Toolbar2_ButtonClick(key); };
  QAction* button = actions->Action("HYOUSI");
  ASSERT_TRUE(button->isEnabled());
  st.SheetModified = false;
  setenv("KORVANE_TOOL_MODE", "keep", 1);
  stdfs::remove(dir / "Mp_Cover.Dat");
  button->trigger();
  test::Settle();
  EXPECT_TRUE(stdfs::exists(dir / "Mp_Cover.Dat"));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(w.isEnabled());
}

}  // namespace
}  // namespace kv
