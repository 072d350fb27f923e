#include "sheet/level_bar_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

// An eight-level estimate in a window of 12000 x 8000 twips: the tree 2400
// wide beside the splitter, labels 300 high, buttons 600 wide, toolbars 420,
// the status bar 315.
LevelBarFrame Frame(std::string_view mode, int level) {
  LevelBarFrame f;
  f.mode = mode;
  f.level = level;
  f.levelCount = 8;
  f.a = LevelBarLeft(true, 2400, kSizerWidth);
  f.labelHeight = 300;
  f.buttonWidth = 600;
  f.toolbarHeight = 420;
  f.statusHeight = 315;
  f.scaleWidth = 12000;
  f.scaleHeight = 8000;
  return f;
}

struct BarCase {
  std::string mode;
  int level;
  // The shown pairs: button left, button top, label left (the label's top is
  // the button's).
  std::vector<std::array<long, 3>> shown;
  long gridTop, gridHeight;
};

TEST(LevelBarLayout, ThreeModesAtLevelsOneFourAndEight) {
  const std::vector<BarCase> cases = {
      {"縦", 1, {}, 420, 7265},
      {"縦", 4, {{2535, 420, 3135}, {2535, 720, 3135}, {2535, 1020, 3135}}, 1320, 6365},
      {"縦計", 4, {{2535, 420, 3135}, {2535, 720, 3135}, {2535, 1020, 3135}}, 1320, 6365},
      {"縦",
       8,
       {{2535, 420, 3135},
        {2535, 720, 3135},
        {2535, 1020, 3135},
        {2535, 1320, 3135},
        {2535, 1620, 3135},
        {2535, 1920, 3135},
        {2535, 2220, 3135}},
       2520,
       5165},
      {"横", 1, {}, 420, 7265},
      {"横", 4, {{2535, 420, 3135}, {3135, 420, 3735}, {3735, 420, 4335}}, 720, 6965},
      {"横",
       8,
       {{2535, 420, 3135},
        {3135, 420, 3735},
        {3735, 420, 4335},
        {4335, 420, 4935},
        {4935, 420, 5535},
        {5535, 420, 6135},
        {6135, 420, 6735}},
       720,
       6965},
  };
  for (const BarCase& c : cases) {
    SCOPED_TRACE(c.mode + " level " + std::to_string(c.level));
    const LevelBarFrame f = Frame(c.mode, c.level);
    const std::vector<LevelBarPlace> bar = DMButtonsLayout(f);
    ASSERT_EQ(bar.size(), 7u);  // a pair for every parent level of eight
    for (size_t i = 0; i < bar.size(); ++i) {
      SCOPED_TRACE("pair " + std::to_string(i + 1));
      if (i >= c.shown.size()) {
        EXPECT_FALSE(bar[i].visible);
        continue;
      }
      EXPECT_TRUE(bar[i].visible);
      EXPECT_EQ(bar[i].buttonLeft, c.shown[i][0]);
      EXPECT_EQ(bar[i].buttonTop, c.shown[i][1]);
      EXPECT_EQ(bar[i].labelLeft, c.shown[i][2]);
      EXPECT_EQ(bar[i].labelTop, c.shown[i][1]);
    }
    const auto grid = EdtSheet_Pos(f);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->top, c.gridTop);
    EXPECT_EQ(grid->height, c.gridHeight);
  }
}

