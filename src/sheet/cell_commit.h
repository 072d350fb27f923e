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

// The message of a plain number with more digits than its column holds.
inline constexpr const char* kTooManyDigitsMessage = "入力した数値の桁数が多すぎます!";
// Said once after a commit whose calculation gave a cell the overflow mark
// because its value lay beyond the calculable range.
inline constexpr const char* kBeyondRangeMessage = "計算できる範囲を超えています。";

// Stores `text` (Shift-JIS bytes as typed) into the cursor cell, computes the
// row and the level, repaints, and moves the cursor on. False when nothing
// was stored: the cursor is not on a sheet row, the cell is a numeric or
// formula-text cell of a computed total row, the number is too long for its
// column (typed, or the value of a formula), or a formula typed into a
// numeric cell fails. A message, where there is one, has been shown, and the
// cell shows its stored value again. A value the calculation could not
// compute (beyond the calculable range) is stored as the overflow mark and
// the user is told once, after the commit. Clears `CellCommitting`. Without a
// calculation engine (`st.calc` null) the text is stored and nothing is
// computed; a formula typed into a numeric cell then stores nothing.
bool CellCommit(ProgramState& st, GridModel& grid, std::string text);

// Looks `code` (trimmed) up in code table `table` (0..3) by halving the
// range; true with the entry's trimmed name when found. Any other table
// finds nothing.
bool SiwakeItemFind(const ProgramState& st, int table, std::string_view code, std::string& name);

// The text without its thousands separators.
std::string CommaStrip(std::string_view text);

// Re-evaluates, in the item rows first..last, the row definitions that
// depend on column `col`, and shows them when `flag` is not 0.
void RowsFormulaCalc(ProgramState& st, GridModel& grid, int first, int last, int col, int flag);

// Opens the classification window for the cursor cell's code column (type
// "I") or name column (type "D", its master read from the code column to its
// left): only masters 1 and 2 have one. `SiwakeWindowOpen` tells whether the
// window is then loaded.
void SiwaWindowOpen(ProgramState& st);

}  // namespace kv
