#pragma once
// frmOrviKen ("特殊印刷の設定"): the special print set-up dialog's window.
// It shows the form class (print/orvi_ken.h) and hands its buttons to it;
// the close box and Esc change nothing.
#include <QDialog>

#include "print/orvi_ken.h"

class QCheckBox;
class QComboBox;

namespace kv {

struct ProgramState;

class frmOrviKen : public QDialog {
 public:
  explicit frmOrviKen(ProgramState& st, QWidget* parent = nullptr);

  OrviKenForm& Form() { return form_; }
  void Sync();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  OrviKenForm form_;
  bool firstShow_ = true;
  bool closing_ = false;
  QCheckBox* check1_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
};

}  // namespace kv
