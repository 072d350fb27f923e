// Packing the work set into the estimate file: the refusals for the drive and
// for room, the pair of files replaced together or not at all, and a pack
// unpacked again giving every work file back byte for byte.
#include "storage/estimate_pack.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "platform/file_set_replace.h"
#include "platform/packing.h"
#include "storage/estimate_unpack.h"
#include "support/child_process.h"
#include "work_set_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::ReadAll;

DiskProbe FakeDisk(fs::DriveKind kind, std::optional<fs::DiskSpace> space) {
  return {[kind](const stdfs::path&) { return kind; }, [space](const stdfs::path&) { return space; }};
}

class Pack : public test::WorkSetFixture {
 protected:
  std::map<std::string, std::string> WorkSet(const std::string& name) {
    std::map<std::string, std::string> files = {
        {name + ".Y1", Record(' ', 1, 2, "工事 一式") + Record('G', 2, -99, "合計")},
        {name + ".Y2", Record(' ', 1, 2, "内訳") + Record('G', 2, -99)},
        {name + ".Y3", std::string(3000, '\0') + "\xff\xfe"},
        {name + ".Y$", "layout lines"},
        {name + ".INI", "[Boot]\r\nDataLen=256\r\n[OLE]\r\nOleFileCnt=2\r\n"},
        {name + ".YT", std::string(2000, 'p')},
        {name + "$1.MOD", std::string("$$4DO-SHEET$$\0\x01\x02", 16)},
        {name + "$12.MOD", "picture bytes"},
    };
    for (const auto& [f, bytes] : files) WorkFile(f, bytes);
    return files;
  }
};

TEST_F(Pack, PackThenUnpackGivesEveryFileBackByteForByte) {
  const std::string name = "第２期 改修工事（見積）";
  const auto files = WorkSet(name);
  WorkFile("他の見積.Y1", "not packed");
  const std::string path = (data / (name + ".YZH")).string();
  ASSERT_EQ(PackEstimateFile(st, path, true), kEstimatePacked);
  EXPECT_TRUE(stdfs::exists(data / (name + ".OPD")));
  // The work set was deleted after packing; the other estimate's file stays.
  EXPECT_EQ(Snapshot(work), (std::map<std::string, std::string>{{"他の見積.Y1", "not packed"}}));

  const UnpackResult r = UnpackEstimateFile(st, path);
  ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
  std::map<std::string, std::string> expected = files;
  expected["他の見積.Y1"] = "not packed";
  EXPECT_EQ(Snapshot(work), expected);
}

TEST_F(Pack, KeepsTheWorkSetUnlessAskedToDeleteIt) {
  const auto files = WorkSet("EST");
  ASSERT_EQ(PackEstimateFile(st, (data / "EST.YZH").string(), false), kEstimatePacked);
  EXPECT_EQ(Snapshot(work), files);
}

TEST_F(Pack, UntitledIsNotPacked) {
  WorkSet("無題");
  EXPECT_EQ(PackEstimateFile(st, (work / "無題").string(), true), kEstimatePackFailed);
  EXPECT_FALSE(stdfs::exists(work / "無題.YZH"));
  EXPECT_TRUE(stdfs::exists(work / "無題.Y1"));
}

TEST_F(Pack, UnsuitableDrivesAreRefusedBeforeAnythingIsWritten) {
  WorkSet("EST");
  app.Write("DATA/EST.YZH", "old estimate");
  const auto before = Snapshot(data);
  const fs::DiskSpace plenty{1u << 20, 4096};
  for (fs::DriveKind kind : {fs::DriveKind::NoRoot, fs::DriveKind::CdRom}) {
    EXPECT_EQ(PackEstimateFile(st, (data / "EST.YZH").string(), true, FakeDisk(kind, plenty)),
              kEstimatePackRefused);
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_TRUE(stdfs::exists(work / "EST.Y1"));  // not deleted
  }
  // A folder that does not exist, asked of the real file system.
  EXPECT_EQ(PackEstimateFile(st, (app.path() / "NOWHERE" / "EST.YZH").string(), false), kEstimatePackRefused);
  EXPECT_FALSE(stdfs::exists(app.path() / "NOWHERE"));
}

