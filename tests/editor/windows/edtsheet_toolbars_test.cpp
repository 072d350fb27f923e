// The docked toolbars as the user meets them: their buttons in order with the
// tooltips and images, the zoom and paper combos in their places, the
// extended toolbar shown and hidden, its stored arrangement and customise
// dialog, and the busy lock on the buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>

#include "core/ini_file.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/toolbar_arrangement.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/toolbars/windows/toolbar_customize_dialog.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "platform/registry_store.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

// The toolbar's entries as "KEY" or "|", with the hidden ones left out.
QStringList Entries(QToolBar* bar) {
  QStringList out;
  for (QAction* a : bar->actions())
    if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
  return out;
}

class EdtSheetToolbars : public test::EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    setenv("KORVANE_CONFIG_DIR", (dir.path() / "config").c_str(), 1);
  }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    unsetenv("KORVANE_CONFIG_DIR");
  }

  EDTSHEET_FRM& Load(int kvZoom) {
    st.AppPath = dir.path().string();
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.KVDisp = "横";
    st.KVZoom = kvZoom;
    hooks.SplashProgress = [this](int step) { steps.push_back(step); };
    EDTSHEET_FRM& w = ShowEditor();
    steps.clear();
    // Whatever the zoom combo's handler will be: it sees each selection.
    QObject::connect(w.cmbZoom(), &QComboBox::currentIndexChanged, [this](int i) { zoomSelections.push_back(i); });
    w.ToolBar1Init(st);
    w.ToolBar2Init(st);
    return w;
  }

  test::TempFolder dir;
  std::vector<int> steps;
  std::vector<int> zoomSelections;
};

TEST_F(EdtSheetToolbars, ButtonsCombosAndProgressOfBothToolbars) {
  EDTSHEET_FRM& w = Load(125);
  std::vector<int> expected;
  for (int s = 38; s <= 64; ++s) expected.push_back(s);
  EXPECT_EQ(steps, expected);

  EXPECT_EQ(Entries(w.Toolbar1()), (QStringList{"|", "NEW", "OPEN", "SAVE", "|", "PRINT", "|", "UNDO", "|", "UNDER",
                                                "RIGHT", "NOT", "|", "RTN", "|", "ZOOM", "|", "YOSI", "|"}));
  EXPECT_EQ(Entries(w.Toolbar2()),
            (QStringList{"|",        "CUT",    "COPY",   "PASTE",  "|",      "GDEL",   "GIN",  "GCOPY",
                         "GPASTE",   "|",      "YKEISAN", "S",     "T",      "D",      "|",    "TAX",
                         "|",        "TANI",   "|",      "SANKOU", "HYOUSI", "KOUZI",  "|",    "HIINSATU",
                         "|",        "MEMO",   "RENZOK", "SEARCH", "|",      "TREE",   "DIVID", "RTN"}));
  // Texts exactly as the user reads them, the images there at both sizes.
  struct Tip {
    QToolBar* bar;
    const char* key;
    const char* tip;
  } tips[] = {{w.Toolbar1(), "NEW", "新規作成"},   {w.Toolbar1(), "RTN", "ﾂｰﾙﾊﾞｰ移動"},
              {w.Toolbar1(), "ZOOM", "ズーム"},    {w.Toolbar1(), "YOSI", "用紙選択"},
              {w.Toolbar2(), "S", "小計"},         {w.Toolbar2(), "GPASTE", "行貼り付け"},
              {w.Toolbar2(), "RENZOK", "文字連続設定"}, {w.Toolbar2(), "RTN", "ﾂｰﾙﾊﾞｰ移動"}};
  for (const Tip& t : tips) {
    QAction* a = nullptr;
    for (QAction* x : t.bar->actions())
      if (x->objectName() == QLatin1String(t.key)) a = x;
    ASSERT_NE(a, nullptr) << t.key;
    EXPECT_EQ(a->toolTip(), QString::fromUtf8(t.tip)) << t.key;
  }
  EXPECT_EQ(w.Toolbar2Actions()->Action("S")->statusTip(), QString::fromUtf8("小計"));
  for (QToolBar* bar : {w.Toolbar1(), w.Toolbar2()})
    for (QAction* a : bar->actions()) {
      if (a->isSeparator() || qobject_cast<QComboBox*>(bar->widgetForAction(a))) continue;
      EXPECT_FALSE(a->icon().pixmap(16, 16).isNull()) << FromQ(a->objectName());
      EXPECT_FALSE(a->icon().pixmap(32, 32).isNull()) << FromQ(a->objectName());
    }
  EXPECT_TRUE(QFile::exists(QStringLiteral(":/toolbar/16x16/edit-find.png")));
  EXPECT_TRUE(QFile::exists(QStringLiteral(":/toolbar/32x32/window-new.png")));
  // The auto-advance buttons form one exclusive group.
  QAction* under = w.Toolbar1Actions()->Action("UNDER");
  QAction* right = w.Toolbar1Actions()->Action("RIGHT");
  under->setChecked(true);
  right->setChecked(true);
  EXPECT_FALSE(under->isChecked());
  EXPECT_EQ(w.Toolbar1Model().PressedInGroup("NOT"), "RIGHT") << "a press by the program reaches the model";

  // The combos stand in their placeholders' places at their widths.
  EXPECT_EQ(w.Toolbar1()->widgetForAction(w.Toolbar1()->actions()[15]), w.cmbZoom());
  EXPECT_EQ(w.Toolbar1()->widgetForAction(w.Toolbar1()->actions()[17]), w.cmbYosi());
  // The zoom combo is its placeholder's width, or wider when " 200%" would
  // not fit in it.
  EXPECT_GE(w.cmbZoom()->width(), TwipsToPixels(900, w.logicalDpiX()));
  EXPECT_GE(w.cmbZoom()->width(), w.cmbZoom()->sizeHint().width());
  EXPECT_EQ(w.cmbYosi()->width(), TwipsToPixels(3500, w.logicalDpiX()));
  EXPECT_TRUE(w.cmbZoom()->isVisible());
  // The zoom list, and one selection: the nearest listed zoom to 125.
  ASSERT_EQ(w.cmbZoom()->count(), 18);
  EXPECT_EQ(w.cmbZoom()->itemText(0), QStringLiteral(" 200%"));
  EXPECT_EQ(w.cmbZoom()->itemText(17), QStringLiteral(" 30%"));
  EXPECT_EQ(zoomSelections, std::vector<int>{8});
  EXPECT_EQ(w.cmbZoom()->currentText(), QStringLiteral(" 120%"));
}

