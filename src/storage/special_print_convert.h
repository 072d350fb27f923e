#pragma once
// Data of an ordinary building-edition installation turned into data of the
// special-print option, when an installation with that option opens it.
#include <string>

namespace kv {

struct ProgramState;

// When the settings file `workBase` + ".INI" exists, its [SysInfo] SysNo
// begins "0200" or "0400" and its SysName does not contain "特殊印刷仕様":
// tells the user ("通常の建築版データを、特殊印刷仕様のデータにコンバート
// します。"), copies [SysInfo] SysName of DAVIROV.INI into it, writes
// [特殊仕様印刷] OrviKenPrn, OrviSUU and OrviTANKA from the current settings,
// marks the rows (SpecialPrintData) and sets `PackPending`. Runs once per
// estimate: its system name then contains the text.
void SpecialPrintConvert(ProgramState& st, const std::string& workBase);

// Marks "x" in byte 1 of every item row (row kind " ") of every level file
// of `workBase` whose quantity column (`OrviSUU`) is blank and whose unit
// price column (`OrviTANKA`) is not; the columns are taken from the column
// table of `CurrentLevel`. With `OrviKenPrn` 1 the page numbers are written
// afterwards. False (after a message) when a level file could not be read or
// written.
bool SpecialPrintData(ProgramState& st, const std::string& workBase);

}  // namespace kv
