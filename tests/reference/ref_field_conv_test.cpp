// Converting a reference of another column layout: fitting numbers, one
// record field by field, reading a layout's fields, and the all-or-nothing
// rewrite of a work set's level files.
#include <gtest/gtest.h>

#include "reference/ref_conv_fixture.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

TEST(ChgAnsFormat, FitsNumbersRightAlignedAndOverflowsToTheMark) {
  struct Case {
    const char* text;
    int width, decimals;
    const char* fitted;
  } cases[] = {
      {"1234.5", 8, 2, " 1234.5 "},
      {"12.99", 5, 0, "   12"},   // cut, not rounded
      {"5.678", 6, 2, "  5.67"},
      {"12", 6, 2, " 12   "},     // a whole number: blanks for the point and decimals
      {"-12", 6, 0, "   -12"},
      {"1,234", 6, 0, "  1234"},  // digit-group commas dropped
      {"987", 2, 0, "++"},        // never a wrong amount
      {"-987", 3, 0, "---"},
      {"123", 4, 2, "++++"},      // no room left for the integer part
      {"1.5", 3, 2, "+++"},
      {"++++++", 4, 0, "++++"},
      {"--", 5, 1, "-----"},
      {"abc", 5, 0, "abc"},       // no number: unchanged
      {"1,,2", 5, 0, "1,,2"},
      {"1.", 5, 0, "1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ChgAnsFormat(c.text, c.width, c.decimals), c.fitted);
  }
}

class ScStrConvTest : public RefConvFixture {};

TEST_F(ScStrConvTest, ConvertsEachFieldByItsKindAndKeepsTheRest) {
  const std::string ten = "abcdefghij";
  struct Case {
    std::string name, qty, note;
    std::string name7, qty8, note10;
  } cases[] = {
      {J("工事費用"), "1234.5", ten + "\r\nxyz", J("工事費 "), " 1234.5 ", "abcd\r\nefgh"},
      {"ab", "", "ab\r\n" + ten, "ab     ", "        ", "ab\r\nabcdef"},  // break before half: no re-wrap
      {"", "987654321", "", "       ", "++++++++", "          "},
      {"", "-5", J("あいうえお"), "       ", "   -5   ", J("あいうえお")},
      {"", "a" + J("数量単位"), J("工事数量単価表"), "       ", "a" + J("数量単") + " ", J("工事数量単")},
      {"", "++++++", "", "       ", "++++++++", "          "},
  };
  const RefConvRule rule = Rule();
  for (char kind : {' ', 'G'}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(1, kind) + c.name + "|" + c.qty);
      std::string src = Make({kind, 7, 8, 9, RefText(c.name, c.qty, c.note)});
      src.replace(99, 6, "KEEPME");
      const std::string out = ScStrConv(src, rule);
      ASSERT_EQ(out.size(), src.size());
      EXPECT_EQ(out.substr(0, 19), src.substr(0, 19));
      EXPECT_EQ(out.substr(19, 7), c.name7);
      EXPECT_EQ(out.substr(26, 8), c.qty8);
      std::string note = c.note10;
      note.resize(10, ' ');
      EXPECT_EQ(out.substr(34, 10), note);
      EXPECT_EQ(out.substr(44, 11), std::string(11, ' '));  // unmapped fields blank
      EXPECT_EQ(out.substr(55), src.substr(55));
    }
  }
}

TEST_F(ScStrConvTest, MemoRowsOfEveryKindKeepTheirText) {
  for (char kind : {'1', '2', '3', 'H', 'D', '\xD2'}) {
    SCOPED_TRACE(kind);
    const std::string src = Make({kind, 3, 4, kNoRecord, J("メモの本文が欄をまたいで続きます。") + "1234567890"});
    EXPECT_EQ(ScStrConv(src, Rule()), src);
  }
}

class RefFldInfoReadTest : public RefConvFixture {};

TEST_F(RefFldInfoReadTest, ReadsLevelOneFieldsWithOffsetsFromByte20) {
  std::vector<RefField> fields;
  std::string problem;
  WriteText(Work2() / "X.Y$", LayoutOf({{"名称", "C", 0, 40}, {"数量", "2", 2, 10}}, 2));
  ASSERT_TRUE(RefFldInfoRead(st, (Work2() / "X").string(), fields, problem));
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ((std::vector<int>{fields[0].offset, fields[0].width, fields[1].offset, fields[1].width, fields[1].decimals}),
            (std::vector<int>{20, 40, 60, 10, 2}));
  EXPECT_EQ(fields[0].type + fields[1].type, "CN");
  EXPECT_EQ(fields[1].name.substr(0, 6), "数量");

  // One level only: every column line counts; the numeric codes are 0-4 and A.
  WriteText(Work2() / "Y.Y$", LayoutOf({{"a", "A", 0, 4}, {"b", "5", 0, 4}, {"c", "S", 0, 4}, {"d", "4", 1, 4}}, 1));
  ASSERT_TRUE(RefFldInfoRead(st, (Work2() / "Y").string(), fields, problem));
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[0].type + fields[1].type + fields[2].type + fields[3].type, "NCCN");
  EXPECT_EQ(fields[3].offset, 32);

  // Missing, and refused by the layout reader.
  EXPECT_FALSE(RefFldInfoRead(st, (Work2() / "none").string(), fields, problem));
  EXPECT_NE(problem.find("none.Y$"), std::string::npos);
  WriteText(Work2() / "Z.Y$", "DM=1\r\nname\tC\t0\r\n");
  EXPECT_FALSE(RefFldInfoRead(st, (Work2() / "Z").string(), fields, problem));
  EXPECT_NE(problem.find("正しくありません"), std::string::npos);
}

