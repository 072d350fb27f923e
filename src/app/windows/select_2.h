#pragma once
// Select_2: a modal question with three buttons whose caption, label and button
// texts the caller sets (SetWindowText "", "S_Label", "S_Button(0..2)").
// `Select2Result`: the index of the button chosen; Esc and the title bar's
// close answer 1.
#include "app/windows/choice_dialog.h"

namespace kv {

class Select_2 : public ChoiceDialog {
 public:
  explicit Select_2(ProgramState& st, QWidget* parent = nullptr);
};

}  // namespace kv