TEST_F(EdtSheetToolbars, ShowingAndHidingTheExtendedToolbar) {
  EDTSHEET_FRM& w = Load(100);
  const std::string ini = st.AppPath + "/KVSSYS.INI";
  const int bar1Bottom = w.Toolbar1()->geometry().bottom();
  w.ShowToolBar2(st, false);
  EXPECT_FALSE(w.Toolbar2()->isVisible());
  EXPECT_FALSE(w.MenuAction("Menu_7Sub", 17)->isChecked());
  EXPECT_FALSE(st.editor->Menus()->At("Menu_7Sub", 13).enabled);
  EXPECT_EQ(IniGetInt("TOOLBAR2", "Visible", ini), 0);
  QApplication::processEvents();
  // The central area takes the room at once.
  EXPECT_LE(w.centralWidget()->geometry().top(), bar1Bottom + 2);

  w.ShowToolBar2(st, true);
  EXPECT_TRUE(w.Toolbar2()->isVisible());
  EXPECT_TRUE(w.MenuAction("Menu_7Sub", 17)->isChecked());
  EXPECT_TRUE(st.editor->Menus()->At("Menu_7Sub", 13).enabled);
  EXPECT_EQ(IniGetInt("TOOLBAR2", "Visible", ini), 1);

  // While the extended toolbar floats, its docked copy is never shown.
  w.ShowToolBar2(st, false);
  st.ToolBar2Floating = true;
  w.ShowToolBar2(st, true);
  EXPECT_FALSE(w.Toolbar2()->isVisible());
  EXPECT_EQ(IniGetInt("TOOLBAR2", "Visible", ini), 0);
}

