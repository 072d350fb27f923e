#include "editor/toolbars/windows/frm_toolbar2.h"

#include <QCloseEvent>
#include <QLayout>
#include <QSizeGrip>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "core/ini_file.h"
#include "editor/edit_menu.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/toolbar_arrangement.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/toolbars/windows/frm_toolbar_rules.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "platform/registry_store.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "state/program_state.h"

namespace kv {

namespace {

// Lays its widgets out left to right and starts a new row where the next
// one would pass the right edge; hidden widgets take no room.
class WrapLayout : public QLayout {
 public:
  explicit WrapLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
  }
  ~WrapLayout() override {
    while (QLayoutItem* item = WrapLayout::takeAt(0)) delete item;
  }

  void addItem(QLayoutItem* item) override { items_.push_back(item); }
  int count() const override { return int(items_.size()); }
  QLayoutItem* itemAt(int i) const override { return i >= 0 && i < count() ? items_[size_t(i)] : nullptr; }
  QLayoutItem* takeAt(int i) override {
    if (i < 0 || i >= count()) return nullptr;
    QLayoutItem* item = items_[size_t(i)];
    items_.erase(items_.begin() + i);
    return item;
  }
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSize() const override {
    QSize s;
    for (QLayoutItem* item : items_)
      if (!item->isEmpty()) s = s.expandedTo(item->sizeHint());
    return s;
  }
  void setGeometry(const QRect& r) override {
    QLayout::setGeometry(r);
    Arrange(r, true);
  }

 private:
  // The height the rows take in `r`'s width; `place` also moves the widgets.
  int Arrange(const QRect& r, bool place) const {
    int x = r.x();
    int y = r.y();
    int rowHeight = 0;
    for (QLayoutItem* item : items_) {
      if (item->isEmpty()) continue;
      const QSize s = item->sizeHint();
      if (rowHeight > 0 && x + s.width() > r.x() + r.width()) {
        x = r.x();
        y += rowHeight;
        rowHeight = 0;
      }
      if (place) item->setGeometry(QRect(QPoint(x, y), s));
      x += s.width();
      rowHeight = std::max(rowHeight, s.height());
    }
    return y + rowHeight - r.y();
  }

  std::vector<QLayoutItem*> items_;
};

}  // namespace

FrmToolBar2::FrmToolBar2(ProgramState& st, EDTSHEET_FRM& editor, QWidget* parent)
    : CaptionBarWindow(parent), st_(st), editor_(&editor) {
  setObjectName(ToQ(kToolBar2Window));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8("ﾂｰﾙﾊﾞｰ"));
  CaptionBar()->SetCaption(QString::fromUtf8("拡張ﾂｰﾙバー"));
  CaptionBar()->DblClickCaption = [this] { close(); };
  toolbar2_ = new QWidget;
  toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
  toolbar2_->installEventFilter(this);
  wrap_ = new WrapLayout(toolbar2_);
  SetContent(toolbar2_);
  FrmToolBar2Init();
  grip_ = new QSizeGrip(this);
  editor.floatToolbarsRefresh = [&ui = st.ui] { FloatingToolbarsRefresh(ui); };
  setMinimumWidth(ButtonWidth() + ExtraWidth());
  setMaximumWidth(WidthLimit());
  resize(TwipsToPixels(kFloatToolbar2Width, logicalDpiX()),
         TwipsToPixels(kFloatToolbar2Height, logicalDpiY()));
  Form_Resize();
}

FrmToolBar2::~FrmToolBar2() = default;

void FrmToolBar2::FrmToolBar2Init() {
  ToolbarModel& model = editor_->FloatToolbar2Model();
  // Docking back is this window's own command.
  model.SetWired("RTN");
  actions_ = new ToolbarActions(model, this);
  actions_->clicked = [this](const std::string& key) { Toolbar2_ButtonClick(key); };
  std::vector<QFrame*> lines;
  for (QAction* a : actions_->Entries()) {
    if (!a) continue;
    if (a->isSeparator()) {
      auto* line = new QFrame(toolbar2_);
      line->setFrameShape(QFrame::VLine);
      line->setFrameShadow(QFrame::Sunken);
      line->setFixedWidth(8);
      wrap_->addWidget(line);
      lines.push_back(line);
      continue;
    }
    auto* b = new QToolButton(toolbar2_);
    b->setObjectName(a->objectName());
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(16, 16));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setDefaultAction(a);
    wrap_->addWidget(b);
  }
  // One size for every button (the widest and highest), the separators as
  // high as the buttons.
  QSize button;
  const QList<QToolButton*> buttons = toolbar2_->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
  for (QToolButton* b : buttons) button = button.expandedTo(b->sizeHint());
  for (QToolButton* b : buttons) b->setFixedSize(button);
  for (QFrame* line : lines) line->setFixedHeight(button.height());
  Refresh();
}

QToolButton* FrmToolBar2::Button(std::string_view key) const {
  return toolbar2_->findChild<QToolButton*>(ToQ(key), Qt::FindDirectChildrenOnly);
}

int FrmToolBar2::ButtonWidth() const {
  const QToolButton* b = Button("CUT");
  return b ? b->width() : 0;
}

int FrmToolBar2::WidthLimit() const {
  return ButtonWidth() * int(actions_->Entries().size()) + TwipsToPixels(50, logicalDpiX());
}

