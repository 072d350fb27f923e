// The main window as the user meets it: its caption, the menu bar of the
// edition with the exact captions, the status bar's panels, the commands that
// are not built yet greyed out, the busy lock, and a close that the close
// logic may refuse.
#include "editor/windows/edtsheet_frm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "storage/file_commands.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList VisibleTexts(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions)
    if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

QMenu* TopMenu(EDTSHEET_FRM& w, const char* name) {
  return w.menuBar()->findChild<QMenu*>(QString::fromLatin1(name));
}

class EdtSheetFrm : public test::EditorWindowTest {
 protected:
  // The window goes before the program state it refers to; what it left
  // for later is not run here.
  void TearDown() override { delete ui.LoadedWindow(kEditWindow); }

  // Loads the window through the seam, as the program does.
  EDTSHEET_FRM& Load(int systemKind) {
    st.SystemKind = systemKind;
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.RecentFiles[1] = "1 /home/user/estimates/港北ビル改修.YZH";
    st.KVDisp = "横";
    st.KVZoom = 0;
    hooks.SplashProgress = [this](int step) { steps.push_back(step); };
    return ShowEditor();
  }

  std::vector<int> steps;
};

TEST_F(EdtSheetFrm, LoadsAsTheEditorWithItsCaptionAndProgress) {
  EDTSHEET_FRM& w = Load(2);
  EXPECT_EQ(w.objectName(), QStringLiteral("EDTSHEET_FRM"));
  EXPECT_EQ(st.editor, static_cast<EditorServices*>(&w));
  st.editor->SetCaption(st, "< 港北ビル改修 > 内訳書 ");
  EXPECT_EQ(w.windowTitle(), Q("< 港北ビル改修 > 内訳書 "));
  EXPECT_EQ(steps,
            (std::vector<int>{15, 16, 17, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 26, 27, 28}));
  // Controls other parts fill: present, the memo grid and calculator hidden.
  EXPECT_FALSE(w.RowSheetView()->isVisible());
  EXPECT_FALSE(w.RowSheet().Visible());
  EXPECT_FALSE(w.DentakuText()->isVisible());
  EXPECT_TRUE(w.EdtSheetView()->isVisible());
  EXPECT_EQ(w.findChild<GridView*>(QStringLiteral("EdtSheet")), w.EdtSheetView());
  EXPECT_NE(w.findChild<QWidget*>(QStringLiteral("TreeView1")), nullptr);
  EXPECT_NE(w.findChild<QWidget*>(QStringLiteral("cmbZoom")), nullptr);
  EXPECT_NE(w.findChild<QWidget*>(QStringLiteral("DM_Button(6)")), nullptr);
}

