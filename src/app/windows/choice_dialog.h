#pragma once
// The modal question with a row of buttons that Select_1 and Select_2 share:
// label `S_Label`, buttons `S_Button(i)` left to right, button 0 the default,
// button 1 the cancel button. The answer is the index of the button chosen, in
// `Select2Result`; Esc and the title bar's close answer the cancel button.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace kv {

struct ProgramState;

class ChoiceDialog : public QDialog {
 public:
  static constexpr int kCancelIndex = 1;

  QLabel* S_Label() const { return label_; }
  QPushButton* S_Button(int index) const;

 protected:
  // Loading: topmost, answer = the cancel index until a button is chosen.
  ChoiceDialog(ProgramState& st, const QString& caption, const QString& label,
               const QStringList& buttons, bool pointerToNormal, QWidget* parent);

  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void Choose(int index);

  ProgramState& st_;
  QLabel* label_ = nullptr;
  QList<QPushButton*> buttons_;
  bool pointerToNormal_;
  bool firstActivation_ = true;
  bool chosen_ = false;
};

}  // namespace kv
