// The project-information window as the user meets it: File item 12 of the
// editor opens it over the labels and values of a named estimate, a value
// typed and saved through its menu reaches the ".YT", and closing keeps the
// window's place and zoom; closing after a change asks the save question.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "core/ini_file.h"
#include "core/window_services.h"
#include "editor/kouji_sht.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/frm_kouji_sht.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/when_shown.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class FrmKoujiSht : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.CurrentFilePath = (dir / "EST.YZH").string();
    st.FontName = "ＭＳ 明朝";
    st.CurrentLevel = 1;
    dir.Write("SUBTITLE.DAT", ToSjis("工事名称\r\n工事場所\r\n"));
    ASSERT_TRUE(IniPutString("ズーム倍率", "KouziZoom", "90", dir / "KVSSYS.INI"));
    RegisterEditorWindow(qt, st, {});
    qt.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(qt.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
  }
  void TearDown() override { delete qt.LoadedWindow(kEditWindow); }

  // Runs `act` on the window once the modal window is up.
  void WhenShown(std::function<void(frmKoujiSht&)> act) {
    test::WhenShown(qt, kKoujiWindow, act);
  }
  std::string IniValue(const char* section, const char* key) {
    std::string v;
    IniGetString(section, key, v, dir / "KVSSYS.INI");
    return v;
  }

  test::TempFolder dir;
  QtUi qt;
  ProgramState st{qt};
  EDTSHEET_FRM* editor = nullptr;
};

TEST_F(FrmKoujiSht, FileItemShowsTheLabelsAndSavesATypedValue) {
  QAction* item = editor->MenuAction("Menu_1Sub", 12);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isEnabled());
  bool shown = false;
  WhenShown([&](frmKoujiSht& w) {
    shown = true;
    EXPECT_EQ(w.windowTitle(), ToQ("< " + st.CurrentFilePath + " > 工事情報 "));
    EXPECT_TRUE(w.isModal());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w.FileItem(1)->text(), Q("上書き保存(&S)"));
    EXPECT_FALSE(w.FileItem(3)->isVisible());
    EXPECT_EQ(w.EditItem(3)->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    EXPECT_TRUE(w.ZoomItem(1)->isChecked());
    EXPECT_FALSE(w.ZoomItem(0)->isChecked());
    EXPECT_EQ(w.koujiSht().Zoom(), 90);
    EXPECT_EQ(w.koujiSht().CellText(1, 2), "工事場所");
    // No place kept: the three columns are in view.
    const GridModel& g = w.koujiSht();
    EXPECT_GE(w.koujiShtView()->viewport()->width(), g.ColX(1, 2) + g.Scaled(g.ColWidth(2)));
    // A value typed into the cursor cell (row 1, column 2).
    EXPECT_EQ(w.focusWidget(), w.koujiShtView());
    test::PressKey(&w, 'A', QStringLiteral("A"));
    ASSERT_TRUE(w.koujiSht().Editing());
    w.koujiSht().CommitEdit("本社ビル新築工事");
    // With KORVANE_SCREENSHOTS set to a folder, the window is saved there as
    // a picture for a look by eye.
    if (const char* shots = std::getenv("KORVANE_SCREENSHOTS"))
      w.grab().save(ToQ((std::filesystem::path(shots) / "frm_kouji_sht.png").string()));
    w.FileItem(1)->trigger();
    EXPECT_FALSE(w.Logic().KjChanged());
    w.ZoomItem(4)->trigger();
    EXPECT_TRUE(w.ZoomItem(4)->isChecked());
    EXPECT_FALSE(w.ZoomItem(1)->isChecked());
    w.FileItem(5)->trigger();  // saved: closes without a question
  });
  item->trigger();
  test::Settle();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(qt.IsWindowLoaded(kKoujiWindow));
  const std::string yt = test::ReadAll(dir / "WORK" / "EST.YT");
  ASSERT_EQ(yt.size(), 2000u);
  EXPECT_EQ(yt.substr(0, 40), ToSjis("本社ビル新築工事") + std::string(24, ' '));
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(IniValue("ズーム倍率", "KouziZoom"), "60");
  EXPECT_NE(IniValue("工事情報画面", "Width"), "");
}

TEST_F(FrmKoujiSht, ClosingAfterAChangeAsksTheSaveQuestion) {
  QString question;
  WhenShown([&](frmKoujiSht& w) {
    w.koujiSht().SetCursor(2, 2);
    w.koujiSht().BeginEdit(0);
    w.koujiSht().CommitEdit("東京都");
    QTimer::singleShot(0, [&] {
      QMessageBox* box = nullptr;
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(top); b != nullptr && b->isVisible()) box = b;
      ASSERT_NE(box, nullptr);
      question = box->text();
      EXPECT_EQ(box->windowTitle(), Q("工事情報編集"));
      for (QAbstractButton* b : box->buttons())
        if (b->text().startsWith(Q("いいえ"))) b->click();
    });
    w.close();
  });
  qt.ShowModal(kKoujiWindow);
  test::Settle();
  EXPECT_EQ(question, Q("工事情報の内容は変更されています。\n保存しますか?"));
  EXPECT_FALSE(qt.IsWindowLoaded(kKoujiWindow));
  EXPECT_FALSE(std::filesystem::exists(dir / "WORK" / "EST.YT"));
  EXPECT_FALSE(st.PackPending);
}

}  // namespace
}  // namespace kv
