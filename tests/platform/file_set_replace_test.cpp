// A set of files replaced together: a process killed at every step of the
// replacement leaves a folder that the next look settles into the whole old
// set or the whole new one, and the leftovers of writers that are gone are
// removed without touching anything else.
#include "platform/file_set_replace.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>

#include "packing_fixture.h"
#include "support/child_process.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::ReadFile;
using test::Snapshot;
using test::WriteFile;

const std::vector<std::string> kFinals = {"A.Y1", "A.Y2", "A.Y3"};

// Where the writer is killed: before its commit, once the intent record is
// written (0), or after that many renames.
constexpr int kBeforeCommit = -1;

class FileSetReplaceTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    dir_ = Dir("set");
    for (const std::string& f : kFinals) WriteFile(dir_ / f, "old " + f);
    WriteFile(dir_ / "notes.txt", "not ours");
    WriteFile(dir_ / ".A.Y1-x7Qz2a", "a hidden file of another kind");
  }

  std::map<std::string, std::string> Set(const std::string& age) const {
    std::map<std::string, std::string> m;
    for (const std::string& f : kFinals) m[f] = age + " " + f;
    m["notes.txt"] = "not ours";
    m[".A.Y1-x7Qz2a"] = "a hidden file of another kind";
    return m;
  }

  // A process that replaces the set and is killed at `stopAt`; with
  // `noteFolder`, its note is left there.
  void KilledWriter(int stopAt, const stdfs::path& noteFolder = {}) {
    pid_t pid = ::fork();
    if (pid == 0) {
      fs::FileSetReplace replace(dir_, "A.Y1");
      if (!noteFolder.empty()) replace.NoteIn(noteFolder);
      for (const std::string& f : kFinals) {
        std::error_code ec;
        stdfs::path temp = replace.Temporary(f, ec);
        if (temp.empty()) ::_exit(2);
        std::ofstream(temp, std::ios::binary) << "new " << f;
      }
      if (stopAt == kBeforeCommit) ::raise(SIGKILL);
      std::error_code ec;
      replace.Commit(ec, [stopAt](int renamed) {
        if (renamed == stopAt) ::raise(SIGKILL);
      });
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended with " << WEXITSTATUS(status);
  }

  stdfs::path OnlyFile(const std::string& kind) const {
    for (const auto& e : stdfs::directory_iterator(dir_)) {
      std::optional<fs::OwnedName> o = fs::ParseOwnedName(e.path().filename().string());
      if (o && o->kind == kind) return e.path();
    }
    return {};
  }

  stdfs::path dir_;
};

TEST(OwnedNames, CarryTheFinalNameAndTheirWriter) {
  const fs::FileOwner owner{"pc-12.example", 4711, "1a2b3c"};
  const std::string name = fs::MakeOwnedName("工事~第2期.YZH", owner, "tmp");
  EXPECT_EQ(name, ".工事~第2期.YZH~pc-12.example~4711~1a2b3c.tmp");
  std::optional<fs::OwnedName> back = fs::ParseOwnedName(name);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->finalName, "工事~第2期.YZH");
  EXPECT_EQ(back->kind, "tmp");
  EXPECT_EQ(back->owner.host, owner.host);
  EXPECT_EQ(back->owner.pid, owner.pid);
  EXPECT_EQ(back->owner.token, owner.token);
  // The archive library's own temporary of ours belongs to the same writer.
  std::optional<fs::OwnedName> library = fs::ParseOwnedName(name + ".g1t29y");
  ASSERT_TRUE(library);
  EXPECT_EQ(library->kind, "tmp");
  EXPECT_EQ(library->finalName, "工事~第2期.YZH");
  EXPECT_EQ(library->owner.token, owner.token);
  for (const char* other : {"A.YZH", ".A.YZH-x7Qz2a", ".A~h~1~t.tmp.toolong7", ".A~h~1~t.intent.abcdef", ".A.YZH.tmp-12-0-5", ".A~h~12x~t.tmp", ".~h~1~t.tmp",
                            ".A~h~1~t.bak", ".A~~1~t.tmp"})
    EXPECT_FALSE(fs::ParseOwnedName(other)) << other;
}

TEST_F(FileSetReplaceTest, ACommitReplacesEveryFileAndLeavesNothingElse) {
  fs::FileSetReplace replace(dir_, "A.Y1");
  for (const std::string& f : kFinals) {
    std::error_code ec;
    std::ofstream(replace.Temporary(f, ec), std::ios::binary) << "new " << f;
  }
  replace.RemoveAfter("notes.txt");
  std::error_code ec;
  ASSERT_TRUE(replace.Commit(ec)) << ec.message();
  std::map<std::string, std::string> expected = Set("new");
  expected.erase("notes.txt");
  EXPECT_EQ(Snapshot(dir_), expected);
}

// Killed at each step: settled, the folder holds the old set when no rename
// was sure to come, otherwise the new one; never a mix, never a leftover.
TEST_F(FileSetReplaceTest, AWriterKilledAtAnyStepIsSettledIntoOneWholeSet) {
  struct Case {
    int stopAt;
    const char* expected;
  };
  for (const Case& c : {Case{kBeforeCommit, "old"}, Case{0, "new"}, Case{1, "new"}, Case{2, "new"}, Case{3, "new"}}) {
    SCOPED_TRACE("killed at " + std::to_string(c.stopAt));
    for (const std::string& f : kFinals) WriteFile(dir_ / f, "old " + f);
    KilledWriter(c.stopAt);
    if (c.stopAt == 1) {
      EXPECT_EQ(ReadFile(dir_ / "A.Y2"), "old A.Y2") << "the kill left a mixed set";
    }

    fs::RemoveLeftovers(dir_, kFinals);

    EXPECT_EQ(Snapshot(dir_), Set(c.expected));
  }
}

