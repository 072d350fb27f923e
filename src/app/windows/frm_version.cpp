#include "app/windows/frm_version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/version_text.h"
#include "platform/qt/window_helpers.h"

namespace kv {

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {
  setObjectName("frmVersion");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報"));
  version_ = new QLabel(ToQ(ProgramVersionLine()), this);
  version_->setObjectName("lblVersion");
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Command1");
  ok_->setDefault(true);
  ok_->setMinimumWidth(90);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->addWidget(version_);
  layout->addSpacing(16);
  layout->addLayout(row);
}

void frmVersion::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterForm(*this);
}

}  // namespace kv
