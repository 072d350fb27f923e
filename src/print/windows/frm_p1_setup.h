#pragma once
// frmP1SetUp ("印刷"): the print dialog's window. It shows the form class
// (print/p1_setup.h) on its controls and hands every action of the user to
// it; the close box runs Cancel's steps.
#include <QDialog>
#include <array>

#include "print/p1_setup.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class QtUi;
struct ProgramState;

class frmP1SetUp : public QDialog {
 public:
  explicit frmP1SetUp(ProgramState& st, QWidget* parent = nullptr);

  P1SetUpForm& Form() { return form_; }
  // Shows the form's values on the controls.
  void Sync();
  // Esc: the Cancel button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  QLineEdit* PageBox(const char* name, QWidget* parent);
  void BindBoxes();

  P1SetUpForm form_;
  bool firstShow_ = true;
  bool closing_ = false;

  QComboBox* cobPrinterName_ = nullptr;
  QComboBox* cobPType_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QLineEdit* txtKaisyaName_ = nullptr;
  std::array<QRadioButton*, 3> option3_{};
  QGroupBox* fraPrintStyle_ = nullptr;
  std::array<QRadioButton*, 2> option1_{};
  QGroupBox* fraLayer_ = nullptr;
  std::array<QRadioButton*, 8> option2_{};
  QWidget* fraHani_ = nullptr;
  std::array<QLineEdit*, 2> textHani_{};
  QGroupBox* fraPageSet_ = nullptr;
  QLineEdit* txtStartPage_ = nullptr;
  QLineEdit* txtEndPage_ = nullptr;
  QCheckBox* chkPageFlag_ = nullptr;
  QLabel* label3_ = nullptr;
  QLineEdit* txtPage_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QCheckBox* check2_ = nullptr;
  QCheckBox* check3_ = nullptr;
};

}  // namespace kv
