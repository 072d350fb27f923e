#include "editor/cover_handoff.h"

#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "core/ini_file.h"
#include "core/run_and_wait.h"
#include "core/sjis_text.h"
#include "editor/editor_state.h"
#include "platform/fs.h"
#include "platform/runner.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/row_record.h"
#include "storage/split_path.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kSection = "WinPrint";

// The tool windows the hand-off minimises and gives back, in this order.
struct ToolWindow {
  bool open;
  std::string_view name;
};

std::array<ToolWindow, 4> ToolWindows(const ProgramState& st) {
  return {{{st.UnitWindowOpen, kUnitWindow},
           {st.RefWindowOpen, kRefWindow},
           {st.SearchWindowOpen, kSearchWindow},
           {st.SiwakeWindowOpen, kSiwakeWindow}}};
}

bool Untitled(const ProgramState& st) { return st.WorkFileBase.find("無題") != std::string::npos; }

// A breakdown sheet that was never written to its level file: its parent
// row's child link is still " -99" (read as a signed decimal number).
bool BreakdownNeverWritten(const ProgramState& st) {
  if (st.CurrentLevel < 2) return false;
  const std::string& parent = st.ParentRows[static_cast<size_t>(st.CurrentLevel - 1)];
  return BaseStrToNum(MidAnsi(parent, kChildPos, kStoredNumberWidth), false) < 0;
}

// The last-modified time of the cover file as text; "" when there is none.
// Nanoseconds, so that a rewrite within the same second counts as a change.
std::string CoverFileTime(ProgramState& st, const std::string& path) {
  if (!FileExistChk(st, path)) return {};
  std::error_code ec;
  const auto t = stdfs::last_write_time(fs::ResolveNoCase(path), ec);
  if (ec) return {};
  return std::to_string(t.time_since_epoch().count());
}

// The estimate settings file copied over KVSYSTEM.INI in the program folder.
// A copy that fails leaves the old file for the tool.
void SettingsCopyForTool(const ProgramState& st) {
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(fs::ResolveNoCase(st.WorkFileBase + ".INI"), ec);
  if (!bytes) return;
  fs::WriteFileAtomic(fs::ResolveNoCase(stdfs::path(st.AppPath) / kCoverSettingsFile), *bytes, ec);
}

// The cover tool's program file, found without letter case.
stdfs::path CoverToolPath(const ProgramState& st) {
  const stdfs::path folder(st.AppPath);
  if (std::optional<stdfs::path> found = fs::FindNoCase(folder, kCoverToolFile)) return *found;
  return folder / kCoverToolFile;
}

// Starts the tool with the work base as its one argument (a work folder with
// blanks in its path reaches the tool whole). -1 when it cannot start.
long CoverToolStart(const ProgramState& st, const stdfs::path& tool) {
  std::error_code ec;
  if (!stdfs::is_regular_file(tool, ec)) return -1;
  const long pid = StartProgram(tool.string(), {st.WorkFileBase}, st.AppPath, ec);
  return ec ? -1 : pid;
}

}  // namespace

bool CoverPrinterCheck(ProgramState& st) {
  if (st.ui.PrinterInstalled()) return true;
  AskUser(st,
          "プリンタがインストールされていないため、表紙を起動することが出来ません\r"
          "表紙を起動するためには、プリンタをインストールしてください。",
          vbOKOnly, "DI32DODA");
  return false;
}

void MpCoverFileMake(ProgramState& st, const std::string& printerKey) {
  const stdfs::path file = stdfs::path(st.AppPath) / kCoverHandOffFile;
  const SplitPathResult parts = SplitPath(st, st.CurrentFilePath);
  std::string prnFile = parts.name + st.LevelExt[1];
  if (!parts.folder.empty()) prnFile = (stdfs::path(parts.folder) / prnFile).string();
  const int recNo = BaseStrToNum(MidAnsi(st.SheetRows[1], kOwnPos, kStoredNumberWidth), st);
  const bool orvi = st.SpecialPrintSpec && st.OrviKenPrn == 1;
  const std::pair<std::string_view, std::string> keys[] = {
      {"LEVEL", std::to_string(st.CurrentLevel)},
      {"PRN_REC_NO", std::to_string(recNo)},
      {"PRNFILE", prnFile},
      {"PRN_LEVEL", "0"},
      {"PRN_FORM", "1"},
      {"PRN_LOOP", "1"},
      {"PRN_INI_FILE", printerKey.empty() ? std::string() : printerKey + ".INI"},
      {"ORKN_PRN", orvi ? "ON" : "OFF"},
  };
  // A write that fails leaves the file as it was; the tool reads what is there.
  for (const auto& [key, value] : keys) IniPutString(kSection, key, value, file);
}

