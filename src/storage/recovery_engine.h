#pragma once
// The recovery engine: turns the work files of one estimate, left in the
// work folder by a run that did not end normally, into a new packed estimate
// DATA/FILEnnn.YZH under the program folder. The level files are repaired and
// the file set is assembled in the scratch folder KV1RECOVER, packed, and read
// back; only then do the job's work files leave WORK.
namespace kv {

class Ui;
struct ProgramState;
struct RecoveryContext;

// Runs one recovery of the job ctx.RecWorkFolder + ctx.RecJobName, reporting
// its progress through ctx.ShowStep / ctx.ShowProgress and pausing through
// ctx.Pause. Sets ctx.RecResult (1 everything restored, 2 restored with
// losses, 3 nothing restored) and, on 1 and 2, st.RecoveredFilePath =
// AppPath + "/DATA/" + ctx.RecFileName + ".YZH".
//
// With result 3 (the job's settings file gives no valid record length, its
// level-1 file is empty or of a broken length, all of FILE001 .. FILE255 are
// taken, a copy, the pack or its read-back fails, or the user cancelled) the
// job's work files stay in WORK, the scratch folder is removed, no file of
// this run stays in DATA, and ctx.FailureText says why.
void RecoveryDriver(ProgramState& st, RecoveryContext& ctx);

// Waits `seconds`, letting window events run meanwhile.
void WaitSeconds(Ui& ui, int seconds);

}  // namespace kv
