#pragma once
// Recording the sheet in memory into its level work file.
#include <string>

namespace kv {

struct ProgramState;
class FileCommandServices;

// Records the sheet in memory as the sheet of `level`: recalculates it,
// writes its rows and closing record (reusing the record numbers of the chain
// it was read from, appending the rest), relinks them, and for a breakdown
// sheet carries its totals into the parent row and writes that row back. An
// untitled estimate is named first (through `services`, which also compacts,
// packs and lists it afterwards). True when written.
//
// Nothing is written when the disk is nearly full, the naming is cancelled,
// the level file holds too many records, or it is damaged; a failed write of
// the top level leaves its old file; a failed append leaves a deeper file at
// its old length.
//
// `recorded` (when given) tells whether the level file now holds the sheet as
// written: true on success, and also when the top level was written but the
// pack after naming it failed; the caller then reads the sheet back.
bool LevelWrite(ProgramState& st, int level, FileCommandServices* services = nullptr,  // null: st.fileCommands
                bool* recorded = nullptr);

// The steps of LevelWrite(1) up to its write, for a caller that replaces the
// top level together with other level files: the free-space check, the
// settings file made when missing, the sheet in memory recalculated and its
// records built into `bytes` (the whole file). The rows in memory then hold
// the records as written, as after LevelWrite. The layout file is the
// caller's to write (LayoutText). False after a message; no level file is
// written.
bool TopLevelBuild(ProgramState& st, std::string& bytes);

}  // namespace kv
