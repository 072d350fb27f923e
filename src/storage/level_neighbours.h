#pragma once
// What the level reader and writer take from the settings subsystem: the
// default closing record and the carry definitions of the column tables, the
// special-print columns, the path splitter, and the settings and layout files
// of a work set. Kept in one place so that each is reached through one call.
#include <string>

namespace kv {

struct ProgramState;

// The level's default closing record (`TotalRecordDefaults`), `DataLen` bytes.
std::string TotalRecordDefault(const ProgramState& st, int level);

// The carry definition of a column (`ColCarryDef`), "" when it has none.
std::string ColumnCarryDef(const ProgramState& st, int column, int level);

// The quantity and unit-price columns of the special print (`OrviSUU`,
// `OrviTANKA`), 0 when not set.
int SpecialPrintQuantityColumn(const ProgramState& st);
int SpecialPrintPriceColumn(const ProgramState& st);

// Folder and name of an estimate path, as `SplitPath` gives them.
struct EstimatePathParts {
  std::string folder;
  std::string name;
};
EstimatePathParts SplitEstimatePath(const ProgramState& st, const std::string& path);

// Writes the layout file of the work set (`WriteLayoutFile`) and gives it a
// settings file from the template when it has none (`MakeNewFromTemplate`).
// False when the layout file could not be written.
bool WorkSetSettingsWrite(ProgramState& st, const std::string& workBase);

}  // namespace kv
