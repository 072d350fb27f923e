#include "storage/level_neighbours.h"

#include <filesystem>

#include "app/program_state.h"

namespace kv {

// CONNECT(settings): the column tables do not hold `TotalRecordDefaults` yet;
// a blank record stands in until they do.
std::string TotalRecordDefault(const ProgramState& st, int level) {
  (void)level;
  return std::string(static_cast<size_t>(st.DataLen), ' ');
}

// CONNECT(settings): `ColCarryDef` is not in the column tables yet.
std::string ColumnCarryDef(const ProgramState& st, int column, int level) {
  (void)st, (void)column, (void)level;
  return {};
}

// CONNECT(settings): `OrviSUU` / `OrviTANKA` are not in the settings yet.
int SpecialPrintQuantityColumn(const ProgramState& st) {
  (void)st;
  return 0;
}
int SpecialPrintPriceColumn(const ProgramState& st) {
  (void)st;
  return 0;
}

// CONNECT(settings): `SplitPath` stands in as folder and stem of the path.
EstimatePathParts SplitEstimatePath(const ProgramState& st, const std::string& path) {
  (void)st;
  std::filesystem::path p(path);
  return {p.parent_path().string(), p.stem().string()};
}

// CONNECT(settings): `WriteLayoutFile` and `MakeNewFromTemplate` of the work base.
bool WorkSetSettingsWrite(ProgramState& st, const std::string& workBase) {
  (void)st, (void)workBase;
  return true;
}

}  // namespace kv
