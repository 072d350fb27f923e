#include "sheet/edit_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "core/window_services.h"
#include "platform/tree/tree_model.h"
#include "sheet/level_bar_layout.h"
#include "storage/level_read.h"
#include "storage/level_fixture.h"

namespace kv::test {
namespace {

// A heading as the level files hold it.
std::string J(const char* text) { return ToAnsiBytes(text); }

// A named estimate "EST" of three levels in a temporary work folder, its
// headings in column A, and the editor's tree shown.
class EditTreeTest : public LevelFixture {
 protected:
  TreeModel tree;

  void SetUp() override {
    LevelFixture::SetUp();
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 1;
    st.TreeShown = true;
    EditTreeConnect(st, tree);
  }

  // The tree as "key|text|image|expanded image|+ when expanded", in index order.
  std::vector<std::string> Nodes() const {
    std::vector<std::string> out;
    for (int i = 1; i <= tree.Count(); ++i) {
      const TreeNodeData& n = tree.NodeAt(i)->data;
      out.push_back(n.key + "|" + n.text + "|" + n.image + "|" + std::to_string(n.expandedImage) +
                    (n.expanded ? "|+" : ""));
    }
    return out;
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> out;
    for (int i = 1; i <= tree.Count(); ++i) out.push_back(tree.NodeAt(i)->data.key);
    return out;
  }

  // Level 1: 工事 (1, leaf), 躯体 (2, breakdown at level-2 record 1), closing.
  // Level 2: 基礎 (1) and 柱 (2, a breakdown at level-3 record 1), closing.
  // Level 3: 型枠 (1), 鉄筋 (2, a link into a level 4 the estimate lacks).
  void ThreeLevels() {
    WriteLevel(1, {{' ', 0, 2, kNoRecord, J("工事")}, {' ', 0, 3, 1, J("躯体")}, {'G'}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, J("基礎")}, {' ', 0, 3, 1, J("柱")}, {'G'}});
    WriteLevel(3, {{' ', 0, 2, kNoRecord, J("型枠")}, {' ', 0, 3, 1, J("鉄筋")}, {'G'}});
  }
};

TEST_F(EditTreeTest, BuildShowsLevelOneAndTheLevelTwoRowsBelowIt) {
  ThreeLevels();
  EditTreeBuild(st);
  EXPECT_EQ(Nodes(), (std::vector<std::string>{
                         "Root|EST|Close|2|+",
                         "Y11   |工事|Leaf|0",
                         "Y12   |躯体|Close|2",
                         "Y12   Y21   |基礎|Leaf|0",
                         "Y12   Y22   |柱|Close|2",
                     }));
  EXPECT_TRUE(ui.Prompts().empty());
  // A rebuild replaces the tree whole.
  tree.SetExpanded("Y12   ", true);
  EditTreeBuild(st);
  EXPECT_EQ(tree.Count(), 5);
  EXPECT_FALSE(tree.Expanded("Y12   "));
}

TEST_F(EditTreeTest, ABlankOrZeroChildLinkIsNoBreakdown) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "a"}, {' ', 0, 3, kNoRecord, "b"}, {'G'}});
  // Record 1 with a link of 0, record 2 with a blank link field.
  std::vector<std::string> recs = ReadLevel(1);
  recs[0].replace(11, 4, "   0");
  recs[1].replace(11, 4, "    ");
  {
    RecordFile f(LevelPath(1), st.DataLen);
    for (size_t i = 0; i < recs.size(); ++i) f.PutRecordText(static_cast<int>(i) + 1, recs[i]);
  }
  EditTreeBuild(st);
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"Root|EST|Close|2|+", "Y11   |a|Leaf|0",
                                               "Y12   |b|Leaf|0"}));
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(EditTreeTest, KeysCarryTheRecordNumberInTheStoredBase) {
  EXPECT_EQ(TreeNodeKey(26, true), "1A  ");
  EXPECT_EQ(TreeNodeKey(26, false), "26  ");
  EXPECT_EQ(TreeNodeKey(5, false), "5   ");
  EXPECT_EQ(TreeNodeKey(12345, false), "1234");
  EXPECT_EQ(TreeNodeKey(32000, true), "7D00");
  EXPECT_EQ(LevelPathKey("Y15   ", 2, 26, true), "Y15   Y21A  ");
  EXPECT_EQ(LevelPathKey("Root", 1, 5, false), "Y15   ");
  EXPECT_EQ(TreeKeyRecord("Y15   Y21A  ", 0, true), 26);
  EXPECT_EQ(TreeKeyRecord("Y15   Y21A  ", 1, true), 5);
  EXPECT_EQ(TreeNodeKeyOf(TreeNodeData{}), "Root");

  // Record 26 of level 2 read from the files in either base.
  for (const std::string base : {"16", "10"}) {
    SCOPED_TRACE(base);
    st.H_Link = base;
    WriteLevel(1, {{' ', 0, 2, 26, J("親")}, {'G'}});
    std::vector<Rec> level2 = Filler(25);
    level2.push_back({' ', 0, 27, kNoRecord, J("子")});
    level2.push_back({'G'});
    WriteLevel(2, level2);
    EditTreeBuild(st);
    const std::string key = base == "16" ? "Y11   Y21A  " : "Y11   Y226  ";
    EXPECT_EQ(TreeNodeIndexByKey(tree, key), 3);
    EXPECT_EQ(tree.Find(key)->data.text, "子");
  }
}

