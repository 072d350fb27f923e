#pragma once
// Compaction of the level work files: each file rewritten to hold only the
// records reachable from the top sheet, renumbered so that every sheet's
// chain is contiguous, the chains in the depth-first order of their parent
// rows.
#include <string>

namespace kv {

struct ProgramState;

// Compacts every level work file of the work base (levels 1 to
// `LevelCount`). The new files are first written completely as temporary
// files in the work folder; only then is each renamed over its original. A
// damaged file (bad length, bad stored number, a link past the end, a loop or
// a record reached twice) is reported and nothing is changed. When the work
// base is the open estimate's, the record numbers held in memory for the
// current path (`ParentRows`, `RowRecNos`, the child links of `SheetRows`)
// are renumbered with the files. True when compacted (or nothing to do).
bool EstFilePack(ProgramState& st, const std::string& workBase);

}  // namespace kv