TEST_F(EdtSheetFrm, MenuBarOfTheEdition) {
  EDTSHEET_FRM& w = Load(2);
  EXPECT_EQ(VisibleTexts(w.menuBar()->actions()),
            (QStringList{Q("ﾌｧｲﾙ(&F)"), Q("編集(&E)"), Q("計算行(&C)"), Q("挿入(&I)"),
                         Q("画面(&V)"), Q("拡張機能(&T)"), Q("ﾍﾙﾌﾟ(&H)")}));
  EXPECT_EQ(VisibleTexts(TopMenu(w, "Menu_2")->actions()),
            (QStringList{Q("元に戻す(&U)  "), Q("切り取り(&T)"), Q("ｺﾋﾟｰ(&C)"), Q("貼り付け(&P) "),
                         Q("削除(&D)"), "-", Q("行削除(&L)"), Q("行挿入(&N)"), "-", Q("行ｺﾋﾟｰ(&G)"),
                         Q("行貼り付け(&H)")}));
  // Kind 2: none of the equipment rows.
  QStringList calc = VisibleTexts(TopMenu(w, "Menu_3")->actions());
  EXPECT_FALSE(calc.contains(Q("経費行(&K)...")));
  EXPECT_TRUE(calc.contains(Q("全階層再計算(&R)")));
  EXPECT_EQ(w.MenuAction("Menu_2Sub", 0)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(w.MenuAction("Menu_3Sub", 22)->shortcut(), QKeySequence(QStringLiteral("Shift+F1")));
  // Captions set at load.
  EXPECT_EQ(w.MenuAction("Menu_7Sub", 2)->text(), Q("ﾌｫﾝﾄ=ＭＳ 明朝"));
  EXPECT_EQ(w.MenuAction("ZoomSub", 1)->text(), Q("ｽﾞｰﾑ設定値= 100%"));
  EXPECT_EQ(w.MenuAction("MaskGamen", 1)->text(), Q("金額"));
  EXPECT_TRUE(w.MenuAction("MaskGamen", 0)->isChecked());
  EXPECT_TRUE(w.MenuAction("DM_DISP", 3)->isChecked());
  EXPECT_FALSE(w.MenuAction("DM_DISP", 1)->isChecked());
  EXPECT_EQ(w.MenuAction("Menu_1Sub", 18)->text(), Q("2"));
}

TEST_F(EdtSheetFrm, EquipmentEditionShowsItsRowsAndNoInsertMenu) {
  EDTSHEET_FRM& w = Load(1);
  QStringList bar = VisibleTexts(w.menuBar()->actions());
  EXPECT_FALSE(bar.contains(Q("挿入(&I)")));
  EXPECT_FALSE(bar.contains(Q("出力表示(&O)")));
  QStringList calc = VisibleTexts(TopMenu(w, "Menu_3")->actions());
  for (const char* c : {"諸経費計算行(&G)", "消耗品雑材行(&Z)", "経費行(&K)...", "集計再計算(&V)"})
    EXPECT_TRUE(calc.contains(Q(c))) << c;
  QStringList ext = VisibleTexts(TopMenu(w, "Tokusyu")->actions());
  EXPECT_TRUE(ext.contains(Q("非印刷階層行の設定／解除(&I)")));
  EXPECT_FALSE(ext.contains(Q("特殊印刷の設定(&P)...")));
}

TEST_F(EdtSheetFrm, StatusBarHasSixPanelsOfTheirWidths) {
  EDTSHEET_FRM& w = Load(2);
  QList<QLabel*> panels;
  for (int i = 1; i <= EDTSHEET_FRM::kStatusPanels; ++i)
    panels << w.statusBar()->findChild<QLabel*>(QStringLiteral("Panel(%1)").arg(i));
  const int widths[] = {270, 65, 150, 65, 65, 150};
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(panels[i], nullptr) << i + 1;
    EXPECT_EQ(panels[i]->width(), widths[i]) << i + 1;
  }
  EXPECT_EQ(w.StatusPanelText(3), "全項目");
  EXPECT_EQ(w.StatusPanelText(6), "ＭＳ 明朝");
  w.StatusPanelSet(7, "ignored");
  w.StatusPanelClear(1, "12,500");
  EXPECT_EQ(w.StatusPanelText(1), "[12,500]");
  w.StatusPanelClear(1);
  EXPECT_EQ(w.StatusPanelText(1), "");
}

TEST_F(EdtSheetFrm, CommandsWaitForTheirHandlersAndTheBusyLockFreesWhatItLocked) {
  EDTSHEET_FRM& w = Load(2);
  // The file commands, printing and the reference file included, are wired
  // when the window loads.
  for (int item : {0, 1, 3, 4, 7, 14, 15, 17, 21, 23})
    EXPECT_TRUE(w.MenuAction("Menu_1Sub", item)->isEnabled()) << item;
  QAction* reference = w.MenuAction("Menu_1Sub", 7);
  EXPECT_TRUE(reference->isVisible());
  EXPECT_FALSE(w.MenuAction("Menu_1Sub", 5)->isVisible());

  std::vector<int> chosen;
  w.WireMenu("Menu_1Sub", [&](int index) { chosen.push_back(index); }, 7);
  EXPECT_TRUE(reference->isEnabled());
  EXPECT_FALSE(w.MenuAction("Menu_1Sub", 5)->isEnabled());
  reference->trigger();
  EXPECT_EQ(chosen, (std::vector<int>{7}));

  st.editor->ToolBarStateSet(st, true);
  EXPECT_TRUE(st.CommandBusy);
  EXPECT_FALSE(w.MenuAction("Menu_1")->isEnabled());
  EXPECT_FALSE(w.MenuAction("Menu_3", 3)->isEnabled());
  EXPECT_FALSE(w.MenuAction("ObjectMenu")->isEnabled());
  // Every level button, the seventh of an eight-level estimate too.
  for (int i = 1; i <= EDTSHEET_FRM::kLevelButtons; ++i) EXPECT_FALSE(w.DM_Button(i)->isEnabled()) << i;
  st.editor->ToolBarStateSet(st, false);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_TRUE(w.MenuAction("Menu_1")->isEnabled());
  EXPECT_TRUE(w.DM_Button(1)->isEnabled());
}

