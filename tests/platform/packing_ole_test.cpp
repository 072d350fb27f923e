#include <cstdio>

#include "packing_fixture.h"
#include "platform/packing.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::ReadFile;
using test::Snapshot;
using test::WriteFile;

constexpr long kNone = -99;

std::string Stored(long n, bool hex) {
  if (n == kNone) return " -99";
  char buf[16];
  std::snprintf(buf, sizeof buf, hex ? "%4lX" : "%4ld", n);
  return buf;
}

// One row record: kind, own number, next and child links, bytes 16-19, and
// column bytes that make every record different.
std::string Rec(char kind, long own, long next, long child, const std::string& obj, bool hex, size_t len) {
  std::string r = std::string("  ") + kind + Stored(own, hex) + Stored(next, hex) + Stored(child, hex);
  r += std::string(4 - obj.size(), ' ') + obj;
  std::string cols = "col" + std::to_string(own) + std::string(1, kind) + "\x8C\xA9\x90\xCF";
  while (r.size() < len) r += cols;
  return r.substr(0, len);
}

std::string Field(const std::string& file, size_t rec, size_t len) { return file.substr((rec - 1) * len + 15, 4); }

std::string SetField(std::string file, size_t rec, size_t len, const std::string& f) {
  return file.replace((rec - 1) * len + 15, 4, f);
}

class ObjectFilePack : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    work_ = Dir("WORK");
  }
  stdfs::path work_;
  PackFileSet set_ = test::TestFileSet();
};

TEST_F(ObjectFilePack, RenumbersDepthFirstAndKeepsClosingRecordsAndNamesConsistent) {
  const size_t L = 256;
  const std::string n = "見積";
  // Level 1: three rows and the closing record (object file 7). Row 1 opens
  // the level-2 sheet 3 -> 1, row 3 the sheet 5 -> 6.
  std::string y1 = Rec(' ', 1, 2, 3, "", false, L) + Rec(' ', 2, 3, kNone, "12P", false, L) +
                   Rec(' ', 3, 4, 5, "", false, L) + Rec('G', 4, kNone, kNone, "7", false, L);
  // Level 2: record 2 is a closing record no sheet reaches any more, record 4
  // a leftover row; sheet 5 -> 6 names object file 7 as well.
  std::string y2 = Rec('G', 1, kNone, kNone, "2", false, L) + Rec('G', 2, kNone, kNone, "9", false, L) +
                   Rec('@', 3, 1, 1, "", false, L) + Rec(' ', 4, 2, kNone, "", false, L) +
                   Rec('@', 5, 6, kNone, "", false, L) + Rec('G', 6, kNone, kNone, "7", false, L);
  // Level 3: the sheet under level-2 record 3, naming an object file that is
  // not there.
  std::string y3 = Rec('@', 1, 2, kNone, "", false, L) + Rec('G', 2, kNone, kNone, "4", false, L);
  WriteFile(work_ / (n + ".Y1"), y1);
  WriteFile(work_ / (n + ".Y2"), y2);
  WriteFile(work_ / (n + ".Y3"), y3);
  WriteFile(work_ / (n + "$7.MOD"), "seven");
  WriteFile(work_ / (n + "$2.MOD"), "two");
  WriteFile(work_ / (n + "$9.MOD"), "nine");
  WriteFile(work_ / (n + "$5.MOD"), "five, named by no sheet");
  WriteFile(work_ / (n + "X$1.MOD"), "another estimate's");
  WriteFile(work_ / (n + "$1x.MOD"), "not an object file");

  EXPECT_EQ(OLEFilePack(work_ / n, root_, static_cast<int>(L), "10", set_), 3);

  std::map<std::string, std::string> expected = {
      {n + ".Y1", SetField(y1, 4, L, "   1")},
      {n + ".Y2", SetField(SetField(SetField(y2, 1, L, "   2"), 6, L, "   3"), 2, L, "    ")},
      {n + ".Y3", SetField(y3, 2, L, "    ")},
      {n + "$1.MOD", "seven"},
      {n + "$2.MOD", "two"},
      {n + "$3.MOD", "seven"},  // its own copy: each sheet owns its file
      {n + "X$1.MOD", "another estimate's"},
      {n + "$1x.MOD", "not an object file"},
  };
  EXPECT_EQ(Snapshot(work_), expected);
  // The first row's page field (bytes 16-19 of a row) is never touched.
  EXPECT_EQ(Field(ReadFile(work_ / (n + ".Y1")), 2, L), " 12P");

  // A second run finds nothing to do.
  EXPECT_EQ(OLEFilePack(work_ / n, root_, static_cast<int>(L), "10", set_), 3);
  EXPECT_EQ(Snapshot(work_), expected);
}

TEST_F(ObjectFilePack, FollowsHexadecimalLinks) {
  const size_t L = 512;
  // Level 1: one row whose breakdown starts at level-2 record 11 ("   B").
  std::string y1 = Rec(' ', 1, 2, 11, "", true, L) + Rec('G', 2, kNone, kNone, "", true, L);
  std::string y2;
  for (long i = 1; i <= 10; ++i) y2 += Rec(' ', i, kNone, kNone, "", true, L);
  y2 += Rec('@', 11, 12, kNone, "", true, L) + Rec('G', 12, kNone, kNone, "5", true, L);
  y1.replace(L + 11, 4, "    ");  // a blank child link reads "none" in hexadecimal
  WriteFile(work_ / "A.Y1", y1);
  WriteFile(work_ / "A.Y2", y2);
  WriteFile(work_ / "A$5.MOD", "five");

  EXPECT_EQ(OLEFilePack(work_ / "A", root_, static_cast<int>(L), "16", set_), 1);
  EXPECT_EQ(Snapshot(work_), (std::map<std::string, std::string>{
                                 {"A.Y1", y1}, {"A.Y2", SetField(y2, 12, L, "   1")}, {"A$1.MOD", "five"}}));
}

