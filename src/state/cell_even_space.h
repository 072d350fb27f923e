#pragma once
// Even spacing of a cell text (core/even_space.h) that marks the sheet
// modified.
#include <string>

#include "core/even_space.h"

namespace kv {

struct ProgramState;

// EvenSpaceCellText, setting `SheetModified` when it reports a change.
void EvenSpaceCellText(ProgramState& st, std::string& text, int width);

}  // namespace kv
