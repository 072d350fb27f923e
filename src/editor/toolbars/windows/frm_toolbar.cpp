#include "editor/toolbars/windows/frm_toolbar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLayout>
#include <QSignalBlocker>
#include <QToolBar>
#include <algorithm>

#include "editor/edit_menu.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/toolbar_tables.h"
#include "editor/toolbars/windows/frm_toolbar2.h"
#include "editor/toolbars/windows/frm_toolbar_rules.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

// Gives every program-made selection of a combo to `handler`, as a user's
// choice is; a selection that keeps the index raises nothing.
void OnChoice(QComboBox* combo, QObject* owner, std::function<void()> handler) {
  QObject::connect(combo, &QComboBox::currentIndexChanged, owner, [h = std::move(handler)](int) { h(); });
}

// Every item of a combo, as display text.
std::vector<std::string> ComboItems(const QComboBox& combo) {
  std::vector<std::string> out;
  for (int i = 0; i < combo.count(); ++i) out.push_back(FromQ(combo.itemText(i)));
  return out;
}

}  // namespace

frmToolBar::frmToolBar(ProgramState& st, EDTSHEET_FRM& editor, QWidget* parent)
    : CaptionBarWindow(parent), st_(st), editor_(&editor) {
  setObjectName(ToQ(kToolBar1Window));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8("基本ﾂｰﾙﾊﾞｰ"));
  CaptionBar()->SetCaption(windowTitle());
  CaptionBar()->DblClickCaption = [this] { close(); };
  CaptionBar()->Move = [this] { vsInForm1_Move(); };
  // The toolbar keeps the length of its one row inside a holder that may be
  // a little narrower (the trailing separator): a toolbar squeezed below its
  // length would move the paper combo into its overflow menu.
  holder_ = new QWidget;
  SetContent(holder_);
  FrmToolBarInit();
  editor.floatToolbarsRefresh = [&ui = st.ui] { FloatingToolbarsRefresh(ui); };
  Form_Resize();
}

frmToolBar::~frmToolBar() = default;

int frmToolBar::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

void frmToolBar::FrmToolBarInit() {
  toolbar1_ = new QToolBar(QStringLiteral("Toolbar1"), holder_);
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setMovable(false);
  toolbar1_->setFloatable(false);
  toolbar1_->setIconSize(QSize(16, 16));
  cmbZoom_ = new QComboBox(toolbar1_);
  cmbZoom_->setObjectName(QStringLiteral("cmbZoom"));
  cmbYosi_ = new QComboBox(toolbar1_);
  cmbYosi_->setObjectName(QStringLiteral("cmbYosi"));

  ToolbarModel& model = editor_->FloatToolbar1Model();
  // Docking back is this window's own command.
  model.SetWired("RTN");
  actions_ = new ToolbarActions(model, this);
  actions_->clicked = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
  actions_->AddTo(toolbar1_, [this](std::string_view key) -> QWidget* {
    const ToolButtonDef* d = FindToolButton(BasicToolbarTable(), key);
    QComboBox* combo = key == "ZOOM" ? cmbZoom_ : key == "YOSI" ? cmbYosi_ : nullptr;
    if (combo && d) combo->setFixedWidth(Px(d->widthTw));
    return combo;
  });
  toolbar1_->installEventFilter(this);

  OnChoice(cmbZoom_, this, [this] { cmbZoom_Click(); });
  OnChoice(cmbYosi_, this, [this] { cmbYosi_Click(); });
  // The paper list as the editor's combo shows it.
  if (editor_) FillPaperCombo(ComboItems(*editor_->cmbYosi()), editor_->cmbYosi()->currentIndex());
  {
    const QSignalBlocker quiet(cmbZoom_);
    cmbZoom_->clear();
    for (const std::string& item : ZoomListItems()) cmbZoom_->addItem(ToQ(item));
    cmbZoom_->setCurrentIndex(-1);
  }
  // Wider than its placeholder when " 200%" would not fit in it.
  cmbZoom_->setFixedWidth(std::max(cmbZoom_->width(), cmbZoom_->sizeHint().width()));
  // The listed zoom nearest the stored one; the selection applies it.
  cmbZoom_->setCurrentIndex(ZoomListIndex(st_.KVZoom));
  actions_->Refresh();
}

void frmToolBar::ZoomSelect(int index) {
  if (cmbZoom_->currentIndex() != index) cmbZoom_->setCurrentIndex(index);
}

void frmToolBar::PaperSelect(int index) {
  if (cmbYosi_->currentIndex() != index) cmbYosi_->setCurrentIndex(index);
}

void frmToolBar::FillPaperCombo(const std::vector<std::string>& captions, int selected) {
  const QSignalBlocker quiet(cmbYosi_);
  cmbYosi_->clear();
  for (const std::string& c : captions) cmbYosi_->addItem(ToQ(c));
  cmbYosi_->setCurrentIndex(selected >= 0 && selected < cmbYosi_->count() ? selected : -1);
}

void frmToolBar::Form_Activate() {
  cmbZoom_->raise();
  cmbYosi_->raise();
  const char* key = st_.AutoDownFlag == 1 ? "UNDER" : st_.AutoDownFlag == 2 ? "RIGHT" : "NOT";
  actions_->Model().Press(key);
  actions_->Refresh();
}

void frmToolBar::Form_Resize() {
  // The toolbar at the length of its one row; its layout places the combos
  // now, whether the window is shown or not.
  const QSize row = toolbar1_->sizeHint();
  toolbar1_->setGeometry(0, 0, row.width(), row.height());
  if (QLayout* l = toolbar1_->layout()) l->setGeometry(toolbar1_->rect());
  const int comboRight = holder_->x() + toolbar1_->x() + cmbYosi_->geometry().right() + 1;
  setFixedSize(comboRight + Px(100), row.height() + ExtraHeight());
  PlaceParts();
  cmbZoom_->raise();
  cmbYosi_->raise();
}

