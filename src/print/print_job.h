#pragma once
// The print job: what the print dialog's print button runs once its checks
// have passed. The editor and the open tool windows are minimised and
// `PrintRunning` set; a changed print form and company name are saved (with
// the page numbers written again for the form); the two job files are
// written; the dialog is closed; the image program (when asked) and the
// print program run and are waited for; then everything is put back and the
// editor has the focus again. A job file that cannot be written, or a program
// that cannot be started, is reported (title "印刷") and the windows are put
// back all the same.
#include <functional>
#include <string>
#include <string_view>

#include "print/job_file.h"

namespace kv {

struct ProgramState;
class P1SetUpForm;

inline constexpr std::string_view kPrintProgram = "DOZUR3.exe";
inline constexpr std::string_view kImageProgram = "pixOut.exe";

// The command line of a program of the program folder with the job file:
// "<AppPath>/DOZUR3.exe MP_INFO.DAT", the program's path in double quotes
// when it holds a blank.
std::string JobCommandLine(const std::string& appPath, std::string_view program);

// Runs the program with the job file and waits for it. A program that
// cannot be started is reported, "<what> [ <path> ] を起動できません。" LF the
// reason (title "印刷"); false then.
bool JobProgramRun(ProgramState& st, std::string_view program, std::string_view what);

// Reports a job file that cannot be written: "印刷用のファイル [ <path> ] を
// 書き込めません。" LF the reason (title "印刷").
void JobFileFault(ProgramState& st, const std::string& path, const std::string& reason);

// The job with the dialog's inputs; `closeDialog` unloads the dialog.
void PrintJob(ProgramState& st, const PrintJobInputs& in, const std::function<void()>& closeDialog);

// The job of the print dialog's form (loaded and activated, its controls
// set): its inputs, its unload. Returns after the print program has ended
// and the windows are back.
void PrintJobRun(ProgramState& st, P1SetUpForm& form);

}  // namespace kv
