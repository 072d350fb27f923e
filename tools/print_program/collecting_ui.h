#pragma once
// The user interface the print program hands the program's own settings
// readers: it asks nobody and keeps every message they would have shown, so
// that the program can report them as its own.
#include <string>
#include <vector>

#include "quiet_ui.h"

namespace kv::print_program {

class CollectingUi : public bench::QuietUi {
 public:
  int MsgBox(std::string_view text, int, std::string_view) override {
    messages.emplace_back(text);
    return vbOK;
  }
  // The messages so far, one a line, and forgotten.
  std::string Take() {
    std::string out;
    for (const std::string& m : messages) out += (out.empty() ? "" : "\n") + m;
    messages.clear();
    return out;
  }
  std::vector<std::string> messages;
};

}  // namespace kv::print_program
