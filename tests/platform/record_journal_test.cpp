// Changed byte ranges written in place through a journal: the files end as
// the patches say (grown, cut); a write that fails is taken back; a journal
// left by a writer that is gone is written again when whole and dropped when
// torn, and a live writer's journal is left alone.
#include "platform/record_journal.h"

#include <signal.h>
#include <sys/resource.h>

#include <map>

#include "packing_fixture.h"
#include "support/child_process.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using Files = std::map<std::string, std::string>;

class RecordJournalTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    dir_ = Dir("work");
    for (const auto& [name, bytes] : Old()) test::WriteFile(dir_ / name, bytes);
  }

  static Files Old() { return {{"A.Y1", "0123456789"}, {"A.Y2", "abcdefghij"}, {"notes.txt", "not ours"}}; }
  static Files New() { return {{"A.Y1", "0XX3456789YY"}, {"A.Y2", "abZde"}, {"notes.txt", "not ours"}}; }
  // A.Y1 changed in place and grown, A.Y2 changed and cut.
  static std::vector<fs::FilePatch> Patches() {
    return {{"A.Y1", 12, {{1, "XX"}, {10, "YY"}}}, {"A.Y2", 5, {{2, "Z"}}}};
  }

  // The journal the patches write, as it stands once flushed.
  std::string JournalOf(const std::vector<fs::FilePatch>& patches) {
    std::string journal, failed;
    std::error_code ec;
    const auto outcome = fs::PatchThroughJournal(dir_, "A.Y1", patches, failed, ec, [&](int step) {
      if (step != 0) return;
      for (const auto& e : stdfs::directory_iterator(dir_))
        if (e.path().extension() == ".journal") journal = test::ReadFile(e.path());
    });
    EXPECT_EQ(outcome, fs::PatchOutcome::Done) << ec.message();
    EXPECT_FALSE(journal.empty());
    return journal;
  }

  stdfs::path dir_;
};

TEST_F(RecordJournalTest, PatchesWriteTheirBytesAndSizesAndLeaveNoJournal) {
  std::string failed;
  std::error_code ec;
  std::vector<int> steps;
  EXPECT_EQ(fs::PatchThroughJournal(dir_, "A.Y1", Patches(), failed, ec, [&](int s) { steps.push_back(s); }),
            fs::PatchOutcome::Done);
  EXPECT_EQ(test::Snapshot(dir_), New());
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
}

// A file that cannot be opened stops the patch before the journal; a write
// that fails (here past the largest file size allowed) is taken back, so the
// file already written is as it was.
TEST_F(RecordJournalTest, AFailedPatchLeavesEveryFileAsItWas) {
  struct Case {
    const char* name;
    std::vector<fs::FilePatch> patches;
    const char* failed;
  };
  std::vector<fs::FilePatch> missing = Patches();
  missing.push_back({"A.Y3", 1, {{0, "x"}}});
  std::vector<fs::FilePatch> tooLarge = Patches();
  tooLarge[1].writes.push_back({4096, "past the limit"});
  tooLarge[1].size = 5000;
  const Case cases[] = {{"a missing file", missing, "A.Y3"}, {"a write past the size limit", tooLarge, "A.Y2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rlimit limit{}, saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    limit = saved;
    limit.rlim_cur = 4096;
    auto* handler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::string failed;
    std::error_code ec;
    const fs::PatchOutcome outcome = fs::PatchThroughJournal(dir_, "A.Y1", c.patches, failed, ec);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, handler);
    EXPECT_EQ(outcome, fs::PatchOutcome::Untouched);
    EXPECT_EQ(failed, c.failed);
    EXPECT_TRUE(ec);
    EXPECT_EQ(test::Snapshot(dir_), Old());
  }
}

// The journal of a writer that is gone, written again over files that hold
// any mix of old and new bytes, gives the new set; a torn or altered one is
// dropped and the files stay; a live writer's journal is not touched.
TEST_F(RecordJournalTest, TheSettlingFinishesAWholeJournalAndDropsATornOne) {
  const std::string journal = JournalOf(Patches());
  const std::string host = fs::ThisProcess().host;
  const pid_t ended = test::EndedProcessId();
  test::LiveProcess live;
  std::string altered = journal;
  altered[journal.find("XX")] = 'Q';
  struct Case {
    const char* name;
    Files start;
    std::string journal;
    long pid;
    Files end;
    bool journalStays;
  };
  Files halfway = Old();
  halfway["A.Y1"] = "0XX3456789YY";
  const Case cases[] = {
      {"nothing written yet", Old(), journal, ended, New(), false},
      {"one file written", halfway, journal, ended, New(), false},
      {"every file written", New(), journal, ended, New(), false},
      {"torn", Old(), journal.substr(0, journal.size() - 20), ended, Old(), false},
      {"torn in its seal", Old(), journal.substr(0, journal.size() - 1), ended, Old(), false},
      {"altered", Old(), altered, ended, Old(), false},
      {"its writer still runs", Old(), journal, live.pid(), Old(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& e : stdfs::directory_iterator(dir_)) stdfs::remove(e.path());
    for (const auto& [name, bytes] : c.start) test::WriteFile(dir_ / name, bytes);
    const std::string name = fs::MakeOwnedName("A.Y1", {host, c.pid, "j1"}, "journal");
    test::WriteFile(dir_ / name, c.journal);

    fs::SettleJournals(dir_);

    Files now = test::Snapshot(dir_);
    EXPECT_EQ(now.erase(name), c.journalStays ? 1u : 0u);
    EXPECT_EQ(now, c.end);
  }
}

}  // namespace
}  // namespace kv
