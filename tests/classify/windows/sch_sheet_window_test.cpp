// The search window beside the running editor: opened from the extended
// functions, a word searched with Enter lists its hits on three levels with
// the count and the path of the hit under the cursor, a double click opens
// the hit's sheet in the editor, and closing the window clears its flags.
#include "classify/windows/sch_sheet_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <string>

#include "classify/sch_sheet_frm.h"
#include "classify/windows/kensaku_dialog.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

struct Rec {
  char kind;
  int next;
  int child;
  const char* name;
  const char* amount;
};

class SchSheetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    std::filesystem::create_directories(app.path() / "WORK");
    st.AppPath = app.path().string();
    st.WorkFileBase = st.AppPath + "/WORK/EST";
    st.CurrentFilePath = st.AppPath + "/DATA/EST.YZH";
    st.DataLen = 256;
    st.Imax = 50;
    st.MemoRowMax = 80;
    st.H_Link = "10";
    st.LevelCount = 3;
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 40;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 7000;
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 1;
    for (int l = 1; l <= 8; ++l) {
      st.LevelExt[l] = ".Y" + std::to_string(l);
      st.ColCount[l] = 2;
      st.ColType[l][1] = "W";
      st.ColStart[l][1] = 20;
      st.ColWidth[l][1] = 40;
      st.ColType[l][2] = "0";
      st.ColStart[l][2] = 60;
      st.ColWidth[l][2] = 12;
      std::string caption(256, ' ');
      caption.replace(19, 4, ToSjis("名称"));
      caption.replace(59, 4, ToSjis("金額"));
      st.LevelCaption[l] = caption;
      st.FormatMasks[l] = MakeColumnMasks(st, l);
      st.TotalRecordDefaults[l] = std::string(256, ' ');
      st.TotalRecordDefaults[l][2] = 'G';
    }
    Level(1, {{' ', 2, kNoRecord, "共通仮設工事", "1250000"}, {' ', 3, 1, "建築工事", "98765432"}, {'G', kNoRecord, kNoRecord, "", ""}});
    Level(2, {{' ', 2, kNoRecord, "仮設足場", "480000"}, {' ', 3, 1, "躯体工事　鉄筋コンクリート造　地上三階建", "5400000"},
              {'G', kNoRecord, kNoRecord, "", ""}});
    Level(3, {{' ', 2, kNoRecord, "足場　枠組足場　手摺先行型", "1234567"}, {' ', 3, kNoRecord, "型枠", "860000"},
              {'G', kNoRecord, kNoRecord, "", ""}});

    RegisterEditorWindow(ui, st, {});
    RegisterSearchWindows(ui, st);
    ui.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, 1);
    st.SheetLoading = false;
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    st.CurrentCol = 1;
    test::Settle();
  }
  void TearDown() override {
    delete ui.LoadedWindow(kSearchWindow);
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }

  void Level(int level, const std::vector<Rec>& recs) {
    RecordFile f(app.path() / "WORK" / ("EST.Y" + std::to_string(level)), st.DataLen);
    for (size_t i = 0; i < recs.size(); ++i) {
      std::string rec(256, ' ');
      rec[2] = recs[i].kind;
      SetLinkField(rec, kOwnPos, static_cast<int>(i) + 1, false);
      SetLinkField(rec, kNextPos, recs[i].next, false);
      SetLinkField(rec, kChildPos, recs[i].child, false);
      const std::string name = ToSjis(recs[i].name);
      rec.replace(19, name.size(), name);
      const std::string amount = recs[i].amount;
      rec.replace(59 + 12 - amount.size(), amount.size(), amount);
      f.PutRecordText(static_cast<int>(i) + 1, rec);
    }
    f.Close();
  }

  // Presses OK on the message box that comes up next, keeping its text (the
  // search lets events run before its box shows, so this looks until then).
  void OkOnNextBox(QString& text) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, &text] {
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(top); b != nullptr && b->isVisible()) {
          text = b->text();
          timer->stop();
          timer->deleteLater();
          b->buttons().front()->click();
          return;
        }
    });
    timer->start(10);
  }

  void Shot(QWidget& w, const char* name) {
    if (const char* out = std::getenv("KORVANE_SHOT_DIR"))
      w.grab().save(QString::fromStdString((std::filesystem::path(out) / name).string()));
  }

  test::TempFolder app;
  QtUi ui;
  ProgramState st{ui};
  EDTSHEET_FRM* editor = nullptr;
};

