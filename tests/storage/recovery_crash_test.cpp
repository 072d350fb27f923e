// The reliability check of the recovery: a child process opens an estimate,
// records changes on two levels, compacts the work files and saves, and is
// killed with SIGKILL at a chosen point (after a level write, in the middle
// of one, while the compacted level files replace the old ones, during the
// pack, between the renames of the estimate file and its object pack). The
// next start settles what the save left half done, finds the job, the wizard
// restores it, and the restored estimate holds every recorded row or the
// state before, never a broken file; the packed estimate itself changes only
// when a pack completed, and its ".YZH" and ".OPD" always come from the same
// save.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/file_set_replace.h"
#include "platform/packing.h"
#include "storage/compaction.h"
#include "storage/estimate_pack.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/program_copy.h"
#include "storage/recover_file_open.h"
#include "storage/recover_wizard.h"
#include "storage/recovery_context.h"
#include "storage/recovery_jobs.h"
#include "storage/row_record.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

namespace rfs = std::filesystem;
using Texts = std::vector<std::string>;

// Where the child stops itself (SIGSTOP) so that the test can kill it there.
enum Stop : unsigned {
  kAfterTopWrite = 1,
  kBeforeBreakdownWrite = 2,
  kMidBreakdownWrite = 4,  // the breakdown's records written, its parent row not yet
  kAfterBreakdownWrite = 8,
  kBeforePack = 16,
  kAfterPack = 32,
  kMidCompaction = 64,  // the first compacted level file renamed, the others not yet
  kMidPairRename = 128,  // the estimate file renamed, its object pack not yet
};

constexpr const char* kJob = "工事A";
constexpr const char* kOldObjects = "objects of the first save";
constexpr const char* kNewObjects = "objects of the second save";

Texts Numbered(const std::string& prefix, int count, const std::string& suffix = "") {
  Texts t;
  for (int i = 1; i <= count; ++i) t.push_back(prefix + std::to_string(i) + suffix);
  return t;
}

// The sheet engine's status panel, which the level writer clears once the
// sheet's records are written and before the parent row is: the child stops
// there when asked to.
class StopInLevelWrite : public RecordingSheet {
 public:
  bool armed = false;
  void StatusPanelClear(ProgramState& st, int panel) override {
    RecordingSheet::StatusPanelClear(st, panel);
    if (armed) {
      armed = false;
      ::raise(SIGSTOP);
    }
  }
};

class CrashRecovery : public ::testing::Test {
 protected:
  TempFolder app;
  rfs::path folder;  // where the packed estimate lives
  rfs::path packed;
  rfs::path objects;     // its object pack
  std::string original;  // its bytes before the child ran
  std::string originalObjects;
  int oldRows = 2;
  int newRows = 6;
  int filler = 0;  // unreachable records in the breakdown level, to make packing slow

  rfs::path Work() const { return app / "WORK"; }
  rfs::path ObjectFile() const { return Work() / (std::string(kJob) + "$1.MOD"); }

