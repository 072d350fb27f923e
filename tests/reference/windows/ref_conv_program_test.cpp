// Converting a reference in the whole program, as a new user would: the
// sample estimate open in the editor, the reference window open, a copy of
// the sample saved with another layout (its unit-price column of another
// numeric type) opened from the recent list; Yes to the layout question; in
// RefLinkN "<<========全項目追加", the rule saved under a name, OK; the
// reference shows in the editor's columns with its totals intact. A second
// reference of that layout is offered the saved rule. Pictures of RefLinkN
// with its mapping and of the converted reference are saved to look at
// (/tmp/korvane_reflink_program.png, /tmp/korvane_reference_converted.png).
// The program ends the process, so the run happens in a child process.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/packing.h"
#include "reference/ref_files.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_link_n_frm.h"
#include "reference/windows/ref_sheet_frm.h"
#include "state/float_windows.h"
#include "editor/windows/edtsheet_frm.h"
#include "storage/program_copy.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"
#include "support/whole_program.h"

namespace kv {
namespace {

namespace fsys = std::filesystem;

enum : int {
  kNoMainWindow = 3,
  kNoRefWindow,
  kNoQuestion,
  kNotConverted,
  kRuleNotOffered,
  kUnexpectedBox,
};

std::string Trim(const std::string& t) {
  const size_t b = t.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
}

// A copy of the sample under `name` whose level-1 unit-price column has the
// numeric type "1" in place of "0".
void PackOldLayoutCopy(const fsys::path& prog, const std::string& name) {
  const PackFileSet set{".YZH", "OPD", {".Y1", ".Y2", ".Y3", ".Y$", ".INI"}, {".Y1", ".Y2", ".Y3"}};
  const fsys::path tmp = prog / "old";
  fsys::create_directories(tmp);
  ASSERT_EQ(MMelt(prog / "DATA", tmp, "サンプル見積", prog, set), kPackOk);
  for (const char* ext : {".Y1", ".Y2", ".Y3", ".Y$", ".INI"})
    fsys::rename(tmp / (std::string("サンプル見積") + ext), tmp / (name + ext));
  const fsys::path layout = tmp / (name + ".Y$");
  std::string text;
  {
    std::ifstream in(layout, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  const size_t at = text.find("\t0\t0\t12\t");
  ASSERT_NE(at, std::string::npos);
  text[at + 1] = '1';
  std::ofstream(layout, std::ios::binary | std::ios::trunc) << text;
  ASSERT_EQ(MCompress(prog / "DATA", tmp, name, prog, set), kPackOk);
  fsys::remove_all(tmp);
}

QPushButton* ButtonOf(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromUtf8(name)); }

[[noreturn]] void ConvertReferences(const std::string& prog, const std::string& sample, const std::string& first,
                                    const std::string& second) {
  test::WholeProgram program(prog, sample);
  ProgramState& st = program.st;
  int questions = 0;
  bool ruleOffered = false;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (!box->text().contains(QString::fromUtf8("変換しますか"))) std::_Exit(kUnexpectedBox);
      ++questions;
      box->defaultButton()->click();  // Yes, the first button
      return;
    }
    auto* link = dynamic_cast<RefLinkN*>(modal);
    if (link == nullptr) return;
    if (!link->Form().AnyFieldMapped()) {
      ButtonOf(link, "Command3(1)")->click();
      link->grab().save("/tmp/korvane_reflink_program.png");
      // The save dialog comes up inside the click: named from a timer of its own.
      QTimer::singleShot(50, [] {
        auto* mak = dynamic_cast<RChgRuleMAK_Frm*>(QApplication::activeModalWidget());
        if (mak == nullptr) return;
        mak->Form().Text1.text = "旧単価";
        ButtonOf(mak, "Command1(0)")->click();
      });
      ButtonOf(link, "Command2(1)")->click();
    } else {
      ruleOffered = link->Form().Frame1.caption == "変換ルール  [ 旧単価 ]";
    }
    ButtonOf(link, "Command1(0)")->click();
  });
  driver.start(20);
  program.Start();
  EDTSHEET_FRM* editor = LoadedEditWindow(program.qt);
  if (editor == nullptr) std::_Exit(kNoMainWindow);
  editor->MenuAction("Menu_1Sub", 7)->trigger();
  test::Settle();
  auto* ref = dynamic_cast<RefSheet_Frm*>(program.qt.LoadedWindow(kRefWindow));
  if (ref == nullptr || !st.RefWindowOpen) std::_Exit(kNoRefWindow);
  ref->setGeometry(0, 30, 1100, 640);

  st.RecentRefFiles[1] = "1 " + first;
  ref->Logic().RefM1Sub_Click(3);
  test::Settle();
  if (questions != 1) std::_Exit(kNoQuestion);
  GridModel& g = ref->RefSheet();
  if (st.RefFilePath != first || !CheckRefSystem(st) || Trim(g.CellText(1, 1)) != "仮設工事" ||
      Trim(g.CellText(7, st.Imax + 1)) != "115,872,200")
    std::_Exit(kNotConverted);
  ref->grab().save("/tmp/korvane_reference_converted.png");

  st.RecentRefFiles[1] = "1 " + second;
  ref->Logic().RefM1Sub_Click(3);
  test::Settle();
  if (!ruleOffered || st.RefFilePath != second || Trim(g.CellText(1, 1)) != "仮設工事") std::_Exit(kRuleNotOffered);
  std::_Exit(0);
}

TEST(RefConvProgram, AReferenceOfAnotherLayoutIsConvertedAndItsRuleServesTheNext) {
  test::EnsureQtApp();
  test::TempFolder dir;
  test::CopyProgramFolder(dir.path());
  fsys::create_directory(dir / "DATA");
  for (const char* ext : {".YZH", ".OPD"}) {
    const std::string from = std::string(KORVANE_PROGRAM_DIR) + "/DATA/サンプル見積" + ext;
    fsys::copy_file(from, dir / (std::string("DATA/サンプル見積") + ext));
  }
  const fsys::path prog = dir.path();
  PackOldLayoutCopy(prog, "旧参考A");
  PackOldLayoutCopy(prog, "旧参考B");
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(ConvertReferences(prog.string(), (prog / "DATA/サンプル見積.YZH").string(),
                                (prog / "DATA/旧参考A.YZH").string(), (prog / "DATA/旧参考B.YZH").string()),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kv
