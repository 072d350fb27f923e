#pragma once
// "ツールバーのカスタマイズ": a small modal dialog over a toolbar's buttons in
// order, each with a check box for shown or hidden, "上へ" and "下へ" to move
// the chosen one, "リセット" for the table's order, OK and "ｷｬﾝｾﾙ". What it
// edits is a ToolbarCustomizeList; the widgets only show it.
#include <QDialog>

#include "editor/toolbars/toolbar_customize.h"

class QListWidget;
class QListWidgetItem;

namespace kv {

class ToolbarCustomizeDialog : public QDialog {
 public:
  ToolbarCustomizeDialog(std::span<const ToolButtonDef> table, const ToolbarArrangement& current,
                         QWidget* parent = nullptr);

  ToolbarCustomizeList& List() { return list_; }
  QListWidget* ListView() const { return view_; }
  // The dialog's buttons.
  void MoveUpClick();
  void MoveDownClick();
  void ResetClick();

  // Runs the dialog modal; true when it was closed with OK after a change,
  // `arrangement` then holds the new arrangement.
  static bool Run(QWidget* parent, std::span<const ToolButtonDef> table, ToolbarArrangement& arrangement);

 private:
  void Fill();
  void ItemChanged(QListWidgetItem* item);

  ToolbarCustomizeList list_;
  QListWidget* view_ = nullptr;
  bool filling_ = false;
};

}  // namespace kv