void FrmToolBar2::Refresh() {
  actions_->Refresh();
  // A tool button follows its action's state but not its visibility.
  for (const ToolButtonState& s : actions_->Model().Buttons())
    if (QToolButton* b = Button(s.key)) b->setVisible(s.visible);
  Form_Resize();
}

void FrmToolBar2::ArrangementRestore() {
  // The stored arrangement of the extended toolbar, applied to this window's
  // model and to the order of its buttons. The layout holds one widget per
  // table entry, in table order, until this first activation.
  ToolbarModel& model = editor_->FloatToolbar2Model();
  kv::ArrangementRestore(RegistryStore(RegistryFolder()), kExtendedArrangement, model);
  std::vector<QWidget*> byEntry;
  while (QLayoutItem* item = wrap_->takeAt(0)) {
    byEntry.push_back(item->widget());
    delete item;
  }
  for (size_t i : ArrangedEntries(model.Table(), ArrangementOf(model)))
    if (i < byEntry.size() && byEntry[i]) wrap_->addWidget(byEntry[i]);
  Refresh();
}

void FrmToolBar2::Form_Activate() {
  if (!firstActivation_ || !editor_) return;
  ArrangementRestore();
  firstActivation_ = false;
  // The floating copy now carries the non-print-row lock the docked button had.
  editor_->HiinsatuStateSet(!editor_->Toolbar2Model().Enabled("HIINSATU"));
}

void FrmToolBar2::Form_Resize() {
  if (resizing_) return;
  resizing_ = true;
  const int width = std::clamp(this->width(), minimumWidth(), WidthLimit());
  const int height = wrap_->heightForWidth(width - ExtraWidth()) + ExtraHeight();
  if (size() != QSize(width, height)) resize(width, height);
  resizing_ = false;
}

void FrmToolBar2::Toolbar2_ButtonClick(const std::string& key) {
  if (st_.CommandBusy || !editor_) return;
  if (key == "RTN") {
    MarkingModesOff(st_);
    close();
    return;
  }
  editor_->Toolbar2_ButtonClick(key, true);
}

bool FrmToolBar2::event(QEvent* e) {
  const bool handled = CaptionBarWindow::event(e);
  if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) Form_Activate();
  return handled;
}

bool FrmToolBar2::eventFilter(QObject* watched, QEvent* e) {
  // A double click on the buttons' area beside the buttons docks back.
  if (watched == toolbar2_ && e->type() == QEvent::MouseButtonDblClick) {
    close();
    return true;
  }
  return CaptionBarWindow::eventFilter(watched, e);
}

void FrmToolBar2::resizeEvent(QResizeEvent* e) {
  CaptionBarWindow::resizeEvent(e);
  Form_Resize();
  if (grip_) {
    const QSize g = grip_->sizeHint();
    grip_->setGeometry(width() - frameWidth() - g.width(), height() - frameWidth() - g.height(), g.width(),
                       g.height());
    grip_->raise();
  }
}

void FrmToolBar2::closeEvent(QCloseEvent* e) {
  Form_QueryUnload();
  e->accept();
}

void FrmToolBar2::Form_QueryUnload() {
  if (docked_) return;
  docked_ = true;
  const QRect r = frameGeometry();
  if (editor_) editor_->Toolbar2()->show();
  hide();
  if (editor_) {
    ToolbarViewItemsEnable(*editor_, st_, true);
    ToolbarRoomChanged(*editor_, st_);
  }
  st_.ToolBar2Floating = false;
  const std::string ini = st_.AppPath + "/KVSSYS.INI";
  const double dpiX = logicalDpiX();
  const double dpiY = logicalDpiY();
  IniPutString("TOOLBAR2", "Left", std::to_string(PixelsToTwips(r.x(), dpiX)), ini);
  IniPutString("TOOLBAR2", "Top", std::to_string(PixelsToTwips(r.y(), dpiY)), ini);
  IniPutString("TOOLBAR2", "Width", std::to_string(PixelsToTwips(r.width(), dpiX)), ini);
  IniPutString("TOOLBAR2", "Height", std::to_string(PixelsToTwips(r.height(), dpiY)), ini);
  if (editor_) {
    // The docked button takes the floating one's non-print-row lock back.
    editor_->HiinsatuStateSet(!actions_->Model().Enabled("HIINSATU"));
    if (!st_.ToolBar1Floating) editor_->floatToolbarsRefresh = nullptr;
    editor_->activateWindow();
    editor_->EdtSheetView()->setFocus();
  }
}

// --- Helpers ---------------------------------------------------------------------

void ToolbarViewItemsEnable(EDTSHEET_FRM& editor, ProgramState& st, bool enabled) {
  EditorMenus* menus = editor.Menus();
  if (!menus) return;
  for (int index : {13, 17})
    if (MenuItem* item = menus->Find("Menu_7Sub", index)) item->enabled = enabled;
  editor.MenusChanged(st);
}

FrmToolBar2* LoadedFrmToolBar2(Ui& ui) {
  auto* qt = dynamic_cast<QtUi*>(&ui);
  return qt ? dynamic_cast<FrmToolBar2*>(qt->LoadedWindow(kToolBar2Window)) : nullptr;
}

FrmToolBar2* LoadFrmToolBar2(Ui& ui) {
  // Setting the caption loads a window that is not loaded, without showing it.
  if (!LoadedFrmToolBar2(ui)) ui.SetWindowText(kToolBar2Window, "", "ﾂｰﾙﾊﾞｰ");
  return LoadedFrmToolBar2(ui);
}

}  // namespace kv
