#include "app/windows/select_2.h"

namespace kv {

Select_2::Select_2(ProgramState& st, QWidget* parent)
    : ChoiceDialog(st, "Select_2", "Label1", {"Command1", "Command1", "Command1"},
                   /*pointerToNormal=*/false, parent) {}

}  // namespace kv
