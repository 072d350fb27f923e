#include "storage/convert_classification_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "level_fixture.h"
#include "platform/codepage.h"
#include "storage/level_chain.h"
#include "storage/link_no_text.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class ConvertTest : public test::LevelFixture {
 protected:
  // A DOS record: 256 bytes, link fields given as their 4 raw bytes.
  static std::string Dos(const std::string& own, const std::string& next, const std::string& child,
                         const std::string& columns = "", char kind = ' ', char printMark = ' ',
                         const std::string& bytes16 = "    ") {
    std::string r(kDosRecordLen, ' ');
    r[1] = printMark;
    r[2] = kind;
    r.replace(3, 4, own);
    r.replace(7, 4, next);
    r.replace(11, 4, child);
    r.replace(15, 4, bytes16);
    r.replace(19, columns.size(), columns);
    return r;
  }
  // A decimal field right-aligned in 4 bytes.
  static std::string F(int n) {
    std::string s = std::to_string(n);
    return std::string(4 - s.size(), ' ') + s;
  }

  void WriteWork(const std::string& file, const std::vector<std::string>& records,
                 const std::string& tail = "") const {
    std::string bytes;
    for (const auto& r : records) bytes += r;
    app.Write("WORK/" + file, bytes + tail);
  }
  // The records of a converted file, DataLen bytes each.
  std::vector<std::string> Records(const std::string& file) const {
    const std::string bytes = test::ReadAll(app.path() / "WORK" / file);
    EXPECT_EQ(bytes.size() % static_cast<size_t>(st.DataLen), 0u) << file;
    std::vector<std::string> out;
    for (size_t at = 0; at + st.DataLen <= bytes.size(); at += st.DataLen)
      out.push_back(bytes.substr(at, st.DataLen));
    return out;
  }
  static std::string Links(const std::string& rec) { return rec.substr(3, 12); }
  bool WorkHas(const std::string& file) const { return stdfs::exists(app.path() / "WORK" / file); }
  std::string Base() const { return st.WorkFileBase; }
};

TEST(LinkNoTextTest, WritesDecimalTextInTheLevelFileBase) {
  struct Case {
    std::string in;
    bool hex;
    std::string out;
  } cases[] = {
      {"-99", true, "-99"}, {" -99", false, "-99"}, {"-99 ", true, "-99"},  {"  10", true, "A"},
      {" 255", true, "FF"}, {"  10", false, "10"},  {" 255", false, "255"}, {"    ", true, "0"},
      {"    ", false, "0"}, {"12AB", false, "12"},  {"9999", true, "270F"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LinkNoText(c.in, c.hex), c.out) << "'" << c.in << "' hex " << c.hex;
}

TEST_F(ConvertTest, LinksInEitherBaseAndBlankNextBecomesOwnNumber) {
  struct Case {
    std::string hLink;
    std::vector<std::string> level1;  // own+next+child of records 1, 2
    std::string own10, own255;        // own numbers of level-2 records 10 and 255
  } cases[] = {
      {"16", {"   1   1   A", "   2 -99  FF"}, "   A", "  FF"},
      {"10", {"   1   1  10", "   2 -99 255"}, "  10", " 255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("H_Link " + c.hLink);
    st.H_Link = c.hLink;
    WriteWork("EST.Y1", {Dos("   1", "    ", "  10"), Dos("   2", "-99 ", " 255")});
    std::vector<std::string> level2;
    for (int i = 1; i <= 255; ++i) level2.push_back(Dos(F(i), " -99", " -99"));
    WriteWork("EST.Y2", level2);

    ASSERT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));
    const auto l1 = Records("EST.Y1");
    ASSERT_EQ(l1.size(), 2u);
    EXPECT_EQ(Links(l1[0]), c.level1[0]);
    EXPECT_EQ(Links(l1[1]), c.level1[1]);
    const auto l2 = Records("EST.Y2");
    ASSERT_EQ(l2.size(), 255u);
    EXPECT_EQ(l2[9].substr(3, 4), c.own10);
    EXPECT_EQ(l2[254].substr(3, 4), c.own255);
    EXPECT_EQ(l2[254].substr(7, 8), " -99 -99");
  }
}

// The blank next link becomes a self-link, as converted files have always
// had it: the chain readers take it as the end of the chain. A loop through
// two records is still damage.
TEST_F(ConvertTest, ASelfLinkEndsTheChainALongerLoopIsRefused) {
  struct Case {
    const char* name;
    std::vector<std::string> level2;
    std::string links;  // own, next and child of the first converted record
    LevelFault fault;
    size_t read;
  } cases[] = {
      {"blank next", {Dos("   1", "    ", "    ")}, "   1   1   0", LevelFault::None, 1},
      {"next names itself", {Dos("   1", "   2", "    "), Dos("   2", "   2", "    ")}, "   1   2   0",
       LevelFault::None, 2},
      {"loop of two", {Dos("   1", "   2", "    "), Dos("   2", "   1", "    ")}, "   1   2   0",
       LevelFault::LinkLoop, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteWork("EST.Y1", {Dos("   1", "    ", "   1")});
    WriteWork("EST.Y2", c.level2);
    ASSERT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));
    const std::string bytes = test::ReadAll(LevelPath(2));
    EXPECT_EQ(bytes.substr(3, 12), c.links);

    MemoryRecords source(bytes, st.DataLen);
    SheetChain chain;
    const LevelFileProblem p = ReadSheetChain(source, false, 1, Hex(), st.Imax + 1, chain);
    EXPECT_EQ(p.fault, c.fault);
    EXPECT_EQ(chain.records.size(), c.read);
    if (!p) {
      EXPECT_EQ(chain.recNos.back(), kNoRecord);  // nothing after the last record to reuse
    }
  }
}

