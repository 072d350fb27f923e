#pragma once
// Moving through the estimate: the level tree pane and the splitter beside it.
namespace kv {

class TreeModel;

struct LevelNavState {
  bool TreeShown = false;    // the level tree pane is shown
  long SavedTreeWidth = 0;   // twips: the tree width the splitter was last dropped at
  bool TreeToggling = false;  // the toolbar's TREE button is showing or hiding the tree
  // The editor window's level tree; null until the window makes it (the tree
  // routines then do nothing).
  TreeModel* EditTree = nullptr;
};

}  // namespace kv
