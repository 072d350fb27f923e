#pragma once
// The tree control's Qt view: a QTreeView over an item-model adapter of a
// TreeModel. One view per model; the model outlives the view.
//
// The adapter follows the model through its observer: each node added or
// removed is announced to Qt before and after the change, so the view stays
// consistent while event handlers add and remove nodes. A node shows its
// text and, as its decoration, the image of its image key ("Close", "Open",
// "Leaf": the style's closed-folder, open-folder and file icons, 16 x 16);
// while expanded, its expanded image when it has one.
//
// The model owns the expanded state: the user's click on an expander (or the
// keys and double click that expand and collapse) goes to UserToggle, which
// raises Expand or Collapse; a click on a node goes to UserClick. A state set
// by the program (SetExpanded) is shown without being sent back.
#include <QAbstractItemModel>
#include <QIcon>
#include <QTreeView>

#include "platform/tree/tree_model.h"

class QStyle;

namespace kv {

class TreeItemModel : public QAbstractItemModel, public TreeObserver {
  Q_OBJECT

 public:
  explicit TreeItemModel(TreeModel& tree, QObject* parent = nullptr);
  ~TreeItemModel() override;

  TreeModel& tree() const { return tree_; }
  // The node an index stands for (null for the invisible root) and back.
  const TreeNode* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const TreeNode* node) const;
  // The three images from a style.
  void SetImages(const QStyle* style);
  // The icon of an image key; a null icon for an unknown key.
  QIcon ImageIcon(std::string_view image) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void TreeNodeAdding(const TreeNode* parent, int row) override;
  void TreeNodeAdded() override;
  void TreeNodeRemoving(const TreeNode* parent, int row) override;
  void TreeNodeRemoved() override;
  void TreeNodeChanged(const TreeNode* node) override;
  void TreeClearing() override;
  void TreeCleared() override;

 signals:
  // The model's expanded state of a node changed.
  void expandedStateChanged(const QModelIndex& index, bool expanded);

 private:
  const std::vector<TreeNode*>& ChildrenOf(const QModelIndex& parent) const;

  TreeModel& tree_;
  // "Close", "Open", "Leaf": taken from the style when first shown.
  const QStyle* style_ = nullptr;
  mutable QIcon images_[3];
};

class TreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit TreeView(TreeModel& tree, QWidget* parent = nullptr);

  TreeItemModel* itemModel() const { return items_; }
  TreeModel& tree() const { return items_->tree(); }

 protected:
  void changeEvent(QEvent* e) override;

 private:
  // Shows the model's state on one index, or on every node.
  void ShowExpanded(const QModelIndex& index, bool expanded);
  void ShowAllExpanded(const QModelIndex& parent);
  // The view expanded or collapsed an index on the user's behalf.
  void UserExpanded(const QModelIndex& index, bool expanded);

  TreeItemModel* items_;
  bool showing_ = false;
};

}  // namespace kv
