#pragma once
// The image of a toolbar button by its key: the same for the docked and the
// floating toolbars.
#include <QIcon>
#include <string_view>

namespace kv {

// A null icon for keys without an image (separators, placeholders).
QIcon ToolbarIcon(std::string_view key);

}  // namespace kv