TEST(LevelBarLayout, ToolbarsCountOnlyWhileToolbar1IsDocked) {
  LevelBarFrame f = Frame("縦", 4);
  f.toolbarHeight = 0;  // both toolbars hidden: bar and grid move up
  EXPECT_EQ(DMButtonsLayout(f)[0].buttonTop, 0);
  EXPECT_EQ(EdtSheet_Pos(f)->top, 900);
  EXPECT_EQ(EdtSheet_Pos(f)->height, 8000 - 900 - 315);

  // Not docked at the top: laid out as without toolbars, never a grid of
  // height 0.
  f = Frame("横", 4);
  f.toolbarDocked = false;
  EXPECT_EQ(DMButtonsLayout(f)[2].labelTop, 0);
  EXPECT_EQ(EdtSheet_Pos(f)->top, 300);
  EXPECT_EQ(EdtSheet_Pos(f)->height, 8000 - 300 - 315);

  // The inner area's origin moves everything.
  f = Frame("縦", 2);
  f.scaleLeft = 30;
  f.scaleTop = 45;
  EXPECT_EQ(DMButtonsLayout(f)[0].buttonLeft, 2565);
  EXPECT_EQ(DMButtonsLayout(f)[0].buttonTop, 465);
  EXPECT_EQ(EdtSheet_Pos(f)->top, 765);
}

TEST(LevelBarLayout, AnUnknownModePlacesNothing) {
  const LevelBarFrame f = Frame("斜", 4);
  for (const LevelBarPlace& p : DMButtonsLayout(f)) EXPECT_FALSE(p.visible);
  EXPECT_FALSE(EdtSheet_Pos(f));
}

TEST(LevelBarLayout, TheBarStartsBesideTheSplitterAloneWhileTheTreeIsHidden) {
  EXPECT_EQ(LevelBarLeft(false, 2400, 135), 135);
  EXPECT_EQ(LevelBarLeft(true, 2400.5, 135), 2536);  // half to even
  EXPECT_EQ(LevelBarLeft(true, 2401.5, 135), 2536);
}

struct DropCase {
  long x;
  bool shownBefore;
  long sizerLeft, treeWidth;
  bool shown, showTree;
  long gridLeft;
};

TEST(SplitterDrop, HidesBelowAThousandShowsAgainAndStopsAtHalf) {
  const long width = 12001;  // half is 6000.5: rounded to the even 6000
  const std::vector<DropCase> cases = {
      {999, true, 0, 999, false, false, 135},
      {15, false, 0, 15, false, false, 135},
      {1000, true, 1000, 1000, true, false, 1135},
      {1000, false, 1000, 1000, true, true, 1135},
      {3000, false, 3000, 3000, true, true, 3135},
      {6000, true, 6000, 6000, true, false, 6135},
      {6015, true, 6000, 6000, true, false, 6135},
      {11000, false, 6000, 6000, true, true, 6135},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + (c.shownBefore ? " shown" : " hidden"));
    const SizerDrop d = SizerDropAt(c.x, c.shownBefore, width);
    EXPECT_EQ(d.sizerLeft, c.sizerLeft);
    EXPECT_EQ(d.treeWidth, c.treeWidth);
    EXPECT_EQ(d.savedTreeWidth, c.treeWidth);
    EXPECT_EQ(d.treeShown, c.shown);
    EXPECT_EQ(d.showTree, c.showTree);
    EXPECT_EQ(d.gridLeft, c.gridLeft);
    EXPECT_EQ(d.gridWidth, width - c.gridLeft);
  }
}

ResizeFrame Window(long treeWidth) {
  ResizeFrame f;
  f.treeShown = true;
  f.sizerLeft = f.treeWidth = treeWidth;
  f.windowWidth = 12240;
  f.windowHeight = 8700;
  f.toolbarHeight = 420;
  f.statusHeight = 315;
  f.scaleWidth = 12000;
  f.scaleHeight = 8000;
  return f;
}

