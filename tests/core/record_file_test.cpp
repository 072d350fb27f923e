#include "core/record_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kv_record_file_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path File(const char* name) const { return dir_ / name; }

  static std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Writes `count` records of `length` bytes, record n holding "R<n>" and
  // then `fill`, and waits until the file counts as settled, so that its
  // blocks are cached by the record files that read it.
  fs::path SettledFile(const char* name, int count, int length, char fill = '.') {
    const fs::path p = File(name);
    {
      std::ofstream out(p, std::ios::binary);
      for (int n = 1; n <= count; ++n) out << Record(n, length, fill);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return p;
  }

  static std::string Record(int n, int length, char fill = '.') {
    std::string rec = "R" + std::to_string(n);
    rec.resize(static_cast<size_t>(length), fill);
    return rec;
  }

  fs::path dir_;
};

TEST_F(RecordFileTest, WritesPadAndCutToTheRecordLength) {
  RecordFile f(File("EST.Y2"), 512);
  f.PutRecordText(1, std::string(300, 'x'));
  f.PutRecordText(2, std::string(600, 'y'));
  f.Close();
  std::string data = Contents(File("EST.Y2"));
  ASSERT_EQ(data.size(), 1024u);
  EXPECT_EQ(data.substr(0, 300), std::string(300, 'x'));
  EXPECT_EQ(data.substr(300, 212), std::string(212, ' '));
  EXPECT_EQ(data.substr(512), std::string(512, 'y'));  // the last 88 bytes are lost
}

TEST_F(RecordFileTest, RandomAccessByRecordNumber) {
  RecordFile f(File("EST.Y1"), 256);
  EXPECT_EQ(f.RecordCount(), 0);
  const std::string kanji = "\x8A\xBF\x8E\x9A";  // raw Shift-JIS, stored unconverted
  f.PutRecordText(3, "third" + kanji);
  f.PutRecordText(1, "first");
  EXPECT_EQ(f.RecordCount(), 3);
  EXPECT_EQ(f.FileLength(), 768);
  f.PutRecordText(1, "again");  // rewriting a record leaves the others alone

  std::string rec;
  ASSERT_TRUE(f.GetRecordText(3, rec));
  EXPECT_EQ(rec, "third" + kanji + std::string(256 - 9, ' '));
  ASSERT_TRUE(f.GetRecordText(1, rec));
  EXPECT_EQ(rec.size(), 256u);
  EXPECT_EQ(rec.substr(0, 6), "again ");
  EXPECT_EQ(f.RecordCount(), 3);
}

TEST_F(RecordFileTest, NoSuchRecordReadsAsNoRecord) {
  {
    std::ofstream out(File("SHORT.Y1"), std::ios::binary);
    out << std::string(256, 'a') << std::string(100, 'b');  // a cut-off second record
  }
  RecordFile f(File("SHORT.Y1"), 256, RecordFileMode::ReadOnly);
  EXPECT_EQ(f.RecordCount(), 1);
  std::string rec = "kept";
  EXPECT_FALSE(f.GetRecordText(2, rec));
  EXPECT_FALSE(f.GetRecordText(3, rec));
  EXPECT_FALSE(f.GetRecordText(0, rec));
  EXPECT_FALSE(f.GetRecordText(-99, rec));
  EXPECT_EQ(rec, "kept");
  EXPECT_TRUE(f.GetRecordText(1, rec));
  EXPECT_EQ(rec, std::string(256, 'a'));
}

TEST_F(RecordFileTest, BadRecordLengthIsAnError) {
  for (int length : {0, 128, 255, 300, 1024, -1}) {
    EXPECT_FALSE(IsValidRecordLength(length));
    EXPECT_THROW(RecordFile(File("BAD.Y1"), length), RecordFileError) << length;
  }
  EXPECT_FALSE(fs::exists(File("BAD.Y1")));  // nothing was created
  EXPECT_TRUE(IsValidRecordLength(256));
  EXPECT_TRUE(IsValidRecordLength(512));
}

TEST_F(RecordFileTest, RecordLengthFromTheEstimateSettings) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  st.DataLen = 512;
  RecordFile f(File("EST.Y1"), st);
  EXPECT_EQ(f.RecordLength(), 512);
  st.DataLen = 300;
  EXPECT_THROW(RecordFile(File("EST.Y2"), st), RecordFileError);
}

TEST_F(RecordFileTest, FailuresReachTheCaller) {
  EXPECT_THROW(RecordFile(File("MISSING.Y1"), 256, RecordFileMode::ReadOnly), RecordFileError);
  EXPECT_THROW(RecordFile(dir_ / "NO" / "EST.Y1", 256), RecordFileError);  // missing folder
  EXPECT_THROW(RecordFile(dir_, 256, RecordFileMode::ReadOnly), RecordFileError);  // a folder

  { RecordFile(File("RO.Y1"), 256).PutRecordText(1, "x"); }
  RecordFile ro(File("RO.Y1"), 256, RecordFileMode::ReadOnly);
  EXPECT_THROW(ro.PutRecordText(1, "y"), RecordFileError);

  RecordFile rw(File("RW.Y1"), 256);
  EXPECT_THROW(rw.PutRecordText(0, "y"), RecordFileError);
  EXPECT_EQ(rw.FileLength(), 0);
}

