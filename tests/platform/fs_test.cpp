#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "support/temp_folder.h"

namespace kv::fs {
namespace {

using test::ReadAll;
using test::TempFolder;

struct WildcardCase {
  const char* name;
  const char* pattern;
  bool match;
};

TEST(FsWildcard, MatchesWithoutLetterCase) {
  const WildcardCase cases[] = {
      {"KVUTL.INI", "kvutl.ini", true},
      {"a.MOD", "*.mod", true},
      {"見積$1.MOD", "見積$?.MOD", true},
      {"見積$12.MOD", "見積$?.MOD", false},
      {"見積.Y1", "?積.Y1", true},  // "?" is one character, not one byte
      {"abc", "*.*", true},
      {"abc", "a*c", true},
      {"abbbc", "a*b*c", true},
      {"abc", "a*d", false},
      {"", "*", true},
      {"abc", "ab", false},
      {"ab", "abc", false},
      {"FILE001.YZH", "FILE???.YZH", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMatchNoCase(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(FsNames, FileNamesMeetWithoutLetterCase) {
  TempFolder t;
  t.Write("N.INI", "x");
  auto found = FindNoCase(t.path(), "n.ini");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->filename(), "N.INI");
  EXPECT_EQ(ResolveNoCase(t / "n.Ini"), t / "N.INI");
  EXPECT_FALSE(FindNoCase(t.path(), "m.ini"));
  EXPECT_EQ(ResolveNoCase(t / "m.ini"), t / "m.ini");  // nothing found: as asked
}

TEST(FsNames, ExactNameIsPreferred) {
  TempFolder t;
  t.Write("N.INI", "upper");
  t.Write("n.ini", "lower");
  EXPECT_EQ(ResolveNoCase(t / "n.ini"), t / "n.ini");
  EXPECT_EQ(ResolveNoCase(t / "N.INI"), t / "N.INI");
  // Neither exact: the first in name order.
  EXPECT_EQ(ResolveNoCase(t / "N.ini"), t / "N.INI");
}

TEST(FsNames, FoldersBeforeTheNameAreTakenAsWritten) {
  TempFolder t;
  std::filesystem::create_directory(t / "Data");
  t.Write("Data/A.INI", "x");
  EXPECT_EQ(ResolveNoCase(t / "data/a.ini"), t / "data/a.ini");
  EXPECT_EQ(ResolveNoCase(t / "Data/a.ini"), t / "Data/A.INI");
}

TEST(FsNames, HiddenFilesAreDotFiles) {
  EXPECT_TRUE(IsHidden("/a/.lock"));
  EXPECT_FALSE(IsHidden("/a/b.lock"));
  EXPECT_FALSE(IsHidden("/a/.."));
}

TEST(FsListing, OnlyOrdinaryVisibleFilesMatch) {
  TempFolder t;
  t.Write("b.MOD", "");
  t.Write("A.mod", "");
  t.Write(".x.mod", "");
  std::filesystem::create_directory(t / "dir.mod");
  std::error_code ec;
  auto files = MatchingFiles(t.path(), "*.MOD", ec);
  EXPECT_FALSE(ec);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].filename(), "A.mod");
  EXPECT_EQ(files[1].filename(), "b.MOD");

  MatchingFiles(t / "missing", "*", ec);
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST(FsDrive, KindAndSpaceOfTheFileSystem) {
  TempFolder t;
  EXPECT_EQ(DriveKindOf(t.path()), DriveKind::Fixed);
  EXPECT_EQ(DriveKindOf(t / "not-yet.txt"), DriveKind::Fixed);  // looked at through its folder
  EXPECT_EQ(DriveKindOf(t / "no/such/folder"), DriveKind::NoRoot);

  auto space = DiskSpaceOf(t.path());
  ASSERT_TRUE(space);
  EXPECT_GT(space->clusterSize, 0u);
  EXPECT_EQ(space->FreeBytes(), space->freeClusters * space->clusterSize);
  EXPECT_FALSE(DiskSpaceOf(t / "no/such/folder"));
}

// No temporary file is left beside the target.
size_t EntriesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

// Flushed to disk or not, the file is made, replaced whole and keeps its
// permissions, and no temporary file is left.
TEST(FsAtomicWrite, CreatesAndReplaces) {
  for (Flush flush : {Flush::Flushed, Flush::Unflushed}) {
    SCOPED_TRACE(flush == Flush::Flushed ? "flushed" : "unflushed");
    TempFolder t;
    std::error_code ec;
    ASSERT_TRUE(WriteFileAtomic(t / "a.ini", "first", ec, flush)) << ec.message();
    EXPECT_EQ(ReadAll(t / "a.ini"), "first");
    std::filesystem::permissions(t / "a.ini", std::filesystem::perms(0640));
    ASSERT_TRUE(WriteFileAtomic(t / "a.ini", "second", ec, flush)) << ec.message();
    EXPECT_EQ(ReadAll(t / "a.ini"), "second");
    EXPECT_EQ(std::filesystem::status(t / "a.ini").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(EntriesIn(t.path()), 1u);
  }
}

TEST(FsAtomicWrite, MissingFolderIsReported) {
  TempFolder t;
  std::error_code ec;
  EXPECT_FALSE(WriteFileAtomic(t / "no/a.ini", "x", ec));
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST(FsAtomicWrite, ReadOnlyFileIsNotReplaced) {
  TempFolder t;
  auto p = t.Write("a.ini", "old");
  std::filesystem::permissions(p, std::filesystem::perms(0444));
  std::error_code ec;
  EXPECT_FALSE(WriteFileAtomic(p, "new", ec));
  EXPECT_EQ(ec, std::errc::permission_denied);
  EXPECT_EQ(ReadAll(p), "old");
  EXPECT_EQ(EntriesIn(t.path()), 1u);
}

TEST(FsAtomicWrite, ReadOnlyFolderLeavesOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempFolder t;
  auto p = t.Write("a.ini", "old");
  std::filesystem::permissions(t.path(), std::filesystem::perms(0555));
  std::error_code ec;
  EXPECT_FALSE(WriteFileAtomic(p, "new", ec));
  EXPECT_EQ(ReadAll(p), "old");
}

TEST(FsAtomicWrite, FailureWhileWritingLeavesOldFile) {
  // The file-size limit makes the write itself fail half-way (also for the
  // superuser), in a child process so the limit stays there.
  TempFolder t;
  const std::string old(100, 'o');
  auto p = t.Write("a.ini", old);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    std::error_code ec;
    bool ok = WriteFileAtomic(p, std::string(5000, 'n'), ec);
    ::_exit(!ok && ec == std::errc::file_too_large ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail as expected";
  EXPECT_EQ(ReadAll(p), old);
  EXPECT_EQ(EntriesIn(t.path()), 1u) << "temporary file left behind";
}

TEST(FsAtomicWrite, LinkKeepsPointingAtTheReplacedFile) {
  TempFolder t;
  auto real = t.Write("real.ini", "old");
  std::filesystem::create_symlink(real, t / "link.ini");
  std::error_code ec;
  ASSERT_TRUE(WriteFileAtomic(t / "link.ini", "new", ec)) << ec.message();
  EXPECT_TRUE(std::filesystem::is_symlink(t / "link.ini"));
  EXPECT_EQ(ReadAll(real), "new");
}

}  // namespace
}  // namespace kv::fs