// The length in records is rounded, as the DOS edition counted: a DOS
// end-of-file mark is dropped silently, a short piece is left out, a record
// cut short past its half is completed with blanks; both are reported and
// the file is converted.
TEST_F(ConvertTest, TheRecordCountRoundsTheLength) {
  struct Case {
    const char* name;
    std::string tail;
    size_t records;
    const char* report;
  } cases[] = {
      {"end-of-file mark", "\x1A", 2, ""},
      {"end-of-file marks", std::string(3, '\x1A'), 2, ""},
      {"stray bytes", "xyz", 2, "最後の 3 バイトは変換していません。"},
      {"record cut short", Dos("   3", " -99", " -99", "three").substr(0, 200), 3,
       "最後のレコードは 200 バイトしかないため、残りを空白で補いました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    st.LevelCount = 1;
    WriteWork("EST.Y1", {Dos("   1", "   2", " -99", "one"), Dos("   2", " -99", " -99", "two")}, c.tail);
    if (*c.report) ui.AnswerMsgBox(vbOK, c.report);
    EXPECT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));
    ui.ExpectAllAnswered();
    const auto l1 = Records("EST.Y1");
    ASSERT_EQ(l1.size(), c.records);
    if (c.records == 3) {
      EXPECT_EQ(l1[2].substr(19, 5), "three");
    }
  }
}

TEST_F(ConvertTest, PrintMarksSwapOnlyInTheEquipmentEdition) {
  struct Case {
    int kind;
    char in, out;
  } cases[] = {{1, 'I', 'U'}, {1, 'U', 'I'}, {1, ' ', ' '},
               {2, 'I', 'I'}, {2, 'U', 'U'}, {3, 'I', 'I'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("kind ") + std::to_string(c.kind) + " mark " + c.in);
    st.SystemKind = c.kind;
    WriteWork("EST.Y1", {Dos("   1", " -99", " -99", "text", ' ', c.in)});
    ASSERT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));
    EXPECT_EQ(Records("EST.Y1").at(0)[1], c.out);
  }
}

TEST_F(ConvertTest, WideColumnsWidenedMemoRowsAndPlainLevelsKeptAndPadded) {
  Configure(512, "10", 2);
  // Level 1: W 12, C 6, W 7, W 9, 0 8; level 2 keeps the fixture's C 10, 0 12.
  const struct {
    const char* type;
    int width;
  } cols[] = {{"W", 12}, {"C", 6}, {"W", 7}, {"W", 9}, {"0", 8}};
  st.ColCount[1] = 5;
  for (int c = 1; c <= 5; ++c) {
    st.ColType[1][c] = cols[c - 1].type;
    st.ColWidth[1][c] = cols[c - 1].width;
  }
  // (12-2)/2 = 5, (7-2)/2 = 2.5 -> 2, (9-2)/2 = 3.5 -> 4 (halves to even).
  const std::string source = "ABCDEccccccWXwxyz12345678REST";
  const std::string memo = ToSjis("ﾒ");
  ASSERT_EQ(memo.size(), 1u);
  WriteWork("EST.Y1", {Dos("   1", "   2", " -99", source, ' ', ' ', "12 P"),
                       Dos("   2", " -99", " -99", source, memo[0])});
  WriteWork("EST.Y2", {Dos("   1", " -99", " -99", source)});
  ASSERT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));

  const auto l1 = Records("EST.Y1");
  ASSERT_EQ(l1.size(), 2u);
  const std::string widened =
      "ABCDE       cccccc"
      "WX     "
      "wxyz     "
      "12345678";
  EXPECT_EQ(l1[0].substr(0, 19), Dos("   1", "   2", " -99", "", ' ', ' ', "12 P").substr(0, 19));
  EXPECT_EQ(l1[0].substr(19), test::LevelFixture::Pad(widened, 512 - 19));
  // The memo row keeps every byte from 20 on, then blanks.
  const std::string rest = Dos("   2", " -99", " -99", source).substr(19);
  EXPECT_EQ(l1[1].substr(19), rest + std::string(256, ' '));
  // A level without a wide column keeps its bytes too.
  const auto l2 = Records("EST.Y2");
  ASSERT_EQ(l2.size(), 1u);
  EXPECT_EQ(l2[0].substr(19), rest + std::string(256, ' '));
}