  // Column 1 of a record at `level` set to `text`.
  static void SetText(const ProgramState& st, int level, std::string& rec, const std::string& text) {
    rec = FitRecord(rec, st.DataLen);
    std::string bytes = ToSjis(text);
    bytes.resize(static_cast<size_t>(st.ColWidth[level][1]), ' ');
    rec.replace(static_cast<size_t>(st.ColStart[level][1] - 1), bytes.size(), bytes);
  }
  static std::string TextOf(const ProgramState& st, int level, const std::string& rec) {
    std::string t = FromSjis(rec.substr(static_cast<size_t>(st.ColStart[level][1] - 1),
                                        static_cast<size_t>(st.ColWidth[level][1])));
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
  }
  static Texts SheetTexts(const ProgramState& st, int level) {
    Texts t;
    for (int i = 1; i <= st.UsedRows; ++i) t.push_back(TextOf(st, level, st.SheetRows[i]));
    return t;
  }
  static void SetRows(ProgramState& st, int level, const Texts& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
      std::string& rec = st.SheetRows[i + 1];
      if (rec.empty()) rec = std::string(static_cast<size_t>(st.DataLen), ' ');
      SetText(st, level, rec, texts[i]);
    }
  }
  static void ClearSheet(ProgramState& st, int level) {
    for (auto& r : st.SheetRows) r = std::string(static_cast<size_t>(st.DataLen), ' ');
    st.RowRecNos.fill(0);
    st.SheetTotalRecord = FitRecord(st.TotalRecordDefaults[level], st.DataLen);
  }

  // The estimate as last saved: rows R1..R3, R1 with a breakdown b1..bn;
  // packed, and its work files gone as after a normal end.
  void MakeEstimate() {
    CopyProgramFolder(app.path());
    folder = app / "見積";
    rfs::create_directories(folder);
    packed = folder / (std::string(kJob) + ".YZH");
    objects = folder / (std::string(kJob) + ".OPD");
    ScriptedUi ui;
    ProgramState st(ui);
    StartProgram(st, app.path());
    st.WorkFileBase = st.AppPath + "/WORK/" + kJob;
    st.CurrentFilePath = packed.string();
    st.KVData = folder.string();

    ClearSheet(st, 1);
    SetRows(st, 1, {"R1", "R2", "R3"});
    ASSERT_TRUE(LevelWrite(st, 1));
    st.ParentRows[1] = st.SheetRows[1];
    st.CurrentLevel = 2;
    ASSERT_TRUE(LevelRowsRead(st, 2));
    SetRows(st, 2, Numbered("b", oldRows));
    ASSERT_TRUE(LevelWrite(st, 2));
    if (filler > 0) {
      RecordFile y2(Work() / (std::string(kJob) + ".Y2"), st.DataLen);
      std::mt19937 random(7);
      std::uniform_int_distribution<int> printable(0x21, 0x7E);
      std::string rec(static_cast<size_t>(st.DataLen), ' ');
      for (int n = y2.RecordCount() + 1, end = n + filler; n < end; ++n) {
        for (size_t i = kColumnDataPos - 1; i < rec.size(); ++i) rec[i] = static_cast<char>(printable(random));
        SetLinkField(rec, kOwnPos, n, IsHexBase(st.H_Link));
        SetLinkField(rec, kNextPos, kNoRecord, IsHexBase(st.H_Link));
        SetLinkField(rec, kChildPos, kNoRecord, IsHexBase(st.H_Link));
        y2.PutRecordText(n, rec);
      }
      y2.Close();
    }
    app.Write("WORK/" + ObjectFile().filename().string(), kOldObjects);
    const PackFileSet set = PackFileSetFrom(st);
    ASSERT_EQ(MCompress(folder, Work(), kJob, app.path(), set), kPackOk);
    ASSERT_EQ(MCompOLEData(folder, Work(), kJob, app.path(), set), kPackOk);
    rfs::remove_all(Work());
    original = ReadAll(packed);
    originalObjects = ReadAll(objects);
  }

  // The child: a run of the program that opens the estimate, records level 1
  // and the breakdown of R1, and saves; it stops itself at the points in
  // `stops`. Never returns.
  [[noreturn]] void Child(unsigned stops) {
    auto stopAt = [stops](Stop s) {
      if (stops & s) ::raise(SIGSTOP);
    };
    ScriptedUi ui;
    ProgramState st(ui);
    StopInLevelWrite sheet;
    StartProgram(st, app.path());
    if (::testing::Test::HasFatalFailure()) ::_exit(10);
    st.sheetEngine = &sheet;
    // File > Open.
    st.CurrentFilePath = packed.string();
    st.KVData = folder.string();
    st.WorkFileBase = st.AppPath + "/WORK/" + kJob;
    const PackFileSet set = PackFileSetFrom(st);
    if (MMelt(folder, Work(), kJob, app.path(), set) != kPackOk ||
        MMeltOLEData(folder, Work(), kJob, app.path(), set) != kPackOk)
      ::_exit(11);
    if (!DataIniLoad(st, st.WorkFileBase + ".INI") || !LevelRead(st, 1)) ::_exit(12);

    SetRows(st, 1, {"R1*", "R2*", "R3*", "R4*"});
    if (!LevelWrite(st, 1)) ::_exit(13);
    stopAt(kAfterTopWrite);

    st.ParentRows[1] = st.SheetRows[1];
    st.CurrentLevel = 2;
    if (!LevelRead(st, 2) || st.UsedRows != oldRows) ::_exit(14);
    SetRows(st, 2, Numbered("b", newRows, "*"));
    stopAt(kBeforeBreakdownWrite);
    sheet.armed = (stops & kMidBreakdownWrite) != 0;
    if (!LevelWrite(st, 2)) ::_exit(15);
    stopAt(kAfterBreakdownWrite);

    // Save: the work files compacted, the objects changed, the pair packed.
    auto stopAfterFirstRename = [stops](Stop s) {
      return [stops, s](int renamed) {
        if (renamed == 1 && (stops & s)) ::raise(SIGSTOP);
      };
    };
    if (!EstFilePack(st, st.WorkFileBase, stopAfterFirstRename(kMidCompaction))) ::_exit(16);
    std::ofstream(ObjectFile(), std::ios::binary | std::ios::trunc) << kNewObjects;
    stopAt(kBeforePack);
    if (PackEstimateFile(st, packed.string(), false, SystemDiskProbe(), stopAfterFirstRename(kMidPairRename)) !=
        kEstimatePacked)
      ::_exit(17);
    stopAt(kAfterPack);
    ::_exit(0);
  }

  // Starts the child and waits until it stops at its first stop point.
  pid_t StartChild(unsigned stops) {
    pid_t pid = ::fork();
    if (pid == 0) Child(stops);
    EXPECT_GT(pid, 0);
    WaitStopped(pid);
    return pid;
  }

  static void WaitStopped(pid_t pid) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, WUNTRACED), pid);
    ASSERT_TRUE(WIFSTOPPED(status)) << "the child ended on its own with " << WEXITSTATUS(status);
  }

  // True when the child has stopped again (non-blocking).
  static bool HasStopped(pid_t pid) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WUNTRACED | WNOHANG);
    if (r == pid) {
      EXPECT_TRUE(WIFSTOPPED(status)) << "the child ended on its own with " << WEXITSTATUS(status);
    }
    return r == pid;
  }

  static void Kill(pid_t pid) {
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    ::kill(pid, SIGCONT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
  }

  // A fresh program folder with the estimate as last saved.
  void FreshEstimate() {
    rfs::remove_all(app.path());
    rfs::create_directories(app.path());
    MakeEstimate();
  }

  // Starts the child with `stops`, runs `atFirstStop`, lets the child run on
  // and kills it as soon as `when` holds (looked at in a tight loop) or it
  // has stopped again. True when `when` held first.
  bool KillWhen(unsigned stops, const std::function<bool()>& when, const std::function<void()>& atFirstStop = {}) {
    pid_t pid = StartChild(stops);
    if (atFirstStop) atFirstStop();
    EXPECT_EQ(::kill(pid, SIGCONT), 0);
    bool held = false;
    while (!(held = when()) && !HasStopped(pid)) {
    }
    // The child runs on while the kill is sent: freeze it first and look
    // again, so that what counts as held is what the kill meets (a pack seen
    // under way may have finished meanwhile).
    if (held) {
      EXPECT_EQ(::kill(pid, SIGSTOP), 0);
      WaitStopped(pid);
    }
    // The child may have met the moment and reached its stop between the
    // last look and the stop test (a loaded machine): look once more, so
    // that a kill landing at the stop after the moment counts as held.
    held = when();
    Kill(pid);
    return held;
  }

  // A pack in progress: the archive being written beside the packed file.
  bool PackUnderWay() const {
    const std::string prefix = "." + packed.filename().string() + "~";
    for (const auto& e : rfs::directory_iterator(folder))
      if (e.path().filename().string().rfind(prefix, 0) == 0) return true;
    return false;
  }

  // --- The next start ---
  struct Restored {
    Texts top;
    Texts breakdown;
  };

  // Starts the program again as the start-up does: finds the job, runs the
  // wizard (played as the user would) and opens what it restored.
  Restored NextStart() {
    ScriptedUi ui;
    ProgramState st(ui);
    Restored out;
    StartProgram(st, app.path());
    SettleInterruptedSaves(st);
    EXPECT_TRUE(RecoverFilesExist(st));
    RecoveryContext ctx;
    ctx.Pause = [](int) {};
    ui.AnswerModal(std::string(kRecoverWindow), [&] {
      RecoverWizard wizard(st, ctx);
      ASSERT_TRUE(wizard.Form_Load());
      wizard.cmdNext_Click();
      EXPECT_EQ(wizard.View().lblFName, kJob);
      wizard.cmdNext_Click();
      wizard.cmdNext_Click();
      EXPECT_EQ(wizard.StepNo(), 5);
      wizard.cmdEnd_Click();
    });
    ui.AnswerModal(std::string(kChangeWindow), [&] { RecoverProgressRun(st, ctx); });

    st.RecoveryRunning = true;
    st.RecoveredFilePath.clear();
    ui.ShowModal(kRecoverWindow);
    ui.UnloadWindow(kRecoverWindow);
    st.RecoveryRunning = false;

    EXPECT_EQ(ctx.RecResult, kRecAll) << ctx.FailureText;
    EXPECT_FALSE(RecoverFilesExist(st)) << "the job has left WORK";
    EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
    if (st.RecoveredFilePath.empty()) return out;
    EXPECT_TRUE(RecoverFileOpen(st, [](ProgramState&, const std::string&) {}));
    out.top = SheetTexts(st, 1);
    st.ParentRows[1] = st.SheetRows[1];
    st.CurrentLevel = 2;
    EXPECT_TRUE(LevelRead(st, 2));
    out.breakdown = SheetTexts(st, 2);
    return out;
  }

  void ExpectOriginalUnchanged() {
    EXPECT_TRUE(ReadAll(packed) == original) << "the packed estimate changed";
    EXPECT_TRUE(ReadAll(objects) == originalObjects) << "the object pack changed";
  }

  // The estimate's folder holds its two files and nothing else, and they come
  // from one save: the level-1 file of the second save (5 records) exactly
  // when the objects of the second save. True for the second save.
  bool PairFromOneSave() {
    std::vector<std::string> names;
    for (const auto& e : rfs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{objects.filename().string(), packed.filename().string()}));
    ScriptedUi ui;
    ProgramState st(ui);
    StartProgram(st, app.path());
    const rfs::path check = app / "pair";
    rfs::remove_all(check);
    rfs::create_directories(check);
    const PackFileSet set = PackFileSetFrom(st);
    EXPECT_EQ(MMelt(folder, check, kJob, app.path(), set), kPackOk);
    EXPECT_EQ(MMeltOLEData(folder, check, kJob, app.path(), set), kPackOk);
    const bool secondTop =
        rfs::file_size(check / (std::string(kJob) + ".Y1")) == 5u * static_cast<unsigned>(st.DataLen);
    const std::string objectBytes = ReadAll(check / ObjectFile().filename());
    EXPECT_EQ(objectBytes, secondTop ? kNewObjects : kOldObjects) << "the pair mixes two saves";
    return secondTop;
  }

  // The packed estimate was replaced by a complete pack of the recorded work set.
  void ExpectOriginalRepacked() {
    EXPECT_FALSE(ReadAll(packed) == original);
    ScriptedUi ui;
    ProgramState st(ui);
    StartProgram(st, app.path());
    rfs::path check = app / "check";
    rfs::create_directories(check);
    ASSERT_EQ(MMelt(folder, check, kJob, app.path(), PackFileSetFrom(st)), kPackOk);
    EXPECT_EQ(rfs::file_size(check / (std::string(kJob) + ".Y1")), 5u * static_cast<unsigned>(st.DataLen));
    EXPECT_TRUE(PairFromOneSave());
  }
};

