#include "platform/packing.h"

#include <signal.h>
#include <sys/resource.h>
#include <zip.h>

#include <cstdint>
#include <functional>
#include <random>

#include "packing_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::ReadFile;
using test::Snapshot;
using test::WriteFile;

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

// A zip archive's bytes, built with libzip from (name, content) pairs.
std::string MakeZip(const stdfs::path& scratch, const std::vector<std::pair<std::string, std::string>>& entries,
                    zip_int32_t method = ZIP_CM_DEFLATE) {
  stdfs::path p = scratch / "made.zip";
  stdfs::remove(p);
  int err = 0;
  zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  EXPECT_NE(z, nullptr);
  for (const auto& [name, data] : entries) {
    zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
    zip_int64_t i = zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8);
    EXPECT_GE(i, 0);
    zip_set_file_compression(z, static_cast<zip_uint64_t>(i), method, 0);
  }
  EXPECT_EQ(zip_close(z), 0);
  std::string bytes = ReadFile(p);
  stdfs::remove(p);
  return bytes;
}

void Put32(std::string& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
size_t Find(const std::string& b, const char* sig, size_t from = 0) { return b.find(std::string(sig, 4), from); }
const char kLocal[] = "PK\x03\x04";
const char kCentral[] = "PK\x01\x02";

// Sets the unpacked size of the entry whose local header is the n-th one, in
// its local header and in the central directory alike (so the archive stays
// consistent and only the sizes lie).
void ForgeSize(std::string& zip, int n, std::uint32_t size) {
  size_t local = Find(zip, kLocal), central = Find(zip, kCentral);
  for (int i = 0; i < n; ++i) {
    local = Find(zip, kLocal, local + 4);
    central = Find(zip, kCentral, central + 4);
  }
  Put32(zip, local + 22, size);
  Put32(zip, central + 24, size);
}

class Packing : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    work_ = Dir("WORK");
    data_ = Dir("DATA");
    app_ = Dir("app");
  }
  stdfs::path work_, data_, app_;
  PackFileSet set_ = test::TestFileSet();
};

// ---------------------------------------------------------------------------
// Round trips
// ---------------------------------------------------------------------------

TEST_F(Packing, WorkSetWithJapaneseNameRoundTripsByteForByte) {
  const std::string name = "見積書Ａ-1 (改)";
  std::map<std::string, std::string> files = {
      {name + ".Y1", RandomBytes(512 * 7, 1)},
      {name + ".Y2", std::string(512 * 300, ' ') + RandomBytes(512, 2)},
      {name + ".Y$", RandomBytes(1000, 3)},
      {name + ".ini", "[OLE]\r\nOleFileCnt=2\r\n[Boot]\r\nTitle=\x8C\xA9\x90\xCF\r\n"},  // lower-case on disk
      {name + ".YT", ""},                                                                  // empty file
  };
  for (const auto& [f, b] : files) WriteFile(work_ / f, b);
  std::map<std::string, std::string> objects = {{name + "$1.MOD", RandomBytes(5000, 4)},
                                                {name + "$12.MOD", "$$4DO-SHEET$$" + RandomBytes(100, 5)}};
  for (const auto& [f, b] : objects) WriteFile(work_ / f, b);
  // Files of other estimates in the work folder are not packed.
  WriteFile(work_ / (name + ".X.Y1"), "other");
  WriteFile(work_ / ("X" + name + "$1.MOD"), "other");

  ASSERT_EQ(MCompress(data_, work_, name, app_, set_), kPackOk);
  ASSERT_EQ(MCompOLEData(data_, work_, name, app_, set_), kPackOk);
  EXPECT_TRUE(stdfs::exists(data_ / (name + ".YZH")));
  EXPECT_TRUE(stdfs::exists(data_ / (name + ".OPD")));
  EXPECT_EQ(Snapshot(data_).size(), 2u) << "no temporary left beside the packed files";

  stdfs::path back = Dir("back");
  ASSERT_EQ(MMelt(data_, back, name, app_, set_), kPackOk);
  ASSERT_EQ(MMeltOLEData(data_, back, name, app_, set_), kPackOk);
  std::map<std::string, std::string> expected = files;
  expected.insert(objects.begin(), objects.end());
  EXPECT_EQ(Snapshot(back), expected);
}

TEST_F(Packing, EntryNamesAreUtf8) {
  WriteFile(work_ / "見積.Y1", "x");
  ASSERT_EQ(MCompress(data_, work_, "見積", app_, set_), kPackOk);
  int err = 0;
  zip_t* z = zip_open((data_ / "見積.YZH").c_str(), ZIP_RDONLY, &err);
  ASSERT_NE(z, nullptr);
  EXPECT_STREQ(zip_get_name(z, 0, ZIP_FL_ENC_RAW), "見積.Y1");
  zip_discard(z);
}

