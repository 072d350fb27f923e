#pragma once
// The estimate settings file (work base + ".INI") and DAVIROV.INI, the
// installation's current settings with the same sections and keys.

#include <string>

namespace kv {

struct ProgramState;

// Loads the settings of file `f` into the program state, writing corrected
// values back where a key is out of range (rounding methods, and the
// equipment rows' names). A missing estimate settings file is first made
// from DAVIROV.INI. A file whose [Boot] DataLen is not 256 or 512, or whose
// Imax is missing or beyond the rows a sheet holds, is refused with a
// message and nothing is loaded. The print flags are taken only from
// DAVIROV.INI. True when the file was loaded.
bool DataIniLoad(ProgramState& st, const std::string& f);

// Gives the estimate of work base `workBase` a settings file (a copy of
// DAVIROV.INI) and a layout file (a copy of the untitled estimate's) when it
// lacks them. False (after a message) when a copy fails.
bool MakeNewFromTemplate(ProgramState& st, const std::string& workBase);

// Writes the options of the options dialog into file `f`. False (after a
// message) when the file cannot be written; the keys written before stay.
bool SheetOptionsSave(ProgramState& st, const std::string& f);

}  // namespace kv