const Texts kOldTop{"R1", "R2", "R3"};
const Texts kNewTop{"R1*", "R2*", "R3*", "R4*"};

TEST_F(CrashRecovery, KilledAfterTheTopLevelWrite) {
  MakeEstimate();
  Kill(StartChild(kAfterTopWrite));

  Restored r = NextStart();

  EXPECT_EQ(r.top, kNewTop);
  EXPECT_EQ(r.breakdown, Numbered("b", oldRows));
  ExpectOriginalUnchanged();
}

// The breakdown's records are written, its parent row not yet.
TEST_F(CrashRecovery, KilledInTheMiddleOfTheBreakdownWrite) {
  MakeEstimate();
  Kill(StartChild(kMidBreakdownWrite));

  Restored r = NextStart();

  EXPECT_EQ(r.top, kNewTop);
  EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
  ExpectOriginalUnchanged();
}

TEST_F(CrashRecovery, KilledAfterTheBreakdownWrite) {
  MakeEstimate();
  Kill(StartChild(kAfterBreakdownWrite));

  Restored r = NextStart();

  EXPECT_EQ(r.top, kNewTop);
  EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
  ExpectOriginalUnchanged();
}

TEST_F(CrashRecovery, KilledAfterThePackCompleted) {
  MakeEstimate();
  Kill(StartChild(kAfterPack));

  Restored r = NextStart();

  EXPECT_EQ(r.top, kNewTop);
  EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
  ExpectOriginalRepacked();
}

