// The recovery engine turns a job's left-over work files into a new packed
// estimate in DATA. What must never happen: the job's work files deleted
// without a complete restored file, stale scratch records mixed in, a
// success reported without a file, or a damaged chain followed forever.
#include "storage/recovery_engine.h"

#include <chrono>

#include "storage/recovery_files.h"
#include "storage/recovery_fixture.h"

namespace kv::test {
namespace {

using RecoveryEngine = RecoveryFixture;

TEST_F(RecoveryEngine, OneJobIsPackedIntoDataAndLeavesWork) {
  Job job = SimpleJob("ABC", {"row1", "row2", "row3"});
  // Row 2 owns the breakdown 5 -> 2 -> 9 among records of no chain.
  std::vector<Rec> top = TopSheet({"row1", "row2", "row3"}, {kNoRecord, 5});
  WriteJobLevel(job, 1, top);
  std::vector<Rec> level2(12, Rec{' ', 0, kNoRecord, kNoRecord, "old"});
  level2[4] = {' ', 0, 2, kNoRecord, "a", '@'};
  level2[1] = {' ', 0, 9, kNoRecord, "b"};
  level2[8] = {'G', 0, kNoRecord, kNoRecord, "sum"};
  WriteJobLevel(job, 2, level2);
  WriteFile("ABC$1.MOD", "object one");
  WriteFile("ABC$2.MOD", "object two");
  // Another left-over job is not touched.
  SimpleJob("XYZ");
  WriteFile("XYZ$1.MOD", "other object");
  const std::string ini = ReadAll(Work() / "ABC.INI");
  const auto others = FolderFiles(Work());

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecAll) << ctx.FailureText;
  EXPECT_EQ(ctx.RecFileName, "FILE001");
  EXPECT_EQ(ctx.RecLevelCount, 2);
  EXPECT_EQ(st.RecoveredFilePath, st.AppPath + "/DATA/FILE001.YZH");
  EXPECT_TRUE(rfs::exists(Data() / "FILE001.OPD"));
  EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
  EXPECT_EQ(steps, (Texts{"ファイルチェック中", "ファイル復旧中"}));
  EXPECT_EQ(progress, (std::vector<int>{5, 10, 20, 50, 70, 80, 85}));

  // Only the job's files left WORK (its object files too, in system kind 2).
  std::map<std::string, std::string> left = FolderFiles(Work());
  for (const char* gone : {"ABC.Y1", "ABC.Y2", "ABC.INI", "ABC.Y$", "ABC$1.MOD", "ABC$2.MOD"})
    EXPECT_EQ(left.count(gone), 0u) << gone;
  for (const char* kept : {"XYZ.Y1", "XYZ.INI", "XYZ.Y$", "XYZ$1.MOD"}) EXPECT_EQ(left[kept], others.at(kept)) << kept;

