#include "platform/tree/tree_model.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace kv {

namespace {

constexpr int kMaxEventDepth = 32;

// FNV-1a, then mixed so that the low bits (the table's slot) depend on
// every byte: the keys of a tree differ in a few digits only.
size_t KeyHash(std::string_view key) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : key) h = (h ^ c) * 1099511628211ull;
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return static_cast<size_t>(h);
}

}  // namespace

TreeNode* TreeKeyIndex::Removed() {
  static TreeNode gap;
  return &gap;
}

TreeNode* TreeKeyIndex::Find(std::string_view key) const {
  if (slots_.empty()) return nullptr;
  const size_t hash = KeyHash(key);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& s = slots_[i];
    if (!s.node) return nullptr;
    if (s.hash == hash && s.node != Removed() && s.node->data.key == key) return s.node;
  }
}

bool TreeKeyIndex::Insert(TreeNode* node) {
  // At most half the slots in use, so that a search soon meets a free one.
  if ((used_ + 1) * 2 > slots_.size()) Rehash(std::max<size_t>(16, std::bit_ceil((live_ + 1) * 4)));
  const std::string_view key = node->data.key;
  const size_t hash = KeyHash(key);
  const size_t mask = slots_.size() - 1;
  Slot* target = nullptr;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (!s.node) {
      if (!target) {
        target = &s;
        ++used_;
      }
      break;
    }
    if (s.node == Removed()) {
      if (!target) target = &s;
    } else if (s.hash == hash && s.node->data.key == key) {
      return false;
    }
  }
  *target = {hash, node};
  ++live_;
  return true;
}

void TreeKeyIndex::Erase(const TreeNode* node) {
  if (slots_.empty()) return;
  const size_t mask = slots_.size() - 1;
  for (size_t i = KeyHash(node->data.key) & mask;; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (!s.node) return;
    if (s.node == node) {
      s.node = Removed();
      --live_;
      return;
    }
  }
}

void TreeKeyIndex::Clear() {
  std::fill(slots_.begin(), slots_.end(), Slot{});
  used_ = live_ = 0;
}

void TreeKeyIndex::Rehash(size_t capacity) {
  std::vector<Slot> old(capacity);
  old.swap(slots_);
  used_ = live_ = 0;
  for (const Slot& s : old)
    if (s.node && s.node != Removed()) {
      const size_t mask = slots_.size() - 1;
      size_t i = s.hash & mask;
      while (slots_[i].node) i = (i + 1) & mask;
      slots_[i] = s;
      ++used_;
      ++live_;
    }
}

int TreeModel::RowOf(const TreeNode* node) const {
  if (!node || !node->alive) return -1;
  const std::vector<TreeNode*>& siblings = node->parent ? node->parent->children : top_;
  auto it = std::find(siblings.begin(), siblings.end(), node);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

TreeModel::TreeModel() = default;
TreeModel::~TreeModel() = default;

TreeNode* TreeModel::FindNode(std::string_view key) const {
  if (key.empty()) return nullptr;
  return byKey_.Find(key);
}

bool TreeModel::Add(std::string_view relativeKey, std::string key, std::string text,
                    std::string image, int expandedImage) {
  TreeNode* parent = nullptr;
  if (!relativeKey.empty()) {
    // Nodes come in runs below one parent: the last one is tried first.
    parent = lastParent_ && lastParent_->data.key == relativeKey ? lastParent_ : FindNode(relativeKey);
    if (!parent) return false;
  }
  if (!key.empty() && byKey_.Find(key)) return false;
  std::vector<TreeNode*>& siblings = parent ? parent->children : top_;
  lastParent_ = parent;
  if (observer_) observer_->TreeNodeAdding(parent, static_cast<int>(siblings.size()));
  TreeNode* raw = NewNode();
  raw->data.key = std::move(key);
  raw->data.text = std::move(text);
  raw->data.image = std::move(image);
  raw->data.expandedImage = expandedImage;
  raw->parent = parent;
  if (numbered_) raw->index = count_ + 1;
  order_.push_back(raw);
  siblings.push_back(raw);
  if (!raw->data.key.empty()) {
    byKey_.Insert(raw);
    unordered_.push_back(raw);
  }
  ++count_;
  if (observer_) observer_->TreeNodeAdded();
  return true;
}

void TreeModel::Detach(TreeNode* node) {
  std::vector<TreeNode*>& siblings = node->parent ? node->parent->children : top_;
  auto it = std::find(siblings.begin(), siblings.end(), node);
  if (it == siblings.end()) return;
  if (observer_) observer_->TreeNodeRemoving(node->parent, static_cast<int>(it - siblings.begin()));
  siblings.erase(it);
  Drop(node);
  if (observer_) observer_->TreeNodeRemoved();
}

void TreeModel::Drop(TreeNode* node) {
  // Iteratively, so that a deep tree cannot exhaust the stack.
  lastParent_ = nullptr;
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    if (!n->alive) continue;
    n->alive = false;
    if (!n->data.key.empty()) {
      byKey_.Erase(n);
      if (!ordered_.empty()) {
        auto it = ordered_.find(n->data.key);
        if (it != ordered_.end() && it->second == n) ordered_.erase(it);
      }
    }
    --count_;
    pending.insert(pending.end(), n->children.begin(), n->children.end());
    n->children.clear();
    n->parent = nullptr;
  }
  numbered_ = false;
}

