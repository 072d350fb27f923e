#pragma once
// The file-set definition of an estimate, read from KVUTL.INI in the program
// folder: its levels and the extensions of its files.

namespace kv {

struct ProgramState;

// Reads AppPath/KVUTL.INI into LevelCount, LevelExt, CompFileCount,
// CompFileExt, PackedExt and OleDataExt. A missing file or key gives counts of
// 0 and empty extensions. A list of more than 20 entries or more than 8
// levels is refused with a message and left empty. False when something was
// refused.
bool LevelIniRead(ProgramState& st);

}  // namespace kv
