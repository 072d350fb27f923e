#pragma once
// The recovery wizard as plain logic: its steps (introduction, list of the
// left-over jobs, confirmation, the run, the result), what each step shows
// and the moves between them. The window "frmRecover" draws a RecoverWizard
// and forwards its buttons to it; tests drive it directly.
//
// The run shows the progress window "frmChange" modally through the UI seam;
// that window calls RecoverProgressRun. The wizard's one result for the
// start-up is st.RecoveredFilePath, set when a file was restored.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;
struct RecoveryContext;

inline constexpr std::string_view kRecoverWindow = "frmRecover";
inline constexpr std::string_view kChangeWindow = "frmChange";

// What the wizard window shows (controls by their names).
struct RecoverWizardView {
  std::string caption = "ファイル回復";
  std::string lblMessage;
  bool lblFMidasiVisible = false;
  std::string lblFMidasi = "復旧ファイル名 ";
  bool lblFNameVisible = false;
  std::string lblFName;
  std::array<bool, 3> optFileVisible{};  // optFile1 .. optFile3
  std::array<std::string, 3> optFileCaption;
  bool cmdBackVisible = false;
  bool cmdNextVisible = true;
  std::string cmdNextCaption = "次へ(&N) >";
};

class RecoverWizard {
 public:
  RecoverWizard(ProgramState& st, RecoveryContext& ctx);

  // The check at load: with no job, or without KVUTL.INI, a message and the
  // wizard ends at once (false); otherwise step 1.
  bool Form_Load();

  void cmdNext_Click();  // step 1 -> 2 -> 3 -> the run
  void cmdBack_Click();  // step 3 -> 2 -> 1
  void cmdEnd_Click();   // ends the wizard from any step
  // An option button chosen (1..3); the choice survives going back and forth.
  void optFile_Click(int index);

  void SetForm1();
  void SetForm2();
  void SetForm3();
  void SetForm4();
  void SetForm5();

  int StepNo() const { return stepNo_; }
  int Chosen() const { return chosen_; }
  const std::vector<std::string>& FileList() const { return fileList_; }
  const std::string& SelectedName() const { return selectedName_; }
  const RecoverWizardView& View() const { return view_; }
  // The wizard is done and its window hides itself: 終了, a failed load, or a
  // run the user cancelled.
  bool Ended() const { return ended_; }

 private:
  void HideChoices();

  ProgramState& st_;
  RecoveryContext& ctx_;
  RecoverWizardView view_;
  std::vector<std::string> fileList_;
  std::string selectedName_;
  int stepNo_ = 0;
  int chosen_ = 1;  // optFile1 is preselected
  bool ran_ = false;
  bool ended_ = false;
};

// What the progress window does when it is activated: the engine's run, the
// bar at 100 and a pause of one second (none after a cancel).
void RecoverProgressRun(ProgramState& st, RecoveryContext& ctx);

}  // namespace kv
