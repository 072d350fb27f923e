#pragma once
// LAN_Msg_frm: the modal dialog that tells the user an estimate is being
// edited on another machine. In: `LanMsgFileName` (the estimate's folder and
// name). Out: `LanMsgAnswer`, the index of the button of the control array
// `Command1`: 0 "は  い(&Y)" (give up; also Esc and the title bar's close),
// 1 "強制編集(&K)" (force editing).
#include <QDialog>

class QLabel;
class QPushButton;

namespace kv {

class QtUi;
struct ProgramState;

class LAN_Msg_frm : public QDialog {
 public:
  explicit LAN_Msg_frm(ProgramState& st, QWidget* parent = nullptr);

  QLabel* Label(int i) const;              // the four text lines, 1..4 top to bottom
  QPushButton* Command1(int index) const;  // 0 or 1

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  void Command1_Click(int index);

  ProgramState& st_;
  QLabel* labels_[4] = {};
  QPushButton* buttons_[2] = {};
  bool firstShow_ = true;
  bool chosen_ = false;
};

// Registers the dialog with the Qt seam under "LAN_Msg_frm".
void RegisterLanMsgFrm(QtUi& ui, ProgramState& st);

}  // namespace kv