TEST_F(Pack, RoomIsCheckedOnlyOnANearlyFullLocalDrive) {
  // Need: the one component file at full length (index 3 = LevelCount).
  constexpr std::uint64_t kFree = 999ull * 4096 + 100000;
  WorkFile("EST.Y3", std::string(kFree, ' '));
  WorkFile("EST.YT", "1");  // one byte more than there is room for
  app.Write("DATA/EST.YZH", std::string(100000, 'o'));
  const auto before = Snapshot(data);
  const std::string path = (data / "EST.YZH").string();
  const fs::DiskSpace nearlyFull{999, 4096};

  EXPECT_EQ(PackEstimateFile(st, path, false, FakeDisk(fs::DriveKind::Fixed, nearlyFull)), kEstimatePackRefused);
  EXPECT_EQ(Snapshot(data), before);
  // Free space unknown: no free cluster.
  EXPECT_EQ(PackEstimateFile(st, path, false, FakeDisk(fs::DriveKind::Fixed, std::nullopt)),
            kEstimatePackRefused);
  EXPECT_EQ(Snapshot(data), before);
  // 1000 free clusters, or a network file system: no check.
  EXPECT_EQ(PackEstimateFile(st, path, false, FakeDisk(fs::DriveKind::Fixed, fs::DiskSpace{1000, 1})),
            kEstimatePacked);
  EXPECT_EQ(PackEstimateFile(st, path, false, FakeDisk(fs::DriveKind::Remote, fs::DiskSpace{0, 0})),
            kEstimatePacked);

  // Exactly the room needed: 999 × 4096 free bytes + the 100000 bytes of the
  // estimate file that will be replaced.
  stdfs::remove(work / "EST.YT");
  app.Write("DATA/EST.YZH", std::string(100000, 'o'));
  stdfs::remove(data / "EST.OPD");
  EXPECT_EQ(PackEstimateFile(st, path, false, FakeDisk(fs::DriveKind::Fixed, nearlyFull)), kEstimatePacked);
}

TEST_F(Pack, AFailedPackLeavesTheOldPairAsItWas) {
  WorkSet("EST");
  const std::string path = (data / "EST.YZH").string();
  struct Case {
    const char* what;
    bool oldFiles;
    const char* readOnly;  // the file that cannot be replaced
  };
  for (const Case& c : {Case{"estimate file fails", true, "EST.YZH"}, Case{"object pack fails", true, "EST.OPD"},
                        Case{"object pack fails, no old estimate file", false, "EST.OPD"}}) {
    SCOPED_TRACE(c.what);
    for (const char* f : {"EST.YZH", "EST.OPD"}) {
      if (stdfs::exists(data / f)) stdfs::permissions(data / f, stdfs::perms::owner_write, stdfs::perm_options::add);
      stdfs::remove(data / f);
    }
    if (c.oldFiles) app.Write("DATA/EST.YZH", "old estimate");
    app.Write("DATA/EST.OPD", "old objects");
    stdfs::permissions(data / c.readOnly, stdfs::perms::owner_read | stdfs::perms::group_read);
    const auto before = Snapshot(data);
    EXPECT_EQ(PackEstimateFile(st, path, true), kEstimatePackFailed);
    EXPECT_EQ(Snapshot(data), before);  // no new file, no temporary left
    EXPECT_TRUE(stdfs::exists(work / "EST.Y1"));
  }
}

