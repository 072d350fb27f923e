#pragma once
// SiwakeMake_Frm ("仕訳ﾌｧｲﾙ作成"): the classification file dialog's window.
// It shows the form class (classify/siwake_make_frm.h) with its controls at
// their places and hands the buttons and options to it; the close box counts
// as Cancel.
#include <QDialog>

#include "classify/siwake_make_frm.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kv {

struct ProgramState;

class SiwakeMakeDialog : public QDialog {
 public:
  explicit SiwakeMakeDialog(ProgramState& st, QWidget* parent = nullptr);
  SiwakeMake_Frm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  QRect Tw(int left, int top, int width, int height) const;

  SiwakeMake_Frm form_;
  bool firstShow_ = true;
  bool closing_ = false;
  QGroupBox* frame_ = nullptr;
  QRadioButton* options_[2] = {};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* labels_[2] = {};
};

void RegisterSiwakeMakeDialog(class QtUi& ui, ProgramState& st);

}  // namespace kv
