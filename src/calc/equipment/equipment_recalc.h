#pragma once
// The equipment recalculation driver and the update of a unit/value column
// pair after its unit changed.
#include <string>

namespace kv {

struct ProgramState;

// Runs the equipment steps over the sheet in memory in their order: the unit
// rounding of all rows, the rules, the overhead rows, the consumables row
// (and again the rules and the overhead rows when the consumables row holds
// rule-column text); when all succeeded, the level calculation of the
// current sheet (painting with `paint`). True when every step succeeded or
// there was nothing to do (outside system kind 1, a classification file);
// false when a step failed (it has told the user). `EquipRecalcRunning`,
// status panel 1 and the calculating window are held for the run.
bool RecalcEquipmentTotals(ProgramState& st, bool paint);

// The calculation-row menu's 集計再計算 and its key: nothing while
// `CommandBusy` is set; otherwise `RecalcEquipmentTotals` with painting under
// the busy lock, and the sheet marked modified.
void EquipmentRecalcCommand(ProgramState& st);

// After column `col` of the row record `rec` (level `level`, grid row `row`)
// changed: for every ZOKU pair whose unit column is `col`, the value column
// is set again: from the breakdown's closing record when a carry definition
// of the level below feeds the value column (empty when the breakdown has no
// closing record), else from the row recalculated; rounded up to the unit,
// stored, shown and its dependent definitions recomputed. A breakdown that
// cannot be read (a damaged chain, a level file cut short) is reported with
// the damaged-file message and nothing of the row changes. True when `col`
// is the unit column of a pair.
bool ZokuPairUpdate(ProgramState& st, std::string& rec, int level, int col, int row);

}  // namespace kv
