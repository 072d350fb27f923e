// The editor window edits its sheet: the grid opens for typing where the
// cursor stands, an input-method composition and its commit of kanji store
// the Shift-JIS bytes, the input method follows the cell, the calculator box
// over the status bar commits on Enter and keeps its formula while another
// window has the focus, the Edit, calculation-row and extended menus' items
// are choosable, and their shortcut keys pressed in the grid run each command
// once, through the menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>

#include "calc/calc_engine.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

#ifdef KORVANE_HAVE_QT_TEST
#include <QApplication>
#include <QTest>
#endif

namespace kv {
namespace {

struct Col {
  const char* type;
  int start;
  int width;
};
// Level 1: name, quantity, unit, unit price, amount (computed, summed).
constexpr Col kCols[] = {{"C", 20, 24}, {"2", 44, 10}, {"C", 54, 4}, {"0", 58, 12}, {"0", 70, 14}};

// The Qt seam with its message boxes answered OK and kept.
class MessagesKeptUi : public QtUi {
 public:
  std::vector<std::string> messages;
  int MsgBox(std::string_view text, int, std::string_view) override {
    messages.emplace_back(text);
    return vbOK;
  }
};

class EdtSheetEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = app.path().string();
    std::filesystem::create_directories(app.path() / "WORK");
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    st.CurrentFilePath = st.WorkFileBase;
    st.DataLen = 256;
    st.Imax = 50;
    st.H_Link = "10";
    st.LevelCount = 3;
    for (int l = 1; l <= 8; ++l) st.LevelExt[l] = ".Y" + std::to_string(l);
    st.MemoRowMax = 80;
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 40;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 7000;
    st.CurrentLevel = 1;
    st.ReCalcFlag = true;
    st.LevelCaption[1] = Blank();
    for (size_t i = 0; i < std::size(kCols); ++i) {
      const int c = static_cast<int>(i) + 1;
      st.ColType[1][c] = kCols[i].type;
      st.ColStart[1][c] = kCols[i].start;
      st.ColWidth[1][c] = kCols[i].width;
    }
    st.ColFormula[1][5] = "[[B*[[D";
    st.ColTotalKind[1][5] = "SUM";
    st.ColCount[1] = static_cast<int>(std::size(kCols));
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    st.calc = &calc;
    for (std::string& r : st.SheetRows) r = Blank();
    st.SheetTotalRecord = Blank();
    st.SheetTotalRecord[2] = 'G';
  }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }
  std::string Blank() const { return std::string(size_t(st.DataLen), ' '); }

  EDTSHEET_FRM& Load() {
    RegisterEditorWindow(ui, st, hooks);
    ui.ShowModeless(kEditWindow);
    auto* w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    EXPECT_NE(w, nullptr);
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, 1);
    st.SheetLoading = false;
    st.sheetEngine->SheetRedisplay(st, 1, 1);
    w->EdtSheet().SetCursor(1, 1);
    test::Settle();
    return *w;
  }
  std::string Field(int row, int col) const { return FieldText(st, st.SheetRows[size_t(row)], col, 1); }

  static void Key(QWidget* to, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &press);
  }

  test::TempFolder app;
  MessagesKeptUi ui;
  ProgramState st{ui};
  CalcEngine calc;
  EditorWindowHooks hooks;
};

TEST_F(EdtSheetEditing, ACompositionOpensTheCellAndItsCommitStoresShiftJis) {
  EDTSHEET_FRM& w = Load();
  GridModel& grid = w.EdtSheet();
  GridView* view = w.EdtSheetView();
  EXPECT_EQ(grid.EditMode(), 9);  // the set-up's cell opens for typing
  EXPECT_EQ(view->inputMethodHints(), Qt::ImhNone);  // a text column: Japanese input
  grid.SetCursor(2, 1);
  EXPECT_EQ(view->inputMethodHints(), Qt::ImhPreferLatin);  // a number
  grid.SetCursor(5, 1);
  EXPECT_EQ(grid.EditMode(), 15);  // computed
  grid.SetCursor(1, 1);
  EXPECT_EQ(view->inputMethodHints(), Qt::ImhNone);

  QInputMethodEvent composing(QString::fromUtf8("てっこつ"), {});
  QCoreApplication::sendEvent(view, &composing);
  ASSERT_TRUE(grid.Editing());
  ASSERT_NE(view->cellEditor(), nullptr);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("鉄骨"));
  QCoreApplication::sendEvent(view, &commit);
  Key(view->cellEditor(), Qt::Key_Return);
  test::Settle();
  EXPECT_FALSE(grid.Editing());
  EXPECT_EQ(st.SheetRows[1].substr(19, 6), ToSjis("鉄骨") + "  ");
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(EdtSheetEditing, TheCalculatorBoxCommitsOnEnterAndKeepsItsFormulaForAnotherWindow) {
  EDTSHEET_FRM& w = Load();
  GridModel& grid = w.EdtSheet();
  QLineEdit* box = w.DentakuText();
  QLabel* panel = w.statusBar()->findChild<QLabel*>(QStringLiteral("Panel(1)"));
  grid.SetCursor(4, 1);
  EXPECT_TRUE(grid.KeyDown(13, false, false));
  ASSERT_FALSE(box->isHidden());
  EXPECT_TRUE(panel->isHidden());
  box->setText(QStringLiteral("2*4"));
  if (const char* shot = std::getenv("KORVANE_CALCBOX_PICTURE")) {
    w.resize(900, 400);
    test::Settle();
    w.grab().save(QString::fromUtf8(shot));
  }
  // Another window became active (a message box): the box keeps the formula.
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(box, &away);
  EXPECT_FALSE(box->isHidden());
  EXPECT_EQ(box->text(), QStringLiteral("2*4"));
  Key(box, Qt::Key_Return);
  test::Settle();
  EXPECT_TRUE(box->isHidden());
  EXPECT_FALSE(panel->isHidden());
  EXPECT_EQ(Field(1, 4), "           8");
  // A click elsewhere in the window: the formula is dropped.
  grid.SetCursor(4, 1);
  grid.KeyDown(13, false, false);
  box->setText(QStringLiteral("99"));
  QFocusEvent click(QEvent::FocusOut, Qt::MouseFocusReason);
  QCoreApplication::sendEvent(box, &click);
  EXPECT_TRUE(box->isHidden());
  EXPECT_EQ(Field(1, 4), "           8");
}

