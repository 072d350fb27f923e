// The project-information files as bytes: SUBTITLE.DAT (lines of 20 bytes,
// 50 written) and the ".YT" (records of 40 bytes, 2000 bytes written), read
// and written as tables of file contents, and a write that cannot happen
// leaving the old file as it was.
#include "editor/kouji_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using Lines = std::vector<std::string>;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(KoujiFiles, LabelLinesAreReadUpToTheFiftieth) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
  };
  const std::string sixty = Repeat("x\r\n", 60);
  const Case cases[] = {
      {"empty", "", {}},
      {"three CR LF lines", ToSjis("工事名称\r\n工期\r\n\r\n"), {"工事名称", "工期", ""}},
      {"last line without its end", ToSjis("工事名称\r\n場所"), {"工事名称", "場所"}},
      {"LF and CR alone end lines too", "a\nb\rc", {"a", "b", "c"}},
      {"a line longer than 20 bytes is kept", ToSjis("２１バイトを超える長い項目名\r\n"),
       {"２１バイトを超える長い項目名"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SubtitleLines(c.bytes), c.lines) << c.name;
  const Lines read = SubtitleLines(sixty);
  EXPECT_EQ(read.size(), 50u) << "lines after the 50th are not used";
}

TEST(KoujiFiles, ValueRecordsAreFortyBytesAndAPartialLastOneIsPadded) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines records;
  };
  const std::string blanks40(40, ' ');
  const std::string rec1 = ToSjis("工事名") + std::string(34, ' ');
  const Case cases[] = {
      {"0 bytes", "", {}},
      {"39 bytes: one record, padded", std::string(39, 'a'), {std::string(39, 'a') + " "}},
      {"60 bytes: the second record padded", rec1 + std::string(20, 'b'),
       {"工事名" + std::string(34, ' '), std::string(20, 'b') + std::string(20, ' ')}},
      {"trailing blanks are kept", rec1, {"工事名" + std::string(34, ' ')}},
  };
  for (const Case& c : cases) EXPECT_EQ(YtRecords(c.bytes), c.records) << c.name;
  const Lines big = YtRecords(Repeat(std::string(40, 'z'), 100));  // 4000 bytes
  ASSERT_EQ(big.size(), 50u);
  EXPECT_EQ(big.back(), std::string(40, 'z'));
}

TEST(KoujiFiles, WrittenFilesHaveFixedWidthsAndNeverHalfACharacter) {
  KoujiTexts texts;
  texts[0] = "工事名称";
  texts[1] = "a" + Repeat("あ", 22);          // 45 bytes
  texts[2] = "abcdefghijklmnopqrstuvwxyz";    // 26 bytes
  texts[49] = "😀";                           // no Shift-JIS form

  const std::string labels = SubtitleFileBytes(texts);
  ASSERT_EQ(labels.size(), 50u * 22u);
  const std::string line1 = ToSjis("工事名称") + std::string(12, ' ') + "\r\n";
  EXPECT_EQ(labels.substr(0, 22), line1);
  // "a" and nine "あ" fill 19 bytes; the tenth would end past 20 and is
  // dropped, a blank taking its byte.
  EXPECT_EQ(labels.substr(22, 22), ToSjis("a" + Repeat("あ", 9)) + " \r\n");
  EXPECT_EQ(labels.substr(44, 22), "abcdefghijklmnopqrst\r\n");
  EXPECT_EQ(labels.substr(66, 22), std::string(20, ' ') + "\r\n");
  EXPECT_EQ(labels.substr(49 * 22), "?" + std::string(19, ' ') + "\r\n");

  const std::string values = YtFileBytes(texts);
  ASSERT_EQ(values.size(), 2000u);
  EXPECT_EQ(values.substr(40, 40), ToSjis("a" + Repeat("あ", 19)) + " ");
  EXPECT_EQ(values.substr(80, 40), "abcdefghijklmnopqrstuvwxyz" + std::string(14, ' '));
  EXPECT_EQ(values.substr(120, 40), std::string(40, ' '));
}

TEST(KoujiFiles, ReadingFillsTheRowsItHasAndSavingWritesAllFifty) {
  test::TempFolder dir;
  dir.Write("subtitle.dat", ToSjis("工事名称\r\n工事場所\r\n工期\r\n"));
  KoujiTexts labels;
  labels[5] = "kept";
  const std::filesystem::path labelFile = SubtitlePath(dir.path().string());
  EXPECT_EQ(labelFile.filename(), "subtitle.dat") << "found without regard to letter case";
  ASSERT_TRUE(SubtitleRead(labelFile, labels));
  EXPECT_EQ(labels[0], "工事名称");
  EXPECT_EQ(labels[2], "工期");
  EXPECT_EQ(labels[3], "");
  EXPECT_EQ(labels[5], "kept") << "rows without a line are not changed";
  std::error_code ec;
  ASSERT_TRUE(SubtitleWrite(labelFile, labels, ec));
  const std::string written = test::ReadAll(labelFile);
  EXPECT_EQ(written.size(), 50u * 22u);
  EXPECT_EQ(SubtitleLines(written).size(), 50u);

  // No ".YT" yet: nothing read, and the save creates all 2000 bytes.
  KoujiTexts values;
  const std::filesystem::path yt = YtPath((dir / "EST").string());
  ASSERT_TRUE(YtRead(yt, values));
  EXPECT_EQ(values[0], "");
  values[0] = "本社ビル新築工事";
  ASSERT_TRUE(YtWrite(yt, values, ec));
  const std::string bytes = test::ReadAll(dir / "EST.YT");
  ASSERT_EQ(bytes.size(), 2000u);
  EXPECT_EQ(bytes.substr(0, 40), ToSjis("本社ビル新築工事") + std::string(24, ' '));
  EXPECT_EQ(bytes.substr(40), std::string(1960, ' '));
}

TEST(KoujiFiles, AFileThatCannotBeReplacedIsLeftAndReported) {
  test::TempFolder dir;
  // A folder where the file should be: the new file cannot take its place.
  std::filesystem::create_directory(dir / "EST.YT");
  KoujiTexts values;
  values[0] = "new";
  std::error_code ec;
  EXPECT_FALSE(YtWrite(dir / "EST.YT", values, ec));
  EXPECT_TRUE(ec);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "EST.YT"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";
  KoujiTexts read;
  EXPECT_FALSE(YtRead(dir / "EST.YT", read)) << "there but not readable";
}

}  // namespace
}  // namespace kv
