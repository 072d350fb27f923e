#include "storage/recovery_engine.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/ui.h"
#include "state/program_state.h"
#include "storage/recovery_context.h"
#include "storage/recovery_files.h"
#include "storage/recovery_levels.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

// The user cancelled in the progress window.
struct RecoveryStopped {};
// A step failed; nothing is restored.
struct RecoveryFailed {
  std::string text;
};

[[noreturn]] void Fail(std::string text) { throw RecoveryFailed{std::move(text)}; }

std::string Bracketed(const stdfs::path& p) { return "[ " + p.string() + " ]"; }

bool SameBytes(const stdfs::path& a, const stdfs::path& b) {
  std::error_code ea, eb;
  std::optional<std::string> x = fs::ReadFileBytes(a, ea);
  std::optional<std::string> y = fs::ReadFileBytes(b, eb);
  return x && y && *x == *y;
}

// One run of the engine over its context.
class RecoveryRun {
 public:
  RecoveryRun(ProgramState& st, RecoveryContext& ctx)
      : st_(st),
        ctx_(ctx),
        app_(st.AppPath),
        work_(ctx.RecWorkFolder),
        data_(app_ / "DATA"),
        scratch_(app_ / "KV1RECOVER") {}

  void Drive() {
    Step("ファイルチェック中", 5);
    Pause(1);

    JobSettings();
    ctx_.RecResult = kRecAll;
    if (!FindLeftoverLevels(ctx_, ctx_.RecJobName, ctx_.JobDataLen)) ctx_.RecResult = kRecPartial;
    if (ctx_.RecLevelCount < 1)
      Fail("復旧するファイルの第1階層のデータ " + Bracketed(ctx_.RecJobName + ".Y1") +
           " が空か、長さが正しくありません。");

    // Scratch files of an earlier run never mix into this one.
    EmptyScratch();
    ctx_.RecLevelRecCount.fill(0);
    Step("ファイル復旧中", 10);
    Pause(1);
    RecoverJob();
  }

  // Takes back what the run made: the scratch folder and its files in DATA.
  void Undo() {
    std::error_code ec;
    stdfs::remove_all(scratch_, ec);
    for (const stdfs::path& p : made_) stdfs::remove(p, ec);
  }

 private:
  void RecoverJob() {
    Progress(20);
    MakeFolder(data_);
    const int n = FreeRecoverNumber(data_, work_, st_.OleDataExt);
    if (n == 0) Fail("DATAフォルダの中のファイル名 FILE001～FILE255 がすべて使われています。");
    ctx_.RecFileName = RecoverFileName(n);
    ctx_.RecOutBase = (scratch_ / ctx_.RecFileName).string();

    RecoverJobLevels(ctx_, [this] { Checkpoint(); });
    Progress(50);

    const std::vector<std::string> exts = DosComponentExts(app_);
    std::string failed;
    if (!CopyComponentFiles(exts, work_ / ctx_.RecJobName, ctx_.RecOutBase, failed))
      Fail("ファイル " + Bracketed(failed) + " をコピーできませんでした。");
    Progress(70);
    if (!CopySheetObjectFiles(ctx_, work_, scratch_, ctx_.RecJobName, ctx_.RecFileName, failed))
      Fail("ファイル " + Bracketed(failed) + " をコピーできませんでした。");
    // The last moment to stop: from here the run goes through to the end.
    Checkpoint();

    PackFileSet set;
    set.PackedExt = ".YZH";
    set.OleDataExt = st_.OleDataExt.empty() ? "OPD" : st_.OleDataExt;
    set.CompFileExt = exts;
    const stdfs::path packed = PackedFilePath(data_, ctx_.RecFileName, set);
    const stdfs::path oleData = OleDataFilePath(data_, ctx_.RecFileName, set);
    Pack(MCompress(data_, scratch_, ctx_.RecFileName, app_, set), packed);
    Progress(80);
    Pack(MCompOLEData(data_, scratch_, ctx_.RecFileName, app_, set), oleData);
    if (!ReadsBack(set)) Fail("作成したファイル " + Bracketed(packed) + " を正しく読み込めませんでした。");
    Progress(85);

    // The restored estimate is safely in DATA: only now do the job's work
    // files leave WORK.
    std::error_code ec;
    stdfs::remove_all(scratch_, ec);
    DeleteJobWorkFiles(ctx_, st_.SystemKind, exts, work_ / ctx_.RecJobName);
    st_.RecoveredFilePath = st_.AppPath + "/DATA/" + ctx_.RecFileName + ".YZH";
  }

