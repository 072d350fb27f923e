#include "editor/siwake_file_create.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "classify/siwake_make_frm.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/fs.h"
#include "sheet/non_print_marks.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/lan_lock.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/recent_files.h"
#include "storage/split_path.h"
#include "storage/work_files.h"
#include "storage/work_folder_check.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr const char* kTitle = "仕訳ファイル作成";

// The tool windows minimised while the command runs, with the states they
// had; restored on every way out.
class ToolWindowsAside {
 public:
  explicit ToolWindowsAside(ProgramState& st) : st_(st) {
    for (Entry& e : Entries()) {
      if (!*e.open) continue;
      const WindowState state = st_.ui.GetWindowState(e.name);
      if (state == WindowState::Minimized) continue;
      e.kept = state;
      st_.ui.SetWindowState(e.name, WindowState::Minimized);
    }
  }
  ~ToolWindowsAside() {
    for (Entry& e : entries_)
      if (e.open != nullptr && *e.open && e.kept) st_.ui.SetWindowState(e.name, *e.kept);
  }
  ToolWindowsAside(const ToolWindowsAside&) = delete;
  ToolWindowsAside& operator=(const ToolWindowsAside&) = delete;

 private:
  struct Entry {
    bool* open = nullptr;
    std::string_view name;
    std::optional<WindowState> kept;
  };
  std::array<Entry, 4>& Entries() {
    entries_ = {Entry{&st_.UnitWindowOpen, kUnitWindow, {}}, Entry{&st_.RefWindowOpen, kRefWindow, {}},
                Entry{&st_.SearchWindowOpen, kSearchWindow, {}}, Entry{&st_.SiwakeWindowOpen, kSiwakeWindow, {}}};
    return entries_;
  }
  ProgramState& st_;
  std::array<Entry, 4> entries_{};
};

void DeleteNewLevelFiles(ProgramState& st) {
  std::error_code ec;
  for (int level = 1; level <= 2; ++level) stdfs::remove(LevelFilePath(st, st.SiwakeFileName, level), ec);
}

// The refusal of a name, "" when it is accepted.
std::string NameRefusal(ProgramState& st, const std::string& target, const std::string& name) {
  if (ToAnsiBytes(target).size() > 200) return "ﾌｧｲﾙ名が長すぎます!";
  if (target.find("無題") != std::string::npos) return "ﾌｧｲﾙ名に [ 無題 ]は使用できません!";
  if (IsInWorkFolder(st, target)) return "作業用フォルダー WORK は使用できません!";
  // The open estimate, or a file whose work set would be the open one's.
  if (EqualsNoCase(target, st.CurrentFilePath) || SameWorkName(name, NameOf(st, st.WorkFileBase)))
    return "現在編集中のファイルには、仕訳ファイルを作成できません。";
  return {};
}

// The new file's path from the save dialog, its lock taken; nullopt when the
// user cancelled.
std::optional<std::string> AskTarget(ProgramState& st, std::string& name) {
  for (;;) {
    FileDialogRequest req;
    req.title = kTitle;
    req.defaultExt = st.LevelExt[1];
    req.filter = "TheKorvaneWinFile (*" + st.PackedExt + ")|*" + st.PackedExt;
    req.initDir = st.KVData;
    req.flags = cdlOFNHideReadOnly;
    FloatWindowsTopMostSet(st, false);
    const std::optional<std::string> chosen = st.ui.SaveFileDialog(req);
    FloatWindowsTopMostSet(st, true);
    if (!chosen || TrimBlanks(*chosen).empty()) return std::nullopt;
    // Every check is made on the file the command will write: a name typed
    // without an extension comes back with the level-1 one.
    const SplitPathResult parts = SplitPath(st, *chosen);
    name = parts.name;
    const std::string target = (parts.folder.empty() ? std::string() : parts.folder + "/") + name + st.PackedExt;
    if (const std::string refusal = NameRefusal(st, target, name); !refusal.empty()) {
      WarnMsgBox(st, refusal);
      continue;
    }
    std::error_code ec;
    if (stdfs::exists(target, ec) &&
        AskUser(st, target + "\rこのファイルはすでに存在します。\r\r上書きしますか？", vbYesNo | vbExclamation) != vbYes)
      continue;
    if (!LanLockAcquire(st, target)) continue;
    return target;
  }
}

