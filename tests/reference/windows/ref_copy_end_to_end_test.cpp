// Copying from the reference window in the whole program, as a new user
// would: the sample estimate open in the editor and a packed copy of it
// opened as the reference; a row of the reference that owns a breakdown of
// two levels is copied with 行コピー, the lower levels offered are taken down
// to "３階層"; the editor then goes down into the copied row and once more
// into its copied breakdown, where the rows of the reference's level 3 are.
// The editor inside the copied breakdown is saved as a picture to look at
// (KORVANE_REFCOPY_PICTURE, or /tmp/korvane_reference_copy.png); the
// estimate is then saved and opened again, and the copied breakdowns are
// still there at both levels. The program
// ends the process, so the run happens in a child process.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "core/stored_number.h"
#include "editor/file_menu.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/dialog_codes.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/ui.h"
#include "reference/ref_lower_copy.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_dm_copy_dialog.h"
#include "reference/windows/ref_sheet_frm.h"
#include "reference/windows/sample_reference.h"
#include "state/float_windows.h"
#include "storage/row_record.h"
#include "support/qt_test_app.h"
#include "support/whole_program.h"

namespace kv {
namespace {

enum : int {
  kBoxShown = 3,
  kNoWindows,
  kNotOpened,
  kNoOwner,
  kNotOffered,
  kNotCopied,
  kNotDown,
  kNotDownTwice,
  kNotSaved,
  kNotReopened,
  kLostAfterReopen,
};

std::string Trim(const std::string& t) {
  const size_t b = t.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
}

[[noreturn]] void CopyWithBreakdowns(const std::string& prog, const std::string& sample, const std::string& reference) {
  test::WholeProgram program(prog, sample);
  ProgramState& st = program.st;
  // The user: Yes to the offer, "３階層" in the depth dialog; any other box
  // is counted and closed.
  int offers = 0, otherBoxes = 0;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      if (box->text().contains(QString::fromUtf8("下階層も複写しますか"))) {
        ++offers;
        for (QAbstractButton* b : box->buttons())
          if (b->text() == QString::fromStdString(MsgBoxButtonText(vbYes))) b->click();
      } else {
        ++otherBoxes;
        box->accept();
      }
    } else if (auto* dlg = dynamic_cast<RefDMCopy_Frm*>(w)) {
      dlg->DMCopy(1)->setChecked(true);
      dlg->findChild<QPushButton*>("cmdOK")->click();
    }
  });
  user.start(10);
  program.Start();
  if (otherBoxes > 0) std::_Exit(kBoxShown);
  EDTSHEET_FRM* editor = LoadedEditWindow(program.qt);
  if (editor == nullptr) std::_Exit(kNoWindows);
  editor->setGeometry(0, 30, 1000, 640);
  editor->MenuAction("Menu_1Sub", 7)->trigger();
  test::Settle();
  auto* ref = dynamic_cast<RefSheet_Frm*>(program.qt.LoadedWindow(kRefWindow));
  if (ref == nullptr) std::_Exit(kNoWindows);
  st.RecentRefFiles[1] = "1 " + reference;
  ref->Logic().RefM1Sub_Click(3);
  test::Settle();
  if (otherBoxes > 0 || st.RefFilePath != reference) std::_Exit(kNotOpened);

  // A reference row whose breakdown has a breakdown of its own.
  const bool hex = IsHexBase(st.H_Link);
  GridModel& g = ref->RefSheet();
  int owner = 0;
  for (int r = 1; r <= st.RefUsedRows && owner == 0; ++r) {
    if (g.CellColour(0, r) != 14) continue;
    g.LeftButtonDown(1, 0, r, false);
    test::Settle();
    for (int k = 1; k <= st.RefUsedRows; ++k)
      if (BaseStrToNum(LinkField(st.RefSheetRows[size_t(k)], kChildPos), hex) > 0) owner = r;
    ref->Logic().DMLabel_Click(1);
    test::Settle();
  }
  if (owner == 0) std::_Exit(kNoOwner);
  const std::string ownerName = Trim(g.CellText(1, owner));

  // Copied below the estimate's last row.
  GridModel& e = editor->EdtSheet();
  const int at = st.UsedRows + 1;
  SetSheetLocate32(e, 1, at);
  test::Settle();
  SetSelect32(g, 1, owner, 1, owner);
  st.RefSelStart = 1;
  st.RefSelEnd = owner;
  ref->Logic().MenuChosen("MnuEItem", 1);
  test::Settle();
  if (offers != 1) std::_Exit(kNotOffered);
  if (otherBoxes > 0 || Trim(e.CellText(1, at)) != ownerName ||
      BaseStrToNum(LinkField(st.SheetRows[size_t(at)], kChildPos), hex) <= 0)
    std::_Exit(kNotCopied);

  // Down into the copied row, then into the first of its rows that owns a
  // breakdown: both were copied.
  SetSheetLocate32(e, 1, at);
  e.KeyDown(gridkey::kF9, false, false);
  test::Settle();
  if (st.CurrentLevel != 2 || st.UsedRows < 1) std::_Exit(kNotDown);
  int inner = 0;
  for (int r = 1; r <= st.UsedRows && inner == 0; ++r)
    if (BaseStrToNum(LinkField(st.SheetRows[size_t(r)], kChildPos), hex) > 0) inner = r;
  if (inner == 0) std::_Exit(kNotDown);
  SetSheetLocate32(e, 1, inner);
  e.KeyDown(gridkey::kF9, false, false);
  test::Settle();
  if (st.CurrentLevel != 3 || st.UsedRows < 1 || otherBoxes > 0) std::_Exit(kNotDownTwice);

  const char* path = std::getenv("KORVANE_REFCOPY_PICTURE");
  editor->grab().toImage().save(QString::fromUtf8(path && *path ? path : "/tmp/korvane_reference_copy.png"));

  // Saved, then the saved file opened again (as the reference, which
  // unpacks it afresh): the copied row still leads down two levels.
  editor->MenuAction("Menu_1Sub", kFileSaveItem)->trigger();
  test::Settle();
  if (otherBoxes > 0 || st.PackPending || st.SheetModified) std::_Exit(kNotSaved);
  // A copy of the saved file, so the reference cannot be served from the
  // open estimate's work files.
  const std::filesystem::path saved = std::filesystem::path(sample).parent_path() / "SAVEDCOPY.YZH";
  std::error_code ec;
  std::filesystem::copy_file(sample, saved, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) std::_Exit(kNotSaved);
  st.RecentRefFiles[1] = "1 " + saved.string();
  ref->Logic().RefM1Sub_Click(3);
  test::Settle();
  if (otherBoxes > 0 || st.RefFilePath != saved.string() || st.RefCurrentLevel != 1) std::_Exit(kNotReopened);
  if (Trim(g.CellText(1, at)) != ownerName || g.CellColour(0, at) != 14) std::_Exit(kLostAfterReopen);
  g.LeftButtonDown(1, 0, at, false);
  test::Settle();
  int copiedInner = 0;
  for (int r = 1; r <= st.RefUsedRows && copiedInner == 0; ++r)
    if (g.CellColour(0, r) == 14) copiedInner = r;
  if (st.RefCurrentLevel != 2 || copiedInner == 0) std::_Exit(kLostAfterReopen);
  g.LeftButtonDown(1, 0, copiedInner, false);
  test::Settle();
  if (st.RefCurrentLevel != 3 || st.RefUsedRows < 1 || otherBoxes > 0) std::_Exit(kLostAfterReopen);
  std::_Exit(0);
}

TEST(RefCopyEndToEnd, RowsWithTwoLevelsOfBreakdownsAreCopiedAndCanBeEntered) {
  test::EnsureQtApp();
  const test::SampleWithReference files;
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(CopyWithBreakdowns(files.prog, files.sample, files.reference), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kv
