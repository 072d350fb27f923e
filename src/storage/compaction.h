#pragma once
// Compaction of the level work files: each file rewritten to hold only the
// records reachable from the top sheet, renumbered so that every sheet's
// chain is contiguous, the chains in the depth-first order of their parent
// rows.
#include <functional>
#include <string>

namespace kv {

struct ProgramState;

// Compacts every level work file of the work base (levels 1 to
// `LevelCount`). A chain reached from two parent rows is copied under each of
// them. The new files are first written completely as temporary files in the
// work folder; then they replace the originals all together through one
// intent record (platform/file_set_replace.h): a stop at any instant leaves
// the old set or, once the record is settled (here at the next compaction of
// the work set, or at start-up), the new one, never a mix. A damaged file (bad
// length, bad stored number, a link past the end, a chain that loops) is
// reported and nothing is changed. When the work base is the open estimate's,
// the record numbers held in memory for the current path (`ParentRows`,
// `RowRecNos`, the links of `SheetRows`) are renumbered with the files, the
// path followed through the copies under its own parents. True when
// compacted (or nothing to do).
bool EstFilePack(ProgramState& st, const std::string& workBase);
// The same with `observer` called after each rename (tests stop the process
// there).
bool EstFilePack(ProgramState& st, const std::string& workBase, const std::function<void(int renamed)>& observer);

}  // namespace kv