TEST(FormResize, TheTreeIsAtMostHalfTheWidthAndTheWindowHasAMinimum) {
  ResizeLayout r = FormResizeLayout(Window(2400));
  EXPECT_EQ(r.treeWidth, 2400);
  EXPECT_FALSE(r.barMoved);
  EXPECT_EQ(r.windowWidth, 12240);
  EXPECT_EQ(r.windowHeight, 8700);
  EXPECT_EQ(r.treeTop, 420);
  EXPECT_EQ(r.treeHeight, 8000 - 315 - 420);
  EXPECT_EQ(r.sizerX, 2400);
  EXPECT_EQ(r.sizerY, 420);
  EXPECT_EQ(r.sizerHeight, 8000 - 315 - 420 - 10);
  EXPECT_EQ(r.gridLeft, 2535);
  EXPECT_EQ(r.gridWidth, 12000 - 2535);

  r = FormResizeLayout(Window(7000));
  EXPECT_EQ(r.treeWidth, 6000);
  EXPECT_TRUE(r.barMoved);
  EXPECT_EQ(r.gridLeft, 6135);

  ResizeFrame small = Window(2400);
  small.windowWidth = 4000;
  small.windowHeight = 3999;
  small.scaleWidth = 5000;  // half 2500: the tree stays
  r = FormResizeLayout(small);
  EXPECT_EQ(r.windowWidth, 4400);
  EXPECT_EQ(r.windowHeight, 4000);

  ResizeFrame hidden = Window(2400);
  hidden.treeShown = false;
  hidden.windowWidth = 1500;
  r = FormResizeLayout(hidden);
  EXPECT_EQ(r.treeWidth, 0);
  EXPECT_EQ(r.windowWidth, 2000);
  EXPECT_EQ(r.treeTop, 0);
  EXPECT_EQ(r.treeHeight, 0);
  EXPECT_EQ(r.gridLeft, 135);
}

TEST(FormResize, TheTreeButtonRestoresANarrowTree) {
  ResizeFrame f = Window(200);
  f.treeToggling = true;
  f.savedTreeWidth = 3000;
  EXPECT_EQ(FormResizeLayout(f).treeWidth, 3000);
  f.savedTreeWidth = 999;
  EXPECT_EQ(FormResizeLayout(f).treeWidth, 2400);  // a fifth of the width
  f.treeToggling = false;
  EXPECT_EQ(FormResizeLayout(f).treeWidth, 200);
}

// Two levels laid out at different byte positions, so a caption cut at the
// wrong level's positions shows.
class ParentCaptions : public ::testing::Test {
 protected:
  test::ScriptedUi ui;
  ProgramState st{ui};

  void SetUp() override {
    st.DataLen = 256;
    st.LevelCount = 3;
    st.CurrentLevel = 3;
    // Level 1: A name 20..29, B "W" heading 30..49, C amount 50..61.
    Col(1, 1, "C", 20, 10);
    Col(1, 2, "W", 30, 20);
    Col(1, 3, "0", 50, 12);
    // Level 2: A name 20..27, B "W" 28..47, C amount 60..71.
    Col(2, 1, "C", 20, 8);
    Col(2, 2, "W", 28, 20);
    Col(2, 3, "0", 60, 12);
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 2;
    st.ParentTotalCols = {0, 3, 3};
    st.ParentRows[1] = Rec({{20, "工事"}, {30, "上段\r\n下段"}});
    st.ParentRows[2] = Rec({{20, "内装"}, {28, "壁"}});
    st.PathTotalRecords[1] = Rec({{50, "     1234567"}});
    st.PathTotalRecords[2] = Rec({{60, "           0"}});
  }
  void Col(int level, int c, const std::string& type, int start, int width) {
    st.ColType[level][c] = type;
    st.ColStart[level][c] = start;
    st.ColWidth[level][c] = width;
    st.ColCount[level] = c;
  }
  std::string Rec(std::initializer_list<std::pair<int, std::string>> fields) const {
    std::string rec(256, ' ');
    for (const auto& [pos, text] : fields) {
      const std::string b = ToAnsiBytes(text);
      rec.replace(static_cast<size_t>(pos - 1), b.size(), b);
    }
    return rec;
  }
};

