// Grid model: the key event before the grid acts, and in-cell editing
// (PreEdit refusals, the view's editor opening, EditEnd with the text).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"

namespace kv {
namespace {

// Records what the view would be told about edits.
struct EditLog : GridObserver {
  std::vector<std::string> log;
  void GridEditStarted(const std::string& text, int caret, bool typing) override {
    log.push_back((typing ? "typed " : "opened ") + text + " caret " + std::to_string(caret));
  }
  void GridEditClosed() override { log.push_back("closed"); }
};

class GridKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetColCount(4);
    g.SetRowCount(10);
    g.SetViewportSize(600, 400);
    g.SetObserver(&view);
    SetSheetLocate32(g, 2, 3);
    g.events.Locate = [this](int c, int r) {
      log.push_back("locate " + std::to_string(c) + "," + std::to_string(r));
    };
  }
  GridModel g;
  EditLog view;
  std::vector<std::string> log;
};

TEST_F(GridKeys, KeyDown2ComesFirstAndAConsumedKeyNeverReachesTheGrid) {
  int consume = 0;
  g.events.KeyDown2 = [&](int& key, bool shift, bool ctrl) {
    log.push_back("key " + std::to_string(key) + (shift ? " shift" : "") + (ctrl ? " ctrl" : ""));
    if (key == consume) key = 0;
  };
  consume = gridkey::kDown;
  EXPECT_TRUE(g.KeyDown(gridkey::kDown, false, false));
  EXPECT_EQ(g.CurrentRow(), 3);
  consume = 0;
  EXPECT_FALSE(g.KeyDown(gridkey::kDown, false, true));
  EXPECT_EQ(log, (std::vector<std::string>{"key 40", "key 40 ctrl", "locate 2,4"}));
  // A consumed F2 opens nothing.
  consume = gridkey::kF2;
  g.KeyDown(gridkey::kF2, false, false);
  EXPECT_FALSE(g.Editing());
}

TEST_F(GridKeys, AHandlerMayMoveTheCursorBeforeTheGridTakesItsStep) {
  // The editor's Ctrl+Left puts the cursor one right of the first column and
  // leaves the key to the grid, which takes the last step left.
  g.events.KeyDown2 = [&](int& key, bool, bool ctrl) {
    if (key == gridkey::kLeft && ctrl) g.SetCurrentCol(2);
  };
  SetSheetLocate32(g, 4, 3);
  log.clear();
  g.KeyDown(gridkey::kLeft, false, true);
  EXPECT_EQ(g.CurrentCol(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"locate 2,3", "locate 1,3"}));
}

TEST_F(GridKeys, TypingOpensTheCellOnlyWhenEditModeAndPreEditAllow) {
  int refuse = 0;
  std::vector<int> preEdits;
  g.events.PreEdit = [&](int& key) {
    preEdits.push_back(key);
    if (refuse) key = 0;
  };
  g.SetEditMode(15);  // a computed cell: typing does not open it
  EXPECT_FALSE(g.StartEditByTyping('a', "a"));
  EXPECT_TRUE(preEdits.empty());

  g.SetEditMode(9);
  refuse = 1;
  EXPECT_FALSE(g.StartEditByTyping('5', "5"));
  EXPECT_FALSE(g.Editing());
  refuse = 0;
  EXPECT_TRUE(g.StartEditByTyping(gridkey::kProcessKey, ""));
  EXPECT_TRUE(g.Editing());
  EXPECT_EQ(preEdits, (std::vector<int>{'5', gridkey::kProcessKey}));
  EXPECT_EQ(view.log, (std::vector<std::string>{"typed  caret 0"}));
}

TEST_F(GridKeys, CommittedTextGoesIntoTheCellBeforeEditEnd) {
  SetTextData32(g, 2, 3, "old");
  std::string seenInHandler;
  int ends = 0;
  g.events.EditEnd = [&] {
    ++ends;
    seenInHandler = g.EditText() + "|" + g.CurrentText();
    // The handler commits the cell its own way, as the editor does.
    SetTextData32(g, 2, 3, "stored " + g.EditText());
  };
  ASSERT_TRUE(g.StartEditByTyping('k', "k"));
  g.CommitEdit("見積");
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(seenInHandler, "見積|見積");
  EXPECT_EQ(GetTextData32(g, 2, 3), "stored 見積");
  // A second commit without an open edit raises nothing.
  g.CommitEdit("again");
  EXPECT_EQ(ends, 1);
}

TEST_F(GridKeys, BeginEditOpensWithTheCellTextWhateverTheEditMode) {
  SetTextData32(g, 2, 3, "abc");
  g.SetEditMode(15);
  int preEdits = 0;
  g.events.PreEdit = [&](int&) { ++preEdits; };
  g.BeginEdit(1);  // method 43, caret at the start
  EXPECT_TRUE(g.Editing());
  EXPECT_EQ(preEdits, 0);
  EXPECT_EQ(view.log.back(), "opened abc caret 1");
  // Closing by the program raises no EditEnd.
  int ends = 0;
  g.events.EditEnd = [&] { ++ends; };
  g.Refresh();  // method 48
  EXPECT_FALSE(g.Editing());
  EXPECT_EQ(view.log.back(), "closed");
  EXPECT_EQ(ends, 0);
}

TEST_F(GridKeys, F2OpensThroughPreEditWhenTheGridIsLeftToIt) {
  std::vector<int> keys;
  g.events.PreEdit = [&](int& key) { keys.push_back(key); };
  g.KeyDown(gridkey::kF2, false, false);
  EXPECT_TRUE(g.Editing());
  EXPECT_EQ(keys, (std::vector<int>{gridkey::kF2}));
  // While the edit is open the grid does not move on keys that reach it.
  g.KeyDown(gridkey::kDown, false, false);
  EXPECT_EQ(g.CurrentRow(), 3);
}

TEST_F(GridKeys, EnterAndTabMoveTheCursorWhenNobodyConsumesThem) {
  g.KeyDown(gridkey::kReturn, false, false);
  g.KeyDown(gridkey::kTab, false, false);
  g.KeyDown(gridkey::kTab, true, false);
  EXPECT_EQ(log, (std::vector<std::string>{"locate 2,4", "locate 3,4", "locate 2,4"}));
}

}  // namespace
}  // namespace kv
