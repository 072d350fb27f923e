#include "core/settings_text.h"
#include "storage/file_open.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/estimate_pack.h"
#include "storage/estimate_unpack.h"
#include "storage/file_command_steps.h"
#include "storage/file_commands.h"
#include "storage/file_save.h"
#include "storage/flush_levels.h"
#include "storage/lan_lock.h"
#include "storage/last_estimate_setting.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/old_file_check.h"
#include "storage/recent_files.h"
#include "storage/ref_in_use_check.h"
#include "storage/special_print_convert.h"
#include "storage/split_path.h"
#include "storage/work_files.h"
#include "storage/work_folder_check.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr int kOpenDialogFlags = cdlOFNFileMustExist | cdlOFNHideReadOnly;  // 4100

std::string Joined(const std::string& folder, const std::string& file) {
  return folder.empty() ? file : folder + "/" + file;
}

// The file picked in the open dialog; "" when the user stops.
std::string PickEstimateFile(ProgramState& st) {
  for (;;) {
    FileDialogRequest req;
    req.title = "The Korvaneのﾌｧｲﾙを開く";
    req.defaultExt = st.LevelExt[1];
    req.filter = OpenDialogFilter(st);
    req.initDir = st.KVData;
    req.flags = kOpenDialogFlags;
    FloatWindowsTopMostSet(st, false);
    const std::string picked(TrimBlanks(st.ui.OpenFileDialog(req).value_or("")));
    FloatWindowsTopMostSet(st, true);

    std::string refusal;
    if (ContainsNoCase(picked, "基本TEXT"))
      refusal = "基本ＴＥＸＴは編集できません。";
    else if (!picked.empty() && (IsInWorkFolder(st, picked) || IsInRefWorkFolder(st, picked)))
      refusal = "Korvane用 作業フォルダ WORK からデータを開くことはできません。";
    if (refusal.empty()) return picked;
    if (AskUser(st, refusal, vbOKCancel) != vbOK) return {};
  }
}

// The DOS classification files name.S1 .. name.S<CompFileCount> copied into
// the work folder (the first must be there). Nothing stays on a failure.
UnpackResult CopyClassificationSources(ProgramState& st, const SplitPathResult& file) {
  const stdfs::path folder = file.folder.empty() ? stdfs::path(".") : stdfs::path(file.folder);
  const stdfs::path work(st.AppPath + st.WorkFolderName);
  std::vector<stdfs::path> made;
  std::error_code ec;
  const auto fail = [&](UnpackStatus status, const stdfs::path& p) {
    for (const stdfs::path& m : made) stdfs::remove(m, ec);
    return UnpackResult{status, p.string()};
  };
  const int count = std::max(1, std::min(st.CompFileCount, kMaxCompFiles));
  for (int i = 1; i <= count; ++i) {
    const std::string suffix = ".S" + std::to_string(i);
    const std::optional<stdfs::path> source = fs::FindNoCase(folder, file.name + suffix);
    if (!source) {
      if (i == 1) return fail(UnpackStatus::Missing, folder / (file.name + suffix));
      continue;
    }
    const stdfs::path target = work / (file.name + suffix);
    if (!stdfs::copy_file(*source, target, stdfs::copy_options::overwrite_existing, ec))
      return fail(UnpackStatus::IoError, *source);
    made.push_back(target);
  }
  return {};
}

// The conversion prompts of a DOS or previous-format file. False: the user
// stopped.
bool ConversionAccepted(ProgramState& st, const SplitPathResult& file) {
  if (AskUser(st,
              "DOS版見積データまたはTheKorvaneWindows版Ver2形式を\rTheKorvaneWindows版Ver3形式に変換して読み"
              "込みます。",
              vbOKCancel, "TheKorvaneデータ変換の確認") != vbOK)
    return false;
  const std::string folder = file.folder.empty() ? std::string(".") : file.folder;
  if (fs::FindNoCase(folder, file.name + ".YZH")) {
    if (AskUser(
            st,
            file.name + "\rこのファイルはすでにTheKorvaneWindows版Ver3形式が存在します。\r\r上書きしますか？",
            vbYesNo + vbExclamation) != vbYes)
      return false;
  }
  return true;
}

