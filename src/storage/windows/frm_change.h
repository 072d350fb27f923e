#pragma once
// frmChange: the progress window of a recovery run ("実行中"). When it is
// first shown it runs the engine (RecoverProgressRun), showing the step in
// `lblMidasi` and the progress in `prgCnt`, and closes itself when the run
// ends. キャンセル (`cmdCan`), or closing it from the title bar, asks the run
// to stop at its next step.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kv {

struct ProgramState;
struct RecoveryContext;

class frmChange : public QDialog {
 public:
  frmChange(ProgramState& st, RecoveryContext& ctx, QWidget* parent = nullptr);
  ~frmChange() override;

  QLabel* lblMidasi() const { return lblMidasi_; }
  QProgressBar* prgCnt() const { return prgCnt_; }
  QPushButton* cmdCan() const { return cmdCan_; }
  bool Running() const { return running_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void Run();
  void Cancel();

  ProgramState& st_;
  RecoveryContext& ctx_;
  QLabel* lblMidasi_ = nullptr;
  QProgressBar* prgCnt_ = nullptr;
  QPushButton* cmdCan_ = nullptr;
  bool started_ = false;
  bool running_ = false;
};

}  // namespace kv
