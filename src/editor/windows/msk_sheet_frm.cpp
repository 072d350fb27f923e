#include "editor/windows/msk_sheet_frm.h"

#include <QAction>
#include <QMenuBar>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "editor/editor_geometry.h"
#include "editor/mask_setup.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {
namespace {

constexpr int kHeldHeightTwips = 1675;

}  // namespace

MskSheet_Frm::MskSheet_Frm(ProgramState& st, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName(kMaskWindow);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(ToQ("マスク設定画面"));

  auto* bar = new QMenuBar(this);
  const auto add = [this, bar](QAction*& action, const char* name, const char* caption) {
    action = bar->addAction(ToQ(caption));
    action->setObjectName(name);
  };
  add(rec_, "MaskRec", "登録(&S)");
  add(cancel_, "MaskCancel", "中止(&C)");
  add(open_, "MaskOpen", "ﾏｽｸ開放(&F)");
  add(help_, "MaskHelp", "ﾍﾙﾌﾟ(&H)");
  connect(rec_, &QAction::triggered, this, [this] { MaskRec_Click(); });
  connect(cancel_, &QAction::triggered, this, [this] { close(); });
  connect(open_, &QAction::triggered, this, [this] { MaskOpen_Click(st_, grid_); });
  connect(help_, &QAction::triggered, this, [this] { MaskHelp_Click(st_); });

  view_ = new GridView(grid_, this);
  view_->setObjectName("MskSheet");
  grid_.events.KeyDown2 = [this](int& key, bool, bool) { MskSheetKeyDown(st_, grid_, key); };
  grid_.events.LButtonDown = [this](int col, int row, bool& ignore) {
    MskSheetLButtonDown(st_, grid_, col, row, ignore);
  };
  grid_.events.RButtonDown = [](int, int, bool& ignore) { ignore = true; };

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar);
  layout->addWidget(view_);

  st_.ui.SetBusyPointer(true);
  setWindowTitle(ToQ(MskSheetCaption(st_)));
  MskSheetLoad(st_, grid_);
  st_.ui.SetBusyPointer(false);
  setFixedHeight(HeldHeight());
  resize(std::max(width(), TwipsToPixels(9000, logicalDpiX())), HeldHeight());
}

int MskSheet_Frm::HeldHeight() const { return TwipsToPixels(kHeldHeightTwips, logicalDpiY()); }

void MskSheet_Frm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  CenterForm(*this);
  // The floating windows step out of the topmost band so that this one shows above them.
  FloatWindowsNoTopMost(st_);
  SetTopMost(*this, true);
  view_->setFocus();
}

void MskSheet_Frm::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (e->size().height() != HeldHeight()) resize(e->size().width(), HeldHeight());
}

void MskSheet_Frm::MaskRec_Click() {
  const MaskRecOutcome out = kv::MaskRec_Click(st_, grid_);
  if (!out.caption.empty()) setWindowTitle(ToQ(out.caption));
  if (!out.unload) return;
  close();  // the editor gives its sheet the focus back when this window has closed
}

void RegisterMaskWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kMaskWindow, [&st] { return new MskSheet_Frm(st); });
}

}  // namespace kv