// The copies "<name>(仕訳).S<i>" beside a DOS classification file.
void ClassificationCopies(ProgramState& st, const SplitPathResult& file, bool make) {
  std::error_code ec;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i) {
    const stdfs::path copy = Joined(file.folder, file.name + "(仕訳).S" + std::to_string(i));
    if (!make) {
      stdfs::remove(copy, ec);
      continue;
    }
    const std::optional<stdfs::path> source =
        fs::FindNoCase(file.folder.empty() ? "." : file.folder, file.name + ".S" + std::to_string(i));
    if (source) stdfs::copy_file(*source, copy, stdfs::copy_options::overwrite_existing, ec);
  }
}

// The work files a failed conversion leaves: the copied sources and
// whatever was converted of them.
void ConversionDebrisDelete(ProgramState& st, const std::string& name) {
  WorkFilesDelete(st, name);
  WorkFilesDelete(st, name + "(仕訳)");
  std::error_code ec;
  const stdfs::path work(st.AppPath + st.WorkFolderName);
  for (int i = 1; i <= kMaxCompFiles; ++i) {
    for (const char* kind : {".S", ".Y"}) {
      if (std::optional<stdfs::path> f = fs::FindNoCase(work, name + kind + std::to_string(i)))
        stdfs::remove(*f, ec);
      if (std::optional<stdfs::path> f = fs::FindNoCase(work, name + "TMP" + kind + std::to_string(i)))
        stdfs::remove(*f, ec);
    }
  }
}

// The converted estimate packed under its new name. False when it could not
// be recorded or packed (it stays pending).
bool SaveConverted(ProgramState& st) {
  if (!FlushLevels(st)) return false;
  if (st.editor) st.editor->PageNumbersWrite(st);
  // A level 1 that cannot be read back is not packed: the user has been
  // told, and stays on the sheet recorded.
  const int shown = st.CurrentLevel;
  st.CurrentLevel = 1;
  if (!LevelRead(st, 1)) {
    st.CurrentLevel = shown;
    return false;
  }
  const int result = PackEstimate(st, st.CurrentFilePath);
  st.PackPending = false;
  if (result == kEstimatePacked) return true;
  st.PackPending = true;
  PackResultShow(st, result, NameOf(st, st.WorkFileBase));
  return false;
}

}  // namespace

std::string OpenDialogFilter(const ProgramState& st) {
  const std::string& packed = st.PackedExt;
  const std::string& level1 = st.LevelExt[1];
  std::string filter = "TheKorvaneWinFile (*" + packed + ")|*" + packed + "|TheKorvaneWin2(*" + level1 +
                       " ) &Dosﾌｧｲﾙ(*" + level1 + " )|*" + level1;
  if (st.SystemKind == 1) filter += "|TheKorvane Dos仕訳ﾌｧｲﾙ(*.S1)|*.S1";
  return filter;
}