TEST_F(ObjectFilePack, WithoutObjectFilesChangesNothing) {
  const size_t L = 256;
  std::string y1 = Rec(' ', 1, 2, kNone, "", false, L) + Rec('G', 2, kNone, kNone, "", false, L);
  WriteFile(work_ / "A.Y1", y1);
  auto before = Snapshot(work_);
  EXPECT_EQ(OLEFilePack(work_ / "A", root_, static_cast<int>(L), "10", set_), 0);
  EXPECT_EQ(Snapshot(work_), before);
}

struct DamagedLevels {
  const char* what;
  std::string y2;
  friend void PrintTo(const DamagedLevels& d, std::ostream* os) { *os << d.what; }
};

class ObjectFilePackRefuses : public ObjectFilePack, public ::testing::WithParamInterface<DamagedLevels> {};

TEST_P(ObjectFilePackRefuses, DamagedLevelFileAndChangesNothing) {
  const size_t L = 256;
  std::string y1 = Rec(' ', 1, 2, 1, "", false, L) + Rec('G', 2, kNone, kNone, "3", false, L);
  WriteFile(work_ / "A.Y1", y1);
  WriteFile(work_ / "A.Y2", GetParam().y2);
  WriteFile(work_ / "A$3.MOD", "three");
  WriteFile(work_ / "A$8.MOD", "eight");
  auto before = Snapshot(work_);
  EXPECT_LT(OLEFilePack(work_ / "A", root_, static_cast<int>(L), "10", set_), 0);
  EXPECT_EQ(Snapshot(work_), before);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ObjectFilePackRefuses,
    ::testing::Values(
        DamagedLevels{"Cycle", Rec('@', 1, 2, kNone, "", false, 256) + Rec(' ', 2, 1, kNone, "", false, 256)},
        DamagedLevels{"LinkPastTheEnd", Rec('@', 1, 7, kNone, "", false, 256)},
        // Record 2 is the next record of 1 and of 3.
        DamagedLevels{"ChainsRunningIntoEachOther", Rec('@', 1, 2, kNone, "", false, 256) +
                                                        Rec('G', 2, kNone, kNone, "8", false, 256) +
                                                        Rec(' ', 3, 2, kNone, "", false, 256)},
        // The breakdown begins at record 1, the next record of 2.
        DamagedLevels{"ChainEnteredInItsMiddle", Rec('G', 1, kNone, kNone, "8", false, 256) +
                                                     Rec(' ', 2, 1, kNone, "", false, 256)},
        DamagedLevels{"LengthNotARecordMultiple", Rec('@', 1, kNone, kNone, "8", false, 256) + "tail"}),
    [](const ::testing::TestParamInfo<DamagedLevels>& i) { return std::string(i.param.what); });

// A record naming itself as its next ends its chain, as converted files end
// them: the sheet's object file is renumbered like any other.
TEST_F(ObjectFilePack, ASelfLinkEndsItsChain) {
  const size_t L = 256;
  WriteFile(work_ / "A.Y1", Rec(' ', 1, 2, 1, "", false, L) + Rec('G', 2, kNone, kNone, "", false, L));
  const std::string y2 = Rec('G', 1, 1, kNone, "8", false, L);
  WriteFile(work_ / "A.Y2", y2);
  WriteFile(work_ / "A$8.MOD", "eight");
  EXPECT_EQ(OLEFilePack(work_ / "A", root_, static_cast<int>(L), "10", set_), 1);
  EXPECT_EQ(ReadFile(work_ / "A$1.MOD"), "eight");
  EXPECT_EQ(Field(ReadFile(work_ / "A.Y2"), 1, L), "   1");
}

TEST_F(ObjectFilePack, FailureWhileMovingFilesInPutsEverythingBack) {
  const size_t L = 256;
  std::string y1 = Rec(' ', 1, 2, 1, "", false, L) + Rec('G', 2, kNone, kNone, "5", false, L);
  std::string y2 = Rec('@', 1, 2, kNone, "", false, L) + Rec('G', 2, kNone, kNone, "6", false, L);
  WriteFile(work_ / "A.Y1", y1);
  WriteFile(work_ / "A.Y2", y2);
  WriteFile(work_ / "A$5.MOD", "five");
  WriteFile(work_ / "A$6.MOD", "six");
  stdfs::create_directory(work_ / "A$2.MOD");  // a folder in the way of the second number
  auto before = Snapshot(work_);
  EXPECT_EQ(OLEFilePack(work_ / "A", root_, static_cast<int>(L), "10", set_), kPackIoError);
  EXPECT_EQ(Snapshot(work_), before);
}

TEST_F(ObjectFilePack, BadArgumentsAreRefused) {
  EXPECT_EQ(OLEFilePack(work_ / "A", root_, 300, "10", set_), kPackBadArgument);
  EXPECT_EQ(OLEFilePack(work_ / "", root_, 256, "10", set_), kPackBadArgument);
}

}  // namespace
}  // namespace kv
