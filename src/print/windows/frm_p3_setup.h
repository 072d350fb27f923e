#pragma once
// frmP3SetUp ("印刷詳細設定"): the print detail dialog's window. Each number
// box has a pair of small arrow buttons (its spin buttons) and its limit
// label; the window shows the form class (print/p3_setup.h) and hands every
// action of the user to it. Esc and the close box are Cancel.
#include <QDialog>
#include <array>

#include "print/p3_setup.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace kv {

struct ProgramState;

class frmP3SetUp : public QDialog {
 public:
  explicit frmP3SetUp(ProgramState& st, QWidget* parent = nullptr);

  P3SetUpForm& Form() { return form_; }
  QToolButton* SpinUp(int index) const { return spinUp_[size_t(index)]; }
  QToolButton* SpinDown(int index) const { return spinDown_[size_t(index)]; }
  void Sync();
  // Esc: the Cancel button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  P3SetUpForm form_;
  bool firstShow_ = true;
  bool closing_ = false;

  std::array<QLabel*, 10> label1_{};
  std::array<QLineEdit*, 4> text1_{};
  std::array<QToolButton*, 4> spinUp_{};
  std::array<QToolButton*, 4> spinDown_{};
  std::array<QLabel*, 4> lblMax_{};
  QLineEdit* text2_ = nullptr;
};

}  // namespace kv