TEST_F(EdtSheetFrm, TopLevelCommandRunsItsHandler) {
  EDTSHEET_FRM& w = Load(2);
  int runs = 0;
  w.WireMenu("Pack", [&](int index) {
    EXPECT_EQ(index, -1);
    ++runs;
  });
  w.MenuAction("Pack")->trigger();  // hidden and disabled: nothing runs
  EXPECT_EQ(runs, 0);
  MenuItem& pack = st.editor->Menus()->At("Pack");
  pack.visible = pack.enabled = true;
  st.editor->MenusChanged(st);
  w.MenuAction("Pack")->trigger();  // a command, not a menu opening
  EXPECT_EQ(runs, 1);
}

TEST_F(EdtSheetFrm, CheckMarkIsSetByTheCommandNotByTheClick) {
  EDTSHEET_FRM& w = Load(2);
  w.WireMenu("DM_DISP", [&](int index) {
    if (index == 1) CheckOnly(*st.editor->Menus(), "DM_DISP", 1);
  });
  w.MenuAction("DM_DISP", 3)->trigger();  // the command leaves the marks
  EXPECT_TRUE(w.MenuAction("DM_DISP", 3)->isChecked());
  w.MenuAction("DM_DISP", 1)->trigger();
  EXPECT_TRUE(w.MenuAction("DM_DISP", 1)->isChecked());
  EXPECT_FALSE(w.MenuAction("DM_DISP", 3)->isChecked());
}

TEST_F(EdtSheetFrm, CloseAsksTheCloseLogic) {
  EDTSHEET_FRM& w = Load(2);
  QPointer<EDTSHEET_FRM> alive(&w);
  // A running command: the close is refused and the window stays loaded.
  st.CommandBusy = true;
  ui.UnloadWindow(kEditWindow);
  test::Settle();
  EXPECT_TRUE(alive);
  EXPECT_TRUE(ui.IsWindowLoaded(kEditWindow));
  // Nothing in the way (and no shut-down wired): the window goes.
  st.CommandBusy = false;
  ui.UnloadWindow(kEditWindow);
  test::Settle();
  EXPECT_FALSE(alive);
  EXPECT_EQ(st.editor, nullptr);
}

TEST_F(EdtSheetFrm, TheFileMenusExitClosesThroughTheCloseLogic) {
  FileCommands files;
  st.fileCommands = &files;
  EDTSHEET_FRM& w = Load(2);
  EXPECT_EQ(files.sheetGrid, &w.EdtSheet());  // the file commands load objects into it
  QPointer<EDTSHEET_FRM> alive(&w);
  st.CommandBusy = true;  // refused: the window stays
  w.MenuAction("Menu_1Sub", 23)->trigger();
  test::Settle();
  ASSERT_TRUE(alive);
  st.CommandBusy = false;
  w.MenuAction("Menu_1Sub", 23)->trigger();
  test::Settle();
  EXPECT_FALSE(alive);
  EXPECT_EQ(files.sheetGrid, nullptr);
}

TEST_F(EdtSheetFrm, RefusingShutdownKeepsTheWindow) {
  int shutdowns = 0;
  hooks.closeSteps.AppShutdown = [&](ProgramState&) {
    ++shutdowns;
    return false;
  };
  EDTSHEET_FRM& w = Load(2);
  QPointer<EDTSHEET_FRM> alive(&w);
  EXPECT_FALSE(w.close());
  test::Settle();
  EXPECT_TRUE(alive);
  EXPECT_EQ(shutdowns, 1);
}

