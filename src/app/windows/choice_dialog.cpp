#include "app/windows/choice_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

ChoiceDialog::ChoiceDialog(ProgramState& st, const QString& caption, const QString& label,
                           const QStringList& buttons, bool pointerToNormal, QWidget* parent)
    : QDialog(parent), st_(st), pointerToNormal_(pointerToNormal) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  setWindowTitle(caption);

  label_ = new QLabel(label, this);
  label_->setObjectName("S_Label");
  auto* row = new QHBoxLayout;
  for (int i = 0; i < buttons.size(); ++i) {
    auto* b = new QPushButton(buttons[i], this);
    b->setObjectName(QString("S_Button(%1)").arg(i));
    connect(b, &QPushButton::clicked, this, [this, i] { Choose(i); });
    row->addWidget(b);
    buttons_.push_back(b);
  }
  buttons_.front()->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(row);

  // Until a button is chosen the answer is the cancel choice, never the answer
  // a previous question left behind.
  st_.Select2Result = kCancelIndex;
}

QPushButton* ChoiceDialog::S_Button(int index) const {
  return index >= 0 && index < buttons_.size() ? buttons_[index] : nullptr;
}

void ChoiceDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstActivation_ || e->spontaneous()) return;
  firstActivation_ = false;
  adjustSize();
  CenterForm(*this);
  buttons_.front()->setFocus();
  if (pointerToNormal_) st_.ui.SetBusyPointer(false);
}

void ChoiceDialog::closeEvent(QCloseEvent* e) {
  if (!chosen_) st_.Select2Result = kCancelIndex;  // closed by the title bar
  FloatWindowsRaise(st_);
  e->accept();
}

void ChoiceDialog::reject() { Choose(kCancelIndex); }

void ChoiceDialog::Choose(int index) {
  if (chosen_) return;
  st_.Select2Result = index;
  chosen_ = true;
  close();
}

}  // namespace kv
