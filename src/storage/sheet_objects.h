#pragma once
// The embedded objects of a sheet: loaded from the sheet's object file into
// a grid's object layer when the sheet is shown, and saved back (or the file
// released) when a changed sheet is left. The objects of one sheet live in
// the work folder as work base + "$" + object number + ".MOD"; the number is
// kept in bytes 16-19 of the sheet's closing record, and the estimate
// settings file counts the files in [OLE] OleFileNo (last number given out)
// and OleFileCnt (files in use). Nothing of this happens in system kind 1.
#include <filesystem>
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kObjectLimitMessage = "もうこれ以上 OLE Data File は作れません。";

// work base + "$" + number + ".MOD"; an existing file whose name differs only
// in letter case is that file.
std::filesystem::path ObjectFilePath(const std::string& workBase, const std::string& number);

// Clears the object selection (`SelectedObjectItem`, `RefSelectedObjectItem`)
// and, when the sheet has an object file (`number` not "") that is a sheet
// object file fitting the sheet (CheckObjectFile with `Imax`), loads it into
// the grid's object layer and sets `SheetObjectCount`. True when loaded; a
// file that does not fit is left out without a message.
bool LoadSheetObjects(ProgramState& st, const std::string& workBase, const std::string& number,
                      GridModel& grid);

// Saves the objects of `grid` (the editor's sheet grid) when
// `OleObjectsChanged` is set:
// - objects left: into the sheet's object file; a sheet without one is given
//   the next number after OleFileNo (9999 wraps to 1) whose file does not
//   exist yet, unless OleFileCnt (missing = 0) has reached `OleFileMax`, which
//   is refused with kObjectLimitMessage and leaves the flag set;
// - no object left: the sheet's object file is deleted and OleFileCnt lowered;
// then the number (or blanks) goes into bytes 16-19 of `SheetTotalRecord`,
// of the closing record in memory (`SheetRows`(`UsedRows` + 1)) and of that
// record in the level work file of `CurrentLevel`, and the flag is cleared.
// False when refused or when a file could not be written (after a message).
bool SaveSheetObjects(ProgramState& st, const std::string& workBase, GridModel& grid);

}  // namespace kv
