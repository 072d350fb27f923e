#include "app/windows/z_input_box.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

Z_InputBox::Z_InputBox(ProgramState& st, QWidget* parent) : QDialog(parent), st_(st) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);

  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  label_->setWordWrap(true);
  text_ = new QLineEdit(this);
  text_->setObjectName("Text1");
  text_->setMinimumWidth(320);
  text_->installEventFilter(this);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Command1(0)");
  ok_->setDefault(true);
  cancel_ = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
  cancel_->setObjectName("Command1(1)");
  connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(label_);
  left->addStretch();
  left->addWidget(text_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
}

void Z_InputBox::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  // Every showing takes the caller's values afresh and starts unanswered.
  st_.InputOk = false;
  label_->setText(ToQ(st_.InputPrompt));
  setWindowTitle(ToQ(st_.InputTitle));
  text_->setMaxLength(st_.InputMaxLen > 0 ? st_.InputMaxLen : 32767);
  text_->setText(ToQ(st_.InputText));
  // The caller's input-method mode: 1 Japanese input on (no restriction),
  // 2 off (Latin preferred: a desktop can be hinted, not forced), 0 as the
  // box was.
  if (st_.InputImeMode == 1) {
    text_->setAttribute(Qt::WA_InputMethodEnabled, true);
    text_->setInputMethodHints(Qt::ImhNone);
  } else if (st_.InputImeMode == 2) {
    text_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
  }
  if (!centred_) {
    centred_ = true;
    adjustSize();
    CenterForm(*this);
  }
  text_->setFocus();
  text_->selectAll();
}

bool Z_InputBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == text_ && e->type() == QEvent::FocusIn) text_->selectAll();
  return QDialog::eventFilter(watched, e);
}

void Z_InputBox::Ok() {
  st_.InputOk = true;
  st_.InputText = FromQ(text_->text());
  hide();
}

void Z_InputBox::reject() {
  st_.InputOk = false;
  hide();
}

void Z_InputBox::closeEvent(QCloseEvent* e) {
  // The title bar's close, or the caller's unload: no answer, the caller's
  // text stays.
  FloatWindowsRaiseShown(st_);
  // Closing unloads it. Not set before: a modal run would end it on OK too,
  // and the caller unloads it itself.
  setAttribute(Qt::WA_DeleteOnClose);
  e->accept();
}

}  // namespace kv
