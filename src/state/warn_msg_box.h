#pragma once
// The standard warning of core/window_services.h over the program state: the
// floating windows the state has open are lowered around it.
#include <string_view>

#include "core/window_services.h"

namespace kv {

struct ProgramState;

void WarnMsgBox(ProgramState& st, std::string_view text);

}  // namespace kv