TEST_F(SchSheetWindowTest, SearchesAWordOnThreeLevelsAndJumpsToAHit) {
  SearchWindowShow(st);
  test::Settle();
  auto* w = dynamic_cast<SchSheetWindow*>(ui.LoadedWindow(kSearchWindow));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(st.SearchWindowOpen);
  EXPECT_TRUE(st.SearchSheetLoaded);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), ToQ("文字列検索"));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  QStringList menus;
  for (QAction* a : w->findChild<QMenuBar*>()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({ToQ("ﾌｧｲﾙ(&F)"), ToQ("画面(&V)"), ToQ("複合検索(&J)"), ToQ("ﾍﾙﾌﾟ(&H)")}));

  // "足場" stands on levels 2 and 3 and "工事" on all three.
  w->resize(760, 360);
  w->SearchTextBox()->setFocus();
  w->SearchTextBox()->setText(ToQ("工事"));
  QString done;
  OkOnNextBox(done);
  test::PressKey(w, Qt::Key_Return);
  test::Settle();
  EXPECT_EQ(done, ToQ("検索が終了しました"));
  EXPECT_EQ(w->Label1()->text(), ToQ(" 3"));
  EXPECT_EQ(w->DMLinkLabel()->text(), ToQ("1行目"));
  GridModel& grid = w->SchSheet();
  EXPECT_EQ(GetTextData32(grid, 1, 2), "建築工事");
  // A two-line name wraps at 19 bytes; a character across the wrap moves down.
  EXPECT_EQ(GetTextData32(grid, 1, 3), "躯体工事　鉄筋コン \r\nクリート造　地上三");
  EXPECT_NE(GetTextData32(grid, 2, 2).find("98,765,432"), std::string::npos);
  EXPECT_TRUE(w->CommandSearch()->isEnabled());
  SetSheetLocate32(grid, 1, 3);
  EXPECT_EQ(w->DMLinkLabel()->text(), ToQ("建築工事 > 2行目"));
  Shot(*w, "sch_sheet_frm.png");

  // A double click on the level-2 hit opens its sheet in the editor.
  grid.DoubleClick(1, 3);
  test::Settle();
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(st.CurrentRow, 2);
  EXPECT_EQ(editor->EdtSheet().CurrentRow(), 2);
  Shot(*editor, "sch_sheet_jump.png");

  w->close();
  test::Settle();
  EXPECT_FALSE(st.SearchWindowOpen);
  EXPECT_FALSE(st.SearchSheetLoaded);
  EXPECT_EQ(ui.LoadedWindow(kSearchWindow), nullptr);
}

TEST_F(SchSheetWindowTest, TheCompoundDialogRunsItsConditions) {
  SearchWindowShow(st);
  test::Settle();
  auto* w = dynamic_cast<SchSheetWindow*>(ui.LoadedWindow(kSearchWindow));
  ASSERT_NE(w, nullptr);
  QString done;
  QTimer::singleShot(0, [&] {
    auto* d = dynamic_cast<KensakuDialog*>(ui.LoadedWindow(kKensakuWindow));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), ToQ("文字列検索複合条件"));
    EXPECT_EQ(d->cmbFild(0)->count(), 2);  // (なし) and the one text column
    d->cmbFild(2)->setCurrentIndex(1);
    d->txtMozi(2)->setText(ToQ("＊足場"));
    Shot(*d, "frm_kensaku.png");
    OkOnNextBox(done);
    d->Command1()->click();
  });
  w->Logic().mnuJ_Click();
  test::Settle();
  EXPECT_EQ(done, ToQ("検索が終了しました"));
  EXPECT_EQ(w->SearchTextBox()->text(), ToQ("*足場"));
  EXPECT_EQ(w->Label1()->text(), ToQ(" 1"));
  EXPECT_EQ(GetTextData32(w->SchSheet(), 1, 1), "仮設足場");
  // The dialog is only hidden, its rows moved up and kept.
  auto* d = dynamic_cast<KensakuDialog*>(ui.LoadedWindow(kKensakuWindow));
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->txtMozi(0)->text(), ToQ("*足場"));
  w->close();
  test::Settle();
  EXPECT_EQ(ui.LoadedWindow(kKensakuWindow), nullptr);
}

}  // namespace
}  // namespace kv