  rfs::path out = Unpacked();
  EXPECT_EQ(ReadAll(out / "FILE001.INI"), ini);
  EXPECT_EQ(ReadAll(out / "FILE001.Y$"), "DM=1\r\n");
  EXPECT_EQ(ReadAll(out / "FILE001$1.MOD"), "object one");
  EXPECT_EQ(ReadAll(out / "FILE001$2.MOD"), "object two");
  // Level 1 in place; the breakdown compacted to records 1..3.
  std::vector<std::string> l1 = Records(out / "FILE001.Y1", 256);
  ASSERT_EQ(l1.size(), 4u);
  EXPECT_EQ(Chain(l1, 1, false), (Texts{"row1", "row2", "row3", "total"}));
  EXPECT_EQ(Field(l1[1], kChildPos, false), 1);
  EXPECT_EQ(LinkField(l1[0], kChildPos), " -99");
  std::vector<std::string> l2 = Records(out / "FILE001.Y2", 256);
  ASSERT_EQ(l2.size(), 3u);
  EXPECT_EQ(Chain(l2, 1, false), (Texts{"a", "b", "sum"}));
  EXPECT_EQ(RecordByte(l2[0], kMarkPos), '@');
  EXPECT_EQ(LinkField(l2[2], kNextPos), " -99");
}

// The first free number is taken, gaps first; nothing in DATA is replaced.
TEST_F(RecoveryEngine, RestoredFileTakesTheFirstFreeNumber) {
  struct Case {
    std::vector<std::string> inData;
    std::vector<std::string> inWork;
    std::string expected;
  };
  const Case cases[] = {
      {{}, {}, "FILE001"},
      {{"FILE001.YZH", "FILE003.YZH"}, {}, "FILE002"},
      {{"file001.yzh"}, {}, "FILE002"},
      // An object pack alone keeps its number; so do another job's work files.
      {{"FILE001.OPD"}, {}, "FILE002"},
      {{}, {"FILE001.Y1"}, "FILE002"},
  };
  for (const Case& c : cases) {
    rfs::remove_all(Data());
    rfs::remove_all(Work());
    rfs::create_directories(Work());
    if (!c.inData.empty()) rfs::create_directories(Data());
    for (const std::string& f : c.inData) std::ofstream(Data() / f) << "keep";
    for (const std::string& f : c.inWork) WriteFile(f, "");
    SimpleJob("ABC");
    st.RecoveredFilePath.clear();

    Recover("ABC");

    EXPECT_EQ(ctx.RecResult, kRecAll) << c.expected << ": " << ctx.FailureText;
    EXPECT_EQ(ctx.RecFileName, c.expected);
    EXPECT_EQ(st.RecoveredFilePath, st.AppPath + "/DATA/" + c.expected + ".YZH");
    for (const std::string& f : c.inData) EXPECT_EQ(ReadAll(Data() / f), "keep") << f;
  }
}

TEST_F(RecoveryEngine, AllNumbersTakenRestoresNothingAndSaysWhy) {
  rfs::create_directories(Data());
  for (int n = 1; n <= 255; ++n) std::ofstream(Data() / (RecoverFileName(n) + ".YZH")) << "x";
  SimpleJob("ABC");
  const auto work = FolderFiles(Work());

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecNothing);
  EXPECT_NE(ctx.FailureText.find("FILE255"), std::string::npos) << ctx.FailureText;
  EXPECT_TRUE(st.RecoveredFilePath.empty());
  EXPECT_EQ(FolderFiles(Work()), work);
  EXPECT_EQ(FolderFiles(Data()).size(), 255u);
  EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
}

// A chain that comes back on itself is cut where it loops; a link to a
// record that does not name itself ends the sheet there.
TEST_F(RecoveryEngine, BrokenChainsAreCutAndTheRestRestored) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"loop", "wrong"}, {1, 4}));
  WriteJobLevel(job, 2, {{' ', 0, 2, kNoRecord, "l1", '@'},
                         {' ', 0, 3, kNoRecord, "l2"},
                         {' ', 0, 1, kNoRecord, "l3"},  // back to the first record
                         {' ', 0, 5, kNoRecord, "w1", '@'},
                         {' ', 0, 6, kNoRecord, "w2"},
                         {' ', 0, 7, kNoRecord, "w3"},  // record 7 names itself 9
                         {'G', 9, kNoRecord, kNoRecord, "wsum"}});

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecPartial);
  rfs::path out = Unpacked();
  std::vector<std::string> l1 = Records(out / "FILE001.Y1", 256);
  std::vector<std::string> l2 = Records(out / "FILE001.Y2", 256);
  ASSERT_EQ(l1.size(), 3u);
  EXPECT_EQ(Chain(l2, Field(l1[0], kChildPos, false), false), (Texts{"l1", "l2", "l3"}));
  EXPECT_EQ(Chain(l2, Field(l1[1], kChildPos, false), false), (Texts{"w1", "w2", "w3"}));
  EXPECT_EQ(l2.size(), 6u);
}

