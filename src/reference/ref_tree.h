#pragma once
// The reference window's level tree: the editor's tree builder over the
// reference's level files in WORK2, its root named after `RefFilePath`, its
// path `RefParentRows`, guarded by `RefTreeShown` on the rebuild only and
// without status text. Node texts are cut with the editor's caption columns.
#include <string_view>

#include "sheet/edit_tree.h"

namespace kv {

struct ProgramState;
class TreeModel;

// The reference's files, root, path and guard.
LevelTreeSource RefTreeSource(const ProgramState& st);

// Makes `tree` the reference window's tree and routes its Expand and Collapse
// events to RefTreeView_Expand and RefTreeView_Collapse.
void RefTreeConnect(ProgramState& st, TreeModel& tree);

void RefTreeBuild(ProgramState& st);
void RefTreeAddChildren(ProgramState& st, int level, int first, std::string_view parentKey);
void RefTreeExpand(ProgramState& st, int level, std::string_view key, int first);
void RefTreeCollapse(ProgramState& st, int level, std::string_view key, int first);
void RefTreeNodeFind(ProgramState& st, int level, bool& found, int record, int& row);

}  // namespace kv
