#include "app/windows/help_frm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app/help_file.h"
#include "editor/windows/window_twips.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() == QLatin1String("qthelp")) return engine_.fileData(name);
  return QTextBrowser::loadResource(type, name);
}

Help_Frm::Help_Frm(ProgramState& st, const std::string& collectionFile)
    : QWidget(nullptr, Qt::Window), st_(st) {
  setObjectName(ToQ(kHelpWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("TheKorvane ヘルプ"));
  engine_ = new QHelpEngine(ToQ(collectionFile), this);
  // The collection is the program's own: nothing is written into it.
  engine_->setReadOnly(true);
  engine_->setupData();
  const QStringList docs = engine_->registeredDocumentations();
  if (!docs.isEmpty()) namespace_ = docs.front();
  Build();
}

Help_Frm::~Help_Frm() = default;

QUrl Help_Frm::PageUrl(const QString& page) const {
  return QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(namespace_, page));
}

void Help_Frm::Build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  layout->addWidget(bar);

  view_ = new HelpBrowser(*engine_, this);
  view_->setObjectName("helpPage");
  view_->setOpenLinks(true);

  auto* contents = new QAction(QStringLiteral("目次"), this);
  back_ = new QAction(QStringLiteral("戻る"), this);
  forward_ = new QAction(QStringLiteral("進む"), this);
  auto* zoomIn = new QAction(QStringLiteral("拡大"), this);
  auto* zoomOut = new QAction(QStringLiteral("縮小"), this);
  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);
  zoomIn->setShortcut(QKeySequence::ZoomIn);
  zoomOut->setShortcut(QKeySequence::ZoomOut);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  for (QAction* a : {contents, back_, forward_, zoomIn, zoomOut}) bar->addAction(a);
  connect(contents, &QAction::triggered, this, [this] { ShowPage(std::string(kHelpContentsPage), false); });
  connect(back_, &QAction::triggered, view_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, view_, &QTextBrowser::forward);
  connect(zoomIn, &QAction::triggered, view_, [this] { view_->zoomIn(1); });
  connect(zoomOut, &QAction::triggered, view_, [this] { view_->zoomOut(1); });
  connect(view_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(view_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);

  tabs_ = new QTabWidget(this);
  QHelpContentWidget* tree = engine_->contentWidget();
  tree->setObjectName("helpContents");
  tabs_->addTab(tree, QStringLiteral("目次"));
  connect(tree, &QHelpContentWidget::linkActivated, view_, [this](const QUrl& url) { view_->setSource(url); });
  connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, tree, [this, tree] {
    tree->expandAll();
    ContentsFollow(view_->source());
  });

  auto* indexPane = new QWidget(tabs_);
  auto* indexLayout = new QVBoxLayout(indexPane);
  indexText_ = new QLineEdit(indexPane);
  indexText_->setObjectName("helpIndexText");
  indexText_->setPlaceholderText(QStringLiteral("キーワードを入力"));
  QHelpIndexWidget* index = engine_->indexWidget();
  index->setObjectName("helpIndex");
  indexLayout->addWidget(indexText_);
  indexLayout->addWidget(index);
  tabs_->addTab(indexPane, QStringLiteral("キーワード"));
  connect(indexText_, &QLineEdit::textChanged, index, [index](const QString& t) { index->filterIndices(t); });
  connect(indexText_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
  connect(index, &QHelpIndexWidget::documentActivated, view_,
          [this](const QHelpLink& link, const QString&) { view_->setSource(link.url); });
  connect(index, &QHelpIndexWidget::documentsActivated, view_,
          [this](const QList<QHelpLink>& links, const QString&) {
            if (!links.isEmpty()) view_->setSource(links.front().url);
          });

  auto* searchPane = new QWidget(tabs_);
  auto* searchLayout = new QVBoxLayout(searchPane);
  auto* searchLine = new QHBoxLayout;
  searchText_ = new QLineEdit(searchPane);
  searchText_->setObjectName("helpSearchText");
  auto* searchButton = new QPushButton(QStringLiteral("検索"), searchPane);
  searchButton->setObjectName("helpSearchButton");
  searchLine->addWidget(searchText_);
  searchLine->addWidget(searchButton);
  hits_ = new QListWidget(searchPane);
  hits_->setObjectName("helpSearchHits");
  hits_->setWordWrap(true);
  searchLayout->addLayout(searchLine);
  searchLayout->addWidget(hits_);
  tabs_->addTab(searchPane, QStringLiteral("検索"));
  auto search = [this] { Search(searchText_->text()); };
  connect(searchButton, &QPushButton::clicked, this, search);
  connect(searchText_, &QLineEdit::returnPressed, this, search);
  connect(hits_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    view_->setSource(item->data(Qt::UserRole).toUrl());
    // The first word searched is selected in the page.
    const QString first = searchText_->text().simplified().section(QLatin1Char(' '), 0, 0);
    if (!first.isEmpty()) view_->find(first);
  });

  auto* split = new QSplitter(this);
  split->addWidget(tabs_);
  split->addWidget(view_);
  split->setStretchFactor(1, 3);
  split->setSizes({320, 680});
  layout->addWidget(split, 1);
  connect(view_, &QTextBrowser::sourceChanged, this, &Help_Frm::ContentsFollow);
}

