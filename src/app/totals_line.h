#pragma once
// The sheet's totals line (grid row Imax + 1) as the start-up paints it from
// the sheet's closing record.
#include <string>
#include <vector>

namespace kv {

struct ProgramState;

// The text of each column 1..ColCount(level) of the totals line ([0] unused),
// display text, from `SheetTotalRecord`:
//  - a column with a total definition that the level's current mask screen
//    shows: the total with thousands separators while automatic recalculation
//    is on (`ReCalcFlag`); while it is off, "#" over the column's width when
//    the total is not blank, else blanks;
//  - any other column: its stored text; a column of type "W" (two lines) only
//    its first (width - 2) / 2 bytes (rounded, halves to even), a double-byte
//    character cut in half dropped.
std::vector<std::string> TotalsLineTexts(const ProgramState& st, int level);

}  // namespace kv
