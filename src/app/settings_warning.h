#pragma once
// The warning the settings loaders show for a file they refuse or correct:
// OK button, exclamation icon, title "TheKorvane".
#include <string_view>

namespace kv {

struct ProgramState;

void SettingsWarning(ProgramState& st, std::string_view text);

}  // namespace kv
