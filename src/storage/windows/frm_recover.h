#pragma once
// frmRecover: the recovery wizard's window. It draws the steps of a
// RecoverWizard (storage/recover_wizard.h) and hands its buttons to it; the
// run shows "frmChange" through the UI seam. Closing it from the title bar
// ends the wizard as 終了(&X) does.
#include <QDialog>
#include <array>

#include "storage/recover_wizard.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace kv {

struct ProgramState;
struct RecoveryContext;

class frmRecover : public QDialog {
 public:
  frmRecover(ProgramState& st, RecoveryContext& ctx, QWidget* parent = nullptr);

  // The load check (Form_Load): with nothing to offer the wizard has said so
  // and the window closes without being shown.
  int exec() override;

  const RecoverWizard& Wizard() const { return wizard_; }
  QLabel* lblMessage() const { return lblMessage_; }
  QLabel* lblFMidasi() const { return lblFMidasi_; }
  QLabel* lblFName() const { return lblFName_; }
  QRadioButton* optFile(int index) const { return optFile_.at(static_cast<size_t>(index - 1)); }
  QPushButton* cmdBack() const { return cmdBack_; }
  QPushButton* cmdNext() const { return cmdNext_; }
  QPushButton* cmdEnd() const { return cmdEnd_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void Redraw();
  void AfterClick();

  RecoverWizard wizard_;
  QGroupBox* SSFrame1_ = nullptr;
  QLabel* lblMessage_ = nullptr;
  QLabel* lblFMidasi_ = nullptr;
  QLabel* lblFName_ = nullptr;
  std::array<QRadioButton*, 3> optFile_{};
  QPushButton* cmdBack_ = nullptr;
  QPushButton* cmdNext_ = nullptr;
  QPushButton* cmdEnd_ = nullptr;
};

}  // namespace kv
