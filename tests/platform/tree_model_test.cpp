#include "platform/tree/tree_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

// Root -> A (A1, A2 -> A2x), B
void Build(TreeModel& t) {
  ASSERT_TRUE(t.Add("", "Root", "root", "Close", 2));
  ASSERT_TRUE(t.Add("Root", "A", "a", "Close", 2));
  ASSERT_TRUE(t.Add("A", "A1", "a1", "Leaf"));
  ASSERT_TRUE(t.Add("A", "A2", "a2", "Close", 2));
  ASSERT_TRUE(t.Add("A2", "A2x", "a2x", "Leaf"));
  ASSERT_TRUE(t.Add("Root", "B", "b", "Leaf"));
}

std::vector<std::string> Keys(const TreeModel& t) {
  std::vector<std::string> out;
  for (int i = 1; i <= t.Count(); ++i) out.push_back(t.NodeAt(i)->data.key);
  return out;
}

std::vector<std::string> ChildKeys(const TreeModel& t, const std::string& key) {
  std::vector<std::string> out;
  for (const TreeNode* c : t.Find(key)->children) out.push_back(c->data.key);
  return out;
}

TEST(TreeModel, NodesAreNumberedInTheOrderAddedAndFoundByKey) {
  TreeModel t;
  Build(t);
  EXPECT_EQ(t.Count(), 6);
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "A", "A1", "A2", "A2x", "B"}));
  EXPECT_EQ(t.IndexOf("A2x"), 5);
  EXPECT_EQ(t.IndexOf("a2x"), 0);  // keys compare with their letter case
  EXPECT_EQ(t.IndexOf("none"), 0);
  EXPECT_EQ(ChildKeys(t, "Root"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(t.Find("A2")->data.image, "Close");
  EXPECT_EQ(t.Find("A2")->data.expandedImage, 2);
  EXPECT_EQ(t.RowOf(t.Find("B")), 1);
  EXPECT_EQ(t.NodeAt(0), nullptr);
  EXPECT_EQ(t.NodeAt(7), nullptr);
}

TEST(TreeModel, AddRefusesADuplicateKeyAndAMissingRelative) {
  TreeModel t;
  Build(t);
  EXPECT_FALSE(t.Add("Root", "A1", "again", "Leaf"));
  EXPECT_FALSE(t.Add("Nobody", "C", "c", "Leaf"));
  EXPECT_EQ(t.Count(), 6);
  EXPECT_EQ(t.Find("A1")->data.text, "a1");
}

TEST(TreeModel, RemovingANodeTakesItsDescendantsAndTheNumbersCloseUp) {
  TreeModel t;
  Build(t);
  EXPECT_TRUE(t.Remove("A2"));
  EXPECT_FALSE(t.Remove("A2"));
  EXPECT_EQ(t.Count(), 4);
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "A", "A1", "B"}));
  EXPECT_EQ(t.IndexOf("A2x"), 0);
  EXPECT_EQ(t.IndexOf("B"), 4);
  // The keys are free again, and a new node goes last.
  EXPECT_TRUE(t.Add("A", "A2x", "new", "Leaf"));
  EXPECT_EQ(t.IndexOf("A2x"), 5);
  EXPECT_EQ(ChildKeys(t, "A"), (std::vector<std::string>{"A1", "A2x"}));
  t.Clear();
  EXPECT_EQ(t.Count(), 0);
  EXPECT_TRUE(t.TopNodes().empty());
  EXPECT_TRUE(t.Add("", "Root", "root", "Leaf"));
}

TEST(TreeModel, RemoveKeysExtendingTakesOnlyLongerKeysWithThePrefix) {
  TreeModel t;
  ASSERT_TRUE(t.Add("", "Root", "", "Close"));
  for (const char* k : {"Y1", "Y2"}) ASSERT_TRUE(t.Add("Root", k, "", "Close"));
  for (const char* k : {"Y1a", "Y1b"}) ASSERT_TRUE(t.Add("Y1", k, "", "Close"));
  ASSERT_TRUE(t.Add("Y1a", "Y1aZ", "", "Leaf"));
  ASSERT_TRUE(t.Add("Y2", "Y2a", "", "Leaf"));
  EXPECT_EQ(t.RemoveKeysExtending("Y1"), 3);
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "Y1", "Y2", "Y2a"}));
  EXPECT_EQ(t.RemoveKeysExtending("Y3"), 0);
  EXPECT_EQ(t.RemoveKeysExtending("Y2a"), 0);
}

