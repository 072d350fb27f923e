#pragma once
// What the equipment steps share: reading and writing the cells of the rows
// of the sheet in memory at `CurrentLevel`, their messages and the
// calculating window SB_MsgFrm.
#include <cstdint>
#include <string>
#include <string_view>

#include "state/level_context.h"

namespace kv {

struct ProgramState;

// The text of a column of a sheet row, blanks trimmed at both ends / every
// half- and full-width space removed.
std::string EquipCellTrimmed(const ProgramState& st, int row, int col);
// The trimmed text in place, valid until the row is written.
std::string_view EquipCellView(const ProgramState& st, int row, int col);
std::string EquipCellStripped(const ProgramState& st, int row, int col);
// The same as a view: of the cell itself when its text holds no space
// inside and no double-byte character, else of `buffer` holding the copy.
std::string_view EquipCellStrippedView(const ProgramState& st, int row, int col, std::string& buffer);

// True for a text that reads as a number: an optional sign, digits with at
// most one ".", at least one digit.
bool IsNumberText(std::string_view text);

// Writes a value into column `col` of sheet row `row`: a numeric column takes
// it fitted (`NumFitColumn`, right-aligned over the whole width; "" blanks
// it), any other column the text left-aligned and blank-padded to its width.
// With `paint` the cell is shown (thousands separators). No recalculation.
void EquipWriteCell(ProgramState& st, int row, int col, const std::string& value, bool paint);
// Writes the text of a numeric column already fitted to it (`FitToColumn`)
// into column `col` of sheet row `row`, shown as `EquipWriteCell` shows it.
void EquipWriteFitted(ProgramState& st, int row, int col, std::string_view fitted, bool paint);
// The factor of the unit a cell holds (`UnitLetterFactor` of its text with
// every space removed), read without a copy.
std::int64_t EquipCellUnitFactor(const ProgramState& st, int row, int col);
// The level context of the sheet in memory (`CurrentLevel`).
LevelContext EquipContext(const ProgramState& st);
// The row definitions of the row that depend on `col`, recomputed.
void EquipRowRecalc(ProgramState& st, int row, int col, bool paint);
// Every AUTO line into the row (the column of character 3 receives the text
// from character 5 on); with `recalcEach` each write is followed by the
// recalculation from its column. Returns the last column written (0: none).
int EquipWriteAutoValues(ProgramState& st, int row, bool paint, bool recalcEach);

// A message box with the title "計算" and an OK button, the floating windows
// lowered around it.
void EquipCalcMessage(ProgramState& st, const std::string& text);

// The calculating window: caption and main text / the detail line / closed.
void SbMsgOpen(ProgramState& st, std::string_view caption, std::string_view text);
void SbMsgSetDetail(ProgramState& st, std::string_view text);
// The detail line showing a row number (`NumberWithSign`), built only while
// the window is shown.
void SbMsgSetDetail(ProgramState& st, int row);
void SbMsgClose(ProgramState& st);

// A number as the number-to-text conversion writes it: a blank in front of a
// value from 0 up.
std::string NumberWithSign(int n);

}  // namespace kv
