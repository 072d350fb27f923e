// Sheets read out of level files on disk, whose links are read once and kept
// with the file's cached blocks: the same records and the same damage as a
// read of the same bytes held in memory, also after the file changed.
#include "storage/level_chain.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr int kLen = 512;
constexpr int N = kNoRecord;

// A level file of records given as (next, child); own numbers by position,
// byte 20 on the record's number so that records tell apart.
std::string LevelBytes(const std::vector<std::pair<int, int>>& links) {
  std::string bytes;
  for (size_t i = 0; i < links.size(); ++i) {
    std::string rec(kLen, ' ');
    rec.replace(3, 4, StoredNumberField(static_cast<int>(i) + 1, false));
    rec.replace(7, 4, StoredNumberField(links[i].first, false));
    rec.replace(11, 4, StoredNumberField(links[i].second, false));
    const std::string mark = std::to_string(i + 1);
    rec.replace(19, mark.size(), mark);
    bytes += rec;
  }
  return bytes;
}

class LevelChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = stdfs::temp_directory_path() / ("kv_level_chain_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    stdfs::remove_all(dir_);
    stdfs::create_directories(dir_);
  }
  void TearDown() override { stdfs::remove_all(dir_); }

  stdfs::path Write(const std::string& name, const std::string& bytes) {
    const stdfs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  // Files older than this are cached by the record files that read them.
  static void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }

  // The sheet read from the file on disk must be the one read from `bytes`.
  static void ExpectSameAsInMemory(const stdfs::path& p, const std::string& bytes, int first) {
    SheetChain onDisk, inMemory;
    RecordFile file(p, kLen, RecordFileMode::ReadOnly);
    const LevelFileProblem a = ReadSheetChain(FileRecords(file), false, first, false, 1001, onDisk);
    const LevelFileProblem b = ReadSheetChain(MemoryRecords(bytes, kLen), false, first, false, 1001, inMemory);
    EXPECT_EQ(a.fault, b.fault);
    EXPECT_EQ(a.record, b.record);
    EXPECT_EQ(onDisk.records, inMemory.records);
    EXPECT_EQ(onDisk.recNos, inMemory.recNos);
    if (!b) EXPECT_FALSE(onDisk.records.empty());  // a sheet was read, not merely refused alike
  }

  stdfs::path dir_;
};

TEST_F(LevelChainTest, SheetsOfACachedFileAreReadAsTheBytesSay) {
  const struct {
    const char* name;
    std::string bytes;
    int first;
  } cases[] = {
      {"a plain chain", LevelBytes({{3, N}, {N, N}, {2, 5}, {N, N}, {N, N}}), 1},
      {"a second sheet", LevelBytes({{3, N}, {N, N}, {2, 5}, {5, N}, {N, N}}), 4},
      {"a self-link ends the chain", LevelBytes({{2, N}, {2, N}, {N, N}}), 1},
      {"a loop", LevelBytes({{2, N}, {3, N}, {2, N}}), 1},
      {"a next link past the end", LevelBytes({{2, N}, {9, N}}), 1},
      {"a first record past the end", LevelBytes({{N, N}}), 4},
      {"entered in its middle", LevelBytes({{2, N}, {3, N}, {N, N}}), 2},
      {"two chains running into each other", LevelBytes({{3, N}, {3, N}, {N, N}}), 2},
      {"a cut record", LevelBytes({{2, N}, {N, N}}) + "cut", 1},
  };
  std::vector<stdfs::path> paths;
  for (const auto& c : cases) paths.push_back(Write(std::string(c.name) + ".Y2", c.bytes));
  Settle();
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    // Twice: the second read walks the links kept from the first.
    ExpectSameAsInMemory(paths[i], cases[i].bytes, cases[i].first);
    ExpectSameAsInMemory(paths[i], cases[i].bytes, cases[i].first);
  }
}

TEST_F(LevelChainTest, KeptLinksFollowEveryChangeOfTheFile) {
  std::string bytes = LevelBytes({{2, N}, {3, N}, {N, N}, {N, N}, {N, N}});
  const stdfs::path p = Write("EST.Y2", bytes);
  Settle();
  RecordFile reader(p, kLen, RecordFileMode::ReadOnly);
  SheetChain chain;
  ASSERT_FALSE(ReadSheetChain(FileRecords(reader), false, 1, false, 1001, chain));
  EXPECT_EQ(chain.recNos, (std::vector<int>{1, 2, 3, N}));

  // Relinked through another opening: record 2 now goes on to 4.
  const std::string relinked = LevelBytes({{2, N}, {4, N}, {N, N}, {N, N}, {N, N}});
  {
    RecordFile writer(p, kLen);
    writer.PutRecordText(2, relinked.substr(kLen, kLen));
  }
  ExpectSameAsInMemory(p, relinked, 1);
  ASSERT_FALSE(ReadSheetChain(FileRecords(reader), false, 1, false, 1001, chain));
  EXPECT_EQ(chain.recNos, (std::vector<int>{1, 2, 4, N}));

  // Changed in place by other means, then a loop: found at once.
  const std::string looped = LevelBytes({{2, N}, {4, N}, {N, N}, {2, N}, {N, N}});
  {
    std::fstream out(p, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(3 * kLen);
    out << looped.substr(3 * kLen, kLen);
  }
  RecordFileChanged(p);
  ExpectSameAsInMemory(p, looped, 1);
  Settle();  // cached again, then replaced by a file of the same length
  ExpectSameAsInMemory(p, looped, 1);
  const stdfs::path other = Write("OTHER.Y2", bytes);
  stdfs::rename(other, p);
  ExpectSameAsInMemory(p, bytes, 1);
}

}  // namespace
}  // namespace kv
