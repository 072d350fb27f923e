// The whole program on the offscreen platform, as main() wires it: the start
// on a copy of the default program folder shows the title screen and then
// the main window with the untitled estimate, with no box on the way (a
// machine without a system printer prints to PDF); closing the main window
// ends the program through the shut-down. The program ends the process, so the run
// happens in a child process and the test reads what it left on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/number_chars.h"
#include "app/program_entry.h"
#include "app/program_state.h"
#include "app/windows/program_wiring.h"
#include "core/ini_file.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_ui.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

// Exit codes of the child for what it found wrong before closing.
constexpr int kTitleStillLoaded = 3;
constexpr int kNoMainWindow = 4;
constexpr int kWrongCaption = 5;
constexpr int kNotClosed = 6;
constexpr int kBoxShown = 7;

[[noreturn]] void RunProgram(const std::string& prog) {
  QtUi qt;
  ProgramState st(qt);
  InstanceLock instance(prog + "/instance.lock");
  StartupContext ctx;
  ctx.ProgramFolder = prog;
  ctx.ProgramFile = prog + "/korvane";
  ctx.Instance = &instance;
  const ShutdownSteps shutdown = ProgramShutdownSteps(qt);
  RegisterProgramWindows(qt, st, prog, ProgramEditorHooks(qt, st, shutdown));
  // A box on the way is answered, and fails the run.
  bool boxShown = false;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&boxShown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxShown = true;
      box->accept();
    }
  });
  answer.start(10);

  Main(st, ctx, ProgramStartupSteps(qt));
  if (boxShown) std::_Exit(kBoxShown);
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
