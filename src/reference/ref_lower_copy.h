#pragma once
// The copy of lower levels from the reference: after a row copy whose rows
// own breakdowns in the reference, those breakdown sheets (and theirs, down to
// a level the user chooses) are appended to the estimate's level work files
// with new record numbers and links, and the copied rows are linked to them.
//
// The order keeps the estimate whole on every way out: the capacity check
// runs before anything is recorded or written (an overflow, or a damaged
// reference file, takes the whole row copy back); the sheet and the levels
// above it are recorded next (FlushLevels: the editor stays on its level with
// its sheet also when that fails); then every chain is appended and only then
// are the copied rows linked. A write that fails cuts every level file back
// to its length before the copy, so nothing points at half a chain.
#include <string>
#include <vector>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kRefLowerQuestion = " 参考コピー行の下階層も複写しますか?";
inline constexpr const char* kRefCopyOverflow = "複写出来る最大値をこえました:複写を中止します";
inline constexpr const char* kRefCopyWriteFailed = "下階層の複写中にファイルへ書き込めませんでした。複写を中止します。";

// The records a level file may hold after this copy: 30000 with hexadecimal
// record numbers, 9800 with decimal ones.
int RefChainLimit(const ProgramState& st);

// `firsts`[i]: the first record of the breakdown of the reference row copied
// into estimate row `CurrentRow` + i (below 1: none), in the reference level
// file of `RefCurrentLevel` + 1.

// Counts, per destination level, the records its file holds plus those the
// copy would add (`RefCopyCounts`), down to `RefCopyDepth`. False when the
// copy may not go on: `overflow` set when a level would pass the limit
// (nothing told), or a damaged level file was reported.
bool RefCopyCapacityCheck(ProgramState& st, const std::vector<int>& firsts, bool& overflow);

// Appends the chain of every copied row (and its deeper chains) at the end of
// the estimate's level files. `linked`[i] is then the record its row's
// breakdown link must name (kNoRecord for none). False after the message when
// a write failed; every level file is then as long as before.
bool RefChainsAppend(ProgramState& st, const std::vector<int>& firsts, std::vector<int>& linked);

// The chains appended (after the capacity check) and the copied rows linked in the
// sheet and in the current level's file; then the sheet set up and repainted
// on the editor's grid. False when nothing was copied.
bool RefLowerLevelsCopy(ProgramState& st, GridModel& edt, const std::vector<int>& firsts);

// After a row copy: the question, the depth dialog, the capacity check, the
// recording and the copy, the cursor, the top row and the objects put back,
// the page numbers and the level tree brought up to date. False when the row
// copy ends here (cancelled, taken back, recording failed, still untitled).
bool RefLowerLevelsOffer(ProgramState& st, GridModel& edt, const std::vector<int>& firsts);

}  // namespace kv