TEST_F(EditTreeTest, ExpandAndCollapseKeepTheTreeOneLevelAhead) {
  ThreeLevels();
  EditTreeBuild(st);
  const std::vector<std::string> built = Keys();
  // Expanding 躯体 loads the level-3 rows below 柱; 鉄筋 sits on the deepest
  // level and is a leaf whatever its link says.
  tree.UserToggle("Y12   ");
  EXPECT_EQ(Keys().size(), 7u);
  EXPECT_EQ(tree.Find("Y12   Y22   Y31   ")->data.image, "Leaf");
  EXPECT_EQ(tree.Find("Y12   Y22   Y32   ")->data.image, "Leaf");
  EXPECT_EQ(tree.Find("Y12   Y22   Y32   ")->data.text, "鉄筋");
  tree.UserToggle("Y12   Y22   ");  // nothing lies below the deepest level
  EXPECT_EQ(Keys().size(), 7u);
  // Collapsing prunes back to the children; expanding again reloads, the
  // expanded child collapsed first.
  tree.UserToggle("Y12   ");
  EXPECT_EQ(Keys(), built);
  tree.UserToggle("Y12   ");
  EXPECT_EQ(Keys().size(), 7u);
  EXPECT_FALSE(tree.Expanded("Y12   Y22   "));
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(EditTreeTest, ExpandingOrCollapsingTheRootReadsNoFile) {
  ThreeLevels();
  EditTreeBuild(st);
  for (int level = 1; level <= 3; ++level) std::filesystem::remove(LevelPath(level));
  tree.UserToggle("Root");
  tree.UserToggle("Root");
  EXPECT_EQ(tree.Count(), 5);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(EditTreeTest, ADamagedLevelFileStopsTheWalkWithOneMessage) {
  // Two level-1 rows lead into a level-2 file whose chain loops.
  WriteLevel(1, {{' ', 0, 2, 1, "a"}, {' ', 0, 3, 2, "b"}, {'G'}});
  WriteLevel(2, {{' ', 0, 2, kNoRecord, "x"}, {' ', 0, 1, kNoRecord, "y"}});
  ui.AnswerMsgBox(vbOK, "循環");
  EditTreeBuild(st);
  ui.ExpectAllAnswered();
  // What was read before the loop stays: 1, 2 below a; 2, 1 below b.
  EXPECT_EQ(Keys(), (std::vector<std::string>{"Root", "Y11   ", "Y11   Y21   ", "Y11   Y22   ",
                                              "Y12   ", "Y12   Y22   ", "Y12   Y21   "}));

  // A link past the end of the file, and a breakdown past it.
  WriteLevel(1, {{' ', 0, 2, 1, "a"}, {' ', 0, 3, 7, "b"}, {'G'}});
  WriteLevel(2, {{' ', 0, 9, kNoRecord, "x"}, {'G'}});
  ui.AnswerMsgBox(vbOK, "リンク先");
  EditTreeBuild(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Keys(), (std::vector<std::string>{"Root", "Y11   ", "Y12   "}));
  EXPECT_EQ(ui.Prompts().size(), 2u);
}

TEST_F(EditTreeTest, AMissingDeeperFileIsReportedOnExpand) {
  ThreeLevels();
  EditTreeBuild(st);
  std::filesystem::remove(LevelPath(3));
  ui.AnswerMsgBox(vbOK, "EST.Y3");
  tree.UserToggle("Y12   ");
  ui.ExpectAllAnswered();
  EXPECT_EQ(tree.Count(), 5);
  EXPECT_TRUE(tree.Expanded("Y12   "));
}

TEST_F(EditTreeTest, TheUntitledEstimateIsASingleLeaf) {
  ThreeLevels();
  st.CurrentFilePath = st.AppPath + "/WORK/無題";
  EditTreeBuild(st);
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"Root|無題|Leaf|0"}));
}

