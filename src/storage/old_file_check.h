#pragma once
// Estimates written before sheets had closing records, brought to the
// current record form when they are opened with conversion.
#include <string>

namespace kv {

struct ProgramState;

// True when the level-1 work file of `workBase` is (now) in the current
// form. Its last record closing the sheet (row kind "G") means it is:
// nothing else happens. Otherwise, with room on the disk (DiskSpaceChk),
// level `CurrentLevel` is read and written again (with closing records),
// the work files compacted and the level read back, every level recalculated
// from level 1 and the page numbers written. False for a missing or empty
// level-1 file and after any step that failed (a failed step is reported,
// and nothing after it runs); the caller then drops the work files.
bool OldFileAndPageChk(ProgramState& st, const std::string& workBase);

}  // namespace kv
