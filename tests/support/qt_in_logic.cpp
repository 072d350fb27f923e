// Compiled with the logic target's include paths only: Qt is not visible there,
// so this file must fail to build. A test checks that it does.
#include <QString>
int qt_in_logic() { return QString("x").size(); }