// Killed while the archive is being written: the packed estimate is the one
// saved before. A large work set makes the pack last long enough to be seen.
TEST_F(CrashRecovery, KilledDuringThePack) {
  filler = 20000;
  bool caught = false;
  for (int attempt = 0; attempt < 5 && !caught; ++attempt) {
    FreshEstimate();
    // Not caught: the pack completed before it was seen.
    caught = KillWhen(kBeforePack | kAfterPack, [&] { return PackUnderWay(); });

    Restored r = NextStart();

    EXPECT_EQ(r.top, kNewTop);
    EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
    if (caught)
      ExpectOriginalUnchanged();
    else
      ExpectOriginalRepacked();
  }
  EXPECT_TRUE(caught) << "no kill landed during a pack";
}

// Killed at moments spread over the level writer's in-place write of a long
// breakdown (appended records first, then the reused ones): the restored
// sheet is the new rows up to some row and the old rows after it, its chain
// sound, never a mix that reads as damaged.
TEST_F(CrashRecovery, KilledAtAnyMomentOfTheBreakdownWrite) {
  oldRows = 100;
  newRows = 199;
  const Texts oldSheet = Numbered("b", oldRows);
  const Texts newSheet = Numbered("b", newRows, "*");
  for (int delayMicros : {0, 80, 120, 160, 250, 1000}) {
    SCOPED_TRACE("kill " + std::to_string(delayMicros) + " us after the file grew");
    FreshEstimate();
    const rfs::path y2 = Work() / (std::string(kJob) + ".Y2");
    std::uintmax_t before = 0;
    KillWhen(
        kBeforeBreakdownWrite | kAfterBreakdownWrite,
        [&] {
          std::error_code ec;
          if (rfs::file_size(y2, ec) <= before) return false;
          std::this_thread::sleep_for(std::chrono::microseconds(delayMicros));
          return true;
        },
        [&] { before = rfs::file_size(y2); });

    Restored r = NextStart();

    EXPECT_EQ(r.top, kNewTop);
    bool prefixOfNew = false;
    for (size_t k = 0; k <= oldSheet.size() && !prefixOfNew; ++k) {
      Texts mixed(newSheet.begin(), newSheet.begin() + static_cast<long>(k));
      mixed.insert(mixed.end(), oldSheet.begin() + static_cast<long>(k), oldSheet.end());
      prefixOfNew = r.breakdown == mixed;
    }
    EXPECT_TRUE(prefixOfNew || r.breakdown == newSheet) << r.breakdown.size() << " rows";
    ExpectOriginalUnchanged();
  }
}

