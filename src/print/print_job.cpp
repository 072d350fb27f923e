#include "print/print_job.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/ini_file.h"
#include "core/run_and_wait.h"
#include "core/settings_text.h"
#include "core/window_services.h"
#include "editor/page_numbers.h"
#include "editor/print_prep.h"
#include "platform/ui.h"
#include "print/form_page_numbers.h"
#include "print/kvsystem_ini.h"
#include "print/p1_setup.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_command_steps.h"

namespace kv {
namespace {

// The tool windows minimised while a job runs, in this order, with their
// open flags.
struct ToolWindow {
  std::string_view name;
  bool ProgramState::*open;
};
const std::array<ToolWindow, 4> kToolWindows{{{kUnitWindow, &ProgramState::UnitWindowOpen},
                                              {kRefWindow, &ProgramState::RefWindowOpen},
                                              {kSearchWindow, &ProgramState::SearchWindowOpen},
                                              {kSiwakeWindow, &ProgramState::SiwakeWindowOpen}}};

// The states the windows had before the job.
struct WindowStates {
  WindowState editor = WindowState::Normal;
  std::array<WindowState, 4> tools{};
};

WindowStates WindowsMinimise(ProgramState& st) {
  WindowStates saved;
  saved.editor = st.ui.GetWindowState(kEditWindow);
  st.ui.SetWindowState(kEditWindow, WindowState::Minimized);
  for (size_t i = 0; i < kToolWindows.size(); ++i) {
    const ToolWindow& w = kToolWindows[i];
    saved.tools[i] = WindowState::Minimized;
    if (!(st.*w.open)) continue;
    const WindowState state = st.ui.GetWindowState(w.name);
    if (state == WindowState::Minimized) continue;
    saved.tools[i] = state;
    st.ui.SetWindowState(w.name, WindowState::Minimized);
  }
  return saved;
}

void WindowsRestore(ProgramState& st, const WindowStates& saved) {
  st.ui.SetWindowState(kEditWindow, saved.editor);
  for (size_t i = 0; i < kToolWindows.size(); ++i) {
    const ToolWindow& w = kToolWindows[i];
    if ((st.*w.open) && saved.tools[i] != WindowState::Minimized) st.ui.SetWindowState(w.name, saved.tools[i]);
  }
}

// Saves the chosen print form when the estimate's settings hold another,
// with the page numbers written for it; otherwise the page numbers only
// follow the form when they were last written for other rows. True when
// the page numbers were written.
bool PrintFormSave(ProgramState& st, int form, const std::string& printerIni) {
  st.PrnTypeNo = form;
  if (form == StoredPrintForm(st)) return PageNumbersFollowForm(st);
  PageNumbersWrite(st);
  IniPutEach("印刷タイプ", "PrnTypeNo", std::to_string(form), {printerIni, EstimateIniPath(st), TemplateIniPath(st)});
  st.SheetModified = true;
  return true;
}

// Writes KVSYSTEM.INI and MP_INFO.dat; false after the message when one
// cannot be written.
bool JobFilesWrite(ProgramState& st, const PrintJobInputs& in, const std::string& printerIni) {
  std::error_code ec;
  const std::string_view deleteSection = st.CustomerVariant && !in.option3 ? "固定マスク" : "";
  if (!KvSystemIniWrite(st, printerIni, PrintJobIniKeys(st, in.option3), deleteSection, ec)) {
    JobFileFault(st, st.AppPath + "/" + std::string(kKvSystemIniName), ec.message());
    return false;
  }
  const std::string jobFile = st.AppPath + "/" + std::string(kJobFileName);
  if (!JobFileWrite(jobFile, MpInfoText(PrintJobFileOf(st, in)), ec)) {
    JobFileFault(st, jobFile, ec.message());
    return false;
  }
  return true;
}

}  // namespace

std::string JobCommandLine(const std::string& appPath, std::string_view program) {
  std::string path = appPath + "/" + std::string(program);
  if (path.find(' ') != std::string::npos) path = "\"" + path + "\"";
  return path + " " + std::string(kJobFileArgument);
}

bool JobProgramRun(ProgramState& st, std::string_view program, std::string_view what) {
  const std::error_code ec = RunAndWait(st.ui, JobCommandLine(st.AppPath, program), 1);
  if (!ec) return true;
  AskUser(st,
          std::string(what) + " [ " + st.AppPath + "/" + std::string(program) + " ] を起動できません。\n" + ec.message(),
          vbOKOnly | vbExclamation, kPrintTitle);
  return false;
}

void JobFileFault(ProgramState& st, const std::string& path, const std::string& reason) {
  AskUser(st, "印刷用のファイル [ " + path + " ] を書き込めません。\n" + reason, vbOKOnly | vbExclamation, kPrintTitle);
}

void PrintJob(ProgramState& st, const PrintJobInputs& given, const std::function<void()>& closeDialog) {
  PrintJobInputs in = given;
  in.form = std::clamp(in.form, 1, kPrintForms);
  const WindowStates saved = WindowsMinimise(st);
  st.PrintRunning = true;
  // A printer without its settings file gets one now, so that KVSYSTEM.INI
  // is made from it.
  const std::string printerIni = PrinterIniEnsure(st);

  const std::string requestBefore = std::string(TrimBlanks(st.PrintRequest));
  if (PrintFormSave(st, in.form, printerIni)) {
    // The sheet's first row carries its new start page; a first page number
    // left as the dialog offered it follows that page.
    if (SheetFirstRecordReread(st)) {
      if (st.sheetEngine) st.sheetEngine->StatusPageShow(st, 1);
      if (TrimBlanks(in.firstPage) == requestBefore) in.firstPage = PrintRequestOf(st.SheetRows[1]);
    }
  }
  st.PrnPageNoFlag = in.pageNumbers ? -1 : 0;
  IniPutString("PrintInformation", "PrnPageNoFlag", std::to_string(st.PrnPageNoFlag), TemplateIniPath(st));
  if (in.companyName != in.activatedCompanyName) {
    st.CompanyName = in.companyName;
    IniPutEach("PrintInformation", "CompanyName", st.CompanyName, {printerIni, EstimateIniPath(st), TemplateIniPath(st)});
    st.SheetModified = true;
  }
  const bool written = JobFilesWrite(st, in, printerIni);
  const bool images = st.SystemKind != 1 && in.option1Enabled && in.option1;
  if (closeDialog) closeDialog();
  if (written) {
    if (images) JobProgramRun(st, kImageProgram, "画像出力プログラム");
    JobProgramRun(st, kPrintProgram, "印刷プログラム");
  }
  st.PrintRunning = false;
  WindowsRestore(st, saved);
  st.ui.ActivateWindow(kEditWindow);
}

void PrintJobRun(ProgramState& st, P1SetUpForm& form) {
  PrintJob(st, form.JobInputs(), [&form] { form.Unload(); });
}

}  // namespace kv
