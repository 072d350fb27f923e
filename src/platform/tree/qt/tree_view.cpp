#include "platform/tree/qt/tree_view.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

namespace kv {

namespace {

// The image list: image number n (1-based) is kImageKeys[n - 1].
constexpr std::string_view kImageKeys[] = {"Close", "Open", "Leaf"};
constexpr int kImageSize = 16;

}  // namespace

// ---- The item model ----

TreeItemModel::TreeItemModel(TreeModel& tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) {
  SetImages(QApplication::style());
  tree_.SetObserver(this);
}

TreeItemModel::~TreeItemModel() { tree_.SetObserver(nullptr); }

void TreeItemModel::SetImages(const QStyle* style) {
  if (!style) return;
  style_ = style;
  for (QIcon& image : images_) image = QIcon();
}

QIcon TreeItemModel::ImageIcon(std::string_view image) const {
  static constexpr QStyle::StandardPixmap kStandard[] = {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon,
                                                         QStyle::SP_FileIcon};
  for (size_t i = 0; i < std::size(kImageKeys); ++i) {
    if (kImageKeys[i] != image) continue;
    if (images_[i].isNull() && style_) images_[i] = style_->standardIcon(kStandard[i]);
    return images_[i];
  }
  return {};
}

const TreeNode* TreeItemModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<const TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeItemModel::IndexOf(const TreeNode* node) const {
  const int row = tree_.RowOf(node);
  return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TreeNode*>(node));
}

const std::vector<TreeNode*>& TreeItemModel::ChildrenOf(const QModelIndex& parent) const {
  const TreeNode* node = NodeOf(parent);
  return node ? node->children : tree_.TopNodes();
}

QModelIndex TreeItemModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0)) return {};
  const std::vector<TreeNode*>& children = ChildrenOf(parent);
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, 0, children[static_cast<size_t>(row)]);
}

QModelIndex TreeItemModel::parent(const QModelIndex& child) const {
  const TreeNode* node = NodeOf(child);
  return node ? IndexOf(node->parent) : QModelIndex();
}

int TreeItemModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return static_cast<int>(ChildrenOf(parent).size());
}

int TreeItemModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeItemModel::data(const QModelIndex& index, int role) const {
  const TreeNode* node = NodeOf(index);
  if (!node) return {};
  const TreeNodeData& d = node->data;
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return QString::fromUtf8(d.text.data(), static_cast<qsizetype>(d.text.size()));
  if (role == Qt::DecorationRole) {
    const int n = d.expandedImage;
    if (d.expanded && n >= 1 && n <= static_cast<int>(std::size(kImageKeys)))
      return ImageIcon(kImageKeys[n - 1]);
    QIcon icon = ImageIcon(d.image);
    return icon.isNull() ? QVariant() : QVariant(icon);
  }
  return {};
}

Qt::ItemFlags TreeItemModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TreeItemModel::TreeNodeAdding(const TreeNode* parent, int row) {
  beginInsertRows(IndexOf(parent), row, row);
}

void TreeItemModel::TreeNodeAdded() { endInsertRows(); }

void TreeItemModel::TreeNodeRemoving(const TreeNode* parent, int row) {
  beginRemoveRows(IndexOf(parent), row, row);
}

void TreeItemModel::TreeNodeRemoved() { endRemoveRows(); }

void TreeItemModel::TreeNodeChanged(const TreeNode* node) {
  const QModelIndex i = IndexOf(node);
  if (!i.isValid()) return;
  emit dataChanged(i, i);
  emit expandedStateChanged(i, node->data.expanded);
}

void TreeItemModel::TreeClearing() { beginResetModel(); }

void TreeItemModel::TreeCleared() { endResetModel(); }

// ---- The view ----

TreeView::TreeView(TreeModel& tree, QWidget* parent)
    : QTreeView(parent), items_(new TreeItemModel(tree, this)) {
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(QSize(kImageSize, kImageSize));
  items_->SetImages(style());
  setModel(items_);
  connect(items_, &TreeItemModel::expandedStateChanged, this, &TreeView::ShowExpanded);
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& i) { UserExpanded(i, true); });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& i) { UserExpanded(i, false); });
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
    if (const TreeNode* node = items_->NodeOf(i)) items_->tree().UserClick(node->data.key);
  });
  // After a rebuild every node is new and collapsed until the model says
  // otherwise; a model that already has nodes is shown as it stands.
  connect(items_, &QAbstractItemModel::modelReset, this, [this] { ShowAllExpanded({}); });
  ShowAllExpanded({});
}

void TreeView::changeEvent(QEvent* e) {
  if (e->type() == QEvent::StyleChange) {
    items_->SetImages(style());
    viewport()->update();
  }
  QTreeView::changeEvent(e);
}

void TreeView::ShowExpanded(const QModelIndex& index, bool expanded) {
  if (!index.isValid() || isExpanded(index) == expanded) return;
  const bool was = showing_;
  showing_ = true;
  setExpanded(index, expanded);
  showing_ = was;
}

void TreeView::ShowAllExpanded(const QModelIndex& parent) {
  const int rows = items_->rowCount(parent);
  for (int r = 0; r < rows; ++r) {
    const QModelIndex i = items_->index(r, 0, parent);
    ShowExpanded(i, items_->NodeOf(i)->data.expanded);
    ShowAllExpanded(i);
  }
}

void TreeView::UserExpanded(const QModelIndex& index, bool expanded) {
  if (showing_) return;
  const TreeNode* node = items_->NodeOf(index);
  if (!node) return;
  // Only a node with a key has children, so only such a node has an expander.
  const std::string key = node->data.key;
  if (node->data.expanded != expanded) tree().UserToggle(key);
  // Show what the model holds: its handlers may have changed the state again
  // (or removed the node).
  if (const TreeNode* now = tree().Find(key)) ShowExpanded(items_->IndexOf(now), now->data.expanded);
}

}  // namespace kv
