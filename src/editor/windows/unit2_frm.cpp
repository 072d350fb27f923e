#include "editor/windows/unit2_frm.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "editor/editor_geometry.h"
#include "editor/unit_list.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/window_twips.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

UNIT2_Frm::UNIT2_Frm(ProgramState& st, QtUi& ui) : QWidget(nullptr), st_(st), ui_(ui) {
  setObjectName(QString::fromUtf8(kUnitWindow.data(), qsizetype(kUnitWindow.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint);
  setWindowTitle(ToQ("単位"));

  auto* bar = new QMenuBar(this);
  fileMenu_ = bar->addMenu(ToQ("ﾌｧｲﾙ(&F)"));
  fileMenu_->setObjectName("mnuFile");
  const char* fileCaptions[4] = {"追加変更 OFF(&O)", "追加変更の保存(&S)", nullptr, "終了(&X)"};
  for (int i = 0; i < 4; ++i) {
    if (fileCaptions[i] == nullptr) {
      fileMenu_->addSeparator();
      continue;
    }
    fItems_[i] = fileMenu_->addAction(ToQ(fileCaptions[i]));
    fItems_[i]->setObjectName(QString("mnuFitem(%1)").arg(i));
    connect(fItems_[i], &QAction::triggered, this, [this, i] { logic_->mnuFItem_Click(i); });
  }
  fItems_[0]->setCheckable(true);
  QMenu* edit = bar->addMenu(ToQ("編集(&E)"));
  edit->setObjectName("mnuE");
  const char* editCaptions[4] = {"切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)", "削除(&D)"};
  const QKeySequence keys[4] = {QKeySequence("Ctrl+X"), QKeySequence("Ctrl+C"), QKeySequence("Ctrl+V"),
                                QKeySequence()};
  for (int i = 0; i < 4; ++i) {
    eItems_[i] = edit->addAction(ToQ(editCaptions[i]));
    eItems_[i]->setObjectName(QString("mnuEItem(%1)").arg(i));
    eItems_[i]->setShortcut(keys[i]);
    connect(eItems_[i], &QAction::triggered, this, [this, i] { logic_->mnuEItem_Click(i); });
  }
  help_ = bar->addAction(ToQ("ﾍﾙﾌﾟ(&H)"));
  help_->setObjectName("mnuHelp");
  connect(help_, &QAction::triggered, this, [this] { logic_->mnuHelp_Click(); });

  view_ = new GridView(sheet_, this);
  view_->setObjectName("UNIT2SHEET");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar);
  layout->addWidget(view_);

  const auto editor = [this] { return dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow)); };
  UnitWindowPort port;
  // Outer rectangles in twips; the frame the window system adds is kept.
  port.Bounds = [this] { return OuterBoundsTwips(*this); };
  port.SetBounds = [this](const WindowRect& r) { SetOuterBoundsTwips(*this, r); };
  port.CenterAt = [this](int widthTw, int heightTw) {
    const QSize extra = frameGeometry().size() - size();
    resize(std::max(Px(widthTw) - extra.width(), 1), std::max(TwipsToPixels(heightTw, logicalDpiY()) - extra.height(), 1));
    CenterForm(*this);
  };
  port.ScreenTwips = [this] { return kv::ScreenTwips(*this); };
  port.State = [this] { return ui_.GetWindowState(kUnitWindow); };
  port.SetState = [this](WindowState s) { ui_.SetWindowState(kUnitWindow, s); };
  port.ChangeItemSet = [this](const std::string& caption, bool checked) {
    fItems_[0]->setText(ToQ(caption));
    fItems_[0]->setChecked(checked);
  };
  port.SaveItemEnable = [this](bool on) { fItems_[1]->setEnabled(on); };
  port.EditItemsEnable = [this](bool on) {
    for (QAction* a : eItems_) a->setEnabled(on);
  };
  port.HiinsatuStateSet = [editor](bool locked) {
    if (EDTSHEET_FRM* e = editor()) e->HiinsatuStateSet(locked);
  };
  port.EditorSheetFocus = [editor] {
    EDTSHEET_FRM* e = editor();
    if (e == nullptr || e->EdtSheetView() == nullptr) return;
    e->activateWindow();
    e->EdtSheetView()->setFocus(Qt::OtherFocusReason);
  };
  port.EditorSheet = [editor]() -> GridModel* {
    EDTSHEET_FRM* e = editor();
    return e != nullptr ? &e->EdtSheet() : nullptr;
  };
  port.Unload = [this] { close(); };
  // Beside the rows: the frame, the menu bar and the grid's own border.
  port.FrameTwips = [this, bar] {
    const int px = (frameGeometry().height() - height()) + bar->sizeHint().height() + 2 * view_->frameWidth();
    return PixelsToTwips(px, logicalDpiY());
  };
  port.scrollBarTwips = Tw(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  logic_ = std::make_unique<UnitList>(st_, sheet_, std::move(port));
}

UNIT2_Frm::~UNIT2_Frm() = default;

int UNIT2_Frm::Tw(int px) const { return PixelsToTwips(px, logicalDpiX()); }
int UNIT2_Frm::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

QAction* UNIT2_Frm::mnuFitem(int index) const { return index >= 0 && index < 4 ? fItems_[index] : nullptr; }
QAction* UNIT2_Frm::mnuEItem(int index) const { return index >= 0 && index < 4 ? eItems_[index] : nullptr; }

void UNIT2_Frm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (loaded_) return;
  // Loaded at its first showing, when the seam knows the window by its name.
  loaded_ = true;
  logic_->Form_Load();
  logic_->Form_Resize();
  view_->setFocus(Qt::OtherFocusReason);
}

void UNIT2_Frm::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  logic_->Form_Resize();
}

void UNIT2_Frm::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) logic_->Form_Resize();
}

void UNIT2_Frm::closeEvent(QCloseEvent* e) {
  if (!logic_->Form_QueryUnload()) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

void RegisterUnitWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kUnitWindow, [&ui, &st]() -> QWidget* { return new UNIT2_Frm(st, ui); });
}

}  // namespace kv