TEST_F(EdtSheetEditing, EditingMenuItemsAreChoosableAndUndoWorks) {
  EDTSHEET_FRM& w = Load();
  const std::pair<const char*, std::vector<int>> menus[] = {
      {"Menu_2Sub", {0, 1, 2, 3, 4, 6, 7, 9, 10}},
      {"Menu_3Sub", {0, 1, 2, 3, 4, 13, 14, 16, 22}},  // 17-20 follow the edition
      {"Tokusyusub", {1, 2, 3, 14}},
  };
  for (const auto& [name, items] : menus) {
    for (int item : items) {
      QAction* a = w.MenuAction(name, item);
      ASSERT_NE(a, nullptr) << name << item;
      EXPECT_TRUE(a->isEnabled()) << name << item;
    }
  }
  GridModel& grid = w.EdtSheet();
  st.SheetRows[1].replace(19, 3, "OLD");
  st.UsedRows = 1;
  grid.SetCursor(1, 1);
  grid.StartEditByTyping('A', "A");
  grid.CommitEdit("ABC");
  EXPECT_EQ(Field(1, 1).substr(0, 3), "ABC");
  w.MenuAction("Menu_2Sub", 0)->trigger();
  test::Settle();
  EXPECT_EQ(Field(1, 1).substr(0, 3), "OLD");
}

TEST_F(EdtSheetEditing, ThePopupEditMenuHoldsItsItemsInOrderAndRunsThem) {
  EDTSHEET_FRM& w = Load();
  ASSERT_NE(w.EditPopup(), nullptr);
  const QList<QAction*> actions = w.EditPopup()->actions();
  std::vector<std::string> captions;
  for (QAction* a : actions) captions.push_back(a->isSeparator() ? "-" : a->text().toStdString());
  EXPECT_EQ(captions, (std::vector<std::string>{"切り取り", "コピー", "貼り付け", "削除", "-", "行削除", "行挿入", "-",
                                                "行コピー", "行貼付け"}));
  st.SheetRows[1].replace(19, 3, "ABC");
  st.UsedRows = 1;
  st.CurrentRow = 1;
  w.EdtSheet().SetCursor(1, 1);
  actions[6]->trigger();  // 行挿入
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Field(2, 1).substr(0, 3), "ABC");
}

#ifdef KORVANE_HAVE_QT_TEST
// Qt offers a key to the menu's shortcuts before the focused grid: the grid
// never takes these keys for itself, so one press runs the command once.
TEST_F(EdtSheetEditing, MenuShortcutsPressedInTheGridRunTheirCommandOnce) {
  EDTSHEET_FRM& w = Load();
  st.SheetRows[1].replace(19, 3, "ABC");
  st.UsedRows = 1;
  st.sheetEngine->SheetRedisplay(st, 1, 1);
  w.show();
  QApplication::setActiveWindow(&w);
  w.EdtSheetView()->setFocus();
  test::Settle();
  ASSERT_TRUE(w.EdtSheetView()->hasFocus());
  // Shift+F1 through the menu item: the automatic totals are switched on
  // (the key row alone would leave them) and the untitled estimate refused once.
  st.ReCalcFlag = false;
  QTest::keyClick(w.EdtSheetView(), Qt::Key_F1, Qt::ShiftModifier);
  test::Settle();
  EXPECT_TRUE(st.ReCalcFlag);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"ﾌｧｲﾙを保存後に実行して下さい."});
  // F8 inserts one blank row at the cursor, F7 deletes it again.
  w.EdtSheet().SetCursor(1, 1);
  QTest::keyClick(w.EdtSheetView(), Qt::Key_F8);
  test::Settle();
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Field(2, 1).substr(0, 3), "ABC");
  QTest::keyClick(w.EdtSheetView(), Qt::Key_F7);
  test::Settle();
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(Field(1, 1).substr(0, 3), "ABC");
}

// Opening the File, Edit, calculation-row and extended-functions menus gives
// the keyboard focus back to the sheet grid.
TEST_F(EdtSheetEditing, OpeningATopLevelMenuFocusesTheSheet) {
  EDTSHEET_FRM& w = Load();
  w.show();
  QApplication::setActiveWindow(&w);
  for (const auto& [name, index] : {std::pair<std::string, int>{"Menu_1", -1}, {"Menu_2", -1}, {"Menu_3", 3},
                                    {"Tokusyu", -1}}) {
    w.EdtSheetView()->clearFocus();
    test::Settle();
    ASSERT_FALSE(w.EdtSheetView()->hasFocus()) << name;
    QAction* top = w.MenuAction(name, index);
    ASSERT_TRUE(top && top->menu()) << name;
    emit top->menu()->aboutToShow();
    test::Settle();
    EXPECT_TRUE(w.EdtSheetView()->hasFocus()) << name;
  }
}
#endif

}  // namespace
}  // namespace kv
