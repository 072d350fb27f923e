#pragma once
// The help window: the manual's collection in the program folder, with its
// table of contents (目次), keyword index (キーワード) and full-text search
// (検索) beside the page view; back, forward, zoom and the links between
// pages. Modeless and one for the program; its place and size are kept in
// KVSSYS.INI like those of the other tool windows.
#include <QTextBrowser>
#include <QWidget>
#include <string>
#include <vector>

#include "app/help_search.h"

class QAction;
class QHelpEngine;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace kv {

class QtUi;
struct ProgramState;

// The page view: reads the manual's pages and pictures out of the collection.
class HelpBrowser : public QTextBrowser {
 public:
  HelpBrowser(QHelpEngine& engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  QHelpEngine& engine_;
};

class Help_Frm : public QWidget {
 public:
  Help_Frm(ProgramState& st, const std::string& collectionFile);
  ~Help_Frm() override;

  // Shows `page` of the manual (a file name such as "print.html"), with the
  // contents or, with `index`, the keyword index in front.
  void ShowPage(const std::string& page, bool index);

  // The full-text search of the 検索 tab: the hits fill its list.
  void Search(const QString& words);

  QHelpEngine& Engine() { return *engine_; }
  HelpBrowser* PageView() const { return view_; }
  QTabWidget* Tabs() const { return tabs_; }
  QLineEdit* IndexText() const { return indexText_; }
  QLineEdit* SearchText() const { return searchText_; }
  QListWidget* SearchHits() const { return hits_; }
  // The manual's address of a page file.
  QUrl PageUrl(const QString& page) const;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  void PlaceFirstTime();
  // The contents entry of the page shown is the current one.
  void ContentsFollow(const QUrl& url);
  // The pages as the search reads them, gathered at the first search.
  const std::vector<HelpPage>& Pages();

  ProgramState& st_;
  QHelpEngine* engine_ = nullptr;
  QString namespace_;
  HelpBrowser* view_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* indexText_ = nullptr;
  QLineEdit* searchText_ = nullptr;
  QListWidget* hits_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  std::vector<HelpPage> pages_;
  bool pagesRead_ = false;
  bool placed_ = false;
};

// Registers "Help_Frm" with the seam and sets the program state's help hook:
// the window is made at its first use, shown in front at the page asked.
void RegisterHelpWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
