// The help window as the user meets it: opened through the help commands on
// the collection the build made, its contents listing every page of the
// manual, a link followed, the keyword index and the full-text search, its
// place kept, closed with the program.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QElapsedTimer>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <filesystem>
#include <functional>
#include <set>

#include "app/help_file.h"
#include "app/help_manual_files.h"
#include "app/windows/help_frm.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// Lets the help engine's threads finish until `done` holds (or a long wait).
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return done();
}

using test::ContentsPages;

std::string FileOf(const QUrl& url) { return FromQ(url.fileName()); }

void Collect(const QAbstractItemModel& m, const QModelIndex& parent, std::set<std::string>& titles) {
  for (int r = 0; r < m.rowCount(parent); ++r) {
    const QModelIndex i = m.index(r, 0, parent);
    titles.insert(FromQ(m.data(i).toString()));
    Collect(m, i, titles);
  }
}

class HelpWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = dir.path().string();
    // The collection as the build put it into the program folder.
    stdfs::create_directories(dir / "help");
    for (const char* f : {"korvane.qhc", "korvane.qch"})
      stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / "help" / f, dir / "help" / f);
    RegisterHelpWindow(ui, st);
  }

  Help_Frm* Window() { return dynamic_cast<Help_Frm*>(ui.LoadedWindow(kHelpWindow)); }

  test::TempFolder dir;
  QtUi ui;
  ProgramState st{ui};
};

TEST_F(HelpWindow, OpensAtTheContentsWhichListEveryPage) {
  HelpOpen(st);
  Help_Frm* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(FileOf(w->PageView()->source()), "index.html");
  EXPECT_EQ(w->Tabs()->currentIndex(), 0);
  EXPECT_FALSE(w->PageView()->toPlainText().isEmpty());

  QHelpContentModel* model = w->Engine().contentModel();
  ASSERT_TRUE(WaitFor([&] { return !model->isCreatingContents() && model->rowCount() > 0; }));
  // Every page of the contents is an entry whose link opens that page.
  std::set<std::string> linked;
  std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
    for (int r = 0; r < model->rowCount(parent); ++r) {
      const QModelIndex i = model->index(r, 0, parent);
      if (QHelpContentItem* item = model->contentItemAt(i)) linked.insert(FileOf(item->url()));
      walk(i);
    }
  };
  walk(QModelIndex());
  const std::set<std::string> pages = ContentsPages();
  EXPECT_EQ(linked, pages);
  // And each of them is in the collection.
  for (const std::string& page : pages)
    EXPECT_FALSE(w->Engine().fileData(w->PageUrl(ToQ(page))).isEmpty()) << page;
}

TEST_F(HelpWindow, FollowsALinkAndComesBack) {
  HelpOpen(st);
  Help_Frm* w = Window();
  ASSERT_NE(w, nullptr);
  HelpBrowser* view = w->PageView();
  // The first link of the contents page, reached with the keyboard and
  // followed with Enter as a user without a mouse does.
  view->setFocus();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(view, &tab);
  const QString href = view->textCursor().charFormat().anchorHref();
  ASSERT_FALSE(href.isEmpty());
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(view, &enter);
  EXPECT_EQ(FileOf(view->source()), FromQ(href));
  EXPECT_NE(FromQ(href), "index.html");
  EXPECT_TRUE(view->isBackwardAvailable());
  view->backward();
  EXPECT_EQ(FileOf(view->source()), "index.html");
}

TEST_F(HelpWindow, TheSearchFindsAWordInsideJapaneseText) {
  HelpOpen(st);
  Help_Frm* w = Window();
  ASSERT_NE(w, nullptr);
  w->Tabs()->setCurrentIndex(2);
  w->SearchText()->setText(QStringLiteral("全階層"));
  w->findChild<QPushButton*>("helpSearchButton")->click();
  QListWidget* hits = w->SearchHits();
  ASSERT_GT(hits->count(), 0);
  std::set<std::string> found;
  for (int i = 0; i < hits->count(); ++i) found.insert(FileOf(hits->item(i)->data(Qt::UserRole).toUrl()));
  EXPECT_TRUE(found.count("calc.html")) << "the recalculation page";
  // Opening a hit shows its page with the word selected.
  int calc = 0;
  while (FileOf(hits->item(calc)->data(Qt::UserRole).toUrl()) != "calc.html") ++calc;
  emit hits->itemActivated(hits->item(calc));
  EXPECT_EQ(FileOf(w->PageView()->source()), "calc.html");
  EXPECT_EQ(w->PageView()->textCursor().selectedText(), QStringLiteral("全階層"));

  w->Search(QStringLiteral("存在しない言葉ｘｙｚ"));
  ASSERT_EQ(hits->count(), 1);
  EXPECT_FALSE(hits->item(0)->data(Qt::UserRole).isValid());
}

TEST_F(HelpWindow, TheKeywordSearchOpensTheIndex) {
  HelpIndexOpen(st);
  Help_Frm* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Tabs()->currentIndex(), 1);
  QHelpIndexModel* index = w->Engine().indexModel();
  ASSERT_TRUE(WaitFor([&] { return !index->isCreatingIndex() && index->rowCount() > 0; }));
  w->IndexText()->setText(QStringLiteral("Ｙ計算"));
  QHelpIndexWidget* list = w->Engine().indexWidget();
  ASSERT_TRUE(list->currentIndex().isValid());
  EXPECT_EQ(list->currentIndex().data().toString(), QStringLiteral("Ｙ計算"));
  list->activateCurrentItem();
  EXPECT_EQ(FileOf(w->PageView()->source()), "calc.html");
  EXPECT_EQ(w->PageView()->source().fragment(), QStringLiteral("ycalc"));
}

TEST_F(HelpWindow, OneWindowAtTheAskedPageKeepsItsPlaceAndGoesWithTheProgram) {
  HelpOpen(st);
  Help_Frm* first = Window();
  ASSERT_NE(first, nullptr);
  HelpOpen(st, "frmP1SetUp");
  EXPECT_EQ(Window(), first);
  EXPECT_EQ(FileOf(first->PageView()->source()), "print.html");
  first->move(40, 50);
  first->resize(700, 500);
  const QRect place = first->frameGeometry();

  HelpClose(st);
  test::Settle();
  EXPECT_FALSE(ui.IsWindowLoaded(kHelpWindow));

  HelpOpen(st);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->frameGeometry(), place);
}

// A help button of a modal dialog: the window takes input while the dialog
// is up (it rides on the dialog) and stays open on its own after it.
TEST_F(HelpWindow, OpenedFromAModalDialogItOutlivesTheDialog) {
  QPointer<Help_Frm> during;
  QWidget* dialogSeen = nullptr;
  ui.RegisterWindow("TestDialog", [&] {
    auto* d = new QDialog;
    d->setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(0, d, [&, d] {
      dialogSeen = d;
      HelpOpen(st, "SetOption");
      during = Window();
      if (during) EXPECT_EQ(during->window()->parentWidget(), d);
      d->close();
    });
    return d;
  });
  ui.ShowModal("TestDialog");
  test::Settle();
  ASSERT_NE(dialogSeen, nullptr);
  ASSERT_FALSE(during.isNull()) << "the help window is not deleted with the dialog";
  EXPECT_EQ(during->parentWidget(), nullptr);
  EXPECT_TRUE(during->isVisible());
  EXPECT_EQ(FileOf(during->PageView()->source()), "options.html");
  EXPECT_EQ(Window(), during.data());
}

}  // namespace
}  // namespace kv