// A level-1 record whose next link does not name the following record keeps
// its place with the link cut; every level-1 record is kept.
TEST_F(RecoveryEngine, TopLevelKeepsEveryRecordWithBrokenLinksCut) {
  Job job = SimpleJob("ABC");
  std::vector<Rec> top = TopSheet({"r1", "r2", "r3"});
  top[1].next = 7;
  WriteJobLevel(job, 1, top);

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecPartial);
  std::vector<std::string> l1 = Records(Unpacked() / "FILE001.Y1", 256);
  ASSERT_EQ(l1.size(), 4u);
  EXPECT_EQ(Text(l1[2]), "r3");
  EXPECT_EQ(LinkField(l1[1], kNextPos), " -99");
  EXPECT_EQ(Field(l1[2], kNextPos, false), 4);
}

// Records are read with the job's own record length and number base, not the
// current ones (which the fixture sets to 512 and hexadecimal).
TEST_F(RecoveryEngine, JobIsReadWithItsOwnRecordLengthAndNumberBase) {
  struct Case {
    int dataLen;
    bool hex;
  };
  for (Case c : {Case{256, false}, Case{512, true}, Case{256, true}}) {
    rfs::remove_all(Data());
    Job job{"ABC", c.dataLen, c.hex};
    WriteJobIni(job);
    WriteJobLevel(job, 1, TopSheet({"p"}, {12}));
    std::vector<Rec> level2(11, Rec{' ', 0, kNoRecord, kNoRecord, "old"});
    level2.push_back({' ', 0, 13, kNoRecord, "c1", '@'});
    level2.push_back({'G', 0, kNoRecord, kNoRecord, "csum"});
    WriteJobLevel(job, 2, level2);

    Recover("ABC");

    ASSERT_EQ(ctx.RecResult, kRecAll) << c.dataLen << ": " << ctx.FailureText;
    rfs::path out = Unpacked();
    std::vector<std::string> l1 = Records(out / "FILE001.Y1", c.dataLen);
    std::vector<std::string> l2 = Records(out / "FILE001.Y2", c.dataLen);
    ASSERT_EQ(l1.size(), 2u);
    EXPECT_EQ(rfs::file_size(out / "FILE001.Y1"), 2u * static_cast<unsigned>(c.dataLen));
    EXPECT_EQ(Chain(l2, Field(l1[0], kChildPos, c.hex), c.hex), (Texts{"c1", "csum"}));
    rfs::remove_all(out);
  }
}

TEST_F(RecoveryEngine, JobWithoutAValidRecordLengthIsNotTouched) {
  for (const std::string ini : {"", "[Boot]\nDataLen=300\n", "[Boot]\nImax=200\n"}) {
    SimpleJob("ABC");
    if (ini.empty())
      rfs::remove(Work() / "ABC.INI");
    else
      WriteSettings(Work() / "ABC.INI", ini);
    const auto work = FolderFiles(Work());

    Recover("ABC");

    EXPECT_EQ(ctx.RecResult, kRecNothing) << ini;
    EXPECT_NE(ctx.FailureText.find("ABC.INI"), std::string::npos);
    EXPECT_EQ(FolderFiles(Work()), work);
    EXPECT_FALSE(rfs::exists(Data() / "FILE001.YZH"));
  }
}

TEST_F(RecoveryEngine, EmptyOrTornTopLevelRestoresNothing) {
  for (const std::string& bytes : {std::string(), std::string(300, ' ')}) {
    SimpleJob("ABC");
    WriteFile("ABC.Y1", bytes);
    const auto work = FolderFiles(Work());

    Recover("ABC");

    EXPECT_EQ(ctx.RecResult, kRecNothing);
    EXPECT_EQ(ctx.RecLevelCount, 0);
    EXPECT_EQ(FolderFiles(Work()), work);
    EXPECT_FALSE(rfs::exists(Data() / "FILE001.YZH"));
  }
}

