#include "sheet/cell_commit.h"

#include "state/program_state.h"

namespace kv {

bool CellCommit(ProgramState& st, GridModel&, std::string) {
  st.CellCommitting = false;
  return false;
}

bool SiwakeItemFind(const ProgramState&, int, std::string_view, std::string&) { return false; }

std::string CommaStrip(std::string_view text) { return std::string(text); }

void RowsFormulaCalc(ProgramState&, GridModel&, int, int, int, int) {}

void SiwaWindowOpen(ProgramState&) {}

}  // namespace kv