void Help_Frm::ContentsFollow(const QUrl& url) {
  QUrl page = url;
  page.setFragment(QString());
  QHelpContentWidget* tree = engine_->contentWidget();
  const QModelIndex at = tree->indexOf(page);
  if (at.isValid()) tree->setCurrentIndex(at);
}

const std::vector<HelpPage>& Help_Frm::Pages() {
  if (pagesRead_) return pages_;
  pagesRead_ = true;
  for (const QUrl& url : engine_->files(namespace_, QString(), QStringLiteral("html"))) {
    const QByteArray html = engine_->fileData(url);
    const std::string_view bytes(html.constData(), static_cast<size_t>(html.size()));
    pages_.push_back({FromQ(url.toString()), HelpPageTitle(bytes), HelpPlainText(bytes)});
  }
  // The contents page last among pages found as often: it names every subject.
  std::stable_partition(pages_.begin(), pages_.end(), [](const HelpPage& p) {
    return p.url.size() < kHelpContentsPage.size() || p.url.substr(p.url.size() - kHelpContentsPage.size()) != kHelpContentsPage;
  });
  return pages_;
}

void Help_Frm::Search(const QString& words) {
  if (searchText_->text() != words) searchText_->setText(words);
  hits_->clear();
  const std::vector<HelpHit> hits = HelpSearch(Pages(), FromQ(words));
  for (const HelpHit& h : hits) {
    auto* item = new QListWidgetItem(ToQ(h.title) + QLatin1Char('\n') + ToQ(h.excerpt), hits_);
    item->setData(Qt::UserRole, QUrl(ToQ(h.url)));
  }
  if (hits.empty()) new QListWidgetItem(QStringLiteral("見つかりませんでした。"), hits_);
}

void Help_Frm::ShowPage(const std::string& page, bool index) {
  tabs_->setCurrentIndex(index ? 1 : 0);
  view_->setSource(PageUrl(ToQ(page)));
  if (index) indexText_->setFocus();
}

void Help_Frm::PlaceFirstTime() {
  if (placed_) return;
  placed_ = true;
  if (std::optional<WindowRect> r = HelpWindowPlaceRead(st_, ScreenTwips(*this))) {
    SetOuterBoundsTwips(*this, *r);
    return;
  }
  resize(960, 680);
  CenterForm(*this);
}

void Help_Frm::showEvent(QShowEvent* e) {
  PlaceFirstTime();
  QWidget::showEvent(e);
}

void Help_Frm::closeEvent(QCloseEvent* e) {
  if (!isMinimized() && placed_) HelpWindowPlaceSave(st_, OuterBoundsTwips(*this));
  QWidget::closeEvent(e);
}

namespace {

// Takes the help window off a modal dialog when the dialog is hidden (before
// it is deleted), so that the window stays open on its own.
class ModalRide : public QObject {
 public:
  ModalRide(QWidget* modal, QWidget* help) : QObject(modal), help_(help) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Hide && help_ && help_->parentWidget() == watched) {
      const bool shown = help_->isVisible();
      const QRect place = help_->geometry();
      help_->setParent(nullptr, Qt::Window);
      help_->setGeometry(place);
      if (shown) help_->show();
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QWidget> help_;
};

}  // namespace

void RegisterHelpWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kHelpWindow, [&st] { return new Help_Frm(st, HelpCollectionPath(st)); });
  st.help.Show = [&ui](const std::string& page, bool index) {
    ui.ShowModeless(kHelpWindow);
    auto* w = dynamic_cast<Help_Frm*>(ui.LoadedWindow(kHelpWindow));
    if (!w) return;
    // A help button of a modal dialog: the window must take input while the
    // dialog is up, so it rides on the dialog until the dialog goes.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != w && w->parentWidget() != modal) {
      const QRect place = w->geometry();
      w->setParent(modal, Qt::Window);
      w->setGeometry(place);
      modal->installEventFilter(new ModalRide(modal, w));
      w->show();
    }
    w->ShowPage(page, index);
    w->raise();
    w->activateWindow();
  };
}

}  // namespace kv
