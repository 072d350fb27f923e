#pragma once
// Msg_Frm: the modeless busy window, one line of text (`Label`) under a caption
// the caller sets. It has no buttons; the caller unloads it when done.
#include <QWidget>

class QLabel;

namespace kv {

struct ProgramState;

class Msg_Frm : public QWidget {
 public:
  explicit Msg_Frm(ProgramState& st, QWidget* parent = nullptr);

  QLabel* Label() const { return label_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  ProgramState& st_;
  QLabel* label_ = nullptr;
  bool centred_ = false;
};

}  // namespace kv
