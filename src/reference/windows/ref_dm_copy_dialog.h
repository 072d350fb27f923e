#pragma once
// RefDMCopy_Frm ("下階層の複写"): the depth dialog of the copy of lower
// levels, centred on the screen and topmost. It shows the form class
// (reference/ref_dm_copy_frm.h) and hands its buttons to it; the close box
// and Esc are its Cancel.
#include <QDialog>
#include <array>

#include "reference/ref_dm_copy_frm.h"

class QRadioButton;

namespace kv {

struct ProgramState;

class RefDMCopy_Frm : public QDialog {
 public:
  explicit RefDMCopy_Frm(ProgramState& st, QWidget* parent = nullptr);

  RefDMCopyForm& Form() { return form_; }
  QRadioButton* DMCopy(int i) const { return options_[static_cast<size_t>(i)]; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  RefDMCopyForm form_;
  std::array<QRadioButton*, 7> options_{};
  bool firstShow_ = true;
};

}  // namespace kv