TEST_F(ConvertTest, MissingLevelsAreSkippedAndAGapIsReported) {
  WriteWork("EST.Y1", {Dos("   1", " -99", " -99")});
  ASSERT_TRUE(
      ConvertClassificationFile(st, Base(), ".Y1"));  // levels 2 and 3 missing: nothing to say
  EXPECT_TRUE(WorkHas("EST.Y1"));
  EXPECT_FALSE(WorkHas("EST.Y2"));
  EXPECT_FALSE(WorkHas("EST.Y3"));

  WriteWork("EST.Y1", {Dos("   1", " -99", " -99")});
  WriteWork("EST.Y3", {Dos("   1", " -99", " -99")});
  ui.AnswerMsgBox(vbOK, "第2階層のファイル [ EST.Y2 ] がありません");
  EXPECT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));
  EXPECT_FALSE(WorkHas("EST.Y2"));
  EXPECT_EQ(Records("EST.Y3").size(), 1u);
}

TEST_F(ConvertTest, ClassificationFileTakesTheSiwakeNameAndItsSourcesGo) {
  st.SystemKind = 1;
  WriteWork("est.s1", {Dos("   1", "   2", "   1", "A", ' ', 'I'), Dos("   2", " -99", " -99")});
  WriteWork("EST.S2", {Dos("   1", " -99", " -99", "B")});
  ASSERT_TRUE(ConvertClassificationFile(st, Base(), ".s1"));
  const auto l1 = Records("EST(仕訳).Y1");
  ASSERT_EQ(l1.size(), 2u);
  EXPECT_EQ(l1[0].substr(0, 20), " U    1   2   1    A");
  EXPECT_EQ(Records("EST(仕訳).Y2").size(), 1u);
  EXPECT_FALSE(WorkHas("est.s1"));
  EXPECT_FALSE(WorkHas("EST.S2"));
  EXPECT_FALSE(WorkHas("EST.Y1"));

  // Outside the equipment edition an ".S1" file is an estimate file: its
  // level files are the ".Y" ones.
  EXPECT_TRUE(IsDosClassificationFile(st, ".S1"));
  EXPECT_FALSE(IsDosClassificationFile(st, ".Y1"));
  st.SystemKind = 2;
  EXPECT_FALSE(IsDosClassificationFile(st, ".S1"));
}

TEST_F(ConvertTest, BadRecordsConvertWhatCanBeAndReportTheRest) {
  st.LevelCount = 1;
  WriteWork(
      "EST.Y1",
      {Dos("   1", "   2", " -99", "one"),
       Dos("   7", "  40", "AB12", "two"),     // own number wrong, next past the end, child garbage
       Dos("   3", "1.5 ", "   9", "three")},  // next garbage, child into a level not converted
      std::string(100, 'z'));
  ui.AnswerMsgBox(vbOK, "最後の 100 バイトは変換していません");
  EXPECT_TRUE(ConvertClassificationFile(st, Base(), ".Y1"));  // reported, and opened
  const std::string shown = ui.MessageTexts().at(0);
  EXPECT_NE(
      shown.find("レコード番号が記録位置と一致しません。記録位置の番号にしました (レコード 2)"),
      std::string::npos);
  EXPECT_NE(shown.find("次のレコードがファイルにありません。シートの終わりにしました (レコード 2)"),
            std::string::npos);
  EXPECT_NE(shown.find("次のレコード番号が読めません。シートの終わりにしました (レコード 3)"),
            std::string::npos);
  EXPECT_NE(shown.find("内訳のレコード番号が読めません。内訳なしにしました (レコード 2)"),
            std::string::npos);
  EXPECT_NE(
      shown.find("内訳のレコードが次の階層のファイルにありません。内訳なしにしました (レコード 3)"),
      std::string::npos);

  const auto l1 = Records("EST.Y1");
  ASSERT_EQ(l1.size(), 3u);
  EXPECT_EQ(Links(l1[0]), "   1   2 -99");
  EXPECT_EQ(Links(l1[1]), "   2 -99 -99");
  EXPECT_EQ(Links(l1[2]), "   3 -99 -99");
  EXPECT_EQ(l1[1].substr(19, 3), "two");
}

TEST_F(ConvertTest, SourceStaysWhenTheConvertedFileCannotBeWritten) {
  st.SystemKind = 1;
  const std::string source = Dos("   1", " -99", " -99", "keep me");
  WriteWork("EST.S1", {source});
  stdfs::create_directories(app.path() / "WORK" /
                            "EST(仕訳).Y1");  // the result name is taken by a folder
  ui.AnswerMsgBox(vbOK, "[ EST(仕訳).Y1 ] を書き込めませんでした");
  EXPECT_FALSE(ConvertClassificationFile(st, Base(), ".S1"));
  EXPECT_EQ(test::ReadAll(app.path() / "WORK" / "EST.S1"), source);
  EXPECT_FALSE(ui.Busy());
}

TEST_F(ConvertTest, NothingToConvertIsReported) {
  ui.AnswerMsgBox(vbOK, "EST.Y1 ] が見つかりません");
  EXPECT_FALSE(ConvertClassificationFile(st, Base(), ".Y1"));
}

}  // namespace
}  // namespace kv