TEST_F(EdtSheetFrm, CaptionOpenComparesExactly) {
  EDTSHEET_FRM& w = Load(2);
  QWidget other;
  other.setWindowTitle(Q("印刷"));
  EXPECT_TRUE(st.editor->FormCaptionOpen(st, "印刷"));
  EXPECT_FALSE(st.editor->FormCaptionOpen(st, "印刷 "));
  w.setWindowTitle(QStringLiteral("Korvane"));
  EXPECT_FALSE(st.editor->FormCaptionOpen(st, "korvane"));
}

TEST_F(EdtSheetFrm, ActivationPutsTheOpenToolWindowsOnTopAgain) {
  ui.RegisterWindow(kUnitWindow, [] { return new QWidget; });
  ui.ShowModeless(kUnitWindow);
  EDTSHEET_FRM& w = Load(2);
  st.UnitWindowOpen = true;
  ui.SetWindowTopMost(kUnitWindow, false);
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&w, &activate);
  EXPECT_TRUE(ui.LoadedWindow(kUnitWindow)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(EdtSheetFrm, MaskNamesReloadedShowInTheMenuAndTheStatusBar) {
  EDTSHEET_FRM& w = Load(2);
  st.MASK_NAME = {"見積", "原価", "", "", "", ""};
  MaskMenuCaptionSet(st);
  EXPECT_EQ(w.MenuAction("MaskGamen", 1)->text(), Q("原価"));
  EXPECT_EQ(w.StatusPanelText(3), "見積");
}

TEST_F(EdtSheetFrm, PlacementRoundTripsThroughTwips) {
  st.EditWinLeft = 1500;
  st.EditWinTop = 750;
  st.EditWinWidth = 15000;
  st.EditWinHeight = 9000;
  st.SizerPos = 1500;
  EDTSHEET_FRM& w = Load(2);
  MainWindowPlacement p = w.Placement();
  EXPECT_FALSE(p.minimized);
  EXPECT_EQ(p.width, 15000);
  EXPECT_EQ(p.height, 9000);
  EXPECT_EQ(p.sizerLeft, 1500);
}

// With KORVANE_SCREENSHOTS set to a folder, the window and its open menus are
// saved there as pictures for a look by eye.
TEST_F(EdtSheetFrm, Screenshot) {
  const char* dir = std::getenv("KORVANE_SCREENSHOTS");
  if (!dir) GTEST_SKIP() << "KORVANE_SCREENSHOTS not set";
  st.EditWinWidth = 15000;
  st.EditWinHeight = 9000;
  st.EditWinLeft = 0;
  st.EditWinTop = 0;
  st.SizerPos = 2400;
  EDTSHEET_FRM& w = Load(1);
  st.editor->SetCaption(st, "< 港北ビル改修 > 内訳書 ");
  w.StatusPanelSet(1, "[ 1,250,000]");
  w.StatusPanelSet(4, "P 1");
  w.StatusPanelSet(5, "R1 C3");
  GridModel& g = w.EdtSheet();
  g.SetFontName("ＭＳ 明朝");
  g.SetColCount(4);
  g.SetRowCount(30);
  const char* caps[] = {"名称", "数量", "単位", "金額"};
  for (int c = 1; c <= 4; ++c) {
    g.SetColWidth(c, c == 1 ? 240 : 90);
    g.SetCellText(c, 0, caps[c - 1]);
  }
  g.SetCellText(1, 1, "仮設工事");
  g.SetCellText(2, 1, "1");
  g.SetCellText(3, 1, "式");
  g.SetCellText(4, 1, "1,250,000");
  test::Settle();
  std::filesystem::path out(dir);
  w.grab().save(QString::fromStdString((out / "edtsheet.png").string()));
  for (const char* name : {"Menu_1", "Menu_3", "Menu_7", "Tokusyu"}) {
    QMenu* m = TopMenu(w, name);
    m->popup(w.mapToGlobal(QPoint(0, 0)));
    test::Settle();
    m->grab().save(QString::fromStdString((out / (std::string(name) + ".png")).string()));
    m->hide();
  }
}

}  // namespace
}  // namespace kv
