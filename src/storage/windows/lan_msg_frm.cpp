#include "storage/windows/lan_msg_frm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"
#include "storage/lan_lock.h"

namespace kv {

LAN_Msg_frm::LAN_Msg_frm(ProgramState& st, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName(ToQ(kLanMsgWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QString::fromUtf8("ファイルは使用中です．．．"));

  const LanMsgLines text = LanMsgText(st_.LanMsgFileName);
  const std::string lines[4] = {text.line1, text.line2, text.line3, text.line4};
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 4; ++i) {
    labels_[i] = new QLabel(ToQ(lines[i]), this);
    labels_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    layout->addWidget(labels_[i]);
  }
  auto* row = new QHBoxLayout;
  const char* captions[2] = {"は  い(&Y)", "強制編集(&K)"};
  for (int i = 0; i < 2; ++i) {
    buttons_[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
    buttons_[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
    connect(buttons_[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    row->addWidget(buttons_[i]);
  }
  buttons_[0]->setDefault(true);
  layout->addLayout(row);

  // Closed any other way than by a button, the user has given up.
  st_.LanMsgAnswer = kLanAnswerGiveUp;
}

QLabel* LAN_Msg_frm::Label(int i) const { return i >= 1 && i <= 4 ? labels_[i - 1] : nullptr; }

QPushButton* LAN_Msg_frm::Command1(int index) const {
  return index == 0 || index == 1 ? buttons_[index] : nullptr;
}

void LAN_Msg_frm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_ || e->spontaneous()) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
  buttons_[0]->setFocus();
}

void LAN_Msg_frm::reject() { Command1_Click(kLanAnswerGiveUp); }

void LAN_Msg_frm::Command1_Click(int index) {
  if (chosen_) return;
  chosen_ = true;
  st_.LanMsgAnswer = index;
  done(index == kLanAnswerForce ? QDialog::Accepted : QDialog::Rejected);
  close();
}

void RegisterLanMsgFrm(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kLanMsgWindow, [&st] { return new LAN_Msg_frm(st); });
}

}  // namespace kv