TEST_F(Packing, ObjectPackWithoutObjectFilesIsAnEmptyArchive) {
  WriteFile(work_ / "A.Y1", "rows");
  ASSERT_EQ(MCompOLEData(data_, work_, "A", app_, set_), kPackOk);
  ASSERT_TRUE(stdfs::exists(data_ / "A.OPD"));

  // Unpacking it leaves the target without object files of A, and only those.
  stdfs::path target = Dir("target");
  WriteFile(target / "A$3.MOD", "stale");
  WriteFile(target / "AB$3.MOD", "another estimate's");
  ASSERT_EQ(MMeltOLEData(data_, target, "A", app_, set_), kPackOk);
  EXPECT_EQ(Snapshot(target), (std::map<std::string, std::string>{{"AB$3.MOD", "another estimate's"}}));
}

TEST_F(Packing, UnpackReplacesTheWholeWorkSetOfTheName) {
  WriteFile(work_ / "A.Y1", "new level 1");
  WriteFile(work_ / "A.INI", "new settings");
  ASSERT_EQ(MCompress(data_, work_, "A", app_, set_), kPackOk);

  stdfs::path target = Dir("target");
  WriteFile(target / "A.Y1", "old level 1");
  WriteFile(target / "A.ini", "old settings, other spelling");
  WriteFile(target / "A.Y3", "stale level 3 of an earlier session");
  WriteFile(target / "A$1.MOD", "object file: not the work set's business here");
  WriteFile(target / "AB.Y1", "another estimate");
  ASSERT_EQ(MMelt(data_, target, "A", app_, set_), kPackOk);
  EXPECT_EQ(Snapshot(target), (std::map<std::string, std::string>{{"A.Y1", "new level 1"},
                                                                  {"A.INI", "new settings"},
                                                                  {"A$1.MOD", "object file: not the work set's business here"},
                                                                  {"AB.Y1", "another estimate"}}));
}

TEST_F(Packing, RenamedPackedFileUnpacksUnderItsNewName) {
  WriteFile(work_ / "old.Y1", "rows");
  WriteFile(work_ / "old$4.MOD", "objects");
  ASSERT_EQ(MCompress(data_, work_, "old", app_, set_), kPackOk);
  ASSERT_EQ(MCompOLEData(data_, work_, "old", app_, set_), kPackOk);
  stdfs::rename(data_ / "old.YZH", data_ / "新.YZH");
  stdfs::rename(data_ / "old.OPD", data_ / "新.OPD");

  stdfs::path target = Dir("target");
  ASSERT_EQ(MMelt(data_, target, "新", app_, set_), kPackOk);
  ASSERT_EQ(MMeltOLEData(data_, target, "新", app_, set_), kPackOk);
  EXPECT_EQ(Snapshot(target), (std::map<std::string, std::string>{{"新.Y1", "rows"}, {"新$4.MOD", "objects"}}));
}

