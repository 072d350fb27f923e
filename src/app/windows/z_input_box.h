#pragma once
// Z_InputBox: the modal one-line text input. In: `InputPrompt` (label
// `Label1`), `InputTitle` (caption), `InputText` (text box `Text1`),
// `InputMaxLen` (characters; 0 = no limit). Out: `InputOk`, and `InputText`
// after OK. OK and Cancel only hide the box; the caller unloads it.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv {

struct ProgramState;

class Z_InputBox : public QDialog {
 public:
  explicit Z_InputBox(ProgramState& st, QWidget* parent = nullptr);

  QLabel* Label1() const { return label_; }
  QLineEdit* Text1() const { return text_; }
  QPushButton* Command1(int index) const { return index == 0 ? ok_ : cancel_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void reject() override;

 private:
  void Ok();

  ProgramState& st_;
  QLabel* label_ = nullptr;
  QLineEdit* text_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool centred_ = false;
};

}  // namespace kv