// Keys removed, re-added and renumbered between two calls: the second call
// sees exactly the nodes there are now, and removes them longest key first.
TEST(TreeModel, RemoveKeysExtendingFollowsTheNodesAddedAndRemovedSinceTheLastCall) {
  struct Removals : TreeObserver {
    std::vector<std::string> lines;
    void TreeNodeRemoving(const TreeNode* parent, int row) override {
      lines.push_back(parent->data.key + " " + std::to_string(row));
    }
  } removals;
  TreeModel t;
  Build(t);
  t.SetObserver(&removals);
  EXPECT_EQ(t.RemoveKeysExtending("A"), 3);
  ASSERT_TRUE(t.Add("A", "A1", "a1 again", "Close"));
  ASSERT_TRUE(t.Add("A1", "A1q", "gone", "Leaf"));
  ASSERT_TRUE(t.Remove("A1q"));
  EXPECT_EQ(t.IndexOf("A1"), 4);  // the removed node is freed here
  ASSERT_TRUE(t.Add("A1", "A1q", "a1q", "Leaf"));
  ASSERT_TRUE(t.Add("A", "A3", "a3", "Leaf"));
  removals.lines.clear();
  EXPECT_EQ(t.RemoveKeysExtending("A"), 3);
  EXPECT_EQ(removals.lines, (std::vector<std::string>{"A 1", "A1 0", "A 0"}));
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "A", "B"}));
  t.SetObserver(nullptr);
}

// Enough nodes for the key index to grow several times, with gaps left by
// removals and keys used again.
TEST(TreeModel, ManyKeysAddedRemovedAndAddedAgainAreFoundExactly) {
  TreeModel t;
  ASSERT_TRUE(t.Add("", "Root", "", "Close"));
  const auto key = [](int i) { return "Y1" + std::to_string(i); };
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(t.Add("Root", key(i), std::to_string(i), "Leaf"));
  for (int i = 0; i < 3000; i += 3) ASSERT_TRUE(t.Remove(key(i)));
  for (int i = 0; i < 3000; i += 6) ASSERT_TRUE(t.Add("Root", key(i), "again", "Leaf"));
  for (int i = 1; i < 3000; i += 3) EXPECT_FALSE(t.Add("Root", key(i), "twice", "Leaf"));
  EXPECT_EQ(t.Count(), 1 + 2000 + 500);
  for (int i = 0; i < 3000; ++i) {
    const TreeNode* n = t.Find(key(i));
    if (i % 6 == 0) {
      ASSERT_NE(n, nullptr) << i;
      EXPECT_EQ(n->data.text, "again");
    } else if (i % 3 == 0) {
      EXPECT_EQ(n, nullptr) << i;
    } else {
      ASSERT_NE(n, nullptr) << i;
      EXPECT_EQ(n->data.text, std::to_string(i));
    }
  }
  EXPECT_EQ(t.IndexOf(key(1)), 2);
  EXPECT_EQ(t.IndexOf(key(0)), 2002);  // added again: after the first ones
  EXPECT_EQ(t.Find("Y1"), nullptr);
}

struct EventLog {
  std::vector<std::string> lines;
  void Hook(TreeModel& t) {
    t.events.Expand = [this](const TreeNodeData& n) { lines.push_back("Expand " + n.key); };
    t.events.Collapse = [this](const TreeNodeData& n) { lines.push_back("Collapse " + n.key); };
    t.events.NodeClick = [this](const TreeNodeData& n) { lines.push_back("Click " + n.key); };
  }
};