bool TreeModel::Remove(std::string_view key) {
  TreeNode* node = FindNode(key);
  if (!node) return false;
  Detach(node);
  return true;
}

int TreeModel::RemoveKeysExtending(std::string_view prefix) {
  // Keys that extend a prefix lie together in key order, right after it.
  OrderKeys();
  std::vector<std::string> keys;
  for (auto it = ordered_.upper_bound(prefix);
       it != ordered_.end() && it->first.size() > prefix.size() &&
       std::string_view(it->first).substr(0, prefix.size()) == prefix;
       ++it)
    keys.emplace_back(it->first);
  const int before = count_;
  // Descendants before their ancestors: the longer keys of a path go first,
  // and a node already gone with its ancestor is passed over.
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) Remove(*it);
  return before - count_;
}

void TreeModel::Clear() {
  if (observer_) observer_->TreeClearing();
  // Every node is freed here, so none needs to be unlinked one by one.
  top_.clear();
  lastParent_ = nullptr;
  unordered_.clear();
  ordered_.clear();
  byKey_.Clear();
  order_.clear();
  spare_.clear();
  blocks_.clear();
  blockUsed_ = 0;
  count_ = 0;
  numbered_ = true;
  if (observer_) observer_->TreeCleared();
}

void TreeModel::Renumber() const {
  if (numbered_) return;
  unordered_.erase(std::remove_if(unordered_.begin(), unordered_.end(), [](const TreeNode* n) { return !n->alive; }),
                   unordered_.end());
  // The removed nodes go back to the pool, as new ones.
  order_.erase(std::remove_if(order_.begin(), order_.end(),
                              [this](TreeNode* n) {
                                if (n->alive) return false;
                                *n = TreeNode();
                                spare_.push_back(n);
                                return true;
                              }),
               order_.end());
  for (size_t i = 0; i < order_.size(); ++i) order_[i]->index = static_cast<int>(i) + 1;
  numbered_ = true;
}

TreeNode* TreeModel::NewNode() {
  if (!spare_.empty()) {
    TreeNode* n = spare_.back();
    spare_.pop_back();
    return n;
  }
  if (blocks_.empty() || blockUsed_ == kNodeBlock) {
    blocks_.push_back(std::make_unique<TreeNode[]>(kNodeBlock));
    blockUsed_ = 0;
  }
  return &blocks_.back()[blockUsed_++];
}

void TreeModel::OrderKeys() {
  for (TreeNode* n : unordered_)
    if (n->alive) ordered_.emplace(n->data.key, n);
  unordered_.clear();
}

int TreeModel::IndexOf(std::string_view key) const {
  const TreeNode* node = FindNode(key);
  if (!node) return 0;
  Renumber();
  return node->index;
}

const TreeNode* TreeModel::Find(std::string_view key) const { return FindNode(key); }

const TreeNode* TreeModel::NodeAt(int index) const {
  if (index < 1 || index > count_) return nullptr;
  Renumber();
  return order_[static_cast<size_t>(index - 1)];
}

bool TreeModel::Expanded(std::string_view key) const {
  const TreeNode* node = FindNode(key);
  return node && node->data.expanded;
}

void TreeModel::Raise(const std::function<void(const TreeNodeData&)>& handler,
                      const TreeNodeData& node) {
  if (!handler || eventDepth_ >= kMaxEventDepth) return;
  auto copy = handler;  // a handler may replace itself
  const TreeNodeData data = node;  // the node may go while the handler runs
  ++eventDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{eventDepth_};
  copy(data);
}

bool TreeModel::SetExpanded(std::string_view key, bool expanded) {
  TreeNode* node = FindNode(key);
  if (!node) return false;
  if (node->data.expanded == expanded) return true;
  node->data.expanded = expanded;
  if (observer_) observer_->TreeNodeChanged(node);
  Raise(expanded ? events.Expand : events.Collapse, node->data);
  return true;
}

void TreeModel::UserToggle(std::string_view key) {
  const TreeNode* node = FindNode(key);
  if (!node || node->children.empty()) return;
  SetExpanded(key, !node->data.expanded);
}

void TreeModel::UserClick(std::string_view key) {
  const TreeNode* node = FindNode(key);
  if (node) Raise(events.NodeClick, node->data);
}

}  // namespace kv
