// The unit list window beside the running editor: opened as the View menu
// and the toolbar open it, it shows UNIT.DAT in its grid, a double click on a
// unit writes it into the cursor row of the estimate, and closing it writes
// its rectangle and clears its flag.
#include "editor/windows/unit2_frm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <filesystem>
#include <string>

#include "core/ini_file.h"
#include "editor/unit_list.h"
#include "editor/windows/tool_window_fixture.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/window_helpers.h"
#include "sheet/sheet_fields.h"
#include "state/float_windows.h"

namespace kv {
namespace {

class Unit2FrmTest : public test::ToolWindowFixture {
 protected:
  void SetUp() override {
    // Name, quantity, unit.
    EditorStart({{"C", 20, 24}, {"2", 44, 10}, {"C", 54, 4}}, [this] {
      app.Write("UNIT.DAT", ToSjis("m2\r\n式\r\n"));
      RegisterUnitWindow(ui, st);
    });
  }
  void TearDown() override { EditorEnd(kUnitWindow); }

  // A double click on a cell of the view, as the mouse gives it.
  static void DoubleClick(GridView* view, GridModel& grid, int col, int row) {
    GridRect r;
    ASSERT_TRUE(grid.CellRect(1, col, row, r));
    const QPointF at((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    const QPointF global = view->viewport()->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, at, global, Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &e);
    }
  }
};

TEST_F(Unit2FrmTest, DoubleClickPutsAUnitIntoTheCursorRow) {
  editor->EdtSheet().SetCursor(3, 2);  // the unit column of row 2
  UnitWindowShow(st);
  test::Settle();
  auto* w = dynamic_cast<UNIT2_Frm*>(ui.LoadedWindow(kUnitWindow));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(st.UnitWindowOpen);
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->isModal());
  EXPECT_EQ(w->parentWidget(), nullptr);
  EXPECT_EQ(w->windowTitle(), ToQ("単位"));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  QStringList menus;
  for (QAction* a : w->findChild<QMenuBar*>()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({ToQ("ﾌｧｲﾙ(&F)"), ToQ("編集(&E)"), ToQ("ﾍﾙﾌﾟ(&H)")}));
  EXPECT_EQ(w->mnuFitem(0)->text(), ToQ("変更(&A) OFF"));
  EXPECT_FALSE(w->mnuFitem(1)->isEnabled());
  EXPECT_FALSE(w->mnuEItem(0)->isEnabled());

  GridModel& units = w->UNIT2SHEET();
  EXPECT_EQ(units.ColCount(), 6);
  EXPECT_EQ(units.RowCount(), 10);
  EXPECT_EQ(units.CellText(1, 1), "m2");
  EXPECT_EQ(units.CellText(2, 1), "式");
  // The window fits its six columns without a horizontal scroll bar.
  EXPECT_FALSE(w->UNIT2SHEETView()->horizontalScrollBar()->isVisible());
  EXPECT_GE(w->UNIT2SHEETView()->viewport()->width(), units.ColX(1, 6) + units.Scaled(units.ColWidth(6)));

  DoubleClick(w->UNIT2SHEETView(), units, 1, 1);
  test::Settle();
  EXPECT_EQ(st.SheetRows[2].substr(53, 4), "m2  ");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(editor->EdtSheet().CellText(3, 2).substr(0, 2), "m2");
  EXPECT_FALSE(w->Logic().UnitsModified());

  // Change mode from the menu, then close: nothing changed, no question.
  w->mnuFitem(0)->trigger();
  EXPECT_EQ(w->mnuFitem(0)->text(), ToQ("変更(&A) ON"));
  EXPECT_TRUE(w->mnuFitem(0)->isChecked());
  EXPECT_TRUE(w->mnuEItem(2)->isEnabled());
  w->mnuFitem(3)->trigger();
  test::Settle();
  EXPECT_FALSE(ui.IsWindowLoaded(kUnitWindow));
  EXPECT_FALSE(st.UnitWindowOpen);
  EXPECT_GT(IniGetInt("単位画面", "Width", app / "KVSSYS.INI"), 0);
}

}  // namespace
}  // namespace kv