  // The job's record length and number base, from its own settings file.
  void JobSettings() {
    std::optional<stdfs::path> ini = fs::FindNoCase(work_, ctx_.RecJobName + ".INI");
    int length = ini ? IniGetInt("Boot", "DataLen", *ini) : -1;
    if (!IsValidRecordLength(length))
      Fail("復旧するファイルの設定ファイル " + Bracketed(ctx_.RecJobName + ".INI") +
           " がないか、レコード長 (DataLen) が正しくありません。");
    std::string hLink;
    IniGetString("Boot", "H_Link", hLink, *ini);
    ctx_.JobDataLen = length;
    ctx_.JobHex = IsHexBase(hLink);
  }

  void EmptyScratch() {
    std::error_code ec;
    stdfs::remove_all(scratch_, ec);
    if (ec) Fail("フォルダ " + Bracketed(scratch_) + " を空にできませんでした。");
    MakeFolder(scratch_);
  }

  void MakeFolder(const stdfs::path& folder) {
    std::error_code ec;
    stdfs::create_directories(folder, ec);
    if (!stdfs::is_directory(folder, ec)) Fail("フォルダ " + Bracketed(folder) + " を作成できませんでした。");
  }

  void Pack(int result, const stdfs::path& output) {
    std::error_code ec;
    if (result == kPackOk && stdfs::is_regular_file(output, ec)) {
      made_.push_back(output);
      return;
    }
    Fail("ファイル " + Bracketed(output) + " を作成できませんでした。");
  }

  // The packed files unpack into exactly the files that were packed.
  bool ReadsBack(const PackFileSet& set) {
    const stdfs::path check = scratch_ / "check";
    std::error_code ec;
    if (!stdfs::create_directory(check, ec)) return false;
    const std::string& name = ctx_.RecFileName;
    if (MMelt(data_, check, name, app_, set) != kPackOk) return false;
    for (const std::string& ext : set.CompFileExt) {
      std::optional<stdfs::path> a = fs::FindNoCase(scratch_, name + ext);
      std::optional<stdfs::path> b = fs::FindNoCase(check, name + ext);
      if (a.has_value() != b.has_value() || (a && !SameBytes(*a, *b))) return false;
    }
    if (MMeltOLEData(data_, check, name, app_, set) != kPackOk) return false;
    for (const std::string& obj : ctx_.RecObjFiles) {
      const std::string renamed = RenamedObjectFile(obj, ctx_.RecJobName, name);
      if (!SameBytes(scratch_ / renamed, check / renamed)) return false;
    }
    return true;
  }

  void Step(const std::string& text, int percent) {
    if (ctx_.ShowStep) ctx_.ShowStep(text);
    Progress(percent);
  }
  void Progress(int percent) {
    if (ctx_.ShowProgress) ctx_.ShowProgress(percent);
  }
  void Pause(int seconds) {
    if (ctx_.Pause)
      ctx_.Pause(seconds);
    else
      WaitSeconds(st_.ui, seconds);
    Checkpoint();
  }
  // Between steps: window events run, and a cancel stops the run.
  void Checkpoint() {
    st_.ui.ProcessEvents();
    if (ctx_.CancelRequested) throw RecoveryStopped{};
  }

  ProgramState& st_;
  RecoveryContext& ctx_;
  const stdfs::path app_;
  const stdfs::path work_;
  const stdfs::path data_;
  const stdfs::path scratch_;
  std::vector<stdfs::path> made_;  // files this run wrote into DATA
};

}  // namespace

void RecoveryDriver(ProgramState& st, RecoveryContext& ctx) {
  ctx.RecResult = 0;
  ctx.RecLevelCount = 0;
  ctx.RecLevelRecCount.fill(0);
  ctx.RecOutBase.clear();
  ctx.RecFileName.clear();
  ctx.RecObjFiles.clear();
  ctx.FailureText.clear();
  ctx.CancelRequested = false;
  ctx.Cancelled = false;

  RecoveryRun run(st, ctx);
  std::string failure;
  try {
    run.Drive();
    return;
  } catch (const RecoveryStopped&) {
    ctx.Cancelled = true;
    failure = "キャンセルされました。";
  } catch (const RecoveryFailed& f) {
    failure = f.text;
  } catch (const std::exception& e) {
    // RecordFileError and the file system's errors: an unreadable or
    // unwritable file.
    failure = std::string("ファイルを読み書きできませんでした。\n") + e.what();
  }
  run.Undo();
  ctx.RecResult = kRecNothing;
  ctx.FailureText = failure;
}

void WaitSeconds(Ui& ui, int seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  do {
    ui.ProcessEvents();
    if (Clock::now() >= end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (Clock::now() < end);
}

}  // namespace kv
