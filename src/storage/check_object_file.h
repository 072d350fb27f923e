#pragma once
// Whether a sheet object file fits the sheet it is to be shown on.
#include <string>

namespace kv {

struct ProgramState;

// True when the file is a sheet object file (".MOD") that can be read whole
// and every corner of every item lies inside the sheet: each column below
// `ColCount`(`CurrentLevel`) and each row below `rows`. A file that cannot be
// read, is cut short, or holds a negative count, cell or data length fails.
bool CheckObjectFile(const ProgramState& st, const std::string& path, int rows);

}  // namespace kv
