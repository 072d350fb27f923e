#include "editor/windows/frm_kouji_sht.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

#include "editor/editor_geometry.h"
#include "editor/kouji_sht.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

frmKoujiSht::frmKoujiSht(ProgramState& st, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName(kKoujiWindow);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

  auto* bar = new QMenuBar(this);
  QMenu* file = bar->addMenu(ToQ("ﾌｧｲﾙ(&F)"));
  file->setObjectName("KoujiMenu1");
  const auto fileItem = [this, file](int index, const char* caption) {
    QAction* a = file->addAction(ToQ(caption));
    a->setObjectName(QString("KoujiMenu_1sub(%1)").arg(index));
    connect(a, &QAction::triggered, this, [this, index] { logic_->KoujiMenu_1sub_Click(index); });
    fileItems_[index] = a;
  };
  fileItem(1, "上書き保存(&S)");
  file->addSeparator();
  fileItem(3, "参考呼出し(&R)");
  fileItems_[3]->setVisible(false);
  fileItems_[3]->setEnabled(false);
  fileItem(5, "終了(&X)");

  editMenu_ = bar->addMenu(ToQ("編集(&E)"));
  editMenu_->setObjectName("KoujiMenu2");
  const char* editCaptions[5] = {nullptr, "切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)", "削除(&D)"};
  const char* editKeys[5] = {nullptr, "Ctrl+X", "Ctrl+C", "Ctrl+V", nullptr};
  for (int i = 1; i <= 4; ++i) {
    QAction* a = editMenu_->addAction(ToQ(editCaptions[i]));
    a->setObjectName(QString("KoujiMenu_2Sub(%1)").arg(i));
    if (editKeys[i] != nullptr) a->setShortcut(QKeySequence(QString::fromLatin1(editKeys[i])));
    connect(a, &QAction::triggered, this, [this, i] { logic_->KoujiMenu_2Sub_Click(i); });
    editItems_[i] = a;
  }

  QMenu* view = bar->addMenu(ToQ("画面(&V)"));
  view->setObjectName("mnuV");
  QMenu* zoom = view->addMenu(ToQ("ズーム"));
  zoom->setObjectName("mnuVItem");
  for (int i = 0; i < 5; ++i) {
    QAction* a = zoom->addAction(QString("%1%").arg(kKoujiZooms[i]));
    a->setObjectName(QString("mnuVZItem(%1)").arg(i));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, i] { logic_->mnuVZItem_Click(i); });
    zoomItems_[i] = a;
  }

  help_ = bar->addAction(ToQ("ﾍﾙﾌﾟ(&H)"));
  help_->setObjectName("KoujiMenu3");
  connect(help_, &QAction::triggered, this, [this] { logic_->KoujiMenu3_Click(); });

  view_ = new GridView(grid_, this);
  view_->setObjectName("koujiSht");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar);
  layout->addWidget(view_);
  setMinimumSize(Px(KoujiSht::kMinWidthTwips), TwipsToPixels(KoujiSht::kMinHeightTwips, logicalDpiY()));

  KoujiShtPort port;
  port.SetCaption = [this](const std::string& caption) { setWindowTitle(ToQ(caption)); };
  port.Place = [this](const WindowRect& r) {
    move(Px(r.left), TwipsToPixels(r.top, logicalDpiY()));
    resize(Px(r.width), TwipsToPixels(r.height, logicalDpiY()));
  };
  port.CenterAtWidth = [this](int widthTwips) {
    // The columns and the vertical scroll bar beside them in view.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_);
    resize(Px(widthTwips) + scrollBar + 2 * view_->frameWidth(),
           TwipsToPixels(KoujiSht::kDefaultHeightTwips, logicalDpiY()));
    centre_ = true;
  };
  port.ZoomCheck = [this](int index) {
    for (int i = 0; i < 5; ++i) zoomItems_[i]->setChecked(i == index);
  };
  port.EditMenuPopup = [this] { editMenu_->popup(QCursor::pos()); };
  port.Unload = [this] { close(); };
  logic_ = std::make_unique<KoujiSht>(st_, grid_, std::move(port));
  logic_->Form_Load();
}

frmKoujiSht::~frmKoujiSht() = default;

QAction* frmKoujiSht::FileItem(int index) const {
  return index >= 0 && index < 6 ? fileItems_[index] : nullptr;
}

QAction* frmKoujiSht::EditItem(int index) const {
  return index >= 0 && index < 5 ? editItems_[index] : nullptr;
}

QAction* frmKoujiSht::ZoomItem(int index) const {
  return index >= 0 && index < 5 ? zoomItems_[index] : nullptr;
}

int frmKoujiSht::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

int frmKoujiSht::Tw(int pixels) const { return PixelsToTwips(pixels, logicalDpiX()); }

WindowRect frmKoujiSht::RectTwips() const {
  return {Tw(x()), PixelsToTwips(y(), logicalDpiY()), Tw(width()), PixelsToTwips(height(), logicalDpiY())};
}

bool frmKoujiSht::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    SetTopMost(*this, true);
    view_->setFocus(Qt::ActiveWindowFocusReason);
  }
  return QDialog::event(e);
}

void frmKoujiSht::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  if (centre_) CenterForm(*this);
  view_->setFocus(Qt::OtherFocusReason);
}

void frmKoujiSht::closeEvent(QCloseEvent* e) {
  logic_->Form_QueryUnload(RectTwips());
  if (logic_->Form_Unload()) {
    e->ignore();
    return;
  }
  closing_ = true;
  QDialog::closeEvent(e);
  closing_ = false;
}

void frmKoujiSht::reject() {
  if (closing_) {
    QDialog::reject();
    return;
  }
  close();
}

void RegisterKoujiWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kKoujiWindow, [&st] { return new frmKoujiSht(st); });
}

}  // namespace kv
