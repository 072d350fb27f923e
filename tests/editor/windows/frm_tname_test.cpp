// The total-row names window as the user meets it: View item 15 of the
// editor opens it over the level's names, an edit saved through its menu
// reaches the closing record and the editor's totals line, and closing after
// an unsaved edit asks whether to save it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "core/window_services.h"
#include "editor/editor_geometry.h"
#include "editor/total_names.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/frm_tname.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "sheet/grid_setup.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "storage/level_read.h"
#include "support/qt_test_app.h"
#include "support/when_shown.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class FrmTName : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = dir.path().string();
    std::filesystem::create_directories(dir / "WORK");
    st.WorkFileBase = (dir / "WORK" / "EST").string();
    st.DataLen = 256;
    st.Imax = 200;
    test::SetDefaultItemLayout(st);
    test::SetLevelColumns(st, 1,
                          {{"名称", "C", 20},
                           {"規格", "W", 40},
                           {"金額", "A", 12, "", "SUM"}});
    st.ToTalNameColmun = 1;
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    st.CurrentLevel = 1;
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.SheetTotalRecord = std::string(size_t(st.DataLen), ' ');
    Put(1, "小計");
    RegisterEditorWindow(qt, st, {});
    qt.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(qt.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
    SheetGridInit(st, editor->EdtSheet(), 1);  // the level's sheet with its totals line
  }
  void TearDown() override { delete qt.LoadedWindow(kEditWindow); }

  void Put(int col, const std::string& text) {
    const std::string bytes = ToSjis(text);
    st.SheetTotalRecord.replace(size_t(st.ColStart[1][col] - 1), bytes.size(), bytes);
  }
  std::string Field(int col) const {
    return FromSjis(st.SheetTotalRecord.substr(size_t(st.ColStart[1][col] - 1), size_t(st.ColWidth[1][col])));
  }

  // Runs `act` on the names window once the modal window is up.
  void WhenShown(std::function<void(frmTName&)> act) {
    test::WhenShown(qt, kTotalNamesWindow, act);
  }
  static void Edit(frmTName& w, int col, const std::string& text) {
    w.TotalSheet().SetCursor(col, 1);
    w.TotalSheet().BeginEdit(0);
    w.TotalSheet().CommitEdit(text);
  }

  test::TempFolder dir;
  QtUi qt;
  ProgramState st{qt};
  EDTSHEET_FRM* editor = nullptr;
};

TEST_F(FrmTName, ViewItemShowsTheNamesAndSavesAnEdit) {
  QAction* item = editor->MenuAction("Menu_7Sub", 15);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isEnabled());
  bool shown = false;
  WhenShown([&](frmTName& w) {
    shown = true;
    EXPECT_EQ(w.windowTitle(), Q("1.階層 合計名称"));
    EXPECT_TRUE(w.isModal());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w.MenuItem(0)->text(), Q("保存(&S)"));
    EXPECT_EQ(w.MenuItem(1)->text(), Q("中止(&C)"));
    EXPECT_EQ(w.MenuItem(3)->text(), Q("終了(&X)"));
    EXPECT_FALSE(w.MenuItem(0)->isEnabled());
    EXPECT_EQ(w.height(), TwipsToPixels(w.Logic().GridHeightTwips() + 750, w.logicalDpiY()));
    // Every column in view: the window is as wide as the columns (the
    // offscreen screen is wide enough).
    const GridModel& g = w.TotalSheet();
    EXPECT_GE(w.findChild<QAbstractScrollArea*>()->viewport()->width(),
              g.ColX(1, g.ColCount()) + g.Scaled(g.ColWidth(g.ColCount())));
    EXPECT_EQ(w.TotalSheet().CellText(1, 1).substr(0, 6), "小計");
    EXPECT_EQ(w.TotalSheet().CellText(3, 1).find_first_not_of('*'), std::string::npos);
    Edit(w, 1, "工事合計");
    EXPECT_TRUE(w.MenuItem(0)->isEnabled());
    w.MenuItem(0)->trigger();
    EXPECT_FALSE(w.MenuItem(0)->isEnabled());
    w.MenuItem(3)->trigger();  // saved: closes without a question
  });
  item->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(qt.IsWindowLoaded(kTotalNamesWindow));
  EXPECT_EQ(Field(1), "工事合計" + std::string(12, ' '));
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(editor->EdtSheet().CellText(1, SheetRowLimit(st) + 1), "工事合計" + std::string(12, ' '));
}

TEST_F(FrmTName, ClosingAfterAnEditAsksAndNoKeepsTheRecord) {
  const std::string before = st.SheetTotalRecord;
  QString question;
  WhenShown([&](frmTName& w) {
    Edit(w, 2, "規格計");
    QTimer::singleShot(0, [&] {
      QMessageBox* box = nullptr;
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(top); b != nullptr && b->isVisible()) box = b;
      ASSERT_NE(box, nullptr);
      question = box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text().startsWith(Q("いいえ"))) b->click();
    });
    w.close();
  });
  qt.ShowModal(kTotalNamesWindow);
  EXPECT_EQ(question, Q("名称が変更されています。保存しますか？"));
  EXPECT_FALSE(qt.IsWindowLoaded(kTotalNamesWindow));
  EXPECT_EQ(st.SheetTotalRecord, before);
}

}  // namespace
}  // namespace kv
