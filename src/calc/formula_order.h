#pragma once
// The evaluation orders of a level's computed columns: `RowFormulaOrder`
// (row definitions, evaluated on every item row) and `TotalFormulaOrder`
// (total definitions of the closing record, and the row definitions of the
// total rows), each a text of column letters in which a definition comes
// after every column it refers to.
namespace kv {

struct ProgramState;

// Appends the level's order of row definitions (`ColFormula`, references
// "[[X") to `RowFormulaOrder`(level); a definition holding "RATIO" belongs to
// the ratio column and is left out. False, with nothing shown and the order
// left as it was, when some definition still waits after ten passes (the
// definitions refer to each other, or chain deeper than ten): the caller
// refuses those definitions.
bool RowFormulaOrderBuild(ProgramState& st, int level);

// The same for the total definitions (`ColTotalKind`, references "[#X") into
// `TotalFormulaOrder`(level); "SUM" definitions and the columns whose carry
// definition holds "RATIO" are left out.
bool TotalFormulaOrderBuild(ProgramState& st, int level);

}  // namespace kv