// A level file of a broken length, and every level below it, is not
// restored; links into it are cut.
TEST_F(RecoveryEngine, LevelOfBrokenLengthCutsTheLinksIntoIt) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"p"}, {1}));
  WriteJobLevel(job, 2, {{' ', 0, 2, 1, "c", '@'}, {'G', 0, kNoRecord, kNoRecord, "csum"}});
  WriteFile("ABC.Y3", std::string(256 + 10, ' '));
  WriteJobLevel(job, 4, {{'G', 0, kNoRecord, kNoRecord, "deep"}});

  Recover("ABC");

  EXPECT_EQ(ctx.RecLevelCount, 2);
  EXPECT_EQ(ctx.RecResult, kRecPartial);
  rfs::path out = Unpacked();
  std::vector<std::string> l2 = Records(out / "FILE001.Y2", 256);
  ASSERT_EQ(l2.size(), 2u);
  EXPECT_EQ(Chain(l2, Field(Records(out / "FILE001.Y1", 256)[0], kChildPos, false), false),
            (Texts{"c", "csum"}));
  EXPECT_EQ(LinkField(l2[0], kChildPos), " -99");
  EXPECT_FALSE(rfs::exists(out / "FILE001.Y3"));
}

// An estimate can have eight levels: the deepest breakdown comes back too.
TEST_F(RecoveryEngine, EveryLevelOfADeepEstimateIsRestored) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"p"}, {1}));
  for (int level = 2; level <= 8; ++level) {
    const int child = level < 8 ? 1 : kNoRecord;
    WriteJobLevel(job, level,
                  {{' ', 0, 2, child, "r" + std::to_string(level), '@'},
                   {'G', 0, kNoRecord, kNoRecord, "s" + std::to_string(level)}});
  }

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecAll) << ctx.FailureText;
  EXPECT_EQ(ctx.RecLevelCount, 8);
  rfs::path out = Unpacked();
  EXPECT_EQ(Chain(Records(out / "FILE001.Y8", 256), 1, false), (Texts{"r8", "s8"}));
}

// Two rows whose breakdowns share records each get their own copy.
TEST_F(RecoveryEngine, SharedRecordsAppearUnderEachParent) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"p1", "p2"}, {1, 1}));
  WriteJobLevel(job, 2, {{' ', 0, 2, 1, "s1", '@'}, {'G', 0, kNoRecord, kNoRecord, "ssum"}});
  WriteJobLevel(job, 3, {{'G', 0, kNoRecord, kNoRecord, "deep"}});

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecAll);
  rfs::path out = Unpacked();
  std::vector<std::string> l1 = Records(out / "FILE001.Y1", 256);
  std::vector<std::string> l2 = Records(out / "FILE001.Y2", 256);
  std::vector<std::string> l3 = Records(out / "FILE001.Y3", 256);
  ASSERT_EQ(l2.size(), 4u);
  ASSERT_EQ(l3.size(), 2u);
  EXPECT_EQ(Field(l1[0], kChildPos, false), 1);
  EXPECT_EQ(Field(l1[1], kChildPos, false), 3);
  EXPECT_EQ(Chain(l2, 1, false), (Texts{"s1", "ssum"}));
  EXPECT_EQ(Chain(l2, 3, false), (Texts{"s1", "ssum"}));
  EXPECT_EQ(Field(l2[0], kChildPos, false), 1);
  EXPECT_EQ(Field(l2[2], kChildPos, false), 2);
}

// A link to a record never written drops that breakdown from its parent.
TEST_F(RecoveryEngine, BreakdownStartingAtAnUnwrittenRecordIsDropped) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"p1", "p2"}, {3, 1}));
  WriteJobLevel(job, 2, {{'G', 0, kNoRecord, kNoRecord, "ok"}});
  // Record 3 of level 2 holds zeros: a hole left by a write that never came.
  {
    RecordFile f(Work() / "ABC.Y2", 256);
    f.PutRecordText(2, Make(job, {'G', 2, kNoRecord, kNoRecord, "x"}));
    f.Close();
    std::ofstream(Work() / "ABC.Y2", std::ios::binary | std::ios::app) << std::string(256, '\0');
  }

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecPartial);
  rfs::path out = Unpacked();
  std::vector<std::string> l1 = Records(out / "FILE001.Y1", 256);
  EXPECT_EQ(LinkField(l1[0], kChildPos), " -99");
  EXPECT_EQ(Chain(Records(out / "FILE001.Y2", 256), Field(l1[1], kChildPos, false), false), (Texts{"ok"}));
}

