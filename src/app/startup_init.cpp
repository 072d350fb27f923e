#include "app/startup_init.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/window_services.h"
#include "platform/font_substitute.h"
#include "platform/fs.h"
#include "state/base_text.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/edition_ini.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "state/program_state.h"
#include "state/settings_files.h"
#include "state/sys_ini.h"
#include "storage/split_path.h"

namespace kv {

namespace {

constexpr std::string_view kCannotStart = "<TheKorvane>を起動できません!";

// A start-up message: the floating windows (the title screen among them) are
// lowered around it; OK, no icon, title "TheKorvane".
void StartupMsg(ProgramState& st, const std::string& text) {
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, vbOKOnly, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
}

// Settings the program cannot work with end the start-up after one message
// naming the file and the key, before any estimate is opened or written.
void RefuseStart(ProgramState& st, const std::string& problem) {
  StartupMsg(st, problem + "\n" + std::string(kCannotStart));
  st.ui.EndProgram(1);
}

// The work folder is made when missing (one level: the program folder is
// there). A folder that cannot be made ends the start-up: every estimate is
// edited in it.
void WorkFolderMake(ProgramState& st) {
  namespace stdfs = std::filesystem;
  const stdfs::path work = st.AppPath + st.WorkFolderName;
  std::error_code ec;
  // Hidden or not, a folder of that name is the work folder.
  if (stdfs::is_directory(work, ec)) return;
  if (stdfs::create_directory(work, ec) && !ec) return;
  if (!ec) ec = std::make_error_code(std::errc::not_a_directory);  // a file holds the name
  StartupMsg(st, "作業フォルダ " + work.string() + " を作成できません。(" + ec.message() + ")\n" +
                     std::string(kCannotStart));
  st.ui.EndProgram(1);
}

// The settings files the editor cannot work without: KVUTL.INI (the levels of
// an estimate and their files) and KVSSYS.INI with the item layout of the
// column definition records. Checked before any settings file is read or
// written, so that a start they refuse changes nothing: a missing one ends the
// start-up after one message naming it.
void RequiredSettingsCheck(ProgramState& st) {
  auto refuse = [&](const std::string& missing) {
    StartupMsg(st, missing + "がありません。\n" + std::string(kCannotStart));
    st.ui.EndProgram(1);
  };
  const std::string sysIni = st.AppPath + "/KVSSYS.INI";
  for (const std::string& file : {st.AppPath + "/KVUTL.INI", sysIni}) {
    const std::optional<bool> exists = SettingsFileExists(st, file);
    if (!exists) st.ui.EndProgram(1);  // the failed lookup was shown
    if (!*exists) refuse(file);
  }
  if (!IniHasSection(kDefItemSection, sysIni))
    refuse(sysIni + " に [" + std::string(kDefItemSection) + "] ");
}

// GSTAX.INI [官庁用消費税仕様] GSTAX "ON" (blanks around it allowed, letter case
// not) switches the government-office tax mode on.
void GovTaxModeRead(ProgramState& st) {
  st.GovTaxMode = false;
  const std::string file = st.AppPath + "/GSTAX.INI";
  if (!FileExistChk(st, file)) return;
  std::string value;
  IniGetString("官庁用消費税仕様", "GSTAX", value, file);
  st.GovTaxMode = TrimBlanks(value) == "ON";
}

// The base text set named by [Boot] KVtext must be there; without it there are
// no column definitions and the program cannot start.
void BaseTextCheck(ProgramState& st) {
  if (st.KvTextPath.empty() || st.KvTextPath == st.AppPath + "/") {
    // The key is DAVIROV.INI [Boot] KVtext; the message keeps the name the
    // users have always been shown.
    StartupMsg(st, "KVSYSTEM.INIのKVTEXTの記述に誤りがあります。\n" + std::string(kCannotStart));
    st.ui.EndProgram(1);
  }
  if (!FileExistChk(st, st.KvTextPath)) {
    StartupMsg(st, st.KvTextPath + "がありません。\n" + std::string(kCannotStart));
    st.ui.EndProgram(1);
  }
}

}  // namespace

void SplashProgress(ProgramState& st, int step) {
  if (st.NoSplash) return;
  const int value = std::clamp(step, 1, kProgressSteps) * (kProgressMax / kProgressSteps);
  st.ui.SetWindowText(kTitleWindow, kProgressControl, std::to_string(value));
}

bool SheetFontInstalled(const std::string& fontName, const std::vector<std::string>& families) {
  for (const std::string& f : families) {
    // The vertical form counts, as does the family itself: this platform
    // lists no "@" families at all.
    const std::string_view name = (!f.empty() && f[0] == '@') ? std::string_view(f).substr(1) : f;
    if (name == fontName) return true;
  }
  // What the view draws the name with: the family found without letter case,
  // or for the fixed Japanese faces an installed Mincho or Gothic family (the
  // stored name stays).
  const std::string shown = DisplayFontFamily(fontName, families);
  return std::find(families.begin(), families.end(), shown) != families.end();
}

void StartupInit(ProgramState& st, const std::string& programFolder) {
  // 1. The edition first: everything below may depend on it.
  EditionLoad(st, programFolder);
  SplashProgress(st, 2);

  // 2. Folders.
  st.AppPath = programFolder;
  st.WorkFolderName = "/WORK";
  WorkFolderMake(st);
  SplashProgress(st, 3);

  // 3. The untitled estimate is the open one.
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/無題";
  st.CurrentFilePath = st.WorkFileBase;
  for (int L = 1; L <= 7; ++L) st.RatioColumn[L] = 0;
  GovTaxModeRead(st);

  // 4. Settings files. A DAVIROV.INI that is refused (or missing) ends the
  // start-up with the refusal alone: nothing after it could work.
  SplashProgress(st, 4);
  RequiredSettingsCheck(st);
  std::string refusal;
  if (!LevelIniRead(st, refusal)) RefuseStart(st, refusal);
  SplashProgress(st, 5);
  if (!DataIniLoad(st, st.AppPath + "/DAVIROV.INI")) st.ui.EndProgram(1);
  SplashProgress(st, 6);
  SysIniLoad(st);
  SplashProgress(st, 7);
  if (st.SystemKind == 1 && st.calc != nullptr) {
    st.calc->SbClearDefinitions(st);
    st.calc->SbLoadDefinitions(st, st.AppPath + "/VEZ_SIKI.DAT");
  }

  // 5. The sheet font.
  SplashProgress(st, 8);
  const bool fontFound = SheetFontInstalled(st.FontName, st.ui.FontFamilies());
  SplashProgress(st, 9);
  if (!fontFound) {
    StartupMsg(st, "指定のﾌｫﾝﾄ " + st.FontName + "が見つかりません.\nＭＳ 明朝を使用します");
    st.FontName = "ＭＳ 明朝";
  }

  // 6. Defaults of the sheet size and the number base.
  if (st.Imax == 0) st.Imax = 200;
  if (st.H_Link != "16") st.H_Link = "10";

  // 7. Column definitions from the base text set. They are read from the
  // file the existence test found, also when [Boot] KVtext names a folder.
  SplashProgress(st, 10);
  BaseTextCheck(st);
  const SplitPathResult base = SplitPath(st, st.KvTextPath);
  st.CurrentLevel = 1;
  SplashProgress(st, 11);
  // The base text's masks are the current masks: they are read with it.
  st.UsesCurrentSettings = false;
  if (!ColumnDefRead(st, (base.folder.empty() ? st.AppPath : base.folder) + "/" + base.name, &refusal) &&
      !refusal.empty())
    RefuseStart(st, refusal);

  // 8. The untitled layout file: what estimates are compared against. Made
  // again at every start from the current tables, so not waited for on disk.
  SplashProgress(st, 12);
  st.UsesCurrentSettings = true;
  WriteLayoutFile(st, st.WorkFileBase, fs::Flush::Unflushed);

  // 9. The editor window object (made, not loaded).
  SplashProgress(st, 13);
  if (st.WorkFileBase.find("無題") != std::string::npos) TouchEditForm(st.ui);
  SplashProgress(st, 14);
}

}  // namespace kv
