#include "core/record_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace kv