TEST_F(EditTreeTest, TreeDisplayShowsAndRebuildsThenHides) {
  ThreeLevels();
  st.TreeShown = false;
  EditTreeBuild(st);  // a hidden tree is not built
  EXPECT_EQ(tree.Count(), 0);
  TreeDisplay(st);
  EXPECT_TRUE(st.TreeShown);
  EXPECT_EQ(tree.Count(), 5);
  TreeDisplay(st);
  EXPECT_FALSE(st.TreeShown);
  EXPECT_EQ(tree.Count(), 5);  // hiding keeps the nodes
}

TEST_F(EditTreeTest, NodeFindGivesTheRowOfARecordInTheCurrentPath) {
  ThreeLevels();
  bool found = false;
  int row = -1;
  EditTreeNodeFind(st, 1, found, 2, row);
  EXPECT_TRUE(found);
  EXPECT_EQ(row, 2);
  SetParent(2, 2);
  EditTreeNodeFind(st, 2, found, 2, row);
  EXPECT_TRUE(found);
  EXPECT_EQ(row, 2);
  EditTreeNodeFind(st, 2, found, 9, row);
  EXPECT_FALSE(found);
  EXPECT_EQ(row, 0);
  SetParent(2, 1);  // a row without a breakdown
  EditTreeNodeFind(st, 2, found, 1, row);
  EXPECT_FALSE(found);
}

