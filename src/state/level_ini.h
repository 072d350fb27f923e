#pragma once
// The file-set definition of an estimate, read from KVUTL.INI in the program
// folder: its levels and the extensions of its files.
#include <string>

namespace kv {

struct ProgramState;

// Reads AppPath/KVUTL.INI into LevelCount, LevelExt, CompFileCount,
// CompFileExt, PackedExt and OleDataExt. A list of more than 20 entries is
// refused and left empty. The levels must be usable, or no estimate could be
// read or written: a level count that is not a whole number from 1 to 8
// (missing, 0, "abc", 9) is refused and gives no levels; a level extension
// that is empty, holds a path separator or "..", or repeats another level's
// (letter case aside) is refused. False when something was refused, with one
// text naming the file and each key refused in `problem`; nothing is shown.
bool LevelIniRead(ProgramState& st, std::string& problem);

}  // namespace kv