TEST_F(EdtSheetToolbars, StoredArrangementAndTheCustomiseDialog) {
  EDTSHEET_FRM& w = Load(100);
  ASSERT_TRUE(SaveSetting("2", "KV32Tbar2", "True", "RTN,-CUT,bogus"));
  w.Toolbar2ArrangementRestore();
  QStringList entries = Entries(w.Toolbar2());
  EXPECT_EQ(entries.mid(0, 6), (QStringList{"|", "RTN", "COPY", "|", "PASTE", "GDEL"}));
  EXPECT_FALSE(entries.contains("CUT"));
  EXPECT_EQ(entries.back(), "DIVID");

  // The dialog: RTN moved down one place, CUT shown again, OK.
  QTimer::singleShot(0, [] {
    auto* d = dynamic_cast<ToolbarCustomizeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("ツールバーのカスタマイズ"));
    EXPECT_EQ(d->ListView()->item(0)->text(), QString::fromUtf8("ﾂｰﾙﾊﾞｰ移動"));
    d->ListView()->item(1)->setCheckState(Qt::Checked);  // CUT
    d->ListView()->setCurrentRow(0);
    d->MoveDownClick();
    EXPECT_EQ(d->ListView()->currentRow(), 1);
    d->accept();
  });
  w.Toolbar2_DblClick();
  entries = Entries(w.Toolbar2());
  EXPECT_EQ(entries.mid(0, 6), (QStringList{"|", "CUT", "RTN", "COPY", "|", "PASTE"}));
  EXPECT_EQ(GetSetting("2", "KV32Tbar2", "True").substr(0, 12), "CUT,RTN,COPY");

  // Reset then Cancel changes nothing.
  QTimer::singleShot(0, [] {
    auto* d = dynamic_cast<ToolbarCustomizeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->ResetClick();
    d->reject();
  });
  w.Toolbar2_DblClick();
  EXPECT_EQ(Entries(w.Toolbar2()), entries);
}

TEST_F(EdtSheetToolbars, BusyLockOnTheButtonsLeavesTheCombos) {
  EDTSHEET_FRM& w = Load(100);
  for (const char* key : {"NEW", "UNDO"}) w.Toolbar1Model().SetWired(key);
  for (const char* key : {"CUT", "HIINSATU", "TREE"}) w.Toolbar2Model().SetWired(key);
  w.ToolbarsRefresh();
  st.SearchWindowOpen = true;
  w.HiinsatuStateSet(true);
  EXPECT_FALSE(w.MenuAction("Tokusyusub", 1)->isEnabled());
  EXPECT_FALSE(w.Toolbar2Actions()->Action("HIINSATU")->isEnabled());

  w.ToolBarStateSet(st, true);
  w.ToolBarStateSet(st, true);
  EXPECT_FALSE(w.Toolbar1Actions()->Action("NEW")->isEnabled());
  EXPECT_FALSE(w.Toolbar2Actions()->Action("CUT")->isEnabled());
  EXPECT_TRUE(w.cmbZoom()->isEnabled());
  EXPECT_TRUE(w.cmbYosi()->isEnabled());
  w.ToolBarStateSet(st, false);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_TRUE(w.Toolbar1Actions()->Action("NEW")->isEnabled());
  EXPECT_TRUE(w.Toolbar2Actions()->Action("TREE")->isEnabled());
  EXPECT_TRUE(w.Toolbar2()->isEnabled());
  // Locked by the open search window: the non-print row button only.
  EXPECT_TRUE(w.Toolbar1Actions()->Action("PRINT")->isEnabled());
  EXPECT_TRUE(w.Toolbar2Actions()->Action("SEARCH")->isEnabled());
  EXPECT_FALSE(w.Toolbar2Actions()->Action("HIINSATU")->isEnabled());

  st.SearchWindowOpen = false;
  w.HiinsatuStateSet(false);
  EXPECT_TRUE(w.Toolbar2Actions()->Action("HIINSATU")->isEnabled());
}

TEST_F(EdtSheetToolbars, Screenshot) {
  const char* out = std::getenv("KORVANE_SCREENSHOTS");
  if (!out) GTEST_SKIP() << "KORVANE_SCREENSHOTS not set";
  st.EditWinWidth = 15000;
  st.EditWinHeight = 6000;
  EDTSHEET_FRM& w = Load(100);
  for (ToolbarModel* m : {&w.Toolbar1Model(), &w.Toolbar2Model()})
    for (const ToolButtonState& b : m->Buttons()) m->SetWired(b.key);
  w.ToolbarsRefresh();
  test::Settle();
  const QString dir = QString::fromUtf8(out);
  w.Toolbar1()->grab().save(dir + QStringLiteral("/toolbar1.png"));
  w.Toolbar2()->grab().save(dir + QStringLiteral("/toolbar2.png"));
  ToolbarCustomizeDialog d(ExtendedToolbarTable(), ArrangementOf(w.Toolbar2Model()), &w);
  d.show();
  test::Settle();
  d.grab().save(dir + QStringLiteral("/toolbar_customize.png"));
}

}  // namespace
}  // namespace kv