class RefDataChgMainTest : public RefConvFixture {
 protected:
  std::string base;
  void SetUp() override {
    RefConvFixture::SetUp();
    st.RefWorkFolderName = "/WORK2";
    base = (Work2() / "R").string();
    WriteRefLevel(1, {{' ', 0, 2, kNoRecord, RefText("one", "12.5", "n1")}, {' ', 0, 3, 1, RefText("two", "3", "n2")},
                      {'G', 0, kNoRecord, kNoRecord, RefText("", "15.5", "")}},
                  "R");
    WriteRefLevel(2, {{'\xD2', 0, 2, kNoRecord, J("メモ") + "1234567890123456789"}, {' ', 0, 3, 1, RefText("x", "1,000", "")}, {'G'}},
                  "R");
    WriteRefLevel(3, {{' ', 0, 2, kNoRecord, RefText("deep", "7", "")}, {'G'}}, "R");
  }
  std::string Record(int level, int n) {
    RecordFile f(Work2() / ("R" + st.LevelExt[level]), st.DataLen);
    std::string rec;
    EXPECT_TRUE(f.GetRecordText(n, rec));
    return rec;
  }
  std::map<std::string, std::string> Work2Bytes() {
    std::map<std::string, std::string> out;
    for (const std::string& name : Work2Files())
      if (std::filesystem::is_regular_file(Work2() / name)) out[name] = FileBytes(Work2() / name);
    return out;
  }
};

TEST_F(RefDataChgMainTest, ConvertsEveryRecordOfEveryLevel) {
  const std::string memo = Record(2, 1);
  const std::string before = Record(1, 2);
  const auto files = Work2Files();
  std::string reason;
  ASSERT_TRUE(RefDataChgMain(st, base, Rule(), reason)) << reason;
  EXPECT_EQ(Work2Files(), files);  // no temporary file left
  EXPECT_EQ(Record(1, 2).substr(0, 19), before.substr(0, 19));
  EXPECT_EQ(Record(1, 2).substr(19, 25), std::string("two    ") + "    3   " + "n2        ");
  EXPECT_EQ(Record(1, 3).substr(19, 15), std::string(7, ' ') + "   15.5 ");
  EXPECT_EQ(Record(2, 1), memo);
  EXPECT_EQ(Record(2, 2).substr(26, 8), " 1000   ");
  EXPECT_EQ(Record(3, 1).substr(19, 15), std::string("deep   ") + "    7   ");
}

TEST_F(RefDataChgMainTest, ADamagedLevelFileLeavesEveryFileAsItWas) {
  struct Damage {
    const char* what;
    std::function<void()> make;
    const char* reason;
  } damages[] = {
      {"cut record", [&] { std::ofstream(Work2() / "R.Y3", std::ios::binary | std::ios::app) << "abc"; }, "R.Y3"},
      {"loop", [&] { WriteRefLevel(3, {{' ', 0, 2}, {' ', 0, 1}}, "R"); }, "R.Y3"},
      {"link past the end", [&] { WriteRefLevel(3, {{' ', 0, 9}, {'G'}}, "R"); }, "R.Y3"},
      {"child past the end", [&] { WriteRefLevel(2, {{' ', 0, 2, 5}, {'G'}}, "R"); }, "R.Y3"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    SetUp();
    d.make();
    const auto before = Work2Bytes();
    std::string reason;
    EXPECT_FALSE(RefDataChgMain(st, base, Rule(), reason));
    EXPECT_NE(reason.find(d.reason), std::string::npos) << reason;
    EXPECT_EQ(Work2Bytes(), before);
  }
}

TEST_F(RefDataChgMainTest, AFileThatCannotBeWrittenMidwayLeavesEveryLevelAsItWas) {
  // Level 2's temporary file cannot be made: level 1 is already written by then.
  std::filesystem::create_directories(Work2() / "R.Y2.conv" / "in the way");
  const auto before = Work2Bytes();
  std::string reason;
  EXPECT_FALSE(RefDataChgMain(st, base, Rule(), reason));
  EXPECT_NE(reason.find("R.Y2.conv"), std::string::npos) << reason;
  EXPECT_EQ(Work2Bytes(), before);
  EXPECT_FALSE(std::filesystem::exists(Work2() / "R.Y1.conv"));
}

TEST_F(RefDataChgMainTest, WritesNothingOutsideTheReferenceWorkFolderAndStopsAtAMissingLevel) {
  WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, RefText("mine", "1", "")}});
  const std::string mine = FileBytes(LevelPath(1));
  std::string reason;
  EXPECT_FALSE(RefDataChgMain(st, st.WorkFileBase, Rule(), reason));
  EXPECT_FALSE(RefDataChgMain(st, (Work2() / ".." / "WORK" / "EST").string(), Rule(), reason));
  EXPECT_EQ(FileBytes(LevelPath(1)), mine);

  std::filesystem::remove(Work2() / "R.Y2");
  const std::string deep = FileBytes(Work2() / "R.Y3");
  ASSERT_TRUE(RefDataChgMain(st, base, Rule(), reason)) << reason;
  EXPECT_EQ(FileBytes(Work2() / "R.Y3"), deep);
  EXPECT_EQ(Record(1, 1).substr(19, 15), std::string("one    ") + "   12.5 ");
}

}  // namespace
}  // namespace kv::test
