#include "storage/compaction.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_set_replace.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"
#include "storage/recovery_jobs.h"

namespace kv::test {
namespace {

class CompactionFixture : public LevelFixture {
 protected:
  // Level 1: rows A and B with breakdowns at `a` and `b` of level 2. Level 2
  // (12 records): A's chain 7 -> 3 -> 10, B's chain 2 -> 11 -> 5 -> 8.
  void TwoBreakdowns() {
    WriteLevel(1, {{' ', 0, 2, 7, "A"}, {' ', 0, 3, 2, "B"}, {'G'}});
    std::vector<Rec> level2 = Filler(12);
    level2[6] = {' ', 0, 3, kNoRecord, "a1", '@'};
    level2[2] = {' ', 0, 10, kNoRecord, "a2"};
    level2[9] = {'G', 0, kNoRecord, kNoRecord, "aG"};
    level2[1] = {' ', 0, 11, kNoRecord, "b1", '@'};
    level2[10] = {' ', 0, 5, kNoRecord, "b2"};
    level2[4] = {' ', 0, 8, kNoRecord, "b3"};
    level2[7] = {'G', 0, kNoRecord, kNoRecord, "bG"};
    WriteLevel(2, level2);
  }

  // Three levels. Level 1: A -> a (level 2), B none, C -> c (level 2).
  // Level 2: a = 6 -> 1 -> 4(G); c = 2 -> 5(G); a's first row -> x, c's -> y.
  // Level 3: x = 3 -> 6(G); y = 1 -> 5 -> 2(G).
  void ThreeLevels() {
    WriteLevel(1, {{' ', 0, 2, 6, "A"}, {' ', 0, 3, kNoRecord, "B"}, {' ', 0, 4, 2, "C"}, {'G'}});
    std::vector<Rec> level2 = Filler(7);
    level2[5] = {' ', 0, 1, 3, "a1"};
    level2[0] = {' ', 0, 4, kNoRecord, "a2"};
    level2[3] = {'G', 0, kNoRecord, kNoRecord, "aG"};
    level2[1] = {' ', 0, 5, 1, "c1"};
    level2[4] = {'G', 0, kNoRecord, kNoRecord, "cG"};
    WriteLevel(2, level2);
    std::vector<Rec> level3 = Filler(6);
    level3[2] = {' ', 0, 6, kNoRecord, "x1"};
    level3[5] = {'G', 0, kNoRecord, kNoRecord, "xG"};
    level3[0] = {' ', 0, 5, kNoRecord, "y1"};
    level3[4] = {' ', 0, 2, kNoRecord, "y2"};
    level3[1] = {'G', 0, kNoRecord, kNoRecord, "yG"};
    WriteLevel(3, level3);
  }

  // The hidden files of the work folder: temporaries and records left.
  std::vector<std::string> HiddenFiles() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(app.path() / "WORK"))
      if (e.path().filename().string().front() == '.') out.push_back(e.path().filename().string());
    return out;
  }

  std::vector<std::string> Texts(int level) {
    std::vector<std::string> out;
    for (const std::string& rec : ReadLevel(level)) {
      std::string t = Text(rec);
      out.push_back(t.substr(0, t.find(' ')));
    }
    return out;
  }

  // Every record names itself, each chain is contiguous and ends at its
  // closing record.
  void ExpectContiguousChains(int level) {
    std::vector<std::string> recs = ReadLevel(level);
    for (size_t i = 0; i < recs.size(); ++i) {
      EXPECT_EQ(Own(recs[i]), static_cast<int>(i) + 1);
      bool closing = RecordByte(recs[i], kKindPos) == 'G';
      EXPECT_EQ(Next(recs[i]), closing ? kNoRecord : static_cast<int>(i) + 2) << "level " << level << " record " << i + 1;
    }
  }
};

class CompactionTest : public CompactionFixture, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override { Configure(256, GetParam(), 3); }
};

// 12 records of which two chains use 3 and 4: 7 records remain, the first
// breakdown is records 1-3, the second 4-7.
TEST_P(CompactionTest, ChainsBecomeContiguousAndTheParentsFollow) {
  TwoBreakdowns();
  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));

  EXPECT_EQ(Texts(2), (std::vector<std::string>{"a1", "a2", "aG", "b1", "b2", "b3", "bG"}));
  ExpectContiguousChains(2);
  std::vector<std::string> level1 = ReadLevel(1);
  EXPECT_EQ(Child(level1[0]), 1);
  EXPECT_EQ(Child(level1[1]), 4);
  EXPECT_EQ(LinkField(level1[2], kChildPos), " -99");
  EXPECT_EQ(RecordByte(ReadLevel(2)[3], kMarkPos), '@');  // marks are copied
  EXPECT_EQ(HiddenFiles(), std::vector<std::string>{});
}

