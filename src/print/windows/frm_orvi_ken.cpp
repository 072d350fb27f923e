#include "print/windows/frm_orvi_ken.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {

frmOrviKen::frmOrviKen(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        accept();
      }}) {
  setObjectName(ToQ(kSpecialPrintWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("特殊印刷の設定"));
  form_.Form_Load();

  auto label = [this](int i) {
    auto* l = new QLabel(ToQ(form_.Label1[size_t(i)].caption), this);
    l->setObjectName(ControlName("Label1", i));
    return l;
  };
  auto* layout = new QVBoxLayout(this);
  QLabel* heading = label(0);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  layout->addWidget(label(1));
  check1_ = new QCheckBox(ToQ(form_.Check1.caption), this);
  check1_->setObjectName("Check1");
  connect(check1_, &QCheckBox::toggled, this, [this](bool on) { form_.Check1.value = on ? 1 : 0; });
  layout->addWidget(check1_);
  layout->addWidget(label(4));
  auto* columns = new QGridLayout;
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  combo2_ = new QComboBox(this);
  combo2_->setObjectName("Combo2");
  columns->addWidget(label(2), 0, 0);
  columns->addWidget(combo1_, 0, 1);
  columns->addWidget(label(3), 1, 0);
  columns->addWidget(combo2_, 1, 1);
  columns->setColumnStretch(1, 1);
  layout->addLayout(columns);
  connect(combo1_, &QComboBox::activated, this, [this](int i) { form_.Combo1.index = i; });
  connect(combo2_, &QComboBox::activated, this, [this](int i) { form_.Combo2.index = i; });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (int i = 0; i < 2; ++i) {
    auto* b = new QPushButton(ToQ(form_.Command1[size_t(i)]), this);
    b->setObjectName(ControlName("Command1", i));
    b->setMinimumWidth(100);
    b->setAutoDefault(false);
    if (i == 0) b->setDefault(true);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] {
      form_.Command1_Click(i);
      if (!closing_) Sync();
    });
  }
  layout->addLayout(buttons);
  Sync();
}

void frmOrviKen::Sync() {
  ShowCheck(check1_, form_.Check1);
  ShowList(combo1_, form_.Combo1);
  ShowList(combo2_, form_.Combo2);
}

void frmOrviKen::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
}

}  // namespace kv