// Two saves of one estimate: the first packed normally, the second killed at
// a step of replacing the pair. The open that follows finds the pair half
// replaced and finishes it when the new archives are whole; a damaged new
// archive is dropped and the first save stays. Either way the ".YZH" and the
// ".OPD" come from the same save, and no temporary stays behind.
TEST_F(Pack, ASaveKilledWhileThePairIsReplacedIsSettledWhenTheEstimateIsOpened) {
  const std::string path = (data / "EST.YZH").string();
  struct Case {
    int killedAt;  // 0: the intent record written; 1: the estimate file renamed
    bool damageNewObjects;
    bool secondSaveWins;
  };
  for (const Case& c : {Case{0, false, true}, Case{1, false, true}, Case{2, false, true}, Case{0, true, false}}) {
    SCOPED_TRACE("killed at " + std::to_string(c.killedAt) + (c.damageNewObjects ? ", objects damaged" : ""));
    for (const auto& e : stdfs::directory_iterator(work)) stdfs::remove_all(e.path());
    const auto first = WorkSet("EST");
    ASSERT_EQ(PackEstimateFile(st, path, false), kEstimatePacked);
    WorkFile("EST.Y1", Record(' ', 1, 2, "二回目") + Record('G', 2, -99));
    WorkFile("EST$12.MOD", "pictures of the second save");
    const auto second = Snapshot(work);

    pid_t pid = ::fork();
    if (pid == 0) {
      PackEstimateFile(st, path, false, SystemDiskProbe(), [&](int renamed) {
        if (renamed == c.killedAt) ::raise(SIGKILL);
      });
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    if (c.damageNewObjects)
      for (const auto& e : stdfs::directory_iterator(data)) {
        std::optional<fs::OwnedName> o = fs::ParseOwnedName(e.path().filename().string());
        if (o && o->kind == "tmp" && o->finalName == "EST.OPD") stdfs::resize_file(e.path(), 30);
      }

    const UnpackResult r = UnpackEstimateFile(st, path);

    ASSERT_TRUE(r.ok()) << UnpackFailureText(r);
    std::map<std::string, std::string> opened = Snapshot(work);
    std::erase_if(opened, [](const auto& f) { return fs::ParseOwnedName(f.first).has_value(); });  // the note
    EXPECT_EQ(opened, c.secondSaveWins ? second : first);
    std::vector<std::string> left;
    for (const auto& e : stdfs::directory_iterator(data)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"EST.OPD", "EST.YZH"}));
    // The next save settles the note the stopped one left in WORK.
    ASSERT_EQ(PackEstimateFile(st, path, false), kEstimatePacked);
    for (const auto& e : stdfs::directory_iterator(work))
      EXPECT_FALSE(fs::ParseOwnedName(e.path().filename().string())) << e.path();
  }
}

// What interrupted saves left beside the estimate: the next open removes the
// temporaries whose writer is gone, the next save also those written before
// it. A live writer's file, another estimate's, files of other names and the
// work folder's note are not touched.
TEST_F(Pack, LeftoversOfInterruptedSavesAreRemovedByTheNextOpenAndSave) {
  WorkSet("EST");
  const std::string path = (data / "EST.YZH").string();
  ASSERT_EQ(PackEstimateFile(st, path, false), kEstimatePacked);
  const std::string host = fs::ThisProcess().host;
  test::LiveProcess live;
  const pid_t ended = test::EndedProcessId();
  auto leftover = [&](const std::string& finalName, const fs::FileOwner& owner) {
    const std::string name = fs::MakeOwnedName(finalName, owner, "tmp");
    app.Write("DATA/" + name, std::string(4096, 'x'));
    return name;
  };
  const std::string deadPacked = leftover("EST.YZH", {host, ended, "a1"});
  const std::string deadObjects = leftover("EST.OPD", {host, ended, "a1"});
  const std::string liveObjects = leftover("EST.OPD", {host, live.pid(), "b2"});
  const std::string foreign = leftover("EST.YZH", {"other-pc", 77, "c3"});
  const std::string otherEstimate = leftover("OTHER.YZH", {host, ended, "d4"});
  app.Write("DATA/.EST.YZH-x7Qz2a", "not one of ours");
  app.Write("DATA/EST.txt", "a note of the user's");

  ASSERT_TRUE(UnpackEstimateFile(st, path).ok());
  for (const std::string& gone : {deadPacked, deadObjects}) EXPECT_FALSE(stdfs::exists(data / gone)) << gone;
  for (const std::string& kept : {liveObjects, foreign, otherEstimate})
    EXPECT_TRUE(stdfs::exists(data / kept)) << kept;

  ASSERT_EQ(PackEstimateFile(st, path, false), kEstimatePacked);
  for (const std::string& gone : {liveObjects, foreign}) EXPECT_FALSE(stdfs::exists(data / gone)) << gone;
  EXPECT_TRUE(stdfs::exists(data / otherEstimate));
  EXPECT_TRUE(stdfs::exists(data / ".EST.YZH-x7Qz2a"));
  EXPECT_TRUE(stdfs::exists(data / "EST.txt"));
}

}  // namespace
}  // namespace kv
