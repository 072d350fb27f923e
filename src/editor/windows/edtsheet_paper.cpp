// The editor window's paper combo: the print forms' captions, the current
// form selected.
#include <QComboBox>
#include <QSignalBlocker>

#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

void EDTSHEET_FRM::PaperCombosFill(ProgramState& st, const std::vector<std::string>& captions, int selected) {
  // The floating basic toolbar's pair, when that window exists.
  FloatingPaperComboFill(st.ui, captions, selected);
  // Refilling is no choice of the user: the combo's handler does not run.
  const QSignalBlocker block(cmbYosi_);
  cmbYosi_->clear();
  for (const std::string& caption : captions) cmbYosi_->addItem(ToQ(caption));
  cmbYosi_->setCurrentIndex(selected);
}

}  // namespace kv
