#include "reference/ref_dm_copy_frm.h"

#include "state/program_state.h"

namespace kv {

RefDMCopyForm::RefDMCopyForm(ProgramState& st) : st_(st) {
  static constexpr const char* kCaptions[] = {"２階層", "３階層", "４階層", "５階層", "６階層", "７階層", "８階層"};
  for (size_t i = 0; i < DMCopy.size(); ++i) DMCopy[i].caption = kCaptions[i];
}

void RefDMCopyForm::Form_Load() {
  for (size_t i = 0; i < DMCopy.size(); ++i) DMCopy[i].enabled = st_.RefCopyLevelEnabled[i];
  Choose(0);
}

void RefDMCopyForm::Choose(int index) {
  for (size_t i = 0; i < DMCopy.size(); ++i) DMCopy[i].value = static_cast<int>(i) == index;
}

void RefDMCopyForm::cmdOK_Click() {
  for (size_t i = 0; i < DMCopy.size(); ++i) {
    if (!DMCopy[i].value) continue;
    st_.RefCopyDepth = static_cast<int>(i) + 2;
    break;
  }
  unloaded_ = true;
}

void RefDMCopyForm::Cansel_Click() {
  st_.RefCopyCancel = -1;
  unloaded_ = true;
}

void RefDMCopyForm::Form_QueryUnload() {
  if (!unloaded_) Cansel_Click();
}

}  // namespace kv
