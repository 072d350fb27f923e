#include "editor/toolbars/windows/toolbar_icons.h"

namespace kv {

QIcon ToolbarIcon(std::string_view) { return QIcon(); }

}  // namespace kv
