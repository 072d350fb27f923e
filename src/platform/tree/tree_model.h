#pragma once
// The tree control: a Qt-free model of a tree view (the editor's level tree,
// the reference window's tree). The logic drives it through the members
// below; a Qt view paints it and turns the user's clicks into UserToggle and
// UserClick, which raise the events of `events`.
//
// Nodes: each has a key (unique among the nodes that have one; "" = no key),
// a text, an image key ("Close", "Open", "Leaf"), an expanded image (the
// image list's 1-based number shown while the node is expanded; 0 = its own
// image) and an expanded state. A node is added as the last child of another
// (or as a last top node); removing a node removes its descendants with it.
// Nodes are numbered 1 .. Count() in the order they were added (the numbers
// close up when nodes are removed).
//
// Events are raised synchronously with a copy of the node as it was then, so
// a handler may add and remove nodes (the event's own node included); nesting
// stops at 32 levels. Setting the expanded state from the program raises the
// same Expand or Collapse event as the user's click on the expander, once per
// change of the state.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct TreeNodeData {
  std::string key;
  std::string text;
  std::string image;      // image key
  int expandedImage = 0;  // image number shown while expanded, 0 = the image
  bool expanded = false;
};

// A node of the model; the view walks the tree through these (read only).
struct TreeNode {
  TreeNodeData data;
  TreeNode* parent = nullptr;
  std::vector<TreeNode*> children;
  bool alive = true;
  // Position in the numbering; valid while the numbering is up to date.
  int index = 0;
};

struct TreeEvents {
  std::function<void(const TreeNodeData& node)> Expand;
  std::function<void(const TreeNodeData& node)> Collapse;
  std::function<void(const TreeNodeData& node)> NodeClick;
};

// What the view is told: each change of the structure is announced before it
// is made and confirmed after.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;
  // `parent` null = the top nodes; the new node becomes child number `row`.
  virtual void TreeNodeAdding(const TreeNode* parent, int row) {}
  virtual void TreeNodeAdded() {}
  // The child number `row` of `parent` (and its descendants) goes.
  virtual void TreeNodeRemoving(const TreeNode* parent, int row) {}
  virtual void TreeNodeRemoved() {}
  // A node's text, image or expanded state changed.
  virtual void TreeNodeChanged(const TreeNode* node) {}
  // Every node goes.
  virtual void TreeClearing() {}
  virtual void TreeCleared() {}
};

// The nodes by key, for the model's own use: a hash table with open
// addressing over the nodes' own keys (keyed nodes only). Node pointers stay
// valid while they are in it.
class TreeKeyIndex {
 public:
  TreeNode* Find(std::string_view key) const;
  // False, and nothing added, when a node with that key is in already.
  bool Insert(TreeNode* node);
  void Erase(const TreeNode* node);
  // Empties the table; its room stays for the next nodes.
  void Clear();

 private:
  struct Slot {
    size_t hash = 0;
    TreeNode* node = nullptr;  // null: never used; Removed(): a gap
  };
  static TreeNode* Removed();
  void Rehash(size_t capacity);

  std::vector<Slot> slots_;
  size_t used_ = 0;  // slots holding a node or a gap
  size_t live_ = 0;
};

class TreeModel {
 public:
  TreeModel();
  ~TreeModel();
  TreeModel(const TreeModel&) = delete;
  TreeModel& operator=(const TreeModel&) = delete;

  TreeEvents events;
  void SetObserver(TreeObserver* observer) { observer_ = observer; }

  // Adds a node as the last child of the node keyed `relativeKey` ("" = as
  // the last top node). False, and nothing added, when the key is not unique
  // or there is no node with the relative key.
  bool Add(std::string_view relativeKey, std::string key, std::string text, std::string image,
           int expandedImage = 0);
  // Removes the node with that key and all its descendants; false when there
  // is none.
  bool Remove(std::string_view key);
  // Removes every node whose key begins with `prefix` and is longer than it;
  // the number removed.
  int RemoveKeysExtending(std::string_view prefix);
  void Clear();

  int Count() const { return count_; }
  // The node's number 1 .. Count(), 0 when no node has that key.
  int IndexOf(std::string_view key) const;
  const TreeNode* Find(std::string_view key) const;
  const TreeNode* NodeAt(int index) const;  // 1 .. Count(); null outside
  const std::vector<TreeNode*>& TopNodes() const { return top_; }
  // The node's position among its parent's children (or the top nodes), -1
  // for a node not in the tree.
  int RowOf(const TreeNode* node) const;

  bool Expanded(std::string_view key) const;
  // Sets the state; a change raises Expand or Collapse. False when there is
  // no node with the key.
  bool SetExpanded(std::string_view key, bool expanded);

  // The user's click on a node's expander (only a node with children has
  // one) and on the node itself.
  void UserToggle(std::string_view key);
  void UserClick(std::string_view key);

 private:
  TreeNode* FindNode(std::string_view key) const;
  void Detach(TreeNode* node);
  void Drop(TreeNode* node);  // marks the subtree removed
  void Renumber() const;
  TreeNode* NewNode();
  // Brings the pending nodes into the ordered index.
  void OrderKeys();
  void Raise(const std::function<void(const TreeNodeData&)>& handler, const TreeNodeData& node);

  TreeObserver* observer_ = nullptr;
  std::vector<TreeNode*> top_;
  // Every node in the order added; removed ones go back to the pool at the
  // next renumbering.
  mutable std::vector<TreeNode*> order_;
  // The nodes live in blocks (one allocation for many nodes); `spare_` are
  // the free ones, `blockUsed_` the nodes handed out from the last block.
  static constexpr size_t kNodeBlock = 256;
  std::vector<std::unique_ptr<TreeNode[]>> blocks_;
  size_t blockUsed_ = 0;
  mutable std::vector<TreeNode*> spare_;
  mutable bool numbered_ = true;
  // The nodes by key. The lookup index is hashed; the ordered one (its views
  // point into the nodes' own keys) serves only RemoveKeysExtending, so it is
  // filled on its first use after nodes were added: `unordered_` are the
  // keyed nodes added since (some of them removed again).
  TreeKeyIndex byKey_;
  std::map<std::string_view, TreeNode*> ordered_;
  mutable std::vector<TreeNode*> unordered_;
  // The parent of the last node added; null after a removal.
  TreeNode* lastParent_ = nullptr;
  int count_ = 0;
  int eventDepth_ = 0;
};

}  // namespace kv
