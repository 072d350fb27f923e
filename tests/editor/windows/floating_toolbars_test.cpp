// The floating toolbars over a loaded editor window: undocking hides the
// docked bar and gives its room to the sheet, docking back (by every way the
// user has) shows it again; the basic one is one row as wide as its combos
// and keeps its zoom and paper combos in step with the editor's; the
// extended one wraps its buttons, is never wider than one row of all its
// entries, opens at its stored or designed size and stores its rectangle
// when it docks back; the View items that would show a second copy are off
// while it floats.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "core/ini_file.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/toolbar_tables.h"
#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/toolbars/windows/frm_toolbar2.h"
#include "editor/toolbars/windows/frm_toolbar_rules.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

// --- The plain rules ----------------------------------------------------------------

TEST(FloatingToolbarRules, DockStripLimitsAreExclusive) {
  struct Case {
    int top, editorTop, gridTop;
    bool docks;
  } cases[] = {
      {1001, 1000, 2000, true},   // just below the editor's top
      {1999, 1000, 2000, true},   // just above the grid
      {1000, 1000, 2000, false},  // on the editor's top
      {2000, 1000, 2000, false},  // on the grid's top
      {999, 1000, 2000, false},   // above the editor
      {5000, 1000, 2000, false},  // over the sheet
      {-50, -60, 900, true},      // a maximised editor above the screen's edge
  };
  for (const Case& c : cases)
    EXPECT_EQ(InDockStrip(c.top, c.editorTop, c.gridTop), c.docks)
        << c.top << " in " << c.editorTop << ".." << c.gridTop;
}

TEST(FloatingToolbarRules, OpenSizeFromStoredSize) {
  const TwipsSize screen{15360, 11520};
  struct Case {
    int width, height;
    TwipsSize want;
  } cases[] = {
      {-1, -1, {6750, 1110}},          // not stored
      {0, 0, {6750, 1110}},            // zero, or text
      {-400, 2000, {6750, 2000}},      // negative width alone
      {5000, -3, {5000, 1110}},        // negative height alone
      {4000, 1500, {4000, 1500}},      // stored
      {99999, 1500, {15360, 1500}},    // wider than the screen
      {4000, 88888, {4000, 11520}},    // higher than the screen
      {99999, 99999, {15360, 11520}},  // both
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToolbar2OpenSize(c.width, c.height, screen), c.want) << c.width << "x" << c.height;
}

// --- The windows ---------------------------------------------------------------------

class FloatingToolbars : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = dir.path().string();
    st.SystemKind = 2;
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.KVDisp = "横";
    st.KVZoom = 100;
    RegisterEditorWindow(ui, st, hooks);
    RegisterFloatingToolbars(ui, st);
    ui.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
    editor->resize(900, 600);
    test::Settle();
  }
  // The floating windows and the editor go before the program state.
  void TearDown() override {
    delete ui.LoadedWindow(kToolBar1Window);
    delete ui.LoadedWindow(kToolBar2Window);
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }

  // The sheet grid's top and height in the editor window, pixels.
  std::pair<int, int> GridBand() const {
    return {editor->EdtSheetView()->mapTo(editor, QPoint(0, 0)).y(), editor->EdtSheetView()->height()};
  }
  bool ViewItemEnabled(int index) const { return editor->Menus()->At("Menu_7Sub", index).enabled; }
  std::string Toolbar2Key(const char* key) const {
    std::string v;
    IniGetString("TOOLBAR2", key, v, st.AppPath + "/KVSSYS.INI");
    return v;
  }
  void PutToolbar2(const char* key, const char* value) {
    IniPutString("TOOLBAR2", key, value, st.AppPath + "/KVSSYS.INI");
  }

  frmToolBar& Float1() {
    editor->FloatToolBar1(1500, 1500);
    ui.ShowModeless(kToolBar1Window);
    test::Settle();
    frmToolBar* f = LoadedFrmToolBar(ui);
    EXPECT_NE(f, nullptr);
    return *f;
  }
  FrmToolBar2& Float2() {
    editor->FloatToolBar2(1500, 3000);
    ui.ShowModeless(kToolBar2Window);
    test::Settle();
    FrmToolBar2* f = LoadedFrmToolBar2(ui);
    EXPECT_NE(f, nullptr);
    return *f;
  }
  int Px(int twips) const { return TwipsToPixels(twips, editor->logicalDpiX()); }

  test::TempFolder dir;
  QtUi ui;
  ProgramState st{ui};
  EditorWindowHooks hooks;
  EDTSHEET_FRM* editor = nullptr;
};

void Mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons = Qt::LeftButton) {
  QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(FloatingToolbars, BasicToolbarFloatsAndDocksBack) {
  const auto docked = GridBand();
  editor->FloatToolBar1(1500, 1500);
  frmToolBar* f = LoadedFrmToolBar(ui);
  ASSERT_NE(f, nullptr);
  // Loaded and placed, not shown: the caller shows it.
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(st.ToolBar1Floating);
  EXPECT_TRUE(editor->Toolbar1()->isHidden());
  EXPECT_EQ(f->pos(), QPoint(Px(1500), Px(1500)));
  EXPECT_TRUE(f->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(f->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(f->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(f->CaptionBar()->Caption(), QString::fromUtf8("基本ﾂｰﾙﾊﾞｰ"));
  // The sheet took the toolbar's room: higher up and taller by as much.
  const auto floating = GridBand();
  const int room = docked.first - floating.first;
  EXPECT_GT(room, 0);
  EXPECT_EQ(floating.second - docked.second, room);

  ui.ShowModeless(kToolBar1Window);
  test::Settle();
  // One row, as wide as the row up to the paper combo plus 100 twips.
  const int comboRight = f->cmbYosi()->mapTo(f, QPoint(f->cmbYosi()->width(), 0)).x();
  EXPECT_EQ(f->width(), comboRight + Px(100));
  EXPECT_TRUE(f->cmbZoom()->isVisible());
  EXPECT_TRUE(f->cmbYosi()->isVisible());
  EXPECT_EQ(f->height(), f->Toolbar1()->height() + f->ExtraHeight());
  EXPECT_EQ(f->Toolbar1()->findChild<QWidget*>(QStringLiteral("cmbYosi")), f->cmbYosi());

  ui.UnloadWindow(kToolBar1Window);
  test::Settle();
  EXPECT_EQ(LoadedFrmToolBar(ui), nullptr);
  EXPECT_FALSE(st.ToolBar1Floating);
  EXPECT_FALSE(editor->Toolbar1()->isHidden());
  EXPECT_EQ(GridBand(), docked);
  EXPECT_EQ(editor->floatToolbarsRefresh, nullptr);
}

TEST_F(FloatingToolbars, EveryWayOfClosingTheBasicToolbarDocksIt) {
  const std::function<void(frmToolBar&)> ways[] = {
      [](frmToolBar& f) { f.Actions()->Action("RTN")->trigger(); },
      [](frmToolBar& f) { Mouse(f.CaptionBar(), QEvent::MouseButtonDblClick, QPoint(4, 4)); },
      [](frmToolBar& f) { Mouse(f.Toolbar1(), QEvent::MouseButtonDblClick, QPoint(2, 2)); },
      [](frmToolBar& f) { f.CaptionBar()->CloseButton()->click(); },
  };
  int i = 0;
  for (const auto& dock : ways) {
    SCOPED_TRACE(i++);
    dock(Float1());
    test::Settle();
    EXPECT_EQ(LoadedFrmToolBar(ui), nullptr);
    EXPECT_FALSE(st.ToolBar1Floating);
    EXPECT_FALSE(editor->Toolbar1()->isHidden());
  }
}

TEST_F(FloatingToolbars, RtnDoesNothingWhileBusy) {
  frmToolBar& f = Float1();
  st.CommandBusy = true;
  f.Toolbar1_ButtonClick("RTN");
  test::Settle();
  EXPECT_TRUE(st.ToolBar1Floating);
  EXPECT_NE(LoadedFrmToolBar(ui), nullptr);
  st.CommandBusy = false;
}

TEST_F(FloatingToolbars, DroppingTheBasicToolbarOnTheEditorsTopStripDocksIt) {
  // Drags the window by its caption so that its top lands on `top` (global
  // pixels); true when that docked it.
  const auto dropAt = [this](int top) {
    frmToolBar& f = Float1();
    vsInForm* bar = f.CaptionBar();
    const QPoint grab(6, 4);
    Mouse(bar, QEvent::MouseButtonPress, grab);
    const QPoint target = grab + QPoint(0, top - f.frameGeometry().y());
    Mouse(bar, QEvent::MouseMove, target);
    EXPECT_EQ(f.frameGeometry().y(), top);
    Mouse(bar, QEvent::MouseButtonRelease, target, Qt::NoButton);
    test::Settle();
    const bool docked = LoadedFrmToolBar(ui) == nullptr;
    if (!docked) ui.UnloadWindow(kToolBar1Window);
    test::Settle();
    return docked;
  };
  const int editorTop = editor->frameGeometry().y();
  // The sheet grid's top while the toolbar floats.
  editor->FloatToolBar1(0, 0);
  const int gridTop = editor->EdtSheetView()->mapToGlobal(QPoint(0, 0)).y();
  ui.UnloadWindow(kToolBar1Window);
  test::Settle();
  ASSERT_GT(gridTop - editorTop, 2);
  // The extended toolbar never docks by a move.
  FrmToolBar2& f2 = Float2();
  Mouse(f2.CaptionBar(), QEvent::MouseButtonPress, QPoint(6, 4));
  Mouse(f2.CaptionBar(), QEvent::MouseMove, QPoint(6, 4 + editorTop + 1 - f2.frameGeometry().y()));
  Mouse(f2.CaptionBar(), QEvent::MouseButtonRelease, QPoint(6, 4), Qt::NoButton);
  test::Settle();
  EXPECT_EQ(f2.frameGeometry().y(), editorTop + 1);
  EXPECT_TRUE(st.ToolBar2Floating);
  ui.UnloadWindow(kToolBar2Window);
  test::Settle();

  EXPECT_TRUE(dropAt(editorTop + 1));
  EXPECT_TRUE(dropAt(gridTop - 1));
  EXPECT_FALSE(dropAt(editorTop));
  EXPECT_FALSE(dropAt(gridTop));
  EXPECT_FALSE(dropAt(gridTop + 40));
}

TEST_F(FloatingToolbars, ZoomComboSelectsTheNearestZoomAndKeepsTheDockedComboInStep) {
  // The docked combo as the docked toolbar fills it.
  for (const std::string& item : ZoomListItems()) editor->cmbZoom()->addItem(ToQ(item));
  st.KVZoom = 125;
  frmToolBar& f = Float1();
  // 125 is not listed: the nearest smaller item, applied as a choice.
  EXPECT_EQ(f.cmbZoom()->currentText(), QString::fromUtf8(" 120%"));
  EXPECT_EQ(st.KVZoom, 120);
  EXPECT_EQ(editor->cmbZoom()->currentIndex(), f.cmbZoom()->currentIndex());
  EXPECT_EQ(editor->EdtSheet().Zoom(), 120);

  f.cmbZoom()->setCurrentIndex(12);  // " 80%"
  EXPECT_EQ(st.KVZoom, 80);
  EXPECT_EQ(editor->cmbZoom()->currentIndex(), 12);
  EXPECT_EQ(editor->EdtSheet().Zoom(), 80);

  // A program selection of the shown item raises nothing; another one does.
  st.KVZoom = 55;
  f.ZoomSelect(12);
  EXPECT_EQ(st.KVZoom, 55);
  f.ZoomSelect(10);
  EXPECT_EQ(st.KVZoom, 100);

  // Busy: only the shown item changes.
  st.CommandBusy = true;
  f.cmbZoom()->setCurrentIndex(0);
  EXPECT_EQ(st.KVZoom, 100);
  EXPECT_EQ(editor->cmbZoom()->currentIndex(), 10);
  st.CommandBusy = false;
}

TEST_F(FloatingToolbars, PaperComboStartsAsTheEditorsAndRaisesOnlyChoices) {
  const QStringList papers{QString::fromUtf8("A4縦 30行"), QString::fromUtf8("A4横 20行"),
                           QString::fromUtf8("B4横 25行")};
  editor->cmbYosi()->addItems(papers);
  editor->cmbYosi()->setCurrentIndex(1);
  frmToolBar& f = Float1();
  ASSERT_EQ(f.cmbYosi()->count(), 3);
  EXPECT_EQ(f.cmbYosi()->itemText(2), papers[2]);
  EXPECT_EQ(f.cmbYosi()->currentIndex(), 1);

  std::vector<int> chosen;
  f.paperChosen = [&chosen](int index) { chosen.push_back(index); };
  f.FillPaperCombo({"一", "二"}, 0);  // a refill is no choice
  EXPECT_EQ(f.cmbYosi()->currentText(), QString::fromUtf8("一"));
  f.PaperSelect(0);
  EXPECT_TRUE(chosen.empty());
  f.PaperSelect(1);
  EXPECT_EQ(chosen, std::vector<int>{1});
  st.CommandBusy = true;
  f.PaperSelect(0);
  EXPECT_EQ(chosen, std::vector<int>{1});
  st.CommandBusy = false;
}

TEST_F(FloatingToolbars, TheEditorsCombosReachTheFloatingOnesOnlyWhileTheyExist) {
  // Not loaded: nothing is made.
  FloatingPaperComboFill(ui, {"一", "二"}, 1);
  FloatingZoomSelect(ui, 3);
  FloatingPaperSelect(ui, 1);
  EXPECT_FALSE(ui.IsWindowLoaded(kToolBar1Window));

  frmToolBar& f = Float1();
  FloatingPaperComboFill(ui, {"一", "二", "三"}, 2);
  EXPECT_EQ(f.cmbYosi()->count(), 3);
  EXPECT_EQ(f.cmbYosi()->currentIndex(), 2);
  FloatingPaperSelect(ui, 0);
  EXPECT_EQ(f.cmbYosi()->currentIndex(), 0);
  FloatingZoomSelect(ui, 3);  // " 170%"
  EXPECT_EQ(f.cmbZoom()->currentIndex(), 3);
  EXPECT_EQ(st.KVZoom, 170);
}

TEST_F(FloatingToolbars, AutoAdvanceButtonsFollowTheFlagAndPressTheDockedButton) {
  st.AutoDownFlag = 2;
  frmToolBar& f = Float1();
  EXPECT_TRUE(f.Actions()->Action("RIGHT")->isChecked());
  ToolbarModel& floating = editor->FloatToolbar1Model();
  for (const char* key : {"UNDER", "RIGHT", "NOT"}) floating.SetWired(key);
  f.Refresh();
  f.Actions()->Action("UNDER")->trigger();
  EXPECT_TRUE(editor->Toolbar1Model().Pressed("UNDER"));
  EXPECT_FALSE(editor->Toolbar1Model().Pressed("RIGHT"));
  // Busy: the docked button is left as it is.
  st.CommandBusy = true;
  f.Toolbar1_ButtonClick("NOT");
  EXPECT_TRUE(editor->Toolbar1Model().Pressed("UNDER"));
  st.CommandBusy = false;
  ui.UnloadWindow(kToolBar1Window);
  test::Settle();
  EXPECT_TRUE(editor->Toolbar1Model().Pressed("UNDER"));
}

TEST_F(FloatingToolbars, ExtendedToolbarFloatsWithTheViewItemsOffAndDocksBackStoringItsRectangle) {
  const auto docked = GridBand();
  FrmToolBar2& f = Float2();
  EXPECT_TRUE(st.ToolBar2Floating);
  EXPECT_TRUE(editor->Toolbar2()->isHidden());
  EXPECT_FALSE(ViewItemEnabled(13));
  EXPECT_FALSE(ViewItemEnabled(17));
  EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(f.windowTitle(), QString::fromUtf8("ﾂｰﾙﾊﾞｰ"));
  EXPECT_EQ(f.CaptionBar()->Caption(), QString::fromUtf8("拡張ﾂｰﾙバー"));
  EXPECT_LT(GridBand().first, docked.first);
  // No stored size: the designed width, high enough for its rows.
  EXPECT_EQ(f.pos(), QPoint(Px(1500), Px(3000)));
  EXPECT_EQ(f.width(), Px(kFloatToolbar2Width));
  const int buttonHeight = f.Button("CUT")->height();
  EXPECT_GE(f.height(), f.ExtraHeight() + 2 * buttonHeight);
  for (const ToolButtonDef& d : ExtendedToolbarTable()) {
    if (d.key.empty()) continue;
    EXPECT_TRUE(f.Button(d.key)->isVisible()) << d.key;
  }

  f.move(Px(2000), Px(2500));
  f.resize(Px(5000), f.height());
  test::Settle();
  const QRect last = f.frameGeometry();
  f.Actions()->Action("RTN")->trigger();
  test::Settle();
  EXPECT_EQ(LoadedFrmToolBar2(ui), nullptr);
  EXPECT_FALSE(st.ToolBar2Floating);
  EXPECT_FALSE(editor->Toolbar2()->isHidden());
  EXPECT_LT(editor->Toolbar1()->y(), editor->Toolbar2()->y());
  EXPECT_TRUE(ViewItemEnabled(13));
  EXPECT_TRUE(ViewItemEnabled(17));
  EXPECT_EQ(GridBand(), docked);
  const double dpi = editor->logicalDpiX();
  EXPECT_EQ(Toolbar2Key("Left"), std::to_string(PixelsToTwips(last.x(), dpi)));
  EXPECT_EQ(Toolbar2Key("Top"), std::to_string(PixelsToTwips(last.y(), dpi)));
  EXPECT_EQ(Toolbar2Key("Width"), std::to_string(PixelsToTwips(last.width(), dpi)));
  EXPECT_EQ(Toolbar2Key("Height"), std::to_string(PixelsToTwips(last.height(), dpi)));

  // Undocked again: the stored width (Left and Top are not read back).
  FrmToolBar2& again = Float2();
  EXPECT_EQ(again.width(), last.width());
  EXPECT_EQ(again.pos(), QPoint(Px(1500), Px(3000)));
}

TEST_F(FloatingToolbars, ExtendedToolbarIsNeverWiderThanOneRowAndWrapsWhenNarrower) {
  FrmToolBar2& f = Float2();
  const int limit = f.WidthLimit();
  const int buttonHeight = f.Button("CUT")->height();
  f.resize(limit + 200, 400);
  test::Settle();
  EXPECT_EQ(f.width(), limit);
  EXPECT_EQ(f.height(), f.ExtraHeight() + buttonHeight);  // one row
  // The last button is on the first row.
  EXPECT_EQ(f.Button("RTN")->y(), f.Button("CUT")->y());

  f.resize(limit * 2 / 3, 10);
  test::Settle();
  EXPECT_EQ(f.width(), limit * 2 / 3);
  EXPECT_EQ(f.height(), f.ExtraHeight() + 2 * buttonHeight);
  EXPECT_GT(f.Button("RTN")->y(), f.Button("CUT")->y());
  // Every button lies inside the window.
  for (QToolButton* b : f.Toolbar2()->findChildren<QToolButton*>()) {
    EXPECT_LE(b->mapTo(&f, QPoint(b->width(), b->height())).x(), f.width()) << FromQ(b->objectName());
  }
}

TEST_F(FloatingToolbars, StoredSizeOfTheExtendedToolbar) {
  struct Case {
    const char* width;
    const char* height;
    bool designed;  // else as wide as the screen or the widest it may be
  } cases[] = {
      {nullptr, nullptr, true}, {"0", "0", true},      {"-300", "-20", true},
      {"abc", "x", true},       {"99999", "99999", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width ? c.width : "missing");
    IniDeleteSection("TOOLBAR2", st.AppPath + "/KVSSYS.INI");
    if (c.width) PutToolbar2("Width", c.width);
    if (c.height) PutToolbar2("Height", c.height);
    editor->FloatToolBar2(0, 0);
    FrmToolBar2* f = LoadedFrmToolBar2(ui);
    ASSERT_NE(f, nullptr);
    const int widest = std::min(f->WidthLimit(), ui.ScreenSize().width);
    EXPECT_EQ(f->width(), c.designed ? Px(kFloatToolbar2Width) : widest);
    ui.UnloadWindow(kToolBar2Window);
    test::Settle();
  }
}

TEST_F(FloatingToolbars, RefreshReachesTheFloatingButtonsWhileEitherFloats) {
  Float1();
  FrmToolBar2& f2 = Float2();
  ASSERT_NE(editor->floatToolbarsRefresh, nullptr);
  const int twoRows = f2.height();
  editor->FloatToolbar2Model().SetVisible("TAX", false);
  editor->FloatToolbar1Model().SetVisible("PRINT", false);
  editor->ToolbarsRefresh();
  EXPECT_FALSE(f2.Button("TAX")->isVisible());
  EXPECT_FALSE(LoadedFrmToolBar(ui)->Actions()->Action("PRINT")->isVisible());
  EXPECT_LE(f2.height(), twoRows);
  // One docks back: the other still floats and is still reached.
  ui.UnloadWindow(kToolBar1Window);
  test::Settle();
  ASSERT_NE(editor->floatToolbarsRefresh, nullptr);
  editor->FloatToolbar2Model().SetVisible("TAX", true);
  editor->ToolbarsRefresh();
  EXPECT_TRUE(f2.Button("TAX")->isVisible());
  ui.UnloadWindow(kToolBar2Window);
  test::Settle();
  EXPECT_EQ(editor->floatToolbarsRefresh, nullptr);
}

TEST_F(FloatingToolbars, DockingTheExtendedToolbarWhileTheBasicFloatsShowsOnlyTheExtendedOne) {
  Float1();
  Float2();
  ui.UnloadWindow(kToolBar2Window);
  test::Settle();
  EXPECT_FALSE(editor->Toolbar2()->isHidden());
  EXPECT_TRUE(editor->Toolbar1()->isHidden());
  EXPECT_TRUE(st.ToolBar1Floating);
  // All floating windows unloaded (before an outside tool runs): both dock.
  Float2();
  FloatWindowsUnload(st);
  test::Settle();
  EXPECT_FALSE(st.ToolBar1Floating);
  EXPECT_FALSE(st.ToolBar2Floating);
  EXPECT_FALSE(editor->Toolbar1()->isHidden());
  EXPECT_FALSE(editor->Toolbar2()->isHidden());
}

}  // namespace
}  // namespace kv
