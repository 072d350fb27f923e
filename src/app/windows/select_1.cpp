#include "app/windows/select_1.h"

namespace kv {

Select_1::Select_1(ProgramState& st, QWidget* parent)
    : ChoiceDialog(st, QString::fromUtf8("** 記録 **"), QString::fromUtf8("記録しますか?"),
                   {QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)")},
                   /*pointerToNormal=*/true, parent) {}

}  // namespace kv
