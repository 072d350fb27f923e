// The tree control's view on the offscreen platform: the shape, texts and
// images of the model; the user's expander and node clicks reaching the model
// as its events; handlers that add and remove nodes while an event runs; the
// program's expanded state shown without a second event.
#include "platform/tree/qt/tree_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <memory>
#include <string>
#include <vector>

#include "support/qt_test_app.h"

#ifdef KORVANE_HAVE_QT_TEST
#include <QAbstractItemModelTester>
#endif

namespace kv {
namespace {

// The model tester's complaints while a test runs.
std::vector<std::string>* g_complaints = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void CollectComplaints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (g_complaints && context.category && std::string(context.category) == "qt.modeltest") {
    g_complaints->push_back(message.toStdString());
    return;
  }
  if (g_previousHandler) g_previousHandler(type, context, message);
}

// The tree as lines "depth text", in display order: from the TreeModel ...
void ModelLines(const std::vector<TreeNode*>& nodes, int depth, std::vector<std::string>& out) {
  for (const TreeNode* n : nodes) {
    out.push_back(std::to_string(depth) + " " + n->data.text);
    ModelLines(n->children, depth + 1, out);
  }
}

// ... and from the Qt item model.
void ItemLines(const QAbstractItemModel& m, const QModelIndex& parent, int depth,
               std::vector<std::string>& out) {
  for (int r = 0; r < m.rowCount(parent); ++r) {
    const QModelIndex i = m.index(r, 0, parent);
    EXPECT_EQ(m.parent(i), parent);
    out.push_back(std::to_string(depth) + " " + m.data(i, Qt::DisplayRole).toString().toStdString());
    ItemLines(m, i, depth + 1, out);
  }
}

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

// Root "見積" (expanded) with the leaf "工事" and "躯体", whose two children
// are the leaf "基礎" and "柱" with one child "型枠".
class TreeViewTest : public ::testing::Test {
 protected:
  TreeModel tree;
  std::unique_ptr<TreeView> view;
  std::vector<std::string> events;
  std::vector<std::string> complaints;

  void SetUp() override {
    test::EnsureQtApp();
    g_complaints = &complaints;
    g_previousHandler = qInstallMessageHandler(CollectComplaints);
    tree.events.Expand = [this](const TreeNodeData& n) { events.push_back("Expand " + n.key); };
    tree.events.Collapse = [this](const TreeNodeData& n) { events.push_back("Collapse " + n.key); };
    tree.events.NodeClick = [this](const TreeNodeData& n) { events.push_back("Click " + n.key); };
    ASSERT_TRUE(tree.Add("", "Root", "見積", "Close", 2));
    ASSERT_TRUE(tree.Add("Root", "Y11", "工事", "Leaf"));
    ASSERT_TRUE(tree.Add("Root", "Y12", "躯体", "Close", 2));
    ASSERT_TRUE(tree.Add("Y12", "Y12Y21", "基礎", "Leaf"));
    ASSERT_TRUE(tree.Add("Y12", "Y12Y22", "柱", "Close", 2));
    ASSERT_TRUE(tree.Add("Y12Y22", "Y12Y22Y31", "型枠", "Leaf"));
    ASSERT_TRUE(tree.SetExpanded("Root", true));
    events.clear();
    MakeView();
  }

  void TearDown() override {
    view.reset();
    qInstallMessageHandler(g_previousHandler);
    g_complaints = nullptr;
    EXPECT_TRUE(complaints.empty()) << complaints.front();
  }

  void MakeView() {
    view.reset();
    view = std::make_unique<TreeView>(tree);
#ifdef KORVANE_HAVE_QT_TEST
    new QAbstractItemModelTester(view->itemModel(),
                                 QAbstractItemModelTester::FailureReportingMode::Warning, view.get());
#endif
    view->resize(300, 400);
    view->show();
    test::Settle();
  }

  QModelIndex Index(const char* key) const { return view->itemModel()->IndexOf(tree.Find(key)); }

  // The view's rows as the model's, and every shown row laid out.
  void ExpectConsistent() {
    std::vector<std::string> fromModel, fromItems;
    ModelLines(tree.TopNodes(), 0, fromModel);
    ItemLines(*view->itemModel(), {}, 0, fromItems);
    EXPECT_EQ(fromItems, fromModel);
    for (int i = 1; i <= tree.Count(); ++i) {
      const TreeNode* n = tree.NodeAt(i);
      const QModelIndex idx = view->itemModel()->IndexOf(n);
      EXPECT_EQ(view->isExpanded(idx), n->data.expanded) << n->data.key;
    }
  }

