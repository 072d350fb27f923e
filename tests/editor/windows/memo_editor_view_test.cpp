// The memo editor's view on the offscreen platform: the one-row grid view is
// laid exactly over the memo row of the sheet grid view, at the grid's zoom,
// cut at the grid's right edge, above the sheet grid, and hidden again.
#include "editor/windows/memo_editor_view.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/qt/grid_view.h"
#include "sheet/grid_setup.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class MemoEditorViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    st.DataLen = 256;
    st.Imax = 200;
    st.MemoRowMax = 100;
    st.CurrentLevel = 1;
    st.FontName = "IPAMincho";
    const int starts[] = {20, 44, 54}, widths[] = {24, 10, 12};
    const char* types[] = {"C", "2", "0"};
    for (int c = 1; c <= 3; ++c) {
      st.ColType[1][c] = types[c - 1];
      st.ColStart[1][c] = starts[c - 1];
      st.ColWidth[1][c] = widths[c - 1];
    }
    st.ColCount[1] = 3;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    st.LevelCaption[1] = std::string(256, ' ');
    st.SheetTotalRecord = std::string(256, ' ');
    for (auto& row : st.SheetRows) row = std::string(256, ' ');
    std::string& memo = st.SheetRows[5];
    memo[2] = '\xD2';  // ﾒ
    const std::string text = ToSjis("※ 数量は設計図書による。");
    memo.replace(19, text.size(), text);
    st.UsedRows = 6;

    sheetGrid.SetTotalsLine(true);
    window.resize(1600, 400);
    sheetView = new GridView(sheetGrid, &window);
    sheetView->setGeometry(30, 40, 420, 300);
    rowView = new GridView(rowGrid, &window);
    rowGrid.SetVisible(false);
    memoView = std::make_unique<MemoEditorView>(*sheetView, *rowView);
    window.show();
    test::Settle();
  }
  void TearDown() override {
    memoView.reset();
    delete rowView;
    delete sheetView;
    test::Settle();
  }

  // Opens the editor on row 5 at a zoom.
  void OpenAt(int zoom) {
    st.KVZoom = zoom;
    SheetGridInit(st, sheetGrid, 1);
    test::Settle();
    st.CurrentRow = 5;
    sheetGrid.SetCursor(2, 5);
    OpenMemoEditor(st, sheetGrid, rowGrid, *memoView);
    test::Settle();
  }

  // The sheet view's cell rectangle in the window's coordinates.
  QRect CellInWindow(int col, int row) {
    GridRect r;
    EXPECT_TRUE(sheetGrid.CellRect(1, col, row, r));
    const QPoint topLeft = sheetView->viewport()->mapTo(&window, QPoint(r.left, r.top));
    return QRect(topLeft, QSize(r.right - r.left, r.bottom - r.top));
  }

  bool appMade = (test::EnsureQtApp(), true);  // before the first widget
  test::ScriptedUi ui;
  ProgramState st{ui};
  QWidget window;
  GridModel sheetGrid;
  GridModel rowGrid;
  GridView* sheetView = nullptr;
  GridView* rowView = nullptr;
  std::unique_ptr<MemoEditorView> memoView;
};

TEST_F(MemoEditorViewTest, LiesOverTheMemoRowAtTwoZoomsCutAtTheRightEdge) {
  // The grid is made wider than the memo column at 100 % and narrower than
  // it at 150 %.
  OpenAt(100);
  rowGrid.CancelEdit();
  const int frame = sheetView->width() - sheetView->viewport()->width();
  sheetView->resize(frame + sheetGrid.HeaderWidth() + rowGrid.ColWidth(1) * 5 / 4, 300);
  test::Settle();
  const QRect viewport(sheetView->viewport()->mapTo(&window, QPoint(0, 0)),
                       sheetView->viewport()->size());
  for (int zoom : {100, 150}) {
    SCOPED_TRACE(zoom);
    OpenAt(zoom);
    ASSERT_TRUE(memoView->Visible());
    const QRect cell = CellInWindow(1, 5);
    const int memoWidth = sheetGrid.Scaled(rowGrid.ColWidth(1));
    const int right = std::min(cell.left() + memoWidth, viewport.right() + 1);
    const QRect expected(cell.left(), cell.top(), right - cell.left(), cell.height());
    EXPECT_EQ(rowView->geometry(), expected);
    // Its cell starts at its corner: no frame moves the text off the row.
    EXPECT_EQ(QRect(rowView->viewport()->mapTo(&window, QPoint(0, 0)), rowView->viewport()->size()),
              expected);
    // At 150 % the memo column is wider than the grid: the editor ends at its edge.
    EXPECT_EQ(right == viewport.right() + 1, zoom == 150);

    // It lies above the sheet grid, with the memo text open for editing.
    QWidget* top = window.childAt(rowView->geometry().center());
    EXPECT_TRUE(top == rowView || rowView->isAncestorOf(top));
    ASSERT_NE(rowView->cellEditor(), nullptr);
    EXPECT_TRUE(rowView->cellEditor()->isVisible());
    rowGrid.CancelEdit();
  }

  memoView->Hide();
  test::Settle();
  EXPECT_FALSE(memoView->Visible());
  EXPECT_TRUE(rowView->isHidden());
}

}  // namespace
}  // namespace kv
