#pragma once
// The layout of the editor window's level bar, grid, tree pane and splitter,
// as pure functions of the window's measures (all in twips of the window's
// inner area). The window reads its controls' sizes, calls these and applies
// the answers; the display mode is `KVDisp` ("縦", "縦計" or "横").
//
// Intermediate results are whole twips, halves rounded to the even neighbour.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;

inline constexpr long kSizerWidth = 135;        // the splitter's width
inline constexpr long kTreeMinWidth = 1000;     // a narrower drop hides the tree
inline constexpr long kWindowMinHeight = 4000;  // the window's smallest height
inline constexpr long kGridMinWidth = 2000;     // the window is at least tree + this wide

// Whole twips, halves to the even neighbour.
long RoundTwips(double twips);

// The inner area and the bars around the level bar and the grid.
struct LevelBarFrame {
  std::string_view mode;  // KVDisp
  int level = 1;          // CurrentLevel
  int levelCount = 1;     // LevelCount: the bar has levelCount - 1 button/label pairs
  long a = 0;             // left edge of the bar: splitter width (+ tree width when shown)
  long labelHeight = 0;   // LH
  long buttonWidth = 0;   // BW
  bool toolbarDocked = true;  // Toolbar1 docked at the top
  long toolbarHeight = 0;     // TB: the visible toolbars' heights
  long statusHeight = 0;      // SB
  long scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0;
};

// a: the splitter's width, plus the tree's when it is shown, rounded.
long LevelBarLeft(bool treeShown, double treeWidth, double sizerWidth);

struct LevelBarPlace {
  bool visible = false;
  long buttonLeft = 0, buttonTop = 0;
  long labelLeft = 0, labelTop = 0;
};

// DMButtonsLayout: entry i - 1 for DM_Button(i) and DMLabel(i), i = 1 ..
// levelCount - 1. Those of levels 1 .. level - 1 are shown: stacked one label
// height apart in "縦" and "縦計"; side by side on one line in "横" (the label
// of level j starts where the button of level j + 1 does). Any other mode
// places none. The toolbars push the bar down only when Toolbar1 is docked.
std::vector<LevelBarPlace> DMButtonsLayout(const LevelBarFrame& f);

struct GridPlace {
  long top = 0;
  long height = 0;
};

// EdtSheet_Pos: the grid's top and height under the level bar; nothing for a
// mode that is none of the three (the grid stays where it is). With Toolbar1
// not docked at the top no toolbar height is counted.
std::optional<GridPlace> EdtSheet_Pos(const LevelBarFrame& f);

// The captions of DMLabel(1 .. CurrentLevel - 1) (entry p - 1 for level p):
// "縦計" the totals of each parent sheet (`PathTotalRecords`), "横" or a mode
// without `DMTotalFlag` the heading columns of the parent rows (`ParentRows`);
// nullopt for a label that keeps its caption (another mode with the flag on).
std::vector<std::optional<std::string>> ParentLevelCaptions(const ProgramState& st);

// The window's side of the level bar: its measures and the controls the
// layout places.
class LevelBarPort {
 public:
  virtual ~LevelBarPort() = default;
  // The window's measures now; the mode, the level and the level count are
  // filled in from the program state.
  virtual LevelBarFrame Measures() = 0;
  // DM_Button(i) and DMLabel(i) for i = 1 .. entries: hidden, or shown there.
  virtual void PlaceLevelBar(const std::vector<LevelBarPlace>& pairs) = 0;
  // The grid's top and height (the window leaves it alone while minimised).
  virtual void PlaceGrid(const GridPlace& place) = 0;
  virtual void SetLevelCaption(int level, const std::string& caption) = 0;
};

// The three layout steps on the window, with the state's `KVDisp`,
// `CurrentLevel` and `LevelCount`.
void DMButtonsLayout(const ProgramState& st, LevelBarPort& bar);
void EdtSheet_Pos(const ProgramState& st, LevelBarPort& bar);
void ShowParentLevelPath(const ProgramState& st, LevelBarPort& bar);

// The heading caption of the level-p label: ":" and the heading columns of
// `ParentRows`(p) at level p's positions ("" without caption columns).
std::string ParentHeadingCaption(const ProgramState& st, int p);

// The splitter dropped at x twips from the inner area's left edge.
struct SizerDrop {
  long sizerLeft = 0;
  long treeWidth = 0;
  bool treeShown = false;
  bool showTree = false;  // the tree was hidden and comes back: rebuild it, lay the window out
  long savedTreeWidth = 0;
  long gridLeft = 0;
  long gridWidth = 0;
};
// Below 1000 twips the tree hides (the splitter goes to the left edge); 1000
// or more while hidden shows it; beyond half the width it stops at half.
SizerDrop SizerDropAt(long x, bool treeShown, long scaleWidth, long sizerWidth = kSizerWidth);

// Form_Resize's steps for a window that is neither minimised nor held back.
struct ResizeFrame {
  bool treeShown = false;
  bool treeToggling = false;  // the TREE button shows the tree
  long savedTreeWidth = 0;
  long sizerLeft = 0;
  long treeWidth = 0;
  long windowWidth = 0, windowHeight = 0;  // the outer size
  long toolbarHeight = 0;                  // TB (0 when Toolbar1 is not docked)
  long statusHeight = 0;                   // SB
  long scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0;
};

struct ResizeLayout {
  long treeWidth = 0;  // w (0 while the tree is hidden)
  bool barMoved = false;  // the clamp moved the tree: DMButtonsLayout
  long windowWidth = 0, windowHeight = 0;  // enlarged to the minimum
  long treeTop = 0, treeHeight = 0;        // the tree pane (0, 0 while hidden)
  long sizerX = 0, sizerY = 0, sizerHeight = 0;
  long gridLeft = 0, gridWidth = 0;
};
// The tree at most half the width (back to the saved width, or a fifth of
// the width, when the TREE button shows a tree narrower than 1000 twips), the
// window at least 4000 twips high and tree + 2000 twips wide, the tree pane,
// the splitter and the grid beside it.
ResizeLayout FormResizeLayout(const ResizeFrame& f);

}  // namespace kv
