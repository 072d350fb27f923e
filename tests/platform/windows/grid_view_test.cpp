// The grid view on the offscreen platform: what it paints for a 1000-row
// sheet, and how keys, typing, input-method text and clicks reach the model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <memory>
#include <string>
#include <vector>

#include "platform/grid/grid_api.h"
#include "platform/grid/qt/grid_font.h"
#include "platform/grid/qt/grid_view.h"

namespace kv {
namespace {

QApplication& App() {
  if (auto* a = qobject_cast<QApplication*>(QCoreApplication::instance())) return *a;
  static int argc = 1;
  static char name[] = "grid_view_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

constexpr int kImax = 1000;

// Dark pixels (text) inside a rectangle, away from its grid lines.
int Ink(const QImage& img, const QRect& r) {
  int n = 0;
  const QRect in = r.adjusted(2, 2, -3, -3).intersected(img.rect());
  for (int y = in.top(); y <= in.bottom(); ++y)
    for (int x = in.left(); x <= in.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.red() + c.green() + c.blue() < 3 * 140) ++n;
    }
  return n;
}

int Bluish(const QImage& img, const QRect& r) {
  int n = 0;
  const QRect in = r.intersected(img.rect());
  for (int y = in.top(); y <= in.bottom(); ++y)
    for (int x = in.left(); x <= in.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.blue() > c.red() + 80 && c.blue() > c.green() + 80) ++n;
    }
  return n;
}

int Reddish(const QImage& img, const QRect& r) {
  int n = 0;
  const QRect in = r.intersected(img.rect());
  for (int y = in.top(); y <= in.bottom(); ++y)
    for (int x = in.left(); x <= in.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.red() > 150 && c.green() < 90 && c.blue() < 90) ++n;
    }
  return n;
}

