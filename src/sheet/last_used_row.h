#pragma once
// The last used row of the sheet in memory.
namespace kv {

struct ProgramState;

// Searching from `Imax` down, the first row whose row kind (byte 3) is not
// blank, whose bytes 20 .. `DataLen` - 1 are not all blank, or whose child
// link (bytes 12-15) reads above 0; 0 when there is none. Unless
// `LevelWriting` is set, the result is raised to the lowest row covered by an
// embedded object of the editor grid.
int LastUsedRow(const ProgramState& st);

}  // namespace kv