// Records come from blocks read once and kept between openings; whatever
// changes the file, every record file reads what the file holds.
TEST_F(RecordFileTest, CachedRecordsFollowEveryWrite) {
  const fs::path p = SettledFile("EST.Y2", 40, 512);
  RecordFile reader(p, 512, RecordFileMode::ReadOnly);
  std::string rec;
  ASSERT_TRUE(reader.GetRecordText(2, rec));
  EXPECT_EQ(rec, Record(2, 512));

  RecordFile writer(p, 512);  // another opening of the same file
  writer.PutRecordText(2, "changed");
  ASSERT_TRUE(reader.GetRecordText(2, rec));
  EXPECT_EQ(rec.substr(0, 8), "changed ");
  ASSERT_TRUE(writer.GetRecordText(2, rec));
  EXPECT_EQ(rec.substr(0, 8), "changed ");

  writer.PutRecordText(43, "appended");  // past the end: record 41 and 42 are a hole of zero bytes
  ASSERT_TRUE(reader.GetRecordText(43, rec));
  EXPECT_EQ(rec.substr(0, 9), "appended ");
  ASSERT_TRUE(reader.GetRecordText(41, rec));
  EXPECT_EQ(rec, std::string(512, '\0'));
  ASSERT_TRUE(reader.GetRecordText(40, rec));
  EXPECT_EQ(rec, Record(40, 512));
  EXPECT_FALSE(reader.GetRecordText(44, rec));
  writer.Close();

  RecordFile later(p, 512, RecordFileMode::ReadOnly);
  ASSERT_TRUE(later.GetRecordText(2, rec));
  EXPECT_EQ(rec.substr(0, 8), "changed ");
  EXPECT_EQ(later.RecordCount(), 43);
}

TEST_F(RecordFileTest, ChangesMadeWithoutARecordFileAreSeenAtTheNextOpening) {
  const fs::path p = SettledFile("EST.Y3", 10, 256);
  std::string rec;
  {
    RecordFile f(p, 256, RecordFileMode::ReadOnly);
    ASSERT_TRUE(f.GetRecordText(3, rec));  // read and kept
  }
  {  // rewritten in place, the length unchanged
    std::fstream out(p, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(2 * 256);
    out << "patched";
  }
  {
    RecordFile f(p, 256, RecordFileMode::ReadOnly);
    ASSERT_TRUE(f.GetRecordText(3, rec));
    EXPECT_EQ(rec.substr(0, 7), "patched");
  }

  // Replaced by another file of the same length.
  const fs::path other = SettledFile("OTHER.Y3", 10, 256, '*');
  { RecordFile(p, 256, RecordFileMode::ReadOnly).GetRecordText(5, rec); }
  fs::rename(other, p);
  {
    RecordFile f(p, 256, RecordFileMode::ReadOnly);
    ASSERT_TRUE(f.GetRecordText(5, rec));
    EXPECT_EQ(rec, Record(5, 256, '*'));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // settled again

  // Cut to 7 and a half records: what is gone or cut reads as no record,
  // in a record file opened before (told of the change) and after.
  RecordFile before(p, 256, RecordFileMode::ReadOnly);
  ASSERT_TRUE(before.GetRecordText(9, rec));
  fs::resize_file(p, 7 * 256 + 100);
  RecordFileChanged(p);
  RecordFile after(p, 256, RecordFileMode::ReadOnly);
  for (const RecordFile* f : {&before, &after}) {
    rec = "kept";
    EXPECT_FALSE(f->GetRecordText(8, rec));
    EXPECT_FALSE(f->GetRecordText(9, rec));
    EXPECT_EQ(rec, "kept");
    ASSERT_TRUE(f->GetRecordText(7, rec));
    EXPECT_EQ(rec, Record(7, 256, '*'));
    EXPECT_EQ(f->RecordCount(), 7);
  }
}

// A file larger than one read at the first record is read in blocks; a
// record at every block boundary reads right, before and after a write.
TEST_F(RecordFileTest, LargeFilesReadInBlocks) {
  const int count = 24 * 2048 + 5;  // 24 MB of 512-byte records and a few
  const fs::path p = SettledFile("BIG.Y4", count, 512);
  RecordFile f(p, 512);
  std::string rec;
  for (int n : {count, 1, 2048, 2049, 4096, 4097, 20000, count - 1}) {
    ASSERT_TRUE(f.GetRecordText(n, rec)) << n;
    EXPECT_EQ(rec, Record(n, 512)) << n;
  }
  f.PutRecordText(2049, "written");
  f.PutRecordText(count + 1, "added");
  RecordFile g(p, 512, RecordFileMode::ReadOnly);
  for (const RecordFile* r : {&f, &g}) {
    ASSERT_TRUE(r->GetRecordText(2049, rec));
    EXPECT_EQ(rec.substr(0, 8), "written ");
    ASSERT_TRUE(r->GetRecordText(count + 1, rec));
    EXPECT_EQ(rec.substr(0, 6), "added ");
    ASSERT_TRUE(r->GetRecordText(count, rec));
    EXPECT_EQ(rec, Record(count, 512));
  }
}

}  // namespace
}  // namespace kv