// The estimate sheet as the engine lays it out: a two-line "W" column, so
// every row is double height; a right-aligned amount column; a memo row, a
// two-line cell, a total row in colour 3, a page break and the totals line.
class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    view = std::make_unique<GridView>(g);
    g.SetTotalsLine(true);
    g.SetRedraw(false);
    g.SetColCount(5);
    g.SetRowCount(kImax + 1);
    g.SetFontSize(10);
    // w: a half-width character (the grid measures full-width ones).
    const int h = PointToHeight32(g, 10), w = PointToWidth32(g, 10) / 2;
    for (int r = 0; r <= kImax + 1; ++r) SetRowHeight32(g, r, 2 * h - 2);
    SetColWidth32(g, 0, 4 * w);
    const int widths[] = {0, 22 * w, 12 * w, 30 * w, 12 * w, 16 * w};
    const char* captions[] = {"", "名称", "数量", "摘要", "単位", "金額"};
    for (int c = 1; c <= 5; ++c) {
      SetColWidth32(g, c, widths[c]);
      SetTextData32(g, c, 0, captions[c]);
    }
    SetDefColPos32(g, 2, 2);
    SetDefColPos32(g, 5, 2);
    g.SetCursor(3, 1);
    g.SetColumnTextMode(3);
    for (int r = 1; r <= kImax; ++r) {
      SetTextData32(g, 0, r, std::to_string(r) + " ");
      SetTextData32(g, 1, r, "工事 " + std::to_string(r));
      SetTextData32(g, 2, r, "1,234");
      SetTextData32(g, 5, r, "12,345,678");
    }
    SetTextData32(g, 3, 3, "一行目のテキスト\r\n二行目のテキスト");
    SetMemoRow32(g, 5, 1);
    SetTextData32(g, 1, 5, "メモ行：この行のテキストは列をまたいで一続きに表示されます");
    for (int c = 1; c <= 5; ++c) SetCellTextColor32(g, c, 7, 3);
    SetTextData32(g, 1, 7, "小計");
    g.SetPageBreak(10, true);
    SetTextData32(g, 0, kImax + 1, "計 ");
    SetTextData32(g, 5, kImax + 1, "9,999,999");
    SetCellTextColor32(g, 0, kImax + 1, 0);
    g.SetRedraw(true);
    view->resize(900, 520);
    view->show();
    QApplication::processEvents();
    g.SetCursor(1, 1);
  }
  QImage Render() {
    QApplication::processEvents();
    return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  QRect Cell(int col, int row, int pane = 0) {
    GridRect r;
    EXPECT_TRUE(g.CellRect(pane, col, row, r));
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  void Key(QWidget* to, int key, const QString& text = {}, Qt::KeyboardModifiers mods = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(to, &release);
  }
  void Click(const QPoint& at, bool twice = false) {
    const QPointF p(at), global(view->viewport()->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, p, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, global, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(view->viewport(), &release);
    if (twice) {
      QMouseEvent dbl(QEvent::MouseButtonDblClick, p, global, Qt::LeftButton, Qt::LeftButton, {});
      QApplication::sendEvent(view->viewport(), &dbl);
    }
  }

  GridModel g;
  std::unique_ptr<GridView> view;
};

TEST_F(GridViewTest, PaintsTheSheetsTextsWhereTheCellsAre) {
  const QImage img = Render();
  img.save(QDir::temp().filePath(QStringLiteral("kv_grid_view.png")));

  EXPECT_GT(Ink(img, Cell(1, 2)), 20) << "body text";
  EXPECT_EQ(Ink(img, Cell(4, 2)), 0) << "an empty cell";
  EXPECT_GT(Ink(img, Cell(3, 0)), 10) << "caption";
  EXPECT_GT(Ink(img, Cell(0, 2)), 5) << "row header";
  // Both lines of the two-line cell.
  const QRect two = Cell(3, 3);
  EXPECT_GT(Ink(img, QRect(two.left(), two.top(), two.width(), two.height() / 2)), 20);
  EXPECT_GT(Ink(img, QRect(two.left(), two.center().y(), two.width(), two.height() / 2)), 20);
  // The memo text runs on over column 2 and into column 3.
  EXPECT_GT(Ink(img, Cell(2, 5)), 20);
  EXPECT_GT(Ink(img, Cell(3, 5)), 5);
  // Right alignment: the amount sits at the right of its cell.
  const QRect qty = Cell(2, 2);
  EXPECT_EQ(Ink(img, QRect(qty.left(), qty.top(), qty.width() / 3, qty.height())), 0);
  EXPECT_GT(Ink(img, QRect(qty.center().x(), qty.top(), qty.width() / 2, qty.height())), 10);
  // Colour 3 is blue; the page break under row 10 is red.
  EXPECT_GT(Bluish(img, Cell(1, 7)), 10);
  EXPECT_EQ(Bluish(img, Cell(1, 6)), 0);
  const QRect r10 = Cell(1, 10);
  EXPECT_GT(Reddish(img, QRect(r10.left(), r10.bottom() - 1, r10.width(), 3)), r10.width() / 3);
  // The totals line sits at the bottom of the viewport, below row 11.
  const QRect tot = Cell(5, kImax + 1);
  EXPECT_EQ(tot.bottom(), view->viewport()->height() - 1);
  EXPECT_GT(tot.top(), Cell(1, 11).bottom());
  EXPECT_GT(Ink(img, tot), 20);
  EXPECT_GT(Ink(img, Cell(0, kImax + 1)), 5) << "totals header";
}

// A header filled by its number and the row's kind mark (" 11#") keeps its
// last character clear of the header's border line.
TEST_F(GridViewTest, RowHeaderTextEndsBeforeTheHeadersBorder) {
  SetTextData32(g, 0, 8, " 11#");
  const QImage img = Render();
  const QRect row = Cell(1, 8);
  const int beside = g.HeaderWidth() - 2;  // the pixel column left of the border
  int ink = 0;
  for (int y = row.top() + 2; y < row.bottom() - 1; ++y) {
    const QColor c = img.pixelColor(beside, y);
    if (c.red() + c.green() + c.blue() < 3 * 140) ++ink;
  }
  EXPECT_EQ(ink, 0);
  EXPECT_GT(Ink(img, QRect(0, row.top(), g.HeaderWidth(), row.height())), 5);
}

TEST_F(GridViewTest, ScrollingFarDownPaintsOnlyWhatIsInView) {
  SetTopCell32(g, 0, 1, 700);
  QElapsedTimer t;
  t.start();
  const QImage img = Render();
  const qint64 ms = t.elapsed();
  RecordProperty("render_ms", int(ms));
  EXPECT_GT(Ink(img, Cell(1, 700)), 20);
  EXPECT_GT(Ink(img, Cell(5, kImax + 1)), 20);  // the totals line stays
  EXPECT_EQ(view->verticalScrollBar()->value(), 700);
  // Zoomed out, more rows fit and still carry their text.
  SetZoom32(g, 50);
  const QImage small = Render();
  int first = 0, last = 0;
  g.VisibleRows(first, last);
  EXPECT_GT(last - first, 15);
  EXPECT_GT(Ink(small, Cell(1, last - 1)), 5);
}

TEST_F(GridViewTest, SplitPanesBothPaint) {
  SetDivide32(g, g.ColWidth(0) + g.ColWidth(1) + 10, 0);
  const QImage img = Render();
  img.save(QDir::temp().filePath(QStringLiteral("kv_grid_view_split.png")));
  // Each pane starts its cells at its own left edge.
  int col = 0, row = 0;
  GetTopCell32(g, 2, col, row);
  EXPECT_EQ(Cell(col, 2, 2).left(), g.PaneRect(2).left);
  EXPECT_EQ(Cell(1, 2, 1).left(), g.HeaderWidth());
  EXPECT_GT(Ink(img, Cell(1, 2, 1)), 20);
  EXPECT_GT(Ink(img, Cell(5, 2, 2)), 20);
  EXPECT_GT(Ink(img, Cell(0, 2, 1)), 5);
}

TEST_F(GridViewTest, KeysRaiseKeyDown2BeforeTheGridMoves) {
  std::vector<std::string> log;
  g.events.KeyDown2 = [&](int& key, bool shift, bool ctrl) {
    log.push_back("key " + std::to_string(key) + " row " + std::to_string(g.CurrentRow()));
    if (key == 120) key = 0;  // F9 consumed
  };
  g.events.Locate = [&](int c, int r) { log.push_back("locate " + std::to_string(r)); };
  Key(view.get(), Qt::Key_Down);
  Key(view.get(), Qt::Key_F9);
  EXPECT_EQ(log, (std::vector<std::string>{"key 40 row 1", "locate 2", "key 120 row 2"}));
  EXPECT_EQ(g.CurrentRow(), 2);
  // Tab reaches the grid rather than moving the focus on.
  log.clear();
  Key(view.get(), Qt::Key_Tab);
  EXPECT_EQ(log, (std::vector<std::string>{"key 9 row 2", "locate 2"}));
  EXPECT_EQ(g.CurrentCol(), 2);
}

TEST_F(GridViewTest, TypingAndEnterCommitTheTextThroughEditEnd) {
  std::vector<std::string> ended;
  std::vector<int> preEdits;
  g.events.PreEdit = [&](int& key) { preEdits.push_back(key); };
  g.events.EditEnd = [&] { ended.push_back(g.EditText()); };
  int returnKeys = 0;  // Enter that ends an edit is not also a key on the cell
  g.events.KeyDown2 = [&](int& key, bool, bool) { returnKeys += key == 13; };
  g.SetCursor(1, 4);
  Key(view.get(), Qt::Key_A, QStringLiteral("a"));
  ASSERT_NE(view->cellEditor(), nullptr);
  auto* editor = qobject_cast<QLineEdit*>(view->cellEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), QStringLiteral("a"));
  Key(editor, Qt::Key_B, QStringLiteral("b"));
  Key(editor, Qt::Key_Return);
  EXPECT_EQ(view->cellEditor(), nullptr);
  EXPECT_EQ(preEdits, (std::vector<int>{'a'}));
  EXPECT_EQ(ended, (std::vector<std::string>{"ab"}));
  EXPECT_EQ(GetTextData32(g, 1, 4), "ab");
  EXPECT_EQ(returnKeys, 0);
  EXPECT_EQ(g.CurrentRow(), 4);

  // Esc closes without EditEnd; the cell keeps its text.
  Key(view.get(), Qt::Key_X, QStringLiteral("x"));
  ASSERT_NE(view->cellEditor(), nullptr);
  Key(view->cellEditor(), Qt::Key_Escape);
  EXPECT_EQ(view->cellEditor(), nullptr);
  EXPECT_EQ(ended.size(), 1u);
  EXPECT_EQ(GetTextData32(g, 1, 4), "ab");
}

TEST_F(GridViewTest, InputMethodTextOpensTheCell) {
  std::vector<std::string> ended;
  std::vector<int> preEdits;
  g.events.PreEdit = [&](int& key) { preEdits.push_back(key); };
  g.events.EditEnd = [&] { ended.push_back(g.EditText()); };
  g.SetCursor(1, 6);
  {
    QInputMethodEvent compose(QString::fromUtf8("みつもり"), {});
    QApplication::sendEvent(view.get(), &compose);
  }
  ASSERT_NE(view->cellEditor(), nullptr);
  {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("見積"));
    QApplication::sendEvent(view->cellEditor(), &commit);
  }
  Key(view->cellEditor(), Qt::Key_Return);
  EXPECT_EQ(preEdits, (std::vector<int>{229}));
  EXPECT_EQ(ended, (std::vector<std::string>{"見積"}));
}

