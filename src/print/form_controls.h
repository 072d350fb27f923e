#pragma once
// What the print dialogs' form classes hold of their controls: values,
// captions, lists, enabled and visible states. The Qt windows show these and
// hand the user's actions to the form classes' handlers.
#include <string>
#include <vector>

namespace kv {

struct FormControl {
  bool enabled = true;
  bool visible = true;
};

// A text box.
struct FormText : FormControl {
  std::string text;
};

// A check box (value 0 or 1) or an option button (value 1 when chosen).
struct FormCheck : FormControl {
  std::string caption;
  int value = 0;
};

// A drop-down list: its entries and the selected one (-1: none).
struct FormList : FormControl {
  std::vector<std::string> items;
  int index = -1;
  std::string Selected() const {
    return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<size_t>(index)] : std::string();
  }
};

// A label or a frame.
struct FormLabel : FormControl {
  std::string caption;
};

// Unload modes a dialog's unload handler is told: by the program's own
// unload, or by the window's close box.
inline constexpr int kUnloadByCode = 1;
inline constexpr int kUnloadByCloseBox = 0;

}  // namespace kv