// While the second breakdown is the sheet in memory, the record numbers held
// for it follow the compaction, so it is read (and written) where it now is.
TEST_P(CompactionTest, RecordNumbersOfTheOpenPathAreRenumbered) {
  TwoBreakdowns();
  st.CurrentLevel = 2;
  SetParent(2, 2);
  ASSERT_TRUE(LevelRowsRead(st, 2));

  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));

  EXPECT_EQ(Own(st.ParentRows[1]), 2);
  EXPECT_EQ(Child(st.ParentRows[1]), 4);
  EXPECT_EQ(std::vector<int>(st.RowRecNos.begin() + 1, st.RowRecNos.begin() + 6),
            (std::vector<int>{4, 5, 6, 7, kNoRecord}));
  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("b1"));
  EXPECT_EQ(st.UsedRows, 3);
}

INSTANTIATE_TEST_SUITE_P(BothBases, CompactionTest, ::testing::Values("10", "16"));

TEST_F(CompactionFixture, EveryReachableRowIsKeptInDepthFirstOrder) {
  Configure(256, "16", 3);
  ThreeLevels();

  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));

  EXPECT_EQ(Texts(1), (std::vector<std::string>{"A", "B", "C", ""}));
  EXPECT_EQ(Texts(2), (std::vector<std::string>{"a1", "a2", "aG", "c1", "cG"}));
  EXPECT_EQ(Texts(3), (std::vector<std::string>{"x1", "xG", "y1", "y2", "yG"}));
  for (int level = 1; level <= 3; ++level) ExpectContiguousChains(level);
  EXPECT_EQ(Child(ReadLevel(1)[2]), 4);
  EXPECT_EQ(Child(ReadLevel(2)[0]), 1);
  EXPECT_EQ(Child(ReadLevel(2)[3]), 3);
}

TEST_F(CompactionFixture, LevelNoChainReachesBecomesEmpty) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "A"}, {'G'}});
  WriteLevel(2, Filler(5));
  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));
  EXPECT_TRUE(std::filesystem::exists(LevelPath(2)));
  EXPECT_EQ(std::filesystem::file_size(LevelPath(2)), 0u);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(3)));  // no file, none made
}

// Damaged links: a loop, a record linking to itself, a link past the end.
// Refused, and no file is changed.
TEST_F(CompactionFixture, DamagedChainsAreRefusedAndChangeNothing) {
  struct Case {
    const char* what;
    std::vector<Rec> level1;
    std::vector<Rec> level2;
  };
  std::vector<Case> cases = {
      {"loop", {{' ', 0, 2, 1, "A"}, {'G'}}, {{' ', 0, 2}, {' ', 0, 3}, {' ', 0, 1}}},
      {"link past the end", {{' ', 0, 2, 4, "A"}, {'G'}}, {{' ', 0, 2}, {'G'}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteLevel(1, c.level1);
    WriteLevel(2, c.level2);
    std::string before1 = ReadAll(LevelPath(1)), before2 = ReadAll(LevelPath(2));
    ui.AnswerMsgBox(vbOK, "壊れています");
    EXPECT_FALSE(EstFilePack(st, st.WorkFileBase));
    EXPECT_EQ(ReadAll(LevelPath(1)), before1);
    EXPECT_EQ(ReadAll(LevelPath(2)), before2);
    ui.ExpectAllAnswered();
  }
}

// A record whose next link names itself ends its chain (converted DOS files
// end their breakdowns so): the compacted chain ends with " -99".
TEST_F(CompactionFixture, ASelfLinkEndsItsChain) {
  WriteLevel(1, {{' ', 0, 2, 2, "A"}, {'G'}});
  WriteLevel(2, {{'G'}, {' ', 0, 3, kNoRecord, "a1", '@'}, {'G', 0, 3, kNoRecord, "aG"}});
  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));
  EXPECT_EQ(Texts(2), (std::vector<std::string>{"a1", "aG"}));
  ExpectContiguousChains(2);
}

// The temporary file of level 2 cannot be written (the process may write no
// file beyond 1 KiB): level 1, whose temporary was complete, is not replaced
// either, and no temporary stays.
TEST_F(CompactionFixture, FailureMidwayLeavesTheOriginals) {
  TwoBreakdowns();
  std::string before1 = ReadAll(LevelPath(1)), before2 = ReadAll(LevelPath(2));
  ui.AnswerMsgBox(vbOK, "読み書きできませんでした");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;  // level 1 compacted: 3 records of 256 bytes; level 2: 7
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool done = EstFilePack(st, st.WorkFileBase);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(done);
  EXPECT_EQ(ReadAll(LevelPath(1)), before1);
  EXPECT_EQ(ReadAll(LevelPath(2)), before2);
  EXPECT_EQ(HiddenFiles(), std::vector<std::string>{});
}

