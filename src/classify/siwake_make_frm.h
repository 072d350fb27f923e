#pragma once
// SiwakeMake_Frm ("仕訳ﾌｧｲﾙ作成"): the modal dialog of the classification
// file command. The user chooses classification 1 or 2; OK checks that the
// code column stands at the same place on every level, runs the three build
// steps (classify/siwake_build.h) showing the records on two lines, and tells
// the command the outcome through `SiwakeAbort` (true: no file was made).
// Cancel during the build stops it; the dialog closes once the build has
// stopped. Afterwards the editor shows level 1 of the open estimate again.
#include <chrono>
#include <functional>
#include <string>

namespace kv {

struct ProgramState;

inline constexpr const char* kSiwakeMakeWindow = "SiwakeMake_Frm";

// The dialog's controls the logic drives.
struct SiwakeMakePort {
  std::function<void(int index, const std::string& caption, bool shown)> SetOption;
  std::function<void(int index, const std::string& text)> SetLabel;
  // Hides OK and grows the dialog to 8130 x 2775 twips, centred again.
  std::function<void()> ShowProgress;
  // Closes the dialog (the modal display returns).
  std::function<void()> Unload;
};

class SiwakeMake_Frm {
 public:
  SiwakeMake_Frm(ProgramState& st, SiwakeMakePort port);

  void Form_Load();
  void Form_Unload() {}
  void SiwakeOption_Click(int index);
  void SiwakeOk_Click();
  // Cancel (or the close box): before a build the dialog closes; during one
  // the build is asked to stop, and the dialog closes when it has.
  void SiwakeCancel_Click();

  // The first level-1 column whose type begins with "I" and the kind's
  // digit; 0 when there is none.
  static int FindCodeColumn(const ProgramState& st, int kind);

  int SiwakeKind = 1;
  int SiwakeCodeColumn = 0;
  std::string OptionCaption[2] = {"仕訳１", "仕訳２"};
  bool OptionShown[2] = {true, true};
  std::string Label[2];
  bool Building() const { return building_; }

 private:
  bool LevelsAgree();
  // False when the build stopped; `failed` when it stopped on a fault (told
  // to the user), not because it was asked to.
  bool RunBuild(bool& failed);
  void Progress(int label, const std::string& text);
  void LevelOneShow();

  ProgramState& st_;
  SiwakeMakePort port_;
  bool building_ = false;
  bool stopAsked_ = false;
  std::chrono::steady_clock::time_point lastShown_{};
  std::string pending_[2];
};

}  // namespace kv
