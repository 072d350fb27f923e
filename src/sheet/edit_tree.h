#pragma once
// The editor's level tree: the estimate as a tree read from the level work
// files (never from the sheet in memory), held in the tree model `EditTree`
// of the program state.
//
// Node keys: the root is "Root"; a row's key is, for each level i of its
// path, "Y", the level as one digit and the row's record number at that level
// as TreeNodeKey gives it (so a row's level is its key's length / 6). A row
// that owns a breakdown (a child link of 1 or more, above the deepest level)
// is a "Close" node with the expanded image 2 ("Open"); any other row is a
// "Leaf". The tree is loaded one level ahead: below a collapsed node its
// children, nothing deeper.
//
// Every walk along a record chain goes through the checked chain reader: a
// damaged level file (a loop, a bad number, a link past its end) stops that
// walk, is reported once per operation, and the tree keeps what was read.
#include <array>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class TreeModel;
struct TreeNodeData;
class LevelBarPort;

inline constexpr int kTreeKeySegment = 6;
inline constexpr std::string_view kTreeRootKey = "Root";

// ---- Shared with the reference window's tree: no editor state ----

// The four-character record field of a key: the number in the stored links'
// base (upper-case hexadecimal when `hex`), left-aligned, blank-padded, cut
// to four characters.
std::string TreeNodeKey(int record, bool hex);
// The index 1 .. node count of the node with that key, 0 when none.
int TreeNodeIndexByKey(const TreeModel& tree, std::string_view key);
// The node's key; "Root" for a node without one.
std::string TreeNodeKeyOf(const TreeNodeData& node);
// Removes every node whose key strictly extends the prefix.
void TreeRemoveDescendants(TreeModel& tree, std::string_view prefix);

// The key of a row of `level` with that record number below the row keyed
// `parentKey` ("" or "Root" for a level-1 row).
std::string LevelPathKey(std::string_view parentKey, int level, int record, bool hex);
// The record number in segment `level` (1-based) of a key; the last segment
// when level is 0.
int TreeKeyRecord(std::string_view key, int level, bool hex);

// ---- One level tree over the files of a work set ----

// Where a level tree reads from and what guards it: the editor's tree
// (EditTreeSource) or the reference window's.
struct LevelTreeSource {
  TreeModel* tree = nullptr;
  std::string workBase;  // level files: work base + LevelExt(level)
  std::string filePath;  // the root's text is its name part; "無題": a single leaf
  // The rows of the current path by level, for a row lookup below level 1.
  const std::array<std::string, 9>* parentRows = nullptr;
  bool shown = true;             // the rebuild's guard
  bool expandNeedsShown = true;  // the expand handling runs only while shown
  bool statusText = true;        // "ツリー作成中" in status panel 1 meanwhile
};

// The editor's tree, files, root, path and guard.
LevelTreeSource EditTreeSource(const ProgramState& st);

// What EditTreeBuild, EditTreeAddChildren, TreeView1_Expand,
// TreeView1_Collapse, EditTreeExpand, EditTreeCollapse and EditTreeNodeFind
// do, over the source given.
void LevelTreeBuild(ProgramState& st, const LevelTreeSource& src);
void LevelTreeAddChildren(ProgramState& st, const LevelTreeSource& src, int level, int first,
                          std::string_view parentKey);
void LevelTreeNodeExpand(ProgramState& st, const LevelTreeSource& src, const TreeNodeData& node);
void LevelTreeNodeCollapse(ProgramState& st, const LevelTreeSource& src, const TreeNodeData& node);
void LevelTreeExpand(ProgramState& st, const LevelTreeSource& src, int level, std::string_view key, int first);
void LevelTreeCollapse(ProgramState& st, const LevelTreeSource& src, int level, std::string_view key, int first);
void LevelTreeNodeFind(ProgramState& st, const LevelTreeSource& src, int level, bool& found, int record,
                       int& row);
// Record `record` of the level file of `level`, checked (a damaged file is
// reported); false when the file does not hold it.
bool LevelTreeRecord(ProgramState& st, const LevelTreeSource& src, int level, int record, std::string& rec);
// The first record of the row's breakdown; kNoRecord for none (a link below
// 1, or a row of the deepest level).
int LevelTreeBreakdown(const ProgramState& st, std::string_view rec, int level);

// ---- The editor's tree ----

// Makes `tree` the editor's tree and routes its Expand and Collapse events to
// TreeView1_Expand and TreeView1_Collapse.
void EditTreeConnect(ProgramState& st, TreeModel& tree);

// Clears and rebuilds the tree from the level-1 file and the level-2 chains
// below it (nothing while the tree is not shown).
void EditTreeBuild(ProgramState& st);
// Adds the rows of the breakdown sheet of `level` that begins at `first` as
// children of the node keyed `parentKey` (one level, no recursion).
void EditTreeAddChildren(ProgramState& st, int level, int first, std::string_view parentKey);
// The tree's Expand and Collapse events: the root is passed over; a row
// node's breakdown is expanded or collapsed one level further down.
void TreeView1_Expand(ProgramState& st, const TreeNodeData& node);
void TreeView1_Collapse(ProgramState& st, const TreeNodeData& node);
// `level` is the level of the expanded node's children, `first` the first
// record of their sheet: loads the children of each of them (an expanded
// child is collapsed first).
void EditTreeExpand(ProgramState& st, int level, std::string_view key, int first);
// Removes everything below the children of the collapsed node.
void EditTreeCollapse(ProgramState& st, int level, std::string_view key, int first);
// The row number of record `record` in the sheet of `level` on the current
// path (`ParentRows`); found false and row 0 when it is not there.
void EditTreeNodeFind(ProgramState& st, int level, bool& found, int record, int& row);
// Around a record of the current sheet: collapses the branch that shows it
// (wasOpen: it was open; untouched while the tree is hidden), and reopens
// (so reloads) it afterwards.
void EditTreeSelectCurrent(ProgramState& st, bool& wasOpen);
void EditTreeSync(ProgramState& st);
// A click on a node: opens the sheet that holds the node's row (the root:
// level 1) with the cursor on that row, after the question to record a
// modified sheet. Nothing while a command runs, on an empty level-1 sheet, or
// when the path no longer leads to the row (a row deleted since the tree was
// read, a parent row that lost its breakdown). The window ends a running
// marking mode first; `bar` (may be null) gets the parents' heading captions.
void TreeView1_NodeClick(ProgramState& st, const TreeNodeData& node, LevelBarPort* bar);

// Shows the tree pane (and rebuilds it) or hides it. The window lays itself
// out again afterwards.
void TreeDisplay(ProgramState& st);

}  // namespace kv
