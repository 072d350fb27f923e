#pragma once
// frmSiwaPrn ("仕訳マスタ印刷"): the master print's window. It shows the form
// class (classify/frm_siwa_prn.h) with its controls at their places, centred
// and topmost, and hands the lists, options and buttons to it; Esc and the
// close box count as Cancel.
#include <QDialog>

#include "classify/frm_siwa_prn.h"

class QComboBox;
class QRadioButton;

namespace kv {

struct ProgramState;
class QtUi;

class SiwaPrnDialog : public QDialog {
 public:
  explicit SiwaPrnDialog(ProgramState& st, QWidget* parent = nullptr);
  frmSiwaPrn& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  QRect Tw(int left, int top, int width, int height) const;

  frmSiwaPrn form_;
  bool firstShow_ = true;
  bool closing_ = false;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  QRadioButton* option1_ = nullptr;
  QRadioButton* option2_ = nullptr;
};

// Registers the dialog with the Qt seam under kSiwaPrintWindow.
void RegisterSiwaPrnDialog(QtUi& ui, ProgramState& st);

}  // namespace kv
