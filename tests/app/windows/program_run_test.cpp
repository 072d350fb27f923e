// The whole program on the offscreen platform, as main() wires it: the start
// on a copy of the default program folder shows the title screen and then
// the main window with the untitled estimate, with no box on the way (a
// machine without a system printer prints to PDF); closing the main window
// ends the program through the shut-down. The program ends the process, so
// the run happens in a child process and the test reads what it left on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/ini_file.h"
#include "editor/windows/edtsheet_frm.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"
#include "support/whole_program.h"

namespace kv {
namespace {

// Exit codes of the child for what it found wrong before closing.
constexpr int kTitleStillLoaded = 3;
constexpr int kNoMainWindow = 4;
constexpr int kWrongCaption = 5;
constexpr int kNotClosed = 6;
constexpr int kBoxShown = 7;

[[noreturn]] void RunProgram(const std::string& prog) {
  test::WholeProgram program(prog);
  QtUi& qt = program.qt;
  program.Watch();
  program.Start();
  if (program.boxesShown > 0) std::_Exit(kBoxShown);
  if (qt.IsWindowLoaded("ST_Gamen")) std::_Exit(kTitleStillLoaded);
  EDTSHEET_FRM* w = LoadedEditWindow(qt);
  if (w == nullptr || !w->isVisible()) std::_Exit(kNoMainWindow);
  if (w->windowTitle() != QString::fromUtf8("< 無題 > ")) std::_Exit(kWrongCaption);
  w->close();  // the shut-down ends the process
  std::_Exit(kNotClosed);
}

TEST(ProgramRun, StartsOnTheDefaultFolderAndClosesThroughTheShutdown) {
  test::EnsureQtApp();
  test::TempFolder dir;
  for (const auto& entry : std::filesystem::directory_iterator(KORVANE_PROGRAM_DIR))
    if (entry.is_regular_file() && entry.path().filename() != "korvane")
      std::filesystem::copy_file(entry.path(), dir / entry.path().filename().string());
  const std::string prog = dir.path().string();
  const std::string sys = prog + "/KVSSYS.INI";
  ASSERT_TRUE(IniDeleteSection("編集画面", sys));

  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(RunProgram(prog), ::testing::ExitedWithCode(0), "");

  // The work folder was made by the start and removed by the shut-down; the
  // main window's rectangle reached the program settings.
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK"));
  EXPECT_GE(IniGetInt("編集画面", "Width", sys), 4200);
  EXPECT_GE(IniGetInt("編集画面", "Height", sys), 4200);
}

}  // namespace
}  // namespace kv
