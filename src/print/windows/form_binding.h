#pragma once
// Showing the print dialogs' form values on Qt widgets, and the text boxes'
// focus and key events handed to the form classes. A widget is named after
// its control ("TextHani(0)", "cmndPrint"), so the seam finds it by name.
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "core/key_filters.h"
#include "print/form_controls.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace kv {

// The control name with its index: "Option2(3)".
QString ControlName(std::string_view name, int index);

void ShowControl(QWidget* w, const FormControl& c);
void ShowText(QLineEdit* edit, const FormText& text);
void ShowList(QComboBox* box, const FormList& list);
void ShowCheck(QAbstractButton* button, const FormCheck& check);
void ShowLabel(QWidget* w, const FormLabel& label);

// The handlers of one text box of a form.
struct TextBoxHandlers {
  std::function<void(KeyTextBox&)> gotFocus;             // may change the selection
  std::function<void()> lostFocus;
  std::function<void(const KeyTextBox&, int)> keyDown;  // key code
  std::function<void(KeyTextBox&, int&)> keyPress;      // typed character; 0 swallows it
  std::function<void(const std::string&)> edited;       // the text the user changed
  std::function<void()> changed;                        // after a handler: the window shows the form
};

// Hands the box's focus, key and edit events to `handlers`; the binding is
// owned by the box.
void BindTextBox(QLineEdit* edit, TextBoxHandlers handlers);

// Moves the focus to the named control of `window` and clears the request.
void FocusRequested(QWidget* window, std::string& focus);

}  // namespace kv