TEST_F(GridViewTest, TwoLineColumnsEditWithLineBreaks) {
  std::vector<std::string> ended;
  g.events.EditEnd = [&] { ended.push_back(g.EditText()); };
  g.SetCursor(3, 3);
  g.BeginEdit(0);
  auto* editor = qobject_cast<QPlainTextEdit*>(view->cellEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->toPlainText(), QString::fromUtf8("一行目のテキスト\n二行目のテキスト"));
  Key(editor, Qt::Key_Return);
  EXPECT_EQ(ended, (std::vector<std::string>{"一行目のテキスト\r\n二行目のテキスト"}));
}

TEST_F(GridViewTest, ClicksBecomeButtonEventsAndIgnoreIsHonoured) {
  std::vector<std::string> log;
  bool ignore = false;
  g.events.LButtonDown = [&](int c, int r, bool& ig) {
    log.push_back("down " + std::to_string(c) + "," + std::to_string(r));
    ig = ignore;
  };
  g.events.DblClk = [&](int c, int r) {
    log.push_back("dbl " + std::to_string(c) + "," + std::to_string(r));
  };
  Click(Cell(4, 3).center());
  EXPECT_EQ(std::make_pair(g.CurrentCol(), g.CurrentRow()), std::make_pair(4, 3));
  ignore = true;
  Click(Cell(2, 8).center(), true);
  EXPECT_EQ(std::make_pair(g.CurrentCol(), g.CurrentRow()), std::make_pair(4, 3));
  EXPECT_EQ(log, (std::vector<std::string>{"down 4,3", "down 2,8", "dbl 2,8"}));
}

TEST(GridFonts, StoredJapaneseFontNamesFindAnInstalledFamily) {
  App();
  for (const char* name : {"ＭＳ 明朝", "標準明朝"})
    EXPECT_TRUE(SheetFontFamily(QString::fromUtf8(name)).contains(QLatin1String("Mincho")))
        << name;
  for (const char* name : {"ＭＳ ゴシック", "標準ゴシック"})
    EXPECT_TRUE(SheetFontFamily(QString::fromUtf8(name)).contains(QLatin1String("Gothic")))
        << name;
  EXPECT_EQ(SheetFontFamily(QStringLiteral("IPAGothic")), QStringLiteral("IPAGothic"));
}

}  // namespace
}  // namespace kv