TEST_F(EditTreeTest, ARecordClosesAndReopensTheBranchOfTheCurrentSheet) {
  ThreeLevels();
  EditTreeBuild(st);
  st.CurrentLevel = 3;
  SetParent(2, 2);  // 躯体
  SetParent(3, 2);  // 柱
  tree.UserToggle("Y12   ");
  ASSERT_EQ(tree.Count(), 7);

  bool wasOpen = false;
  EditTreeSelectCurrent(st, wasOpen);
  EXPECT_TRUE(wasOpen);
  EXPECT_EQ(tree.Count(), 5);
  // The level-3 sheet gains a row while the branch is closed.
  WriteLevel(3, {{' ', 0, 2, kNoRecord, J("型枠")}, {' ', 0, 3, kNoRecord, J("鉄筋")},
                 {' ', 0, 4, kNoRecord, J("足場")}, {'G'}});
  EditTreeSync(st);
  EXPECT_EQ(tree.Count(), 8);
  EXPECT_EQ(tree.Find("Y12   Y22   Y33   ")->data.text, "足場");
  EXPECT_TRUE(tree.Expanded("Y12   "));
  EXPECT_TRUE(tree.Expanded("Y12   Y22   "));

  // With the branch closed nothing changes.
  tree.UserToggle("Y12   ");
  const std::vector<std::string> closed = Nodes();
  EditTreeSelectCurrent(st, wasOpen);
  EXPECT_FALSE(wasOpen);
  EXPECT_EQ(Nodes(), closed);

  // A hidden tree leaves the flag as it was.
  st.TreeShown = false;
  wasOpen = true;
  EditTreeSelectCurrent(st, wasOpen);
  EXPECT_TRUE(wasOpen);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(EditTreeTest, ARecordOnLevelOneRebuildsTheTree) {
  ThreeLevels();
  EditTreeBuild(st);
  st.CurrentLevel = 1;
  bool wasOpen = false;
  EditTreeSelectCurrent(st, wasOpen);
  EXPECT_TRUE(wasOpen);  // the root
  WriteLevel(1, {{' ', 0, 2, kNoRecord, J("工事")}, {' ', 0, 3, 1, J("躯体")},
                 {' ', 0, 4, kNoRecord, J("外構")}, {'G'}});
  EditTreeSync(st);
  EXPECT_EQ(tree.Find("Y13   ")->data.text, "外構");
  EXPECT_TRUE(tree.Expanded("Root"));
}

class NodeClickTest : public EditTreeTest {
 protected:
  struct Captions : LevelBarPort {
    std::vector<std::string> set;
    LevelBarFrame Measures() override { return {}; }
    void PlaceLevelBar(const std::vector<LevelBarPlace>&) override {}
    void PlaceGrid(const GridPlace&) override {}
    void SetLevelCaption(int level, const std::string& caption) override {
      set.push_back(std::to_string(level) + caption);
    }
  } bar;

  void SetUp() override {
    EditTreeTest::SetUp();
    ThreeLevels();
    ASSERT_TRUE(LevelRowsRead(st, 1));  // level 1 on screen
    EditTreeBuild(st);
    tree.UserToggle("Y12   ");
    tree.events.NodeClick = [this](const TreeNodeData& n) { TreeView1_NodeClick(st, n, &bar); };
    st.ToTalNameColmun = 2;
  }
  std::string Row(int row) const { return ToUnicodeStr(Text(st.SheetRows[row])); }
};

TEST_F(NodeClickTest, ARowOpensItsSheetWithTheCursorOnIt) {
  tree.UserClick("Y12   Y22   Y32   ");
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Row(2), "鉄筋      ");
  EXPECT_EQ(st.CurrentRow, 2);
  EXPECT_EQ(st.CurrentCol, 2);
  EXPECT_EQ(Own(st.ParentRows[1]), 2);
  EXPECT_EQ(Own(st.ParentRows[2]), 2);
  EXPECT_EQ(bar.set, (std::vector<std::string>{"1:躯体      ", "2:柱        "}));
  EXPECT_FALSE(st.CommandBusy);

  tree.UserClick("Root");  // back to level 1, record 1
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.CurrentRow, 1);
  EXPECT_EQ(Row(2), "躯体      ");
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(NodeClickTest, APathThatNoLongerLeadsToTheRowDoesNothing) {
  // 柱 deleted from its sheet, then 躯体 losing its breakdown.
  WriteLevel(2, {{' ', 0, 3, kNoRecord, J("基礎")}, Filler(1)[0], {'G'}});
  tree.UserClick("Y12   Y22   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  WriteLevel(1, {{' ', 0, 2, kNoRecord, J("工事")}, {' ', 0, 3, kNoRecord, J("躯体")}, {'G'}});
  tree.UserClick("Y12   Y21   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.CurrentRow, 0);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(NodeClickTest, UnrecordedEditsAreAskedAbout) {
  SetRow(1, "edited");
  st.SheetModified = true;
  ui.AnswerMsgBox(vbCancel, "記録しますか");
  tree.UserClick("Y12   Y21   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(Row(1), "edited    ");
  EXPECT_FALSE(st.CommandBusy);

  // No: the edits are dropped and the sheet read again from its file.
  ui.AnswerMsgBox(vbNo, "記録しますか");
  tree.UserClick("Y11   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(Row(1), "工事      ");
  EXPECT_EQ(st.CurrentRow, 1);
  ui.ExpectAllAnswered();
}

TEST_F(NodeClickTest, NothingWhileACommandRunsOrOnAnEmptySheet) {
  st.CommandBusy = true;
  st.SheetModified = true;
  tree.UserClick("Y12   Y21   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_TRUE(st.CommandBusy);  // the running command keeps its lock
  st.CommandBusy = false;
  st.SheetModified = false;
  st.UsedRows = 0;
  tree.UserClick("Y12   Y21   ");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(NodeClickTest, TheUntitledRootOpensLevelOneAtRecordOne) {
  st.CurrentFilePath = st.AppPath + "/WORK/無題";
  EditTreeBuild(st);
  st.CurrentRow = 2;
  tree.UserClick("Root");
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.CurrentRow, 1);
  EXPECT_EQ(st.UsedRows, 2);
}

}  // namespace
}  // namespace kv::test
