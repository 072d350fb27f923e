#pragma once
// The state of one recovery of left-over work files: which job is restored,
// what the run found and made, and the hooks through which the progress
// window follows the run and asks it to stop. The wizard fills in the job,
// the engine the rest; the wizard's result step reads the outcome.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

// Outcome of a recovery run.
inline constexpr int kRecAll = 1;      // everything restored
inline constexpr int kRecPartial = 2;  // restored, with losses
inline constexpr int kRecNothing = 3;  // nothing restored; the job's work files stay

// The engine handles the level files ".Y1" to ".Y8" of a job: every level an
// estimate can have, so that no level of a deep estimate is left behind.
inline constexpr int kRecMaxLevels = 8;

struct RecoveryContext {
  // --- The job (set by the wizard) ---
  std::string RecWorkFolder;  // program folder + "/WORK/"
  std::string RecJobName;     // work name: the ".Y1" file's name without ".Y1"

  // --- What the run found and made ---
  int RecLevelCount = 0;  // consecutive sound level files of the job, 0..7
  // Records written so far into each restored level file [1..7]; [0] unused.
  std::array<std::int32_t, kRecMaxLevels + 1> RecLevelRecCount{};
  std::string RecOutBase;   // scratch base: program folder + "/KV1RECOVER/" + RecFileName
  std::string RecFileName;  // "FILE" + three digits
  int RecResult = 0;        // kRecAll, kRecPartial or kRecNothing
  std::vector<std::string> RecObjFiles;  // the job's sheet object files found in WORK

  // The job's own record length and number base, from its settings file.
  int JobDataLen = 0;
  bool JobHex = false;

  // Why nothing was restored (RecResult 3), in words for the result step;
  // empty when there is nothing to add.
  std::string FailureText;

  // --- Progress and cancel ---
  // The step text ("ファイルチェック中", "ファイル復旧中") and the bar (0..100).
  std::function<void(const std::string& text)> ShowStep;
  std::function<void(int percent)> ShowProgress;
  // The pauses of the run (seconds), during which window events run. Empty:
  // WaitSeconds on the program's UI.
  std::function<void(int seconds)> Pause;
  // Set by the progress window's Cancel; the run looks at it between its
  // steps, stops, cleans its scratch folder and ends with RecResult 3.
  bool CancelRequested = false;
  bool Cancelled = false;  // the last run stopped at the user's request
};

}  // namespace kv