// Killed between the renames of a set replaced together: the compacted level
// files (the first renamed, the others not), or the estimate file and its
// object pack. The start finishes the set before the wizard reads it.
TEST_F(CrashRecovery, KilledBetweenTheRenamesOfASetReplacedTogether) {
  filler = 50;
  for (Stop stop : {kMidCompaction, kMidPairRename}) {
    SCOPED_TRACE(stop == kMidCompaction ? "level files" : "estimate file and object pack");
    FreshEstimate();
    Kill(StartChild(stop));

    Restored r = NextStart();

    EXPECT_EQ(r.top, kNewTop);
    EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
    if (stop == kMidCompaction)
      ExpectOriginalUnchanged();
    else
      ExpectOriginalRepacked();
  }
}

// Killed the moment the estimate file is seen replaced, and at instants
// spread over the compaction and the save: the pair always comes from one
// save, the recorded rows are always restored.
TEST_F(CrashRecovery, KilledAtAnyMomentOfTheSave) {
  filler = 3000;
  std::mt19937 random(11);
  std::uniform_int_distribution<int> micros(0, 40000);
  int replacedSeen = 0;
  for (int attempt = 0; attempt < 12; ++attempt) {
    const bool watchReplace = attempt < 4;
    const int delay = watchReplace ? 0 : micros(random);
    SCOPED_TRACE(watchReplace ? std::string("killed when the estimate file was replaced")
                              : "killed " + std::to_string(delay) + " us into the save");
    FreshEstimate();
    struct stat before {};
    ASSERT_EQ(::stat(packed.c_str(), &before), 0);
    const auto start = std::chrono::steady_clock::now();
    const bool held = KillWhen(kAfterBreakdownWrite | kAfterPack, [&] {
      if (!watchReplace) return std::chrono::steady_clock::now() - start >= std::chrono::microseconds(delay);
      struct stat now {};
      return ::stat(packed.c_str(), &now) == 0 && now.st_ino != before.st_ino;
    });
    if (watchReplace && held) ++replacedSeen;

    Restored r = NextStart();

    EXPECT_EQ(r.top, kNewTop);
    EXPECT_EQ(r.breakdown, Numbered("b", newRows, "*"));
    if (!PairFromOneSave()) ExpectOriginalUnchanged();
  }
  EXPECT_GT(replacedSeen, 0) << "no kill landed as the estimate file was replaced";
}

}  // namespace
}  // namespace kv::test
