#include "app/windows/msg_frm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

Msg_Frm::Msg_Frm(ProgramState& st, QWidget* parent) : QWidget(parent), st_(st) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);
  label_ = new QLabel(this);
  label_->setObjectName("Label");
  label_->setFont(KvFont("ＭＳ ゴシック", 11));
  label_->setAlignment(Qt::AlignCenter);
  label_->setMinimumWidth(360);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(label_);
}

void Msg_Frm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (centred_ || e->spontaneous()) return;
  centred_ = true;
  adjustSize();
  CenterForm(*this);
}

void Msg_Frm::closeEvent(QCloseEvent* e) {
  FloatWindowsRaise(st_);
  e->accept();
}

}  // namespace kv
