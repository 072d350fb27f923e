#include "reference/windows/ref_dm_copy_dialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

RefDMCopy_Frm::RefDMCopy_Frm(ProgramState& st, QWidget* parent) : QDialog(parent), form_(st) {
  setObjectName(ToQ(kRefDMCopyWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(ToQ(kRefDMCopyCaption));
  form_.Form_Load();

  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(ToQ(kRefDMCopyPrompt), this);
  label->setObjectName("Label1");
  layout->addWidget(label);
  auto* frame = new QGroupBox(this);
  frame->setObjectName("Frame1");
  auto* options = new QVBoxLayout(frame);
  for (int i = 0; i < 7; ++i) {
    const RefDMCopyOption& o = form_.DMCopy[static_cast<size_t>(i)];
    auto* b = new QRadioButton(ToQ(o.caption), frame);
    b->setObjectName(QString("DMCopy(%1)").arg(i));
    b->setEnabled(o.enabled);
    b->setChecked(o.value);
    connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) form_.Choose(i);
    });
    options->addWidget(b);
    options_[static_cast<size_t>(i)] = b;
  }
  layout->addWidget(frame);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("Cansel");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    form_.cmdOK_Click();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    form_.Cansel_Click();
    QDialog::reject();
  });
}

void RefDMCopy_Frm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
}

void RefDMCopy_Frm::closeEvent(QCloseEvent* e) {
  form_.Form_QueryUnload();
  QDialog::closeEvent(e);
}

void RefDMCopy_Frm::reject() {
  form_.Form_QueryUnload();
  QDialog::reject();
}

}  // namespace kv