void FileOpen(ProgramState& st) {
  CommandEnd end(st);
  CommandBusySet(st, true);
  SearchWindowUnload(st);

  if (st.SheetModified &&
      !AskToRecord(st, "見積データ [ " + NameOf(st, st.CurrentFilePath) + " ] の内容は変更されています。\n" +
                           "保存しますか？"))
    return;
  if (st.CustomerVariant) SaveLastEstimateSetting(st, st.CurrentFilePath, st.WorkFileBase);

  const DeclinedPack declined = AskAboutDeclinedPack(st);
  if (declined == DeclinedPack::Stop) return;
  if (!IsUntitledName(st.WorkFileBase) && st.PackPending && declined == DeclinedPack::Pack) {
    if (!PackLockCheck(st)) {
      FileSaveAsRun(st, true);
      return;
    }
    // A refused compaction has told the user; the pack stays pending.
    if (!CompactEstimate(st, st.WorkFileBase)) return;
    const int result = PackEstimate(st, st.CurrentFilePath);
    st.PackPending = false;
    if (result == kEstimatePackRefused) {
      PackResultShow(st, result, NameOf(st, st.WorkFileBase));
      st.PackPending = true;
      return;
    }
    if (result != kEstimatePacked) {
      st.PackPending = true;
      AskUser(st, ReadOnlyFileText(st.CurrentFilePath), vbOKOnly + vbExclamation);
      FileSaveAsRun(st, true);
      return;
    }
  }

  const std::string picked = PickEstimateFile(st);
  if (picked.empty()) return;
  SplitPathResult file = SplitPath(st, picked);
  if (file.extension.empty() && file.name.size() > 3 &&
      EqualsNoCase(file.name.substr(file.name.size() - 3), ".S1")) {
    // A DOS classification file: its extension is none of the file set's.
    file.extension = file.name.substr(file.name.size() - 3);
    file.name.resize(file.name.size() - 3);
  }
  const bool classification = EqualsNoCase(file.extension, ".S1");
  const bool convert = classification || EqualsNoCase(file.extension, ".Y1");
  if (convert && !ConversionAccepted(st, file)) return;

  // The new file's lock first; the estimate open now keeps its own until the
  // new one is sure to open.
  const std::string lockPath = classification ? Joined(file.folder, file.name + "(仕訳)") : picked;
  const std::string oldPath = st.CurrentFilePath;
  const std::string oldBase = st.WorkFileBase;
  if (!LanLockAcquire(st, lockPath)) return;
  if (!IsUntitledName(picked)) {
    const UnpackResult unpacked =
        classification ? CopyClassificationSources(st, file) : UnpackEstimateFile(st, picked);
    if (!unpacked.ok()) {
      UnpackFailureShow(st, unpacked);
      if (!SameLock(st, lockPath, oldPath)) LanLockReleaseOf(st, lockPath);
      return;
    }
  }

  // From here on the old estimate is closed; changes the user chose not to
  // save go with its work files.
  if (!SameLock(st, lockPath, oldPath)) LanLockReleaseOf(st, oldPath);
  if (!IsUntitledName(oldBase) && !SameWorkName(NameOf(st, oldBase), file.name))
    WorkFilesDelete(st, NameOf(st, oldBase));
  if (declined == DeclinedPack::Leave) st.PackPending = false;
  st.PackDeclined = false;
  DataIniLoad(st, st.AppPath + "/DAVIROV.INI");
  LoadEditLayout(st, UntitledBase(st));

  st.KVData = file.folder;
  st.CurrentFilePath = picked;
  st.WorkFileBase = WorkBaseOf(st, file.name);
  RefInUseChk(st);

  bool converted = true;
  if (convert) {
    ProgressMsgShow(st.ui, "ﾌｧｲﾙ変換", "TheKorvaneWindows版Ver3形式に変換中！");
    FileCommands* files = FileCommandsOf(st);
    bool ok = files && files->ConvertClassificationFile &&
              files->ConvertClassificationFile(st, st.WorkFileBase, file.extension);
    if (classification) {
      st.WorkFileBase = WorkBaseOf(st, file.name + "(仕訳)");
      st.CurrentFilePath = Joined(file.folder, file.name + "(仕訳)" + st.PackedExt);
      ClassificationCopies(st, file, true);
    }
    if (ok) ok = OldFileAndPageChk(st, st.WorkFileBase);
    st.ui.UnloadWindow(kBusyWindow);
    FloatWindowsRaise(st);
    if (!ok) {
      // The untitled estimate instead; nothing of the file stays behind.
      converted = false;
      LanLockReleaseOf(st, lockPath);
      ConversionDebrisDelete(st, file.name);
      if (classification) ClassificationCopies(st, file, false);
      st.WorkFileBase = UntitledBase(st);
      st.CurrentFilePath = st.WorkFileBase;
      WarnMsgBox(st, "見積データ [ " + picked + " ] を変換できませんでした。");
    } else {
      if (classification && st.SystemKind == 1) {
        IniPutString("VEZ_File", "FileType", "SetubiSiwakeFile", st.WorkFileBase + ".INI");
        st.IsSetubiSiwakeFile = true;
      }
      if (EqualsNoCase(SplitPath(st, st.CurrentFilePath).extension, ".Y1"))
        st.CurrentFilePath = Joined(file.folder, file.name + st.PackedExt);
    }
  }

  // The untitled estimate a failed conversion falls back to keeps the
  // system settings loaded above.
  if (!IsUntitledName(st.WorkFileBase)) OpenedEstimateSettings(st, file.name);
  SettingsDependentsRefresh(st);
  if (!IsUntitledName(st.WorkFileBase)) {
    MakeNewFromTemplate(st, st.WorkFileBase);
    if (st.SpecialPrintSpec) SpecialPrintConvert(st, st.WorkFileBase);
  }
  ShowLevelOne(st);

  if (convert && converted) {
    const bool saved = SaveConverted(st);
    if (classification) ClassificationCopies(st, file, false);
    if (!saved) return;
  }
  const SplitPathResult opened = SplitPath(st, st.CurrentFilePath);
  AddRecentEstimate(st, Joined(opened.folder, opened.name + st.PackedExt));
  if (st.SystemKind == 1 && st.calc)
    st.IsSetubiSiwakeFile = st.calc->IsEquipmentSiwakeFile(st, st.WorkFileBase);
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
}

}  // namespace kv
