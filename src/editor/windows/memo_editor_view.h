#pragma once
// The window's side of the memo-row editor: the one-row grid view `RowSheet`
// laid over a row of the sheet grid view `EdtSheet`, as a child widget of the
// same window raised above the sheet grid.
#include "sheet/memo_editor.h"

namespace kv {

class GridView;

class MemoEditorView : public MemoEditorPort {
 public:
  // Both views belong to the window and outlive this object.
  MemoEditorView(GridView& sheetView, GridView& rowSheetView);

  // `rect` is in pixels of the sheet view's viewport; the editor view covers
  // exactly that area (it draws no frame of its own).
  void Place(const GridRect& rect) override;
  void Hide() override;
  bool Visible() const override;

 private:
  GridView& sheetView_;
  GridView& rowSheetView_;
};

}  // namespace kv
