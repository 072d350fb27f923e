// The manual's pictures, made by the program itself: the whole program is
// started on the sample estimate (in a child process, as it ends the process)
// and its main windows are drawn into PNG files — the main window, the
// calculation menu, the options and print dialogs, the reference window with
// an estimate in it, the help window. Each picture must show something. The files go into the
// folder KORVANE_HELP_PICTURES names (scripts/help_screenshots.sh points it
// at dist/help), else into a folder of the test's own.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/help_file.h"
#include "app/windows/help_frm.h"
#include "editor/windows/edtsheet_frm.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_sheet_frm.h"
#include "state/float_windows.h"
#include "storage/program_copy.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"
#include "support/whole_program.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

enum : int { kNoMainWindow = 3, kNotSaved, kBlank, kNoDialog, kNoReference };

// A picture shows something when it has enough dark pixels (text, lines).
bool HasInk(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); y += 2)
    for (int x = 0; x < img.width(); x += 2) {
      const QColor c = img.pixelColor(x, y);
      if (c.red() + c.green() + c.blue() < 3 * 120) ++n;
    }
  return n > 200;
}

void Save(QWidget* w, const std::string& folder, const char* name) {
  if (w == nullptr) std::_Exit(kNoDialog);
  test::Settle();
  const QImage img = w->grab().toImage();
  if (!HasInk(img)) std::_Exit(kBlank);
  if (!img.save(QString::fromStdString(folder + "/" + name))) std::_Exit(kNotSaved);
}

// Runs `open` (which shows a modal dialog and returns when it closes); the
// dialog is drawn once it is up and then closed.
void DrawModal(const std::string& folder, const char* name, const std::function<void()>& open) {
  bool drawn = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (drawn || modal == nullptr || qobject_cast<QMessageBox*>(modal)) return;
    drawn = true;
    Save(modal, folder, name);
    modal->close();
  });
  timer.start(50);
  open();
  if (!drawn) std::_Exit(kNoDialog);
}

[[noreturn]] void DrawWindows(const std::string& prog, const std::string& sample, const std::string& reference,
                              const std::string& folder) {
  // A dialog that never comes or never goes ends the run instead of hanging it.
  ::alarm(120);
  test::WholeProgram program(prog, sample);
  program.Watch();
  program.Start();
  EDTSHEET_FRM* w = LoadedEditWindow(program.qt);
  if (w == nullptr || !w->isVisible()) std::_Exit(kNoMainWindow);
  w->resize(1240, 640);
  Save(w, folder, "main_window.png");

  QMenu* calc = w->MenuAction("Menu_3", 3)->menu();
  calc->popup(w->mapToGlobal(QPoint(120, 30)));
  Save(calc, folder, "calc_menu.png");
  calc->close();

  DrawModal(folder, "options_dialog.png", [&] { w->MenuAction("Menu_7Sub", 14)->trigger(); });
  DrawModal(folder, "print_dialog.png", [&] { w->MenuAction("Menu_1Sub", 15)->trigger(); });

  // The reference window, with an estimate opened from its list of recent
  // ones (as the File menu of the window offers it).
  w->MenuAction("Menu_1Sub", 7)->trigger();
  auto* ref = dynamic_cast<RefSheet_Frm*>(program.qt.LoadedWindow(kRefWindow));
  if (ref == nullptr) std::_Exit(kNoReference);
  program.st.RecentRefFiles[1] = "1 " + reference;
  ref->Logic().RefM1Sub_Click(3);
  if (program.st.RefFilePath != reference) std::_Exit(kNoReference);
  ref->resize(1240, 480);
  Save(ref, folder, "reference_window.png");
  program.qt.UnloadWindow(kRefWindow);

  // The help window itself, at the page on calculation rows, as Help > 目次 and
  // a link bring it.
  w->MenuAction("HelpIndex")->trigger();
  auto* help = dynamic_cast<Help_Frm*>(program.qt.LoadedWindow(kHelpWindow));
  if (help == nullptr) std::_Exit(kNoDialog);
  help->resize(1000, 640);
  help->ShowPage("calc.html", false);
  // The contents are read on a thread of the help engine's own.
  QHelpContentModel* contents = help->Engine().contentModel();
  for (int i = 0; i < 400 && (contents->isCreatingContents() || contents->rowCount() == 0); ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  Save(help, folder, "help_window.png");
  std::_Exit(0);
}

TEST(HelpPictures, TheMainWindowsAreDrawnForTheManual) {
  test::EnsureQtApp();
  test::TempFolder dir;
  test::CopyProgramFolder(dir.path());
  stdfs::create_directory(dir / "DATA");
  for (const char* ext : {".YZH", ".OPD"}) {
    const stdfs::path from = std::string(KORVANE_PROGRAM_DIR) + "/DATA/サンプル見積" + ext;
    stdfs::copy_file(from, dir / (std::string("DATA/サンプル見積") + ext));
    stdfs::copy_file(from, dir / (std::string("DATA/参考見積") + ext));
  }
  stdfs::copy(std::string(KORVANE_PROGRAM_DIR) + "/help", dir / "help", stdfs::copy_options::recursive);
  const std::string prog = dir.path().string();
  const char* wanted = std::getenv("KORVANE_HELP_PICTURES");
  const std::string folder = wanted && *wanted ? std::string(wanted) : (dir / "pictures").string();
  stdfs::create_directories(folder);

  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(DrawWindows(prog, prog + "/DATA/サンプル見積.YZH", prog + "/DATA/参考見積.YZH", folder),
              ::testing::ExitedWithCode(0), "");
  for (const char* name :
       {"main_window.png", "calc_menu.png", "options_dialog.png", "print_dialog.png", "reference_window.png",
        "help_window.png"}) {
    QImage img;
    EXPECT_TRUE(img.load(QString::fromStdString(folder + "/" + name))) << name;
    EXPECT_GT(img.width(), 100) << name;
  }
}

}  // namespace
}  // namespace kv