void frmToolBar::Toolbar1_ButtonClick(const std::string& key) {
  if (st_.CommandBusy || !editor_) return;
  if (key == "RTN") {
    MarkingModesOff(st_);
    close();
    return;
  }
  editor_->Toolbar1_ButtonClick(key, true);
  // The docked group shows the same mode when the toolbar docks back.
  if (key == "UNDER" || key == "RIGHT" || key == "NOT") {
    editor_->Toolbar1Model().Press(key);
    editor_->ToolbarsRefresh();
  }
}

void frmToolBar::cmbZoom_Click() {
  if (st_.CommandBusy) return;
  const int index = cmbZoom_->currentIndex();
  if (index < 0) return;
  st_.KVZoom = ZoomOfItem(FromQ(cmbZoom_->currentText()));
  if (editor_) {
    // The docked combo's own handler runs for the same item.
    QComboBox* docked = editor_->cmbZoom();
    if (docked->currentIndex() != index) docked->setCurrentIndex(index);
    SetZoom32(editor_->EdtSheet(), st_.KVZoom);
  }
  MarkingModesOff(st_);
  if (editor_ && editor_->EdtSheetView()->isVisible()) editor_->EdtSheetView()->setFocus();
}

void frmToolBar::cmbYosi_Click() {
  if (st_.CommandBusy) return;
  if (paperChosen) paperChosen(cmbYosi_->currentIndex());
}

void frmToolBar::vsInForm1_Move() {
  if (!editor_) return;
  const double dpiY = logicalDpiY();
  const int top = PixelsToTwips(frameGeometry().y(), dpiY);
  const int editorTop = PixelsToTwips(editor_->frameGeometry().y(), dpiY);
  const int gridTop = PixelsToTwips(editor_->EdtSheetView()->mapToGlobal(QPoint(0, 0)).y(), dpiY);
  if (InDockStrip(top, editorTop, gridTop)) close();
}

void frmToolBar::Refresh() { actions_->Refresh(); }

bool frmToolBar::event(QEvent* e) {
  const bool handled = CaptionBarWindow::event(e);
  if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) Form_Activate();
  return handled;
}

bool frmToolBar::eventFilter(QObject* watched, QEvent* e) {
  if (watched == toolbar1_ && e->type() == QEvent::MouseButtonDblClick) {
    close();
    return true;
  }
  return CaptionBarWindow::eventFilter(watched, e);
}

void frmToolBar::closeEvent(QCloseEvent* e) {
  Form_QueryUnload();
  e->accept();
}

void frmToolBar::Form_QueryUnload() {
  if (docked_) return;
  docked_ = true;
  if (editor_) editor_->Toolbar1()->show();
  hide();
  if (editor_) ToolbarRoomChanged(*editor_, st_);
  st_.ToolBar1Floating = false;
  if (editor_) {
    if (!st_.ToolBar2Floating) editor_->floatToolbarsRefresh = nullptr;
    editor_->activateWindow();
    editor_->EdtSheetView()->setFocus();
  }
}

// --- Finding and registering the floating toolbars ---------------------------------

frmToolBar* LoadedFrmToolBar(Ui& ui) {
  auto* qt = dynamic_cast<QtUi*>(&ui);
  return qt ? dynamic_cast<frmToolBar*>(qt->LoadedWindow(kToolBar1Window)) : nullptr;
}

frmToolBar* LoadFrmToolBar(Ui& ui) {
  // Setting the caption loads a window that is not loaded, without showing it.
  if (!LoadedFrmToolBar(ui)) ui.SetWindowText(kToolBar1Window, "", "基本ﾂｰﾙﾊﾞｰ");
  return LoadedFrmToolBar(ui);
}

void FloatingZoomSelect(Ui& ui, int index) {
  if (frmToolBar* w = LoadedFrmToolBar(ui)) w->ZoomSelect(index);
}

void FloatingPaperSelect(Ui& ui, int index) {
  if (frmToolBar* w = LoadedFrmToolBar(ui)) w->PaperSelect(index);
}

void FloatingPaperComboFill(Ui& ui, const std::vector<std::string>& captions, int selected) {
  if (frmToolBar* w = LoadedFrmToolBar(ui)) w->FillPaperCombo(captions, selected);
}

void RegisterFloatingToolbars(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kToolBar1Window, [&ui, &st]() -> QWidget* {
    auto* editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    if (!editor) return nullptr;
    auto* w = new frmToolBar(st, *editor);
    // A paper chosen here is the editor's paper change: selecting the docked
    // combo's item runs its handler, which brings this combo along.
    w->paperChosen = [editor](int index) {
      QComboBox* docked = editor->cmbYosi();
      if (index >= 0 && index < docked->count() && docked->currentIndex() != index) docked->setCurrentIndex(index);
    };
    return w;
  });
  ui.RegisterWindow(kToolBar2Window, [&ui, &st]() -> QWidget* {
    auto* editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    return editor ? new FrmToolBar2(st, *editor) : nullptr;
  });
}

void FloatingToolbarsRefresh(Ui& ui) {
  if (frmToolBar* w = LoadedFrmToolBar(ui)) w->Refresh();
  if (FrmToolBar2* w = LoadedFrmToolBar2(ui)) w->Refresh();
}

void ToolbarRoomChanged(EDTSHEET_FRM& editor, ProgramState& st) {
  if (QLayout* l = editor.layout()) l->activate();
  editor.Form_Resize(st);
}

}  // namespace kv
