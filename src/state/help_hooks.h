#pragma once
// How the logic reaches the help window: a hook the window code sets at
// start-up. Empty until then (a help command then shows nothing).
#include <functional>
#include <string>

namespace kv {

struct HelpHooks {
  // Shows the help window (made at its first use, one for the program) at
  // `page`, a file of the manual such as "print.html"; with `index` the
  // keyword index is put in front of the contents.
  std::function<void(const std::string& page, bool index)> Show;
};

}  // namespace kv
