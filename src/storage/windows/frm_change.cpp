#include "storage/windows/frm_change.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "storage/recover_wizard.h"
#include "storage/recovery_context.h"

namespace kv {

frmChange::frmChange(ProgramState& st, RecoveryContext& ctx, QWidget* parent) : QDialog(parent), st_(st), ctx_(ctx) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("実行中"));

  lblMidasi_ = new QLabel(this);
  lblMidasi_->setObjectName("lblMidasi");
  lblMidasi_->setMinimumWidth(320);
  prgCnt_ = new QProgressBar(this);
  prgCnt_->setObjectName("prgCnt");
  prgCnt_->setRange(0, 100);
  prgCnt_->setValue(0);
  cmdCan_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cmdCan_->setObjectName("cmdCan");
  connect(cmdCan_, &QPushButton::clicked, this, [this] { Cancel(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdCan_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMidasi_);
  layout->addWidget(prgCnt_);
  layout->addLayout(buttons);

  ctx_.ShowStep = [this](const std::string& text) { lblMidasi_->setText(ToQ(text)); };
  ctx_.ShowProgress = [this](int percent) { prgCnt_->setValue(percent); };
}

frmChange::~frmChange() {
  ctx_.ShowStep = {};
  ctx_.ShowProgress = {};
}

void frmChange::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (started_ || e->spontaneous()) return;
  started_ = true;
  adjustSize();
  CenterForm(*this);
  // The run starts once the window is up and its modal loop runs.
  QTimer::singleShot(0, this, [this] { Run(); });
}

void frmChange::Run() {
  running_ = true;
  RecoverProgressRun(st_, ctx_);
  running_ = false;
  close();
}

void frmChange::Cancel() {
  if (!running_) return;
  ctx_.CancelRequested = true;
  cmdCan_->setEnabled(false);
}

void frmChange::closeEvent(QCloseEvent* e) {
  if (running_) {
    // Never closed under a run: the run is asked to stop, and closes the
    // window when it has.
    Cancel();
    e->ignore();
    return;
  }
  e->accept();
}

void frmChange::reject() { Cancel(); }

}  // namespace kv