TEST_F(ParentCaptions, HeadingsOfTheParentRowsAtTheirLevelsPositions) {
  for (const char* mode : {"縦", "横"}) {
    st.KVDisp = mode;
    const auto captions = ParentLevelCaptions(st);
    ASSERT_EQ(captions.size(), 2u);
    // The "W" heading shows its first line, fitted to 8 bytes.
    EXPECT_EQ(captions[0], ":工事      上段    ");
    EXPECT_EQ(captions[1], ":内装    壁      ");
  }
  st.KVDisp = "横";
  st.DMTotalFlag = true;  // "横" always shows the headings
  EXPECT_EQ(ParentLevelCaptions(st)[0], ":工事      上段    ");
  st.KVDisp = "縦";  // another mode with the totals flag keeps the captions
  EXPECT_EQ(ParentLevelCaptions(st), (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST_F(ParentCaptions, TotalsOfTheParentSheetsWithAZeroAsBlanks) {
  st.KVDisp = "縦計";
  const auto captions = ParentLevelCaptions(st);
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0], "1)階層-計 ( :¥      1,234,567");
  EXPECT_EQ(captions[1], "2)階層-計 ( :¥" + std::string(15, ' '));
  st.ParentTotalCols2[1] = 1;  // a second total column: the name field read as a number is 0
  EXPECT_EQ(ParentLevelCaptions(st)[0], "1)階層-計 ( :¥      1,234,567 :¥" + std::string(13, ' '));
}

TEST_F(ParentCaptions, ATotalAsLongAsItsFieldShowsWhole) {
  st.KVDisp = "縦計";
  st.ColWidth[1][3] = 14;
  st.PathTotalRecords[1] = Rec({{50, "10000115862200"}});
  EXPECT_EQ(ParentLevelCaptions(st)[0], "1)階層-計 ( :¥10,000,115,862,200");
}

TEST_F(ParentCaptions, NoCaptionColumnsGiveEmptyLabelsAndLevelOneNone) {
  st.KVDisp = "縦";
  st.CaptionColmun1 = st.CaptionColmun2 = -1;
  EXPECT_EQ(ParentLevelCaptions(st)[0], "");
  st.CurrentLevel = 1;
  EXPECT_TRUE(ParentLevelCaptions(st).empty());
}

struct BarDouble : LevelBarPort {
  std::vector<LevelBarPlace> pairs;
  std::vector<GridPlace> grids;
  std::vector<std::string> captions;
  LevelBarFrame Measures() override {
    LevelBarFrame f = Frame("", 1);
    f.levelCount = 0;  // the state's values are taken
    return f;
  }
  void PlaceLevelBar(const std::vector<LevelBarPlace>& p) override { pairs = p; }
  void PlaceGrid(const GridPlace& g) override { grids.push_back(g); }
  void SetLevelCaption(int level, const std::string& caption) override {
    captions.push_back(std::to_string(level) + caption);
  }
};

TEST_F(ParentCaptions, TheWindowGetsTheLayoutOfTheStatesModeAndLevel) {
  BarDouble bar;
  st.LevelCount = 8;
  st.KVDisp = "横";
  DMButtonsLayout(st, bar);
  ASSERT_EQ(bar.pairs.size(), 7u);
  EXPECT_TRUE(bar.pairs[1].visible);
  EXPECT_FALSE(bar.pairs[2].visible);
  EXPECT_EQ(bar.pairs[1].buttonLeft, 3135);
  EdtSheet_Pos(st, bar);
  ASSERT_EQ(bar.grids.size(), 1u);
  EXPECT_EQ(bar.grids[0].top, 720);
  ShowParentLevelPath(st, bar);
  EXPECT_EQ(bar.captions, (std::vector<std::string>{"2:内装    壁      ", "1:工事      上段    "}));

  st.KVDisp = "斜";  // an unknown mode leaves the grid where it is
  EdtSheet_Pos(st, bar);
  EXPECT_EQ(bar.grids.size(), 1u);
  st.DMTotalFlag = true;  // and keeps the captions
  bar.captions.clear();
  ShowParentLevelPath(st, bar);
  EXPECT_TRUE(bar.captions.empty());
}

}  // namespace
}  // namespace kv
