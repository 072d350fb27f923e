#include "storage/windows/frm_recover.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"

namespace kv {

frmRecover::frmRecover(ProgramState& st, RecoveryContext& ctx, QWidget* parent)
    : QDialog(parent), wizard_(st, ctx) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
  setWindowTitle(ToQ(wizard_.View().caption));

  SSFrame1_ = new QGroupBox(this);
  SSFrame1_->setObjectName("SSFrame1");
  SSFrame1_->setFont(KvFont("ＭＳ Ｐゴシック", 9));
  lblMessage_ = new QLabel(SSFrame1_);
  lblMessage_->setObjectName("lblMessage");
  lblMessage_->setWordWrap(true);
  lblMessage_->setMinimumSize(440, 120);
  lblMessage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblFMidasi_ = new QLabel(SSFrame1_);
  lblFMidasi_->setObjectName("lblFMidasi");
  lblFName_ = new QLabel(SSFrame1_);
  lblFName_->setObjectName("lblFName");
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(lblFMidasi_);
  nameRow->addWidget(lblFName_, 1);
  auto* frameLayout = new QVBoxLayout(SSFrame1_);
  frameLayout->addWidget(lblMessage_);
  frameLayout->addLayout(nameRow);
  for (int i = 1; i <= 3; ++i) {
    auto* opt = new QRadioButton(SSFrame1_);
    opt->setObjectName(QString("optFile%1").arg(i));
    connect(opt, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) wizard_.optFile_Click(i);
    });
    frameLayout->addWidget(opt);
    optFile_[static_cast<size_t>(i - 1)] = opt;
  }
  frameLayout->addStretch(1);

  cmdBack_ = new QPushButton(QString::fromUtf8("< 戻る(&B)"), this);
  cmdBack_->setObjectName("cmdBack");
  cmdNext_ = new QPushButton(this);
  cmdNext_->setObjectName("cmdNext");
  cmdNext_->setDefault(true);
  cmdEnd_ = new QPushButton(QString::fromUtf8("終了(&X)"), this);
  cmdEnd_->setObjectName("cmdEnd");
  connect(cmdBack_, &QPushButton::clicked, this, [this] {
    wizard_.cmdBack_Click();
    AfterClick();
  });
  connect(cmdNext_, &QPushButton::clicked, this, [this] {
    wizard_.cmdNext_Click();
    AfterClick();
  });
  connect(cmdEnd_, &QPushButton::clicked, this, [this] { close(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdBack_);
  buttons->addWidget(cmdNext_);
  buttons->addSpacing(16);
  buttons->addWidget(cmdEnd_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSFrame1_, 1);
  layout->addLayout(buttons);
  Redraw();
}

int frmRecover::exec() {
  if (!wizard_.Form_Load()) {
    close();
    return Rejected;
  }
  Redraw();
  adjustSize();
  CenterForm(*this);
  return QDialog::exec();
}

void frmRecover::Redraw() {
  const RecoverWizardView& v = wizard_.View();
  setWindowTitle(ToQ(v.caption));
  lblMessage_->setText(ToQ(v.lblMessage));
  lblFMidasi_->setText(ToQ(v.lblFMidasi));
  lblFMidasi_->setVisible(v.lblFMidasiVisible);
  lblFName_->setText(ToQ(v.lblFName));
  lblFName_->setVisible(v.lblFNameVisible);
  for (size_t i = 0; i < optFile_.size(); ++i) {
    optFile_[i]->setText(ToQ(v.optFileCaption[i]));
    optFile_[i]->setVisible(v.optFileVisible[i]);
  }
  const int chosen = wizard_.Chosen();
  if (chosen >= 1 && chosen <= 3) optFile_[static_cast<size_t>(chosen - 1)]->setChecked(true);
  cmdBack_->setVisible(v.cmdBackVisible);
  cmdNext_->setVisible(v.cmdNextVisible);
  cmdNext_->setText(ToQ(v.cmdNextCaption));
}

void frmRecover::AfterClick() {
  Redraw();
  if (wizard_.Ended()) close();
}

void frmRecover::closeEvent(QCloseEvent* e) {
  wizard_.cmdEnd_Click();
  e->accept();
}

void frmRecover::reject() { close(); }

}  // namespace kv