  void Click(const QPoint& at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &release);
    test::Settle();
  }
  // The node's expander, left of its image and text.
  void ClickExpander(const char* key) {
    const QRect r = view->visualRect(Index(key));
    ASSERT_FALSE(r.isEmpty()) << key << " is not shown";
    Click(QPoint(r.left() - view->indentation() / 2, r.center().y()));
  }
  void ClickText(const char* key) {
    const QRect r = view->visualRect(Index(key));
    ASSERT_FALSE(r.isEmpty()) << key << " is not shown";
    Click(QPoint(r.left() + 30, r.center().y()));
  }
  bool Shown(const char* key) const { return !view->visualRect(Index(key)).isEmpty(); }
};

TEST_F(TreeViewTest, ShowsTheModelsShapeTextsAndExpandedState) {
  std::vector<std::string> lines;
  ItemLines(*view->itemModel(), {}, 0, lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"0 見積", "1 工事", "1 躯体", "2 基礎", "2 柱", "3 型枠"}));
  ExpectConsistent();
  EXPECT_TRUE(view->isHeaderHidden());
  EXPECT_TRUE(Shown("Y11"));
  EXPECT_TRUE(Shown("Y12"));
  EXPECT_FALSE(Shown("Y12Y21"));  // below the collapsed 躯体
  EXPECT_EQ(view->iconSize(), QSize(16, 16));
}

TEST_F(TreeViewTest, ImagesFollowTheImageKeysAndTheExpandedImage) {
  const QStyle* style = view->style();
  const QImage closed = Picture(style->standardIcon(QStyle::SP_DirClosedIcon));
  const QImage open = Picture(style->standardIcon(QStyle::SP_DirOpenIcon));
  const QImage file = Picture(style->standardIcon(QStyle::SP_FileIcon));
  ASSERT_NE(closed, open);
  ASSERT_NE(closed, file);
  ASSERT_TRUE(tree.Add("Root", "O", "open image", "Open"));
  ASSERT_TRUE(tree.Add("O", "O1", "child", "Leaf"));
  ASSERT_TRUE(tree.Add("Root", "L", "leaf image as expanded image", "Close", 3));
  ASSERT_TRUE(tree.Add("L", "L1", "child", "Leaf"));
  ASSERT_TRUE(tree.Add("Root", "X", "unknown image", "Other"));
  ASSERT_TRUE(tree.SetExpanded("O", true));
  ASSERT_TRUE(tree.SetExpanded("L", true));
  struct Case {
    const char* key;
    const QImage* image;  // null: no image
  } cases[] = {
      {"Root", &open},   // "Close", expanded, expanded image 2
      {"Y12", &closed},  // "Close", collapsed
      {"Y11", &file},    // "Leaf"
      {"O", &open},      // "Open" with no expanded image stays "Open"
      {"L", &file},      // expanded image 3
      {"X", nullptr},
  };
  for (const Case& c : cases) {
    const QVariant v = view->itemModel()->data(Index(c.key), Qt::DecorationRole);
    if (!c.image) {
      EXPECT_FALSE(v.isValid()) << c.key;
      continue;
    }
    EXPECT_EQ(Picture(v.value<QIcon>()), *c.image) << c.key;
  }
  // The image changes with the state, and the view is told to paint it again.
  std::vector<std::string> changed;
  QObject::connect(view->itemModel(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& first, const QModelIndex&) {
                     changed.push_back(view->itemModel()->NodeOf(first)->data.key);
                   });
  ASSERT_TRUE(tree.SetExpanded("Y12", true));
  EXPECT_EQ(changed, (std::vector<std::string>{"Y12"}));
  EXPECT_EQ(Picture(view->itemModel()->data(Index("Y12"), Qt::DecorationRole).value<QIcon>()), open);
  ASSERT_TRUE(tree.SetExpanded("Root", false));
  EXPECT_EQ(Picture(view->itemModel()->data(Index("Root"), Qt::DecorationRole).value<QIcon>()), closed);
}

