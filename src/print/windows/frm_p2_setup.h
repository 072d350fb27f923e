#pragma once
// frmP2SetUp ("印刷設定"): the print set-up dialog's window. It shows the
// form class (print/p2_setup.h) on its controls and hands every action of
// the user to it; Esc and the close box are Cancel.
#include <QDialog>
#include <array>

#include "print/p2_setup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace kv {

struct ProgramState;

class frmP2SetUp : public QDialog {
 public:
  explicit frmP2SetUp(ProgramState& st, QWidget* parent = nullptr);

  P2SetUpForm& Form() { return form_; }
  void Sync();
  // Esc: the Cancel button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  P2SetUpForm form_;
  bool firstShow_ = true;
  bool closing_ = false;

  QComboBox* cobPrinter_ = nullptr;
  QComboBox* cobPaperType_ = nullptr;
  QCheckBox* check2_ = nullptr;
  std::array<QRadioButton*, 3> option1_{};
  QLabel* label2_ = nullptr;
  QCheckBox* check1_ = nullptr;
  std::array<QRadioButton*, 3> option3_{};
  QLabel* label3_ = nullptr;
  std::array<QSlider*, 5> sliders_{};  // Slider1 .. Slider4 at 1 .. 4
  QLineEdit* text1_ = nullptr;
};

}  // namespace kv
