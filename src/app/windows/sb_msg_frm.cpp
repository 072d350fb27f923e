#include "app/windows/sb_msg_frm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

SB_MsgFrm::SB_MsgFrm(ProgramState& st, QWidget* parent) : QWidget(parent), st_(st) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  for (int i = 0; i < 2; ++i) {
    labels_[i] = new QLabel(this);
    labels_[i]->setObjectName(QString("Label1(%1)").arg(i));
    labels_[i]->setAlignment(Qt::AlignCenter);
    labels_[i]->setMinimumWidth(320);
    layout->addWidget(labels_[i]);
  }
  st_.SbMsgShown = true;
}

void SB_MsgFrm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (centred_ || e->spontaneous()) return;
  centred_ = true;
  adjustSize();
  CenterForm(*this);
}

void SB_MsgFrm::closeEvent(QCloseEvent* e) {
  st_.SbMsgShown = false;
  e->accept();
}

}  // namespace kv
