#pragma once
// The sheet the reference window shows: one level sheet of the reference
// estimate, read only from its level work files in WORK2 and painted into the
// reference grid in the reference layout (`RefColCount`, `RefColStart`, ...).
//
// Reading goes through the one checked chain reader: at most Imax rows and
// the closing record; a damaged level file (not whole records, a loop, a link
// past its end, a breakdown into a file that is not there) is reported once
// with the level-file message and the rows read before the fault are shown.
// Every read starts from an empty sheet and the level's default closing
// record, so nothing of the sheet read before stays.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kRefTitle = "参考";
inline constexpr const char* kRefMissingFileText = "指定のﾌｧｲﾙまたはFDが存在しません!\n";
inline constexpr const char* kRefResetText = "一旦終了し,初期値に戻します";

// AppPath/WORK2 and the untitled base AppPath/WORK2/無題.
std::string RefWorkFolder(const ProgramState& st);
std::string RefUntitledBase(const ProgramState& st);

// Lays the grid out for the reference layout of `level` and reads that
// level's sheet into `RefSheetRows`: level 1 in record order, a deeper level
// the chain below `RefParentRows`(level - 1). Before reading, while a
// reference file is open, a missing level-1 file is asked about (Retry /
// Cancel); Cancel falls back to the untitled base in WORK2 (caption and tree
// follow). False when a fault was reported (what was read before it stays).
bool RefLevelRead(ProgramState& st, GridModel& grid, int level);

// Paints rows first .. last of `RefSheetRows` at `RefCurrentLevel`.
void RefRowDisplay(ProgramState& st, GridModel& grid, int first, int last);

// Paints rows 1 .. last with `top` as the first visible row (the 51 rows
// from `top` first), then the totals line.
void RefSheetRedisplay(ProgramState& st, GridModel& grid, int top, int last);

// A stored number as the reference sheet shows it: `decimals` places kept as
// stored, the integer part in groups of three digits.
std::string RefNumberText(std::string_view stored, int decimals);

}  // namespace kv
