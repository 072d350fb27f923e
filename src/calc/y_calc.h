#pragma once
// Ｙ計算: one rate applied to the amounts of a column of the sheet in memory.
// The user selects cells of one numeric input column, types a rate ("*" or
// "/" and a factor, such as "*1.25" or "/.87") and every item row of the
// selection gets its value multiplied or divided; a column without decimals
// may then be rounded half up at a chosen digit (10, 100, 1000 ...). One undo
// step covers the whole command. Works on the editor's grid
// (`SheetServices::EdtSheetGrid`); nothing without one.
namespace kv {

struct ProgramState;

// The command: checks the selected column, fixes the row range and runs
// `RateCalcY`.
void YKeisanRun(ProgramState& st);

// The rate dialogue (`Z_InputBox`), the calculation and the rounding.
void RateCalcY(ProgramState& st);

}  // namespace kv
