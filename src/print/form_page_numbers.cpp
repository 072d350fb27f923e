#include "print/form_page_numbers.h"

#include "core/ini_file.h"
#include "editor/page_numbers.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "state/program_state.h"

namespace kv {

int StoredPrintForm(const ProgramState& st) {
  const int form = IniGetInt("印刷タイプ", "PrnTypeNo", EstimateIniPath(st));
  return form >= 1 && form <= kPrintForms ? form : 0;
}

bool PageNumbersFollowForm(ProgramState& st) {
  // Numbers not written since the estimate was opened may be for any rows
  // (a detail dialog may have changed them since): they are written too.
  const PageNumbersWritten& last = st.PageNumbersLast;
  const int rows = st.PrintRows[static_cast<size_t>(PrintFormInUse(st))];
  const bool special = st.SpecialPrintSpec && st.OrviKenPrn == 1;
  if (last.known && last.rowsPerPage == rows && last.specialForm == special) return false;
  PageNumbersWrite(st);
  return true;
}

}  // namespace kv
