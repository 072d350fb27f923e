#pragma once
// SB_MsgFrm: the modeless two-line calculating window of the equipment
// edition (`Label1(0)`, `Label1(1)`, texts set by the caller). `SbMsgShown` is
// true from its load until it closes.
#include <QWidget>

class QLabel;

namespace kv {

struct ProgramState;

class SB_MsgFrm : public QWidget {
 public:
  explicit SB_MsgFrm(ProgramState& st, QWidget* parent = nullptr);

  QLabel* Label1(int index) const { return labels_[index == 0 ? 0 : 1]; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  ProgramState& st_;
  QLabel* labels_[2] = {nullptr, nullptr};
  bool centred_ = false;
};

}  // namespace kv