// Reads and writes back every level-2 sheet of the new work set, so that the
// sheets are laid out as the editor writes them.
bool LevelTwoRewrite(ProgramState& st) {
  std::error_code ec;
  const std::optional<std::string> level1 = fs::ReadFileBytes(LevelFilePath(st, st.WorkFileBase, 1), ec);
  if (!level1 || st.DataLen <= 0) return false;
  const int n = int(std::nearbyint(double(level1->size()) / st.DataLen));
  bool ok = true;
  st.CurrentLevel = 2;
  for (int i = 0; i < n && ok; ++i) {
    std::string rec = level1->substr(size_t(i) * size_t(st.DataLen), size_t(st.DataLen));
    rec.resize(size_t(st.DataLen), ' ');
    if (rec[2] == 'G') continue;  // the closing record has no sheet below it
    st.ParentRows[1] = rec;
    ok = LevelRead(st, 2) && LevelWrite(st, 2);
  }
  st.CurrentLevel = 1;
  return ok;
}

}  // namespace

void SiwakeFileCreate(ProgramState& st) {
  if (st.UsedRows == 0) {
    WarnMsgBox(st, "仕訳ﾌｧｲﾙを作成する為のデータが入力されていません。");
    return;
  }
  CommandEnd end(st);
  CommandBusySet(st, true);
  st.ui.SetBusyPointer(false);
  if (!st.CustomerVariant2 && CheckSiwakeCodes(st)) return;
  ToolWindowsAside windows(st);

  // A. The open estimate saved and packed first.
  if (st.PackPending || st.SheetModified) {
    if (AskUser(st, "編集中のﾌｧｲﾙを保存後に仕訳ファイルを作成します", vbOKCancel, kTitle) != vbOK) return;
    if (!RecordSheet(st)) return;
    st.SheetModified = false;
    st.PackPending = true;
    if (!CompactEstimate(st, st.WorkFileBase)) return;
    const int packed = PackEstimate(st, st.CurrentFilePath);
    if (packed != -1) {
      PackResultShow(st, packed, NameOf(st, st.WorkFileBase));
      return;
    }
    st.PackPending = false;
  }

  // B. The new file's name, its lock taken.
  std::string name;
  const std::optional<std::string> target = AskTarget(st, name);
  if (!target) return;
  st.SiwakeFileName = WorkBaseOf(st, name);

  // C. The build, then the new work set completed and packed.
  st.SiwakeAbort = false;
  st.ui.ShowModal(kSiwakeMakeWindow);
  if (st.SiwakeAbort) {
    DeleteNewLevelFiles(st);
    LanLockReleaseOf(st, *target);
    return;
  }
  const std::string oldBase = st.WorkFileBase;
  const std::string oldPath = st.CurrentFilePath;
  const auto fail = [&](bool told) {
    if (!told) PackResultShow(st, 0, name);
    WorkFilesDelete(st, name);
    st.WorkFileBase = oldBase;
    st.CurrentFilePath = oldPath;
    LanLockReleaseOf(st, *target);
  };
  std::error_code ec;
  const stdfs::path newIni = st.SiwakeFileName + ".INI";
  stdfs::copy_file(fs::ResolveNoCase(oldBase + ".INI"), newIni, stdfs::copy_options::overwrite_existing, ec);
  if (ec) return fail(false);
  if (st.SystemKind == 1 && !IniPutString("VEZ_File", "FileType", "SetubiSiwakeFile", newIni)) return fail(false);
  st.WorkFileBase = st.SiwakeFileName;
  st.CurrentFilePath = *target;
  if (st.editor != nullptr) st.editor->PageNumbersWrite(st);
  // LevelRead and LevelWrite tell the user of their own failures.
  if (!LevelTwoRewrite(st)) return fail(true);
  const int packed = PackEstimate(st, st.CurrentFilePath);
  if (packed != -1) {
    PackResultShow(st, packed, name);
    return fail(true);
  }
  // The flag follows the estimate that is open: from now on, the new one.
  if (st.SystemKind == 1) st.IsSetubiSiwakeFile = true;

  // D. The new estimate opened in place of the old one.
  WorkFilesDelete(st, NameOf(st, oldBase));
  AddRecentEstimate(st, st.CurrentFilePath);
  st.PackPending = true;
  bool repacked = LevelRead(st, 1) && LevelWrite(st, 1) && LevelRead(st, 1);
  if (repacked) {
    const int again = PackEstimate(st, st.CurrentFilePath);
    repacked = again == -1;
    if (!repacked) PackResultShow(st, again, name);
  }
  // A pack that failed stays pending, so the next save or close packs again.
  st.PackPending = !repacked;
  ShowLevelOne(st);
  LanLockReleaseOf(st, oldPath);
}

}  // namespace kv