// Stale files in the scratch folder, left by an earlier run, never reach the
// restored estimate.
TEST_F(RecoveryEngine, ScratchFolderIsEmptiedFirst) {
  Job job = SimpleJob("ABC", {"new"});
  rfs::create_directories(app / "KV1RECOVER");
  {
    RecordFile stale(app / "KV1RECOVER" / "FILE001.Y1", 256);
    for (int n = 1; n <= 5; ++n) stale.PutRecordText(n, Make(job, {' ', n, kNoRecord, kNoRecord, "stale"}));
  }
  std::ofstream(app / "KV1RECOVER" / "FILE001.YT") << "stale project";

  Recover("ABC");

  ASSERT_EQ(ctx.RecResult, kRecAll);
  rfs::path out = Unpacked();
  EXPECT_EQ(Records(out / "FILE001.Y1", 256).size(), 2u);
  EXPECT_FALSE(rfs::exists(out / "FILE001.YT"));
  EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
}

// A pack that cannot be written keeps the only copy: the job stays in WORK.
TEST_F(RecoveryEngine, FailedPackKeepsTheWorkFiles) {
  SimpleJob("ABC");
  WriteFile("ABC$1.MOD", "object");
  const auto work = FolderFiles(Work());
  // DATA on a file system where no file can be made.
  rfs::create_directory_symlink("/proc/self", Data());

  Recover("ABC");

  EXPECT_EQ(ctx.RecResult, kRecNothing);
  EXPECT_NE(ctx.FailureText.find("FILE001.YZH"), std::string::npos) << ctx.FailureText;
  EXPECT_TRUE(st.RecoveredFilePath.empty());
  EXPECT_EQ(FolderFiles(Work()), work);
  EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
}

// Cancel is looked at between the steps: wherever it comes, the scratch
// folder goes, nothing is left in DATA and WORK is as it was.
TEST_F(RecoveryEngine, CancelAtAnyStepLeavesEverythingAsItWas) {
  Job job = SimpleJob("ABC", {"r1", "r2", "r3"});
  WriteJobLevel(job, 1, TopSheet({"r1", "r2", "r3"}, {1}));
  WriteJobLevel(job, 2, {{'G', 0, kNoRecord, kNoRecord, "c"}});
  const auto work = FolderFiles(Work());
  int checkpoints = 0;
  for (int cancelAt = 1;; ++cancelAt) {
    int seen = 0;
    ui.onProcessEvents = [&] {
      if (++seen == cancelAt) ctx.CancelRequested = true;
    };

    Recover("ABC");

    if (!ctx.Cancelled) {
      // Past the last place to stop: the run went through.
      EXPECT_EQ(ctx.RecResult, kRecAll);
      checkpoints = cancelAt - 1;
      break;
    }
    EXPECT_EQ(ctx.RecResult, kRecNothing) << cancelAt;
    EXPECT_TRUE(st.RecoveredFilePath.empty());
    EXPECT_EQ(FolderFiles(Work()), work) << cancelAt;
    EXPECT_FALSE(rfs::exists(app / "KV1RECOVER")) << cancelAt;
    EXPECT_TRUE(FolderFiles(Data()).empty()) << cancelAt;
  }
  // Two pauses, one stop per level-1 record, one before packing.
  EXPECT_EQ(checkpoints, 2 + 4 + 1);
}

TEST_F(RecoveryEngine, ObjectFilesStayInWorkOutsideSystemKinds2And4) {
  SimpleJob("ABC");
  WriteFile("ABC$1.MOD", "object");
  st.SystemKind = 1;

  Recover("ABC");

  ASSERT_EQ(ctx.RecResult, kRecAll);
  EXPECT_TRUE(rfs::exists(Work() / "ABC$1.MOD"));
  EXPECT_FALSE(rfs::exists(Work() / "ABC.Y1"));
  EXPECT_EQ(ReadAll(Unpacked() / "FILE001$1.MOD"), "object");
}

TEST(RecoveryWait, WaitSecondsLetsEventsRunForItsLength) {
  ScriptedUi ui;
  auto start = std::chrono::steady_clock::now();
  WaitSeconds(ui, 1);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::seconds(1));
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_GT(ui.ProcessEventsCount(), 1);
}

}  // namespace
}  // namespace kv::test