void KVCoverProc(ProgramState& st, EditorState& ed, const CoverHandOffPort& port) {
  static bool CoverProcActive = false;
  if (CoverProcActive) return;
  CoverProcActive = true;
  struct ActiveEnd {
    bool& active;
    ~ActiveEnd() { active = false; }
  } activeEnd{CoverProcActive};

  if (Untitled(st)) {
    WarnMsgBox(st, "見積ﾃﾞｰﾀを保存後に実行して下さい。");
    return;
  }
  if (BreakdownNeverWritten(st)) st.SheetModified = true;
  if (st.SheetModified) {
    if (AskUser(st, "編集中のﾌｧｲﾙを保存後に表紙を作成します", vbYesNo, "表紙ﾌｧｲﾙ") != vbYes) return;
    if (!RecordSheet(st)) return;
    st.SheetModified = false;
    st.PackPending = true;
  }

  // The windows' states, the tool windows minimised. A window already
  // minimised (or not open) keeps "minimised" and is not touched afterwards.
  const WindowState mainState = port.MainWindowState ? port.MainWindowState() : WindowState::Normal;
  std::array<WindowState, 4> toolStates;
  toolStates.fill(WindowState::Minimized);
  const std::array<ToolWindow, 4> before = ToolWindows(st);
  for (size_t i = 0; i < before.size(); ++i) {
    if (!before[i].open) continue;
    const WindowState s = st.ui.GetWindowState(before[i].name);
    if (s == WindowState::Minimized) continue;
    toolStates[i] = s;
    st.ui.SetWindowState(before[i].name, WindowState::Minimized);
  }
  FloatWindowsUnload(st);
  MpCoverFileMake(st, port.PrinterKey ? port.PrinterKey() : std::string());
  const std::string coverFile = st.WorkFileBase + std::string(kCoverFileExt);
  const std::string timeBefore = CoverFileTime(st, coverFile);

  if (port.SetMainWindowState) port.SetMainWindowState(WindowState::Minimized);
  ed.CoverToolRunning = true;
  // Whatever happens from here on, the windows come back.
  bool restored = false;
  auto restore = [&] {
    if (restored) return;
    restored = true;
    st.CoverToolPid = 0;
    if (port.SetMainWindowEnabled) port.SetMainWindowEnabled(true);
    ed.CoverToolRunning = false;
    if (port.SetMainWindowState) port.SetMainWindowState(mainState);
    const std::array<ToolWindow, 4> after = ToolWindows(st);
    for (size_t i = 0; i < after.size(); ++i)
      if (after[i].open && toolStates[i] != WindowState::Minimized) st.ui.SetWindowState(after[i].name, toolStates[i]);
  };
  struct RestoreEnd {
    std::function<void()> restore;
    ~RestoreEnd() { restore(); }
  } restoreEnd{restore};

  SettingsCopyForTool(st);
  if (port.SetMainWindowEnabled) port.SetMainWindowEnabled(false);
  const stdfs::path tool = CoverToolPath(st);
  const long pid = CoverToolStart(st, tool);
  if (pid > 0) {
    st.CoverToolPid = pid;
    WaitForProcess(st.ui, pid);
  }
  restore();
  if (pid <= 0) WarnMsgBox(st, "表紙作成プログラムを起動できません。\n" + tool.string());

  CoverProcActive = false;
  if (CoverFileTime(st, coverFile) != timeBefore) st.SheetModified = true;
  if (port.GridFocus) port.GridFocus();
}

}  // namespace kv
