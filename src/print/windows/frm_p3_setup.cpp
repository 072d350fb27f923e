#include "print/windows/frm_p3_setup.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QToolButton* Arrow(Qt::ArrowType type, const QString& name, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setArrowType(type);
  b->setAutoRepeat(true);
  b->setFixedSize(18, 12);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

frmP3SetUp::frmP3SetUp(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        close();
      }}) {
  setObjectName(ToQ(kPrintDetailWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQ(kPrintDetailTitle));
  for (size_t i = 0; i < label1_.size(); ++i) {
    label1_[i] = new QLabel(this);
    label1_[i]->setObjectName(ControlName("Label1", int(i)));
  }
  // Printer, form and display name.
  auto* head = new QGridLayout;
  for (int row = 0; row < 3; ++row) head->addWidget(label1_[size_t(row)], row, 0);
  head->addWidget(label1_[3], 0, 1);
  head->addWidget(label1_[4], 1, 1);
  text2_ = new QLineEdit(this);
  text2_->setObjectName("Text2");
  head->addWidget(text2_, 2, 1);
  head->setColumnStretch(1, 1);
  connect(text2_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.Text2.text = FromQ(t); });
  BindTextBox(text2_, {[this](KeyTextBox& b) { form_.Text2_GotFocus(b); }, {},
                       [this](const KeyTextBox& b, int k) { form_.Text2_KeyDown(b, k); }, {}, {}, {}});

  // The four numbers: columns above rows on the left, the margins on the right.
  auto* frame1 = new QGroupBox(this);
  frame1->setObjectName("Frame1");
  auto* numbers = new QGridLayout(frame1);
  for (int i = 0; i < 4; ++i) {
    const size_t k = size_t(i);
    label1_[6 + k]->setParent(frame1);
    text1_[k] = new QLineEdit(frame1);
    text1_[k]->setObjectName(ControlName("Text1", i));
    text1_[k]->setMaxLength(kDetailBoxMaxChars);
    text1_[k]->setFixedWidth(text1_[k]->fontMetrics().horizontalAdvance(QString(7, '0')));
    text1_[k]->setAlignment(Qt::AlignRight);
    auto* spin = new QWidget(frame1);
    spin->setObjectName(ControlName("SpinButton1", i));
    auto* arrows = new QVBoxLayout(spin);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    spinUp_[k] = Arrow(Qt::UpArrow, ControlName("SpinUp", i), spin);
    spinDown_[k] = Arrow(Qt::DownArrow, ControlName("SpinDown", i), spin);
    arrows->addWidget(spinUp_[k]);
    arrows->addWidget(spinDown_[k]);
    lblMax_[k] = new QLabel(frame1);
    lblMax_[k]->setObjectName(ControlName("lblMax", i));
    const int row = i % 2, col = (i / 2) * 4;
    numbers->addWidget(label1_[6 + k], row, col);
    numbers->addWidget(text1_[k], row, col + 1);
    numbers->addWidget(spin, row, col + 2);
    numbers->addWidget(lblMax_[k], row, col + 3);
    numbers->setColumnMinimumWidth(col + 3, fontMetrics().horizontalAdvance(Q("（最大 999）")));
    connect(spinUp_[k], &QToolButton::clicked, this, [this, i] {
      form_.SpinButton1_SpinUp(i);
      Sync();
    });
    connect(spinDown_[k], &QToolButton::clicked, this, [this, i] {
      form_.SpinButton1_SpinDown(i);
      Sync();
    });
    connect(text1_[k], &QLineEdit::textEdited, this, [this, k](const QString& t) { form_.Text1[k].text = FromQ(t); });
    BindTextBox(text1_[k], {[this, i](KeyTextBox& b) { form_.Text1_GotFocus(i, b); },
                            [this, i] { form_.Text1_LostFocus(i); },
                            [this, i](const KeyTextBox& b, int key) { form_.Text1_KeyDown(i, b, key); },
                            [this, i](KeyTextBox& b, int& key) { form_.Text1_KeyPress(i, b, key); }, {},
                            [this] {
                              if (!closing_) Sync();
                            }});
  }
  numbers->setColumnMinimumWidth(4, 16);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  const std::pair<const char*, const char*> captions[] = {
      {"cmdOK", "ＯＫ"}, {"cmdCancel", "ｷｬﾝｾﾙ"}, {"cmdTestPrn", "テスト印刷(&T)"}, {"cmdHelp", "ﾍﾙﾌﾟ(&H)"}};
  for (const auto& [name, caption] : captions) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    const std::string n = name;
    if (n == "cmdOK") b->setDefault(true);
    connect(b, &QPushButton::clicked, this, [this, n] {
      if (n == "cmdOK") form_.cmdOK_Click();
      if (n == "cmdCancel") form_.cmdCancel_Click();
      if (n == "cmdTestPrn") form_.cmdTestPrn_Click();
      if (n == "cmdHelp") form_.cmdHelp_Click();
      if (!closing_) Sync();
    });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(frame1);
  layout->addLayout(buttons);

  form_.Form_Load();
  Sync();
}

void frmP3SetUp::Sync() {
  for (size_t i = 0; i < label1_.size(); ++i) ShowLabel(label1_[i], form_.Label1[i]);
  for (size_t i = 0; i < 4; ++i) {
    ShowText(text1_[i], form_.Text1[i]);
    ShowLabel(lblMax_[i], form_.lblMax[i]);
  }
  ShowText(text2_, form_.Text2);
}

void frmP3SetUp::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
  form_.Form_Activate();
}

void frmP3SetUp::closeEvent(QCloseEvent* e) {
  if (!form_.Unloaded()) form_.Form_QueryUnload(kUnloadByCloseBox);
  closing_ = true;
  QDialog::closeEvent(e);
}

void frmP3SetUp::reject() {
  if (closing_ || form_.Unloaded()) {
    QDialog::reject();
    return;
  }
  form_.cmdCancel_Click();
}

}  // namespace kv