// A breakdown two rows share (as row copy and paste makes them) is copied
// once under each, with everything below it; the sheet open under the
// second row is found in its own copy.
TEST_P(CompactionTest, ASharedBreakdownIsCopiedUnderEachParent) {
  // Level 1: A and B both -> level 2 chain 2 -> 4(G); its first row -> level
  // 3 chain 3 -> 1(G). Records 1, 3 of level 2 and 2 of level 3 are dead.
  WriteLevel(1, {{' ', 0, 2, 2, "A"}, {' ', 0, 3, 2, "B"}, {'G'}});
  std::vector<Rec> level2 = Filler(4);
  level2[1] = {' ', 0, 4, 3, "s1", '@'};
  level2[3] = {'G', 0, kNoRecord, kNoRecord, "sG"};
  WriteLevel(2, level2);
  std::vector<Rec> level3 = Filler(3);
  level3[2] = {' ', 0, 1, kNoRecord, "t1", '@'};
  level3[0] = {'G', 0, kNoRecord, kNoRecord, "tG"};
  WriteLevel(3, level3);
  // The sheet open: level 3 under B's breakdown.
  SetParent(2, 2);
  st.ParentRows[2] = ReadLevel(2).at(1);
  st.CurrentLevel = 3;
  ASSERT_TRUE(LevelRowsRead(st, 3));

  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));

  EXPECT_EQ(Texts(2), (std::vector<std::string>{"s1", "sG", "s1", "sG"}));
  EXPECT_EQ(Texts(3), (std::vector<std::string>{"t1", "tG", "t1", "tG"}));
  for (int level = 1; level <= 3; ++level) ExpectContiguousChains(level);
  EXPECT_EQ(Child(ReadLevel(1)[0]), 1);
  EXPECT_EQ(Child(ReadLevel(1)[1]), 3);
  EXPECT_EQ(Child(ReadLevel(2)[0]), 1);
  EXPECT_EQ(Child(ReadLevel(2)[2]), 3);
  // The open path follows B's copy.
  EXPECT_EQ(Child(st.ParentRows[1]), 3);
  EXPECT_EQ(Own(st.ParentRows[2]), 3);
  EXPECT_EQ(Child(st.ParentRows[2]), 3);
  EXPECT_EQ(std::vector<int>(st.RowRecNos.begin() + 1, st.RowRecNos.begin() + 4), (std::vector<int>{3, 4, kNoRecord}));
  ASSERT_TRUE(LevelRowsRead(st, 3));
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("t1"));
}

// Killed while the compacted files replace the originals: the start-up finds
// the set half replaced and finishes it, so the level files always belong
// together.
TEST_F(CompactionFixture, AKillWhileTheFilesAreReplacedIsFinishedAtTheNextStart) {
  Configure(256, "16", 3);
  ThreeLevels();
  auto files = [&] {
    std::vector<std::string> v;
    for (int level = 1; level <= 3; ++level) v.push_back(ReadAll(LevelPath(level)));
    return v;
  };
  const std::vector<std::string> before = files();
  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));
  const std::vector<std::string> compacted = files();

  for (int stopAt : {0, 1, 2, 3}) {
    SCOPED_TRACE("killed after " + std::to_string(stopAt) + " renames");
    for (int level = 1; level <= 3; ++level) app.Write("WORK/EST" + st.LevelExt[level], before[level - 1]);
    pid_t pid = ::fork();
    if (pid == 0) {
      EstFilePack(st, st.WorkFileBase, [stopAt](int renamed) {
        if (renamed == stopAt) ::raise(SIGKILL);
      });
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    if (stopAt == 1) {
      EXPECT_EQ(ReadAll(LevelPath(1)), compacted[0]);
      EXPECT_EQ(ReadAll(LevelPath(2)), before[1]) << "the kill left a mixed set";
    }

    SettleInterruptedSaves(st);

    EXPECT_EQ(files(), compacted);
    EXPECT_EQ(HiddenFiles(), std::vector<std::string>{});
  }
}

TEST_F(CompactionFixture, FilesAreFoundWithoutLetterCase) {
  TwoBreakdowns();
  std::filesystem::rename(LevelPath(2), app.path() / "WORK/est.y2");
  ASSERT_TRUE(EstFilePack(st, st.WorkFileBase));
  EXPECT_EQ(std::filesystem::file_size(app.path() / "WORK/est.y2"), 7u * 256u);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(2)));
}

}  // namespace
}  // namespace kv::test
