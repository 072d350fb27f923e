// The reference window in the whole program, as a new user would try it: the
// sample estimate open in the editor, File > 参考ﾌｧｲﾙ呼出 opens the window,
// a packed copy of the sample is opened from the recent list, a row header
// goes down to level 2, the tree jumps to a level-3 row, the level bar comes
// back, and after closing and opening again the recent list still offers the
// file. The editor and the reference window showing level 2 and its tree
// are saved side by side as a picture to look at (KORVANE_REF_PICTURE, or
// /tmp/korvane_reference_window.png). The program ends the process, so the
// run happens in a child process.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

#include "app/windows/program_wiring.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/tree/qt/tree_view.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_sheet_frm.h"
#include "reference/windows/sample_reference.h"
#include "state/float_windows.h"
#include "support/qt_test_app.h"
#include "support/whole_program.h"

namespace kv {
namespace {

enum : int {
  kBoxShown = 3,
  kNoMainWindow,
  kNoRefWindow,
  kNotOpened,
  kNotDown,
  kTreeClick,
  kNotBack,
  kWork2Left,
  kRecentLost,
};

std::string Trim(const std::string& t) {
  const size_t b = t.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
}

[[noreturn]] void BrowseReference(const std::string& prog, const std::string& sample, const std::string& reference) {
  test::WholeProgram program(prog, sample);
  ProgramState& st = program.st;
  program.Watch();
  program.Start();
  if (program.boxesShown > 0) std::_Exit(kBoxShown);
  EDTSHEET_FRM* editor = LoadedEditWindow(program.qt);
  if (editor == nullptr) std::_Exit(kNoMainWindow);
  editor->setGeometry(0, 30, 900, 640);

  editor->MenuAction("Menu_1Sub", 7)->trigger();
  test::Settle();
  auto* ref = dynamic_cast<RefSheet_Frm*>(program.qt.LoadedWindow(kRefWindow));
  if (ref == nullptr || !ref->isVisible() || !st.RefWindowOpen) std::_Exit(kNoRefWindow);
  ref->setGeometry(910, 30, 860, 640);
  test::Settle();

  // The packed copy from the recent list (no dialog to answer).
  st.RecentRefFiles[1] = "1 " + reference;
  ref->Logic().RefM1Sub_Click(3);
  test::Settle();
  GridModel& g = ref->RefSheet();
  if (program.boxesShown > 0 || st.RefFilePath != reference || st.RefUsedRows != 14 ||
      Trim(g.CellText(1, 1)) != "仮設工事" || Trim(g.CellText(7, st.Imax + 1)) != "115,872,200")
    std::_Exit(kNotOpened);

  // A row header goes down into the breakdown of the first row that has one
  // (its header is colour 14).
  int owner = 1;
  while (owner < st.RefUsedRows && g.CellColour(0, owner) != 14) ++owner;
  g.LeftButtonDown(1, 0, owner, false);
  test::Settle();
  if (st.RefCurrentLevel != 2 || st.RefUsedRows < 1 || !ref->DMLabel(1)->isVisible() ||
      !ref->DMLabel(1)->text().endsWith(":"))
    std::_Exit(kNotDown);

  // The tree: a level-3 row of the first level-2 row that owns one.
  TreeModel& tree = ref->RefTree();
  std::string level3;
  for (const TreeNode* top : tree.Find("Root")->children) {
    for (const TreeNode* mid : top->children) {
      if (mid->children.empty()) continue;
      tree.UserToggle(top->data.key);
      const TreeNode* again = tree.Find(mid->data.key);
      tree.UserToggle(mid->data.key);
      if (again && !again->children.empty()) level3 = again->children.back()->data.key;
      break;
    }
    if (!level3.empty()) break;
  }
  if (!level3.empty()) {
    tree.UserClick(level3);
    test::Settle();
    if (st.RefCurrentLevel != 3 || !ref->DM_Button(2)->isVisible()) std::_Exit(kTreeClick);
    ref->DM_Button(2)->click();
    test::Settle();
  }
  if (st.RefCurrentLevel != 2) std::_Exit(kNotBack);

  // The picture: the editor and the reference window side by side.
  const QImage left = editor->grab().toImage();
  const QImage right = ref->grab().toImage();
  QImage both(left.width() + right.width() + 10, std::max(left.height(), right.height()), QImage::Format_RGB32);
  both.fill(Qt::darkGray);
  {
    QPainter p(&both);
    p.drawImage(0, 0, left);
    p.drawImage(left.width() + 10, 0, right);
  }
  const char* path = std::getenv("KORVANE_REF_PICTURE");
  both.save(QString::fromUtf8(path && *path ? path : "/tmp/korvane_reference_window.png"));

  // Closed: WORK2 goes; opened again: the recent list offers the file.
  ref->close();
  test::Settle();
  if (std::filesystem::exists(prog + "/WORK2")) std::_Exit(kWork2Left);
  editor->MenuAction("Menu_1Sub", 7)->trigger();
  test::Settle();
  ref = dynamic_cast<RefSheet_Frm*>(program.qt.LoadedWindow(kRefWindow));
  if (ref == nullptr || st.RecentRefFiles[1] != "1 " + reference ||
      !ref->Menus().Action("RefM1Sub", 3)->text().startsWith("1 "))
    std::_Exit(kRecentLost);
  std::_Exit(0);
}

TEST(RefSheetFrm, OpensBesideTheEditorAndBrowsesTheLevelsOfAPackedEstimate) {
  test::EnsureQtApp();
  const test::SampleWithReference files;
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(BrowseReference(files.prog, files.sample, files.reference), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kv