TEST(TreeModel, TheProgramAndTheUserRaiseTheSameEventsOncePerChange) {
  TreeModel t;
  Build(t);
  EventLog log;
  log.Hook(t);
  EXPECT_TRUE(t.SetExpanded("A", true));
  EXPECT_TRUE(t.SetExpanded("A", true));  // no change: no event
  EXPECT_TRUE(t.Expanded("A"));
  t.UserToggle("A");
  t.UserToggle("B");  // a leaf has no expander
  t.UserToggle("A2");
  t.UserClick("A1");
  t.UserClick("none");
  EXPECT_FALSE(t.SetExpanded("none", true));
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"Expand A", "Collapse A", "Expand A2", "Click A1"}));
  EXPECT_FALSE(t.Expanded("A"));
  EXPECT_TRUE(t.Expanded("A2"));
}

TEST(TreeModel, HandlersMayRemoveAndAddNodesWhileTheirEventRuns) {
  TreeModel t;
  Build(t);
  // Expanding A collapses its expanded child first (a nested event), prunes
  // below the children and loads one level further, as the level tree does.
  ASSERT_TRUE(t.SetExpanded("A2", true));
  std::vector<std::string> seen;
  t.events.Collapse = [&](const TreeNodeData& n) {
    seen.push_back("Collapse " + n.key);
    t.RemoveKeysExtending(n.key + "x");
    t.Remove(n.key + "x");
  };
  t.events.Expand = [&](const TreeNodeData& n) {
    seen.push_back("Expand " + n.key);
    t.SetExpanded("A2", false);
    t.Add("A1", "A1x", "a1x", "Leaf");
    t.Add("A2", "A2y", "a2y", "Leaf");
  };
  t.SetExpanded("A", true);
  EXPECT_EQ(seen, (std::vector<std::string>{"Expand A", "Collapse A2"}));
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "A", "A1", "A2", "B", "A1x", "A2y"}));

  // A handler that removes the node of its own event gets the node's data.
  std::string text;
  t.events.NodeClick = [&](const TreeNodeData& n) {
    t.Remove(n.key);
    text = n.text;
  };
  t.UserClick("A");
  EXPECT_EQ(text, "a");
  EXPECT_EQ(Keys(t), (std::vector<std::string>{"Root", "B"}));
}

TEST(TreeModel, HandlersThatAnswerEachOtherStopNesting) {
  TreeModel t;
  Build(t);
  int calls = 0;
  t.events.Expand = [&](const TreeNodeData& n) {
    ++calls;
    t.SetExpanded(n.key, false);
  };
  t.events.Collapse = [&](const TreeNodeData& n) {
    ++calls;
    t.SetExpanded(n.key, true);
  };
  t.SetExpanded("A", true);
  EXPECT_EQ(calls, 32);
}

struct ObserverLog : TreeObserver {
  std::vector<std::string> lines;
  const TreeModel* t = nullptr;
  static std::string Name(const TreeNode* p) { return p ? p->data.key : "-"; }
  void TreeNodeAdding(const TreeNode* parent, int row) override {
    lines.push_back("add " + Name(parent) + " " + std::to_string(row));
  }
  void TreeNodeRemoving(const TreeNode* parent, int row) override {
    lines.push_back("remove " + Name(parent) + " " + std::to_string(row));
  }
  void TreeNodeChanged(const TreeNode* node) override { lines.push_back("change " + Name(node)); }
  void TreeClearing() override { lines.push_back("clear"); }
};

TEST(TreeModel, TheViewHearsOfEveryChangeWithTheRowItConcerns) {
  TreeModel t;
  ObserverLog obs;
  t.SetObserver(&obs);
  Build(t);
  t.SetExpanded("A", true);
  t.Remove("A2");
  t.Clear();
  EXPECT_EQ(obs.lines, (std::vector<std::string>{"add - 0", "add Root 0", "add A 0", "add A 1",
                                                 "add A2 0", "add Root 1", "change A",
                                                 "remove A 1", "clear"}));
}

}  // namespace
}  // namespace kv
