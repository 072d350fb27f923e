#pragma once
// Select_1: the modal yes/no question whether to record the sheet.
// `Select2Result`: 0 はい, 1 いいえ (also Esc and the title bar's close).
#include "app/windows/choice_dialog.h"

namespace kv {

class Select_1 : public ChoiceDialog {
 public:
  explicit Select_1(ProgramState& st, QWidget* parent = nullptr);
};

}  // namespace kv
