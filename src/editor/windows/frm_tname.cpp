#include "editor/windows/frm_tname.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "core/window_services.h"
#include "editor/editor_geometry.h"
#include "editor/total_names.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

frmTName::frmTName(ProgramState& st, GridModel* editorSheet, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName(kTotalNamesWindow);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

  auto* bar = new QMenuBar(this);
  QMenu* menu = bar->addMenu(QString::fromUtf8("処理(&S)"));
  menu->setObjectName("mnuS");
  const char* captions[4] = {"保存(&S)", "中止(&C)", nullptr, "終了(&X)"};
  for (int i = 0; i < 4; ++i) {
    if (captions[i] == nullptr) {
      menu->addSeparator();
      continue;
    }
    items_[i] = menu->addAction(QString::fromUtf8(captions[i]));
    items_[i]->setObjectName(QString("mnuSItem(%1)").arg(i));
    connect(items_[i], &QAction::triggered, this, [this, i] { logic_->mnuSItem_Click(i); });
  }

  view_ = new GridView(sheet_, this);
  view_->setObjectName("TotalSheet");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar);
  layout->addWidget(view_);

  TotalNamesPort port;
  port.SetCaption = [this](const std::string& caption) { setWindowTitle(ToQ(caption)); };
  port.MenuEnable = [this](bool on) {
    items_[0]->setEnabled(on);
    items_[1]->setEnabled(on);
  };
  port.Unload = [this] { close(); };
  logic_ = std::make_unique<TotalNames>(st_, sheet_, editorSheet, std::move(port));
  logic_->Form_Load();
  HoldHeight();
}

frmTName::~frmTName() = default;

QAction* frmTName::MenuItem(int index) const { return index >= 0 && index < 4 ? items_[index] : nullptr; }

void frmTName::HoldHeight() {
  // Any other height is set back: the window is exactly the grid plus its frame.
  const int twips = logic_->GridHeightTwips() + TotalNames::kFrameTwips;
  setFixedHeight(TwipsToPixels(twips, logicalDpiY()));
}

void frmTName::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  // As wide as the level's columns, within the screen: every name is then in
  // view without scrolling where the screen allows it.
  int columns = sheet_.HeaderWidth();
  for (int c = 1; c <= sheet_.ColCount(); ++c) columns += sheet_.Scaled(sheet_.ColWidth(c));
  const int frame = width() - view_->viewport()->width();
  int wanted = columns + std::max(frame, 0) + 2;
  if (const QScreen* screen = this->screen()) wanted = std::min(wanted, screen->availableGeometry().width() * 9 / 10);
  if (wanted > width()) resize(wanted, height());
  CenterForm(*this);
  SetTopMost(*this, true);
  view_->setFocus(Qt::OtherFocusReason);
}

void frmTName::closeEvent(QCloseEvent* e) {
  logic_->Form_Unload();
  QDialog::closeEvent(e);
}

void RegisterTotalNamesWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kTotalNamesWindow, [&ui, &st]() -> QWidget* {
    auto* editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    return new frmTName(st, editor != nullptr ? &editor->EdtSheet() : nullptr);
  });
}

}  // namespace kv