TEST_F(TreeViewTest, TheExpanderRaisesExpandOnceAndAHandlersNewChildShows) {
  tree.events.Expand = [this](const TreeNodeData& n) {
    events.push_back("Expand " + n.key);
    tree.Add(n.key, n.key + "Y23", "足場", "Leaf");
  };
  ClickExpander("Y12");
  EXPECT_EQ(events, (std::vector<std::string>{"Expand Y12"}));  // no node click
  EXPECT_TRUE(tree.Expanded("Y12"));
  EXPECT_TRUE(view->isExpanded(Index("Y12")));
  EXPECT_TRUE(Shown("Y12Y23"));
  EXPECT_EQ(view->itemModel()->rowCount(Index("Y12")), 3);
  ExpectConsistent();

  events.clear();
  ClickText("Y12Y21");
  EXPECT_EQ(events, (std::vector<std::string>{"Click Y12Y21"}));

  // The expander again: Collapse, and the children are hidden.
  events.clear();
  ClickExpander("Y12");
  EXPECT_EQ(events, (std::vector<std::string>{"Collapse Y12"}));
  EXPECT_FALSE(tree.Expanded("Y12"));
  EXPECT_FALSE(Shown("Y12Y21"));
  ExpectConsistent();
}

TEST_F(TreeViewTest, NodesRemovedWhileExpandedOrDuringTheirOwnEventsLeaveTheViewConsistent) {
  ASSERT_TRUE(tree.SetExpanded("Y12", true));
  ASSERT_TRUE(tree.SetExpanded("Y12Y22", true));
  ASSERT_TRUE(Shown("Y12Y22Y31"));
  view->setCurrentIndex(Index("Y12Y22Y31"));

  // A subtree that is open two levels deep goes while the view shows it.
  ASSERT_TRUE(tree.Remove("Y12"));
  ExpectConsistent();
  EXPECT_EQ(view->itemModel()->rowCount(Index("Root")), 1);
  EXPECT_TRUE(Shown("Y11"));

  // A collapse handler that removes the grandchildren (the tree kept one
  // level ahead) and an expand handler that removes its own node.
  ASSERT_TRUE(tree.Add("Root", "A", "a", "Close", 2));
  ASSERT_TRUE(tree.Add("A", "A1", "a1", "Close", 2));
  ASSERT_TRUE(tree.Add("A1", "A1x", "a1x", "Leaf"));
  ASSERT_TRUE(tree.Add("Root", "B", "b", "Close", 2));
  ASSERT_TRUE(tree.Add("B", "B1", "b1", "Leaf"));
  ASSERT_TRUE(tree.SetExpanded("A", true));
  ASSERT_TRUE(tree.SetExpanded("A1", true));
  tree.events.Collapse = [this](const TreeNodeData& n) {
    events.push_back("Collapse " + n.key);
    tree.RemoveKeysExtending(n.key + "1");
  };
  tree.events.Expand = [this](const TreeNodeData& n) {
    events.push_back("Expand " + n.key);
    tree.Remove(n.key);
  };
  events.clear();
  ClickExpander("A");
  EXPECT_EQ(events, (std::vector<std::string>{"Collapse A"}));
  EXPECT_EQ(tree.Find("A1x"), nullptr);
  ExpectConsistent();
  ClickExpander("B");
  EXPECT_EQ(events, (std::vector<std::string>{"Collapse A", "Expand B"}));
  EXPECT_EQ(tree.Find("B"), nullptr);
  ExpectConsistent();

  // Cleared and built again: the view follows the rebuild.
  tree.events = {};
  tree.Clear();
  ExpectConsistent();
  ASSERT_TRUE(tree.Add("", "Root", "new", "Close", 2));
  ASSERT_TRUE(tree.Add("Root", "N", "n", "Leaf"));
  ASSERT_TRUE(tree.SetExpanded("Root", true));
  ExpectConsistent();
  EXPECT_TRUE(Shown("N"));
}

TEST_F(TreeViewTest, TheProgramsExpandedStateShowsWithoutASecondEvent) {
  ASSERT_TRUE(tree.SetExpanded("Y12", true));
  test::Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"Expand Y12"}));
  EXPECT_TRUE(view->isExpanded(Index("Y12")));
  EXPECT_TRUE(Shown("Y12Y22"));
  ASSERT_TRUE(tree.SetExpanded("Y12", false));
  test::Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"Expand Y12", "Collapse Y12"}));
  EXPECT_FALSE(view->isExpanded(Index("Y12")));

  // A node opened below a collapsed parent shows open once its parent opens,
  // and a view made over a model with open nodes shows them open.
  ASSERT_TRUE(tree.SetExpanded("Y12Y22", true));
  EXPECT_FALSE(Shown("Y12Y22Y31"));
  ASSERT_TRUE(tree.SetExpanded("Y12", true));
  EXPECT_TRUE(Shown("Y12Y22Y31"));
  events.clear();
  MakeView();
  EXPECT_TRUE(events.empty());
  ExpectConsistent();
  EXPECT_TRUE(Shown("Y12Y22Y31"));
}

}  // namespace
}  // namespace kv
