#include "editor/windows/memo_editor_view.h"

#include <QPoint>
#include <algorithm>

#include "platform/grid/qt/grid_view.h"

namespace kv {

MemoEditorView::MemoEditorView(GridView& sheetView, GridView& rowSheetView)
    : sheetView_(sheetView), rowSheetView_(rowSheetView) {
  // A frame would push the cell in from the edges of the row it covers.
  rowSheetView_.setFrameShape(QFrame::NoFrame);
}

void MemoEditorView::Place(const GridRect& rect) {
  QWidget* parent = rowSheetView_.parentWidget();
  const QPoint inViewport(rect.left, rect.top);
  const QPoint topLeft =
      parent != nullptr ? parent->mapFromGlobal(sheetView_.viewport()->mapToGlobal(inViewport))
                        : sheetView_.viewport()->mapToGlobal(inViewport);
  // The model's Visible shows the view (and keeps the two in step).
  rowSheetView_.model().SetVisible(true);
  rowSheetView_.setGeometry(topLeft.x(), topLeft.y(), std::max(0, rect.right - rect.left),
                            std::max(0, rect.bottom - rect.top));
  rowSheetView_.raise();
  rowSheetView_.setFocus();
}

void MemoEditorView::Hide() { rowSheetView_.model().SetVisible(false); }

bool MemoEditorView::Visible() const {
  return !rowSheetView_.isHidden() && rowSheetView_.model().Visible();
}

}  // namespace kv
