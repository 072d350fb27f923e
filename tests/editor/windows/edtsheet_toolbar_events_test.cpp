// The editor window's docked toolbars at work: a button's action runs its
// command on the window, a button without a command stays disabled, and a
// drag of the toolbar or of one of its buttons undocks it at the pointer
// from 12 pixels on.
#include <gtest/gtest.h>

#include <QAction>
#include <QMouseEvent>
#include <QToolBar>
#include <vector>

#include "core/window_services.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/toolbar_drag_filter.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

class EdtSheetToolbarEvents : public test::EditorWindowTest {
 protected:
  // The extended toolbar's buttons as the start-up puts them on.
  ToolbarActions* Buttons2(EDTSHEET_FRM& w) {
    auto* actions = new ToolbarActions(w.Toolbar2Model(), w.Toolbar2());
    actions->AddTo(w.Toolbar2(), {});
    actions->clicked = [&w](const std::string& key) { w.Toolbar2_ButtonClick(key); };
    return actions;
  }
  // A mouse press or release on `target` with the pointer at `global`.
  void Mouse(QWidget* target, QEvent::Type type, QPoint global) {
    QMouseEvent e(type, QPointF(target->mapFromGlobal(global)), QPointF(target->mapFromGlobal(global)),
                  QPointF(global), Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    e.setTimestamp(++timestamp);
    QCoreApplication::sendEvent(target, &e);
  }

  unsigned long long timestamp = 1000;
};

TEST_F(EdtSheetToolbarEvents, AButtonRunsItsCommandAndOneWithoutACommandIsDisabled) {
  EDTSHEET_FRM& w = LoadEditor();
  ToolbarActions* actions = Buttons2(w);
  QAction* hiinsatu = w.Toolbar2()->findChild<QAction*>("HIINSATU");
  ASSERT_NE(hiinsatu, nullptr);
  EXPECT_TRUE(hiinsatu->isEnabled());
  hiinsatu->trigger();
  EXPECT_TRUE(st.NotPrintLineMode);
  hiinsatu->trigger();
  EXPECT_FALSE(st.NotPrintLineMode);
  // The search button has its command now.
  EXPECT_TRUE(actions->Action("SEARCH")->isEnabled());

  // The split button splits the sheet at the level's remembered position.
  st.GamenCX[1] = 240;
  actions->Action("DIVID")->trigger();
  EXPECT_EQ(w.EdtSheet().DivideX(), 240);
  actions->Action("DIVID")->trigger();
  EXPECT_EQ(w.EdtSheet().DivideX(), 0);
  EXPECT_EQ(st.GamenCX[1], 240);
}

TEST_F(EdtSheetToolbarEvents, ADragOfTwelvePixelsUndocksAtThePointer) {
  EDTSHEET_FRM& w = LoadEditor();
  std::vector<std::pair<int, std::pair<int, int>>> undocked;
  int n = 0;
  for (QToolBar* bar : {w.Toolbar1(), w.Toolbar2()}) {
    ++n;
    auto* filter = dynamic_cast<ToolbarDragFilter*>(bar->findChild<QObject*>(QStringLiteral("ToolbarDragFilter%1").arg(n)));
    ASSERT_NE(filter, nullptr);
    ASSERT_EQ(filter->Bar(), n);
    filter->undock = [&undocked, n](int x, int y) { undocked.push_back({n, {x, y}}); };
  }
  // On the basic toolbar itself: 11 pixels stay, 12 undock.
  QToolBar* bar1 = w.Toolbar1();
  const QPoint p = bar1->mapToGlobal(QPoint(5, 5));
  Mouse(bar1, QEvent::MouseButtonPress, p);
  Mouse(bar1, QEvent::MouseButtonRelease, p + QPoint(11, -11));
  EXPECT_TRUE(undocked.empty());
  Mouse(bar1, QEvent::MouseButtonPress, p);
  const QPoint to = p + QPoint(12, 0);
  Mouse(bar1, QEvent::MouseButtonRelease, to);
  ASSERT_EQ(undocked.size(), 1u);
  EXPECT_EQ(undocked[0].first, 1);
  EXPECT_EQ(undocked[0].second,
            std::make_pair(PixelsToTwips(to.x(), bar1->logicalDpiX()), PixelsToTwips(to.y(), bar1->logicalDpiY())));

  // On a button put on the extended toolbar after the window was made.
  ToolbarActions* actions = Buttons2(w);
  QWidget* button = w.Toolbar2()->widgetForAction(actions->Action("CUT"));
  ASSERT_NE(button, nullptr);
  const QPoint q = button->mapToGlobal(QPoint(3, 3));
  Mouse(button, QEvent::MouseButtonPress, q);
  Mouse(button, QEvent::MouseButtonRelease, q + QPoint(0, 30));
  ASSERT_EQ(undocked.size(), 2u);
  EXPECT_EQ(undocked[1].first, 2);
}

}  // namespace
}  // namespace kv
