#include "print/windows/form_binding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include "platform/qt/window_helpers.h"

namespace kv {
namespace {

// UTF-16 position of character `chars` of a text.
int UnitsOf(const QString& s, int chars) {
  int units = 0;
  for (int c = 0; c < chars && units < s.size(); ++c) units += s.at(units).isHighSurrogate() ? 2 : 1;
  return units;
}

void Select(QLineEdit* edit, const KeyTextBox& box) {
  const QString text = edit->text();
  const int start = UnitsOf(text, box.selStart);
  const int end = UnitsOf(text, box.selStart + box.selLength);
  if (end > start)
    edit->setSelection(start, end - start);
  else
    edit->setCursorPosition(start);
}

class TextBoxBinding : public QObject {
 public:
  TextBoxBinding(QLineEdit* edit, TextBoxHandlers h) : QObject(edit), edit_(edit), h_(std::move(h)) {
    edit->installEventFilter(this);
    QObject::connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
      if (h_.edited) h_.edited(FromQ(text));
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != edit_) return false;
    switch (e->type()) {
      case QEvent::FocusIn:
        if (h_.gotFocus) {
          KeyTextBox box = TextBoxOf(*edit_);
          h_.gotFocus(box);
          // The selection is set once the click that gave the focus is done.
          QMetaObject::invokeMethod(this, [this, box] { Select(edit_, box); }, Qt::QueuedConnection);
        }
        return false;
      case QEvent::FocusOut:
        // A box left for another window (a message box) is not left.
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::ActiveWindowFocusReason ||
            static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason)
          return false;
        if (h_.lostFocus) h_.lostFocus();
        if (h_.changed) h_.changed();
        return false;
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(e);
        if (h_.keyDown) h_.keyDown(TextBoxOf(*edit_), key->key());
        const QString text = key->text();
        if (h_.keyPress && !text.isEmpty() && text.at(0).unicode() >= 32) {
          KeyTextBox box = TextBoxOf(*edit_);
          int code = static_cast<int>(text.at(0).unicode());
          h_.keyPress(box, code);
          if (code == 0) return true;
          Select(edit_, box);
        }
        return false;
      }
      default:
        return false;
    }
  }

 private:
  QLineEdit* edit_;
  TextBoxHandlers h_;
};

}  // namespace

QString ControlName(std::string_view name, int index) { return QString("%1(%2)").arg(ToQ(name)).arg(index); }

void ShowControl(QWidget* w, const FormControl& c) {
  w->setEnabled(c.enabled);
  // A window not shown yet shows its children with it.
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void ShowText(QLineEdit* edit, const FormText& text) {
  ShowControl(edit, text);
  if (FromQ(edit->text()) == text.text) return;
  QSignalBlocker block(edit);
  edit->setText(ToQ(text.text));
}

void ShowList(QComboBox* box, const FormList& list) {
  ShowControl(box, list);
  QSignalBlocker block(box);
  bool same = box->count() == static_cast<int>(list.items.size());
  for (int i = 0; same && i < box->count(); ++i) same = FromQ(box->itemText(i)) == list.items[static_cast<size_t>(i)];
  if (!same) {
    box->clear();
    for (const std::string& item : list.items) box->addItem(ToQ(item));
  }
  box->setCurrentIndex(list.index);
}

void ShowCheck(QAbstractButton* button, const FormCheck& check) {
  ShowControl(button, check);
  button->setText(ToQ(check.caption));
  QSignalBlocker block(button);
  button->setChecked(check.value == 1);
}

void ShowLabel(QWidget* w, const FormLabel& label) {
  ShowControl(w, label);
  if (auto* l = qobject_cast<QLabel*>(w)) l->setText(ToQ(label.caption));
}

void BindTextBox(QLineEdit* edit, TextBoxHandlers handlers) { new TextBoxBinding(edit, std::move(handlers)); }

void FocusRequested(QWidget* window, std::string& focus) {
  if (focus.empty()) return;
  if (auto* w = window->findChild<QWidget*>(ToQ(focus))) w->setFocus(Qt::OtherFocusReason);
  focus.clear();
}

}  // namespace kv
