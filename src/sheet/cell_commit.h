#pragma once
// Committing a typed text into the cursor cell of the sheet in memory
// (`CurrentRow`, `CurrentCol`, `CurrentLevel`), and the small routines the
// commit shares with the editor's keys: the code-table lookup, comma
// stripping, the row formulas of a row range, the classification window.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

// Stores `text` (Shift-JIS bytes as typed) into the cursor cell, computes the
// row and the level, repaints, and moves the cursor on. False when nothing
// was stored (a refused cell, a number too long for its column, a formula
// error); a message, where there is one, has been shown. Clears
// `CellCommitting`.
bool CellCommit(ProgramState& st, GridModel& grid, std::string text);

// Looks `code` up in code table `table` (0..3); true with its name when found.
bool SiwakeItemFind(const ProgramState& st, int table, std::string_view code, std::string& name);

// The text without its thousands separators.
std::string CommaStrip(std::string_view text);

// Re-evaluates, in the item rows first..last, the row definitions that
// depend on column `col`, and shows them (`flag` as the callers pass it).
void RowsFormulaCalc(ProgramState& st, GridModel& grid, int first, int last, int col, int flag);

// Opens the classification window for the cursor cell's code column.
void SiwaWindowOpen(ProgramState& st);

}  // namespace kv