// A record that was torn, or a temporary that no longer matches it (or fails
// the caller's own check), undoes the whole replacement.
TEST_F(FileSetReplaceTest, ADamagedRecordOrTemporaryLeavesTheOldSet) {
  struct Case {
    const char* what;
    std::function<void()> damage;
    fs::TemporaryCheck check;
  };
  std::vector<Case> cases = {
      {"torn record",
       [&] {
         const stdfs::path r = OnlyFile("intent");
         stdfs::resize_file(r, stdfs::file_size(r) / 2);
       },
       {}},
      {"altered temporary",
       [&] {
         stdfs::path t = OnlyFile("tmp");
         std::string bytes = ReadFile(t);
         bytes[0] = 'N';
         WriteFile(t, bytes);
       },
       {}},
      {"refused by the check", [] {}, [](const stdfs::path& t) { return ReadFile(t) != "new A.Y3"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KilledWriter(0);
    c.damage();
    fs::RemoveLeftovers(dir_, kFinals, std::nullopt, nullptr, c.check);
    EXPECT_EQ(Snapshot(dir_), Set("old"));
  }
}

TEST_F(FileSetReplaceTest, AStartUpFindsTheRecordThroughItsNote) {
  const stdfs::path notes = Dir("WORK");
  KilledWriter(1, notes);
  ASSERT_FALSE(stdfs::is_empty(notes));

  fs::SettleOutcome out = fs::SettleNotedIntents(notes);

  EXPECT_EQ(out.finished, 1);
  EXPECT_TRUE(stdfs::is_empty(notes));
  fs::RemoveLeftovers(dir_, kFinals);
  EXPECT_EQ(Snapshot(dir_), Set("new"));
}

// Temporaries are removed when their writer is gone: a process of this host
// that has ended, another host's after an hour, or any writer's older than a
// save that has just run. A live writer's stay, and nothing else is touched.
TEST_F(FileSetReplaceTest, LeftoversAreTheTemporariesNoLiveWriterOwns) {
  const std::string host = fs::ThisProcess().host;
  const auto now = stdfs::file_time_type::clock::now();
  auto temp = [&](const std::string& finalName, const fs::FileOwner& owner, std::chrono::minutes age) {
    const stdfs::path p = dir_ / fs::MakeOwnedName(finalName, owner, "tmp");
    WriteFile(p, "leftover");
    stdfs::last_write_time(p, now - age);
    return p;
  };
  // A writer of this host that is still running (stopped), and one that ended.
  test::LiveProcess live;
  const pid_t ended = test::EndedProcessId();

  using std::chrono::minutes;
  const stdfs::path liveTemp = temp("A.Y1", {host, live.pid(), "t1"}, minutes(0));
  const stdfs::path endedTemp = temp("A.Y2", {host, ended, "t2"}, minutes(0));
  const stdfs::path freshForeign = temp("A.Y1", {"other-pc", 42, "t3"}, minutes(10));
  const stdfs::path oldForeign = temp("A.Y3", {"other-pc", 42, "t4"}, minutes(61));
  const stdfs::path otherFile = temp("B.Y1", {host, ended, "t5"}, minutes(0));
  // The archive library's temporary of an ended writer's temporary.
  const stdfs::path libraryTemp = dir_ / (fs::MakeOwnedName("A.Y2", {host, ended, "t6"}, "tmp") + ".g1t29y");
  WriteFile(libraryTemp, "partial archive");

  EXPECT_EQ(fs::RemoveLeftovers(dir_, kFinals), 3);
  EXPECT_FALSE(stdfs::exists(libraryTemp));
  EXPECT_TRUE(stdfs::exists(liveTemp));
  EXPECT_FALSE(stdfs::exists(endedTemp));
  EXPECT_TRUE(stdfs::exists(freshForeign));
  EXPECT_FALSE(stdfs::exists(oldForeign));
  EXPECT_TRUE(stdfs::exists(otherFile));

  // A save that runs now supersedes the foreign temporary written before it;
  // the live writer's temporary is as new as that save and stays.
  stdfs::last_write_time(liveTemp, now + minutes(1));
  EXPECT_EQ(fs::RemoveLeftovers(dir_, kFinals, now), 1);
  EXPECT_FALSE(stdfs::exists(freshForeign));
  EXPECT_TRUE(stdfs::exists(liveTemp));

  live.End();
  EXPECT_EQ(fs::RemoveLeftovers(dir_, kFinals), 1);
  EXPECT_FALSE(stdfs::exists(liveTemp));
  EXPECT_TRUE(stdfs::exists(otherFile));
  EXPECT_TRUE(stdfs::exists(dir_ / ".A.Y1-x7Qz2a"));
  EXPECT_TRUE(stdfs::exists(dir_ / "notes.txt"));
}

}  // namespace
}  // namespace kv
