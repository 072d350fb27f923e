#include "state/cell_even_space.h"

#include "state/program_state.h"

namespace kv {

void EvenSpaceCellText(ProgramState& st, std::string& text, int width) {
  if (EvenSpaceCellText(text, width)) st.SheetModified = true;
}

}  // namespace kv
