#include "storage/recover_wizard.h"

#include <algorithm>

#include "platform/ui.h"
#include "state/program_state.h"
#include "storage/recovery_context.h"
#include "storage/recovery_engine.h"
#include "storage/recovery_jobs.h"

namespace kv {

namespace {

constexpr std::string_view kWizardTitle = "データ復旧";
constexpr const char* kNext = "次へ(&N) >";
constexpr const char* kRun = "実行(&G)";

std::string StepCaption(int step) { return "ファイル復旧 " + std::to_string(step) + "/4"; }

// A ".Y1" file name without its extension.
std::string JobNameOf(const std::string& fileName) {
  return fileName.size() >= 3 ? fileName.substr(0, fileName.size() - 3) : std::string();
}

}  // namespace

RecoverWizard::RecoverWizard(ProgramState& st, RecoveryContext& ctx) : st_(st), ctx_(ctx) {}

bool RecoverWizard::Form_Load() {
  st_.ui.SetWindowTopMost(kRecoverWindow, true);
  const int check = RecoverStartCheck(st_, ctx_, fileList_);
  if (check != 0) {
    st_.ui.MsgBox(check == 1 ? "WORK中に対象ファイルがありません" : "KVUTL.INIがありません", vbOKOnly, kWizardTitle);
    ended_ = true;
    return false;
  }
  SetForm1();
  return true;
}

void RecoverWizard::HideChoices() {
  view_.optFileVisible = {false, false, false};
  view_.lblFMidasiVisible = false;
  view_.lblFNameVisible = false;
}

void RecoverWizard::SetForm1() {
  view_.caption = StepCaption(1);
  view_.lblMessage = std::string("前回、Korvaneが正常に終了しなかったため、編集中のファイルが残っています。") +
                     "残っているファイルを別名で復旧できます。復旧しますか？" + "\n\n" +
                     "復旧する場合は次へ進んでください。";
  HideChoices();
  view_.cmdBackVisible = false;
  view_.cmdNextCaption = kNext;
  stepNo_ = 1;
}

void RecoverWizard::SetForm2() {
  fileList_ = GetRecoverFileList(st_, ctx_);
  view_.caption = StepCaption(2);
  HideChoices();
  if (fileList_.size() <= 1) {
    view_.lblMessage = std::string("以下のファイルが残っています。") + "\n\n" + "復旧する場合は次へ進んでください。";
    view_.lblFMidasiVisible = true;
    view_.lblFName = fileList_.empty() ? std::string() : JobNameOf(fileList_[0]);
    view_.lblFNameVisible = true;
  } else {
    view_.lblMessage = std::string("以下のファイルが残っています。") + "\n" +
                       "復旧したいファイルをチェックしてください。" + "\n\n" + "復旧する場合は次へ進んでください。";
    // At most three jobs are offered.
    for (size_t i = 0; i < 3 && i < fileList_.size(); ++i) {
      view_.optFileCaption[i] = JobNameOf(fileList_[i]);
      view_.optFileVisible[i] = true;
    }
    if (chosen_ > static_cast<int>(std::min<size_t>(3, fileList_.size()))) chosen_ = 1;
  }
  view_.cmdNextCaption = kNext;
  view_.cmdBackVisible = true;
  stepNo_ = 2;
}

void RecoverWizard::SetForm3() {
  const bool single = fileList_.size() <= 1;
  std::string name;
  if (single)
    name = view_.lblFName;
  else if (chosen_ >= 1 && chosen_ <= 3 && view_.optFileVisible[static_cast<size_t>(chosen_ - 1)])
    name = view_.optFileCaption[static_cast<size_t>(chosen_ - 1)];
  HideChoices();
  view_.caption = StepCaption(3);
  view_.lblMessage = "[ " + name + " ]のファイルを復旧します。" + "\n\n" +
                     (single ? "実行を選択してください。"
                             : "このファイル名で正しければ実行を、違う場合は戻るを選択してください。");
  ctx_.RecJobName = name;
  view_.cmdNextCaption = kRun;
  stepNo_ = 3;
  selectedName_ = name;
}

void RecoverWizard::SetForm4() {
  Ui& ui = st_.ui;
  ui.SetWindowTopMost(kRecoverWindow, false);
  ui.ProcessEvents();
  ui.SetWindowState(kRecoverWindow, WindowState::Minimized);
  ran_ = true;
  ui.ShowModal(kChangeWindow);
  ui.UnloadWindow(kChangeWindow);
  ui.SetWindowState(kRecoverWindow, WindowState::Normal);
  // A run the user broke off ends the wizard: the program goes on with the
  // untitled estimate, the job's work files stay for the next start.
  if (ctx_.Cancelled) {
    ended_ = true;
    return;
  }
  SetForm5();
}

void RecoverWizard::SetForm5() {
  view_.caption = StepCaption(4);
  const std::string where = "[ " + selectedName_ + " ]を" + "\n" + "[ " + ctx_.RecFileName + " ]のファイル名で" +
                            "\n\n" + st_.AppPath + "/DATAのフォルダの中に復旧しました。";
  switch (ctx_.RecResult) {
    case kRecAll: view_.lblMessage = std::string("ファイル復旧が正常に終了しました。") + "\n\n" + where; break;
    case kRecPartial:
      view_.lblMessage = std::string("ファイル復旧が終了しました。一部復旧できないデータがありました。") + "\n\n" + where;
      break;
    case kRecNothing:
      view_.lblMessage = std::string("ファイルを復旧できませんでした。") + "\n" + ctx_.FailureText;
      break;
    default: break;
  }
  HideChoices();
  view_.cmdNextVisible = false;
  view_.cmdBackVisible = false;
  stepNo_ = 5;
  st_.ui.SetWindowTopMost(kRecoverWindow, true);
}

void RecoverWizard::cmdNext_Click() {
  switch (stepNo_) {
    case 1: SetForm2(); break;
    case 2: SetForm3(); break;
    case 3:
      if (!ran_) SetForm4();
      break;
    default: break;
  }
}

void RecoverWizard::cmdBack_Click() {
  switch (stepNo_) {
    case 2: SetForm1(); break;
    case 3: SetForm2(); break;
    default: break;
  }
}

void RecoverWizard::cmdEnd_Click() { ended_ = true; }

void RecoverWizard::optFile_Click(int index) {
  if (index >= 1 && index <= 3) chosen_ = index;
}

void RecoverProgressRun(ProgramState& st, RecoveryContext& ctx) {
  st.ui.SetWindowTopMost(kChangeWindow, true);
  RecoveryDriver(st, ctx);
  if (ctx.ShowProgress) ctx.ShowProgress(100);
  if (!ctx.Cancelled) {
    if (ctx.Pause)
      ctx.Pause(1);
    else
      WaitSeconds(st.ui, 1);
  }
  st.ui.SetWindowTopMost(kChangeWindow, false);
  st.ui.ProcessEvents();
}

}  // namespace kv
