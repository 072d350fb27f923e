#pragma once
// The carry of a breakdown sheet's totals into its parent row, the same for
// the level writer and for the recalculation of all levels.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Carries the totals of a sheet of `level` (its closing record `totals`) into
// its parent row `parent`, a row of level - 1, through the carry definitions
// ("->" + two characters + the letter of the parent's column): each value is
// rounded to its unit in the equipment edition, fitted to the parent's column
// (a value too long for it becomes the overflow mark, never its last digits)
// and stored; then the parent row's definitions that depend on that column
// are evaluated again in the parent level's context: its columns, its own
// parent row `ParentRows`(level - 2) and its sheet's closing record
// `PathTotalRecords`(level - 1). Without a calculation engine (`st.calc`) the
// values are stored and nothing is evaluated.
void CarryTotals(ProgramState& st, int level, std::string_view totals, std::string& parent);

}  // namespace kv
