// The mapped-file guard: a bus error on a mapping (the file cut by another
// program) while a guarded run touches it becomes a false result, the guard
// works again afterwards, and bus errors outside a guarded run keep their
// earlier handler.
#include "core/mapped_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace kv {
namespace {

namespace fs = std::filesystem;

class MappedFileTest : public ::testing::Test {
 protected:
  static constexpr size_t kSize = 4 * 4096;

  void SetUp() override {
    path_ = fs::temp_directory_path() / ("kv_mapped_file_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd_, 0);
    const std::string bytes(kSize, 'a');
    ASSERT_EQ(::pwrite(fd_, bytes.data(), bytes.size(), 0), ssize_t(kSize));
  }
  void TearDown() override {
    if (fd_ >= 0) ::close(fd_);
    fs::remove(path_);
  }

  // Cuts the file to `size` bytes through a descriptor of its own, as
  // another program would.
  void CutTo(off_t size) const {
    const int other = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::ftruncate(other, size), 0);
    ::close(other);
  }

  std::string Contents() const {
    std::string bytes(size_t(fs::file_size(path_)), '\0');
    EXPECT_EQ(::pread(fd_, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
    return bytes;
  }

  fs::path path_;
  int fd_ = -1;
};

// Stores through a shared mapping reach the file; a cut file gives false for
// a read and a store past its new end, and true again for the part it
// still holds.
TEST_F(MappedFileTest, ACutFileIsAnErrorAndTheGuardStaysUsable) {
  int error = -1;
  MappedFile map(fd_, kSize, true, true, error);
  ASSERT_TRUE(map) << error;
  EXPECT_EQ(error, 0);
  EXPECT_EQ(map.size(), kSize);

  char* const bytes = map.data();
  auto storeFirst = [bytes] { std::memcpy(bytes + 5, "xyz", 3); };
  ASSERT_TRUE(MappedAccess(storeFirst));
  EXPECT_EQ(Contents().substr(4, 5), "axyza");

  CutTo(4096);
  volatile char seen = 0;
  auto readLast = [&] { seen = bytes[kSize - 1]; };
  auto storeLast = [&] { bytes[3 * 4096] = 'b'; };
  auto readFirst = [&] { seen = bytes[6]; };
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_FALSE(MappedAccess(readLast));
    EXPECT_FALSE(MappedAccess(storeLast));
    EXPECT_TRUE(MappedAccess(readFirst));
    EXPECT_EQ(seen, 'y');
  }
  EXPECT_EQ(fs::file_size(path_), 4096u);  // the store past the end made nothing
}

// An empty or unmappable file gives no mapping and the reason.
TEST_F(MappedFileTest, NothingToMapGivesTheReason) {
  int error = 0;
  EXPECT_FALSE(MappedFile(fd_, 0, false, false, error));
  EXPECT_NE(error, 0);
  EXPECT_FALSE(MappedFile(-1, kSize, false, false, error));
  EXPECT_EQ(error, EBADF);
}

// A bus error outside a guarded run reaches the handler that was installed
// before the guard's.
void EarlierHandler(int) { ::_exit(42); }

TEST_F(MappedFileTest, ABusErrorOutsideAGuardedRunGoesToTheEarlierHandler) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: the guard not yet installed
  EXPECT_EXIT(
      {
        struct sigaction act {};
        act.sa_handler = EarlierHandler;
        sigemptyset(&act.sa_mask);
        ::sigaction(SIGBUS, &act, nullptr);
        int error = 0;
        MappedFile map(fd_, kSize, false, false, error);
        auto nothing = [] {};
        MappedAccess(nothing);  // installs the guard
        CutTo(0);
        volatile char c = map.data()[kSize - 1];
        (void)c;
      },
      ::testing::ExitedWithCode(42), "");
}

}  // namespace
}  // namespace kv