TEST_F(Packing, ReplacedPackedFileKeepsItsPermissions) {
  WriteFile(work_ / "A.Y1", "rows");
  WriteFile(data_ / "A.YZH", "old");
  stdfs::permissions(data_ / "A.YZH", stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
  ASSERT_EQ(MCompress(data_, work_, "A", app_, set_), kPackOk);
  EXPECT_EQ(stdfs::status(data_ / "A.YZH").permissions(),
            stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
}

TEST(PackingNames, ObjectFilesMatchNameDollarDigitsMod) {
  struct Case {
    const char* file;
    const char* name;
    bool match;
  } cases[] = {
      {"A$1.MOD", "A", true},       {"a$12.mod", "A", true},     {"見積$0.MOD", "見積", true},
      {"XA$1.MOD", "A", false},     {"A$1.MOD", "XA", false},    {"AB$1.MOD", "A", false},
      {"A$.MOD", "A", false},       {"A$1x.MOD", "A", false},    {"A$1.MODX", "A", false},
      {"A1.MOD", "A", false},       {"A$1.Y1", "A", false},      {"A$1.MOD", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsObjectFileName(c.file, c.name), c.match) << c.file << " / " << c.name;
}

// ---------------------------------------------------------------------------
// Packing that fails or is refused leaves the old packed file as it was
// ---------------------------------------------------------------------------

TEST_F(Packing, PackThatRunsOutOfRoomMidwayLeavesTheOldFile) {
  WriteFile(data_ / "A.YZH", "the only saved copy");
  WriteFile(work_ / "A.Y1", RandomBytes(1 << 20, 7));  // does not compress
  WriteFile(work_ / "A.Y2", RandomBytes(1 << 20, 8));

  // The process may write no file beyond 64 KiB: the archive fails part way.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int r = MCompress(data_, work_, "A", app_, set_);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(r, kPackIoError);
  EXPECT_EQ(Snapshot(data_), (std::map<std::string, std::string>{{"A.YZH", "the only saved copy"}}));
}

TEST_F(Packing, PackWithNothingToPackIsRefused) {
  WriteFile(data_ / "A.YZH", "the only saved copy");
  WriteFile(work_ / "AB.Y1", "another estimate");
  EXPECT_EQ(MCompress(data_, work_, "A", app_, set_), kPackNothingToPack);
  EXPECT_EQ(MCompress(data_, work_, "", app_, set_), kPackBadArgument);
  EXPECT_EQ(MCompress(data_, work_, "../A", app_, set_), kPackBadArgument);
  EXPECT_EQ(MCompress(root_ / "nowhere", work_, "AB", app_, set_), kPackMissing);
  EXPECT_EQ(Snapshot(data_), (std::map<std::string, std::string>{{"A.YZH", "the only saved copy"}}));
}

TEST_F(Packing, PackOverSomethingThatIsNotAFileFails) {
  WriteFile(work_ / "A.Y1", "rows");
  stdfs::create_directory(data_ / "A.YZH");
  EXPECT_EQ(MCompress(data_, work_, "A", app_, set_), kPackIoError);
  EXPECT_EQ(Snapshot(data_), (std::map<std::string, std::string>{{"A.YZH", "<dir>"}}));
}

TEST_F(Packing, ReadOnlyPackedFileIsNotReplaced) {
  WriteFile(work_ / "A.Y1", "rows");
  WriteFile(data_ / "A.YZH", "kept read-only by the user");
  stdfs::permissions(data_ / "A.YZH", stdfs::perms::owner_read | stdfs::perms::group_read);
  EXPECT_EQ(MCompress(data_, work_, "A", app_, set_), kPackIoError);
  EXPECT_EQ(Snapshot(data_), (std::map<std::string, std::string>{{"A.YZH", "kept read-only by the user"}}));
}

// ---------------------------------------------------------------------------
// Refused unpacking leaves the target folder as it was
// ---------------------------------------------------------------------------

struct BadArchive {
  const char* what;
  std::function<std::string(const stdfs::path& scratch)> make;  // the bytes of A.YZH
  int expected;
  friend void PrintTo(const BadArchive& b, std::ostream* os) { *os << b.what; }
};

class RefusedUnpack : public Packing, public ::testing::WithParamInterface<BadArchive> {};

TEST_P(RefusedUnpack, GivesAnErrorAndLeavesTheTargetAsItWas) {
  const BadArchive& c = GetParam();
  stdfs::path scratch = Dir("scratch");
  WriteFile(data_ / "A.YZH", c.make(scratch));
  stdfs::path target = Dir("target");
  WriteFile(target / "A.Y1", "level 1 of the estimate open until now");
  WriteFile(target / "A.INI", "its settings");
  WriteFile(target / "B.Y1", "another estimate");
  auto before = Snapshot(target);
  auto outside = Snapshot(root_);

  EXPECT_EQ(MMelt(data_, target, "A", app_, set_), c.expected);
  EXPECT_EQ(Snapshot(target), before);
  EXPECT_EQ(Snapshot(root_), outside) << "nothing written anywhere else";
}

const std::string kRows(512 * 4, 'r');

INSTANTIATE_TEST_SUITE_P(
    Archives, RefusedUnpack,
    ::testing::Values(
        BadArchive{"EntryEscapingUpwards",
                   [](const stdfs::path& s) { return MakeZip(s, {{"A.Y1", kRows}, {"../A.Y2", "x"}}); },
                   kPackUnsafeEntry},
        BadArchive{"AbsoluteEntryName",
                   [](const stdfs::path& s) { return MakeZip(s, {{"A.Y1", kRows}, {"/tmp/A.Y2", "x"}}); },
                   kPackUnsafeEntry},
        BadArchive{"EntryNameWithBackslash",
                   [](const stdfs::path& s) { return MakeZip(s, {{"..\\A.Y2", "x"}}); }, kPackUnsafeEntry},
        BadArchive{"FolderEntry", [](const stdfs::path& s) { return MakeZip(s, {{"A.Y1/", ""}}); },
                   kPackUnsafeEntry},
        BadArchive{"EntryClaimingThreeGigabytes",
                   [](const stdfs::path& s) {
                     std::string z = MakeZip(s, {{"A.Y1", kRows}});
                     ForgeSize(z, 0, 3u << 30);
                     return z;
                   },
                   kPackTooLarge},
        BadArchive{"EntryExpandingBeyondItsStatedSize",
                   [](const stdfs::path& s) {
                     std::string z = MakeZip(s, {{"A.INI", "settings"}, {"A.Y1", std::string(4 << 20, ' ')}});
                     ForgeSize(z, 1, 4096);
                     return z;
                   },
                   kPackTooLarge},
        BadArchive{"BadChecksum",
                   [](const stdfs::path& s) {
                     std::string z = MakeZip(s, {{"A.INI", "settings"}, {"A.Y1", kRows}}, ZIP_CM_STORE);
                     size_t at = z.find(kRows);
                     z[at + 100] = 'X';  // one byte of the stored level file changed
                     return z;
                   },
                   kPackDamaged},
        BadArchive{"Truncated",
                   [](const stdfs::path& s) {
                     std::string z = MakeZip(s, {{"A.Y1", RandomBytes(4000, 9)}});
                     return z.substr(0, z.size() / 2);
                   },
                   kPackDamaged},
        BadArchive{"TextFileRenamed",
                   [](const stdfs::path&) { return std::string("[Boot]\r\nDataLen=512\r\n"); }, kPackDamaged},
        BadArchive{"EmptyFile", [](const stdfs::path&) { return std::string(); }, kPackDamaged},
        BadArchive{"ForeignEntries",
                   [](const stdfs::path& s) { return MakeZip(s, {{"A.Y1", kRows}, {"readme.txt", "hello"}}); },
                   kPackForeign},
        BadArchive{"TwoEstimatesInOne",
                   [](const stdfs::path& s) { return MakeZip(s, {{"A.Y1", kRows}, {"B.Y2", kRows}}); },
                   kPackForeign},
        BadArchive{"OneFileTwice",
                   [](const stdfs::path& s) { return MakeZip(s, {{"A.INI", "one"}, {"A.ini", "two"}}); },
                   kPackForeign},
        BadArchive{"NoEntries",
                   [](const stdfs::path&) { return std::string("PK\x05\x06", 4) + std::string(18, '\0'); },
                   kPackForeign}),
    [](const ::testing::TestParamInfo<BadArchive>& i) { return std::string(i.param.what); });

TEST_F(Packing, UnpackFailingWhileMovingFilesInPutsEverythingBack) {
  WriteFile(work_ / "A.Y1", "new level 1");
  WriteFile(work_ / "A.Y2", "new level 2");
  ASSERT_EQ(MCompress(data_, work_, "A", app_, set_), kPackOk);

  stdfs::path target = Dir("target");
  WriteFile(target / "A.Y1", "old level 1");
  WriteFile(target / "A.INI", "old settings");
  stdfs::create_directory(target / "A.Y2");  // a folder in the way of the second file
  auto before = Snapshot(target);
  EXPECT_EQ(MMelt(data_, target, "A", app_, set_), kPackIoError);
  EXPECT_EQ(Snapshot(target), before);
}

TEST_F(Packing, MissingPackedFileIsReported) {
  stdfs::path target = Dir("target");
  WriteFile(target / "A.Y1", "kept");
  EXPECT_EQ(MMelt(data_, target, "A", app_, set_), kPackMissing);
  EXPECT_EQ(MMeltOLEData(data_, target, "A", app_, set_), kPackMissing);
  EXPECT_EQ(MMelt(data_, root_ / "no-such-folder", "A", app_, set_), kPackMissing);
  EXPECT_EQ(Snapshot(target), (std::map<std::string, std::string>{{"A.Y1", "kept"}}));
}

TEST_F(Packing, ObjectPackWithAnythingButObjectFilesIsRefused) {
  WriteFile(data_ / "A.OPD", MakeZip(Dir("scratch"), {{"A$1.MOD", "obj"}, {"A.Y1", "rows"}}));
  stdfs::path target = Dir("target");
  WriteFile(target / "A$1.MOD", "kept");
  EXPECT_EQ(MMeltOLEData(data_, target, "A", app_, set_), kPackForeign);
  EXPECT_EQ(Snapshot(target), (std::map<std::string, std::string>{{"A$1.MOD", "kept"}}));
}

}  // namespace
}  // namespace kv
