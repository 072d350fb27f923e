#include "reference/ref_tree.h"

#include "platform/tree/tree_model.h"
#include "state/program_state.h"

namespace kv {

LevelTreeSource RefTreeSource(const ProgramState& st) {
  LevelTreeSource src;
  src.tree = st.RefTree;
  src.workBase = st.RefWorkFileBase;
  src.filePath = st.RefFilePath;
  src.parentRows = &st.RefParentRows;
  src.shown = st.RefTreeShown;
  src.expandNeedsShown = false;
  src.statusText = false;
  return src;
}

void RefTreeConnect(ProgramState& st, TreeModel& tree) {
  st.RefTree = &tree;
  tree.events.Expand = [&st](const TreeNodeData& node) { LevelTreeNodeExpand(st, RefTreeSource(st), node); };
  tree.events.Collapse = [&st](const TreeNodeData& node) { LevelTreeNodeCollapse(st, RefTreeSource(st), node); };
}

void RefTreeBuild(ProgramState& st) { LevelTreeBuild(st, RefTreeSource(st)); }

void RefTreeAddChildren(ProgramState& st, int level, int first, std::string_view parentKey) {
  LevelTreeAddChildren(st, RefTreeSource(st), level, first, parentKey);
}

void RefTreeExpand(ProgramState& st, int level, std::string_view key, int first) {
  LevelTreeExpand(st, RefTreeSource(st), level, key, first);
}

void RefTreeCollapse(ProgramState& st, int level, std::string_view key, int first) {
  LevelTreeCollapse(st, RefTreeSource(st), level, key, first);
}

void RefTreeNodeFind(ProgramState& st, int level, bool& found, int record, int& row) {
  LevelTreeNodeFind(st, RefTreeSource(st), level, found, record, row);
}

}  // namespace kv
