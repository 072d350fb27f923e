// The text search over a work set: what it finds, in which order, and the
// result file it writes.
#include "storage/string_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "storage/level_fixture.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

// Column A (bytes 20..29) holds the headings, column B (bytes 30..41) the
// searched texts.
constexpr int kA = 19;
constexpr int kB = 29;

std::string Sjis(const std::string& utf8) { return ToSjis(utf8); }

// Column A and B of a fixture record (Shift-JIS), B starting at byte 30.
std::string AB(const std::string& a, const std::string& b) {
  std::string t = Sjis(a);
  t.resize(10, ' ');
  return t + Sjis(b);
}

class StringSearchTest : public LevelFixture {
 protected:
  std::vector<std::string> Ext() const {
    std::vector<std::string> ext;
    for (int l = 1; l <= st.LevelCount; ++l) ext.push_back(st.LevelExt[l]);
    return ext;
  }

  // The condition file: the heading column and the condition lines.
  void Conditions(const std::vector<std::string>& lines, const std::string& title = "19,10") {
    std::string ini = "[検索条件]\r\n検索タイトル=" + title + "\r\n検索条件件数=" + std::to_string(lines.size()) + "\r\n";
    for (size_t i = 0; i < lines.size(); ++i) ini += std::to_string(i + 1) + "=" + lines[i] + "\r\n";
    app.Write("KENSAKU.INI", Sjis(ini));
  }

  StringSearchResult Search() {
    return StringSearch2(st.WorkFileBase, app.path(), st.DataLen, st.H_Link, Ext(), st.Imax);
  }

  std::string Result() const { return ReadAll(app.path() / "KRESULT.INI"); }

  // The record of a fixture as the result file holds it.
  std::string Bytes(const Rec& r) const { return Make(r); }

  // One hit record of the result file.
  static std::string HitText(const std::string& numbers, const std::string& path, const std::string& record) {
    return numbers + "\r\n" + Sjis(path) + "\r\n" + record + "\r\nLineEnd----\r\n";
  }
};

// Three levels, decimal and hexadecimal links: every hit with its number line,
// its path and its record as stored, in the order one reads the estimate with
// each breakdown opened under its row; closing records are never hits.
class StringSearchThreeLevels : public StringSearchTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StringSearchThreeLevels, WritesEachHitInReadingOrder) {
  Configure(256, GetParam(), 3);
  const Rec l1r1{' ', 1, 2, 1, AB("建築工事", "KEY one")};
  const Rec l1r2{' ', 0, 3, 3, AB("", "x")};
  const Rec l1r3{' ', 3, 4, kNoRecord, AB("misc", "KEY top")};
  const Rec l1r4{'G', 0, kNoRecord, kNoRecord, AB("", "KEY total")};
  WriteLevel(1, {l1r1, l1r2, l1r3, l1r4});
  const Rec l2r1{' ', 0, 2, 2, AB("  仮設  ", "nothing")};
  const Rec l2r3{' ', 3, 4, kNoRecord, AB("", "KEY under")};
  WriteLevel(2, {l2r1, {'G', 0, kNoRecord, kNoRecord, AB("", "KEY total")}, l2r3,
                 {'G', 0, kNoRecord, kNoRecord, ""}});
  const Rec l3r2{' ', 2, 3, kNoRecord, AB("", "KEY\r\ndeep")};
  WriteLevel(3, {{' ', 0, kNoRecord, kNoRecord, "unreached KEY"}, l3r2, {'G', 0, kNoRecord, kNoRecord, ""}});
  Conditions({"29,12,KEY,1,1"});

  const StringSearchResult r = Search();

  EXPECT_EQ(r.status, StringSearchStatus::Done);
  EXPECT_EQ(r.hits, 4);
  EXPECT_EQ(Result(), HitText("1,0", "1行目", Bytes(l1r1)) +
                          HitText("0,1,1,1", "建築工事 > 仮設 > 1行目", Bytes(l3r2)) +
                          HitText("0,2,1", "2行目 > 1行目", Bytes(l2r3)) +  // a blank heading: the parent's row
                          HitText("3,0", "3行目", Bytes(l1r3)));
}

INSTANTIATE_TEST_SUITE_P(LinkBases, StringSearchThreeLevels, ::testing::Values("10", "16"));

TEST_F(StringSearchTest, FindsLevelEightWithNineNumbersAndNoHeadingColumn) {
  Configure(256, "16", 8);
  for (int l = 1; l <= 7; ++l) WriteLevel(l, {{' ', 0, kNoRecord, 1, AB("h" + std::to_string(l), "")}});
  // A row on the last level has no level below it, whatever its link says.
  const Rec deep{' ', 1, kNoRecord, 1, AB("", "KEY")};
  WriteLevel(8, {deep});
  Conditions({"29,12,KEY,1,1"}, "0,0");

  const StringSearchResult r = Search();

  EXPECT_EQ(r.status, StringSearchStatus::Done);
  EXPECT_EQ(Result(), HitText("0,1,1,1,1,1,1,1,1",
                              "1行目 > 1行目 > 1行目 > 1行目 > 1行目 > 1行目 > 1行目 > 1行目", Bytes(deep)));
}

TEST_F(StringSearchTest, ABreakdownSharedByEveryRowIsListedUnderEachAndNotWalkedAgainWithoutHits) {
  // Every row of every level names the same breakdown: walked row by row
  // that would be 60 ^ 7 rows.
  Configure(256, "10", 8);
  st.Imax = 60;
  for (int l = 1; l <= 8; ++l) {
    std::vector<Rec> recs;
    for (int i = 1; i <= 60; ++i) recs.push_back({' ', 0, i < 60 ? i + 1 : kNoRecord, 1, AB("", "x")});
    if (l == 2) recs[1].text = AB("", "KEY");  // row 2 of the one level-2 sheet
    WriteLevel(l, recs);
  }
  Conditions({"29,12,KEY,1,1"}, "0,0");

  const StringSearchResult r = Search();

  EXPECT_EQ(r.status, StringSearchStatus::Done);
  EXPECT_EQ(r.hits, 60);  // under each level-1 row
  const std::string out = Result();
  EXPECT_EQ(out.substr(0, 8), "0,1,2\r\n1");
  EXPECT_NE(out.find("0,60,2\r\n"), std::string::npos);
}

TEST_F(StringSearchTest, EveryConditionMustHold) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, AB("apple", "red")},
                 {' ', 0, 3, kNoRecord, AB("apple", "green")},
                 {' ', 0, kNoRecord, kNoRecord, AB("pear", "red")}});
  Conditions({"29,12,red,1,0", "19,10,app*,0,0"});
  const StringSearchResult r = Search();
  EXPECT_EQ(r.hits, 1);
  EXPECT_EQ(Result().substr(0, 5), "1,0\r\n");
}

// ---- The matching rule ----

struct MatchCase {
  const char* field;  // display text of the field
  const char* text;   // the condition's text
  bool keepBlanks;
  bool expected;
};

class MatchRule : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchRule, DecidesAsTheRuleSays) {
  const MatchCase& c = GetParam();
  const std::string field = Sjis(c.field);
  SearchCondition cond;
  cond.start = 3;
  cond.width = static_cast<int>(field.size());
  cond.text = Sjis(c.text);
  cond.keepBlanks = c.keepBlanks;
  EXPECT_EQ(SearchMatcher(cond).Matches("xyz" + field + "tail"), c.expected)
      << "field [" << c.field << "] text [" << c.text << "] blanks " << c.keepBlanks;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchRule,
    ::testing::Values(
        MatchCase{"  ABCDEF  ", "CDE", true, true},
        MatchCase{"ABCDEF", "abc", true, false},            // letter case counts
        MatchCase{"ABC", "ＡＢＣ", true, false},             // full-width and half-width differ
        MatchCase{"ｺｰﾄﾞ", "コード", true, false},
        MatchCase{"12", "１２", true, false},
        MatchCase{"tail", "xtail", true, false},             // never beyond the field
        MatchCase{"ABC", "＊ABC", true, false},              // a full-width star is a character
        MatchCase{"X＊ABC", "＊ABC", true, true},
        MatchCase{"A*C", "A*C", true, true},                 // a star inside is a character
        MatchCase{"ABC", "A*C", true, false},
        MatchCase{"  xxABC  ", "*ABC", true, true},          // leading star: ends with
        MatchCase{"ABCxx", "*ABC", true, false},
        MatchCase{"  ABCxx ", "ABC*", true, true},           // trailing star: begins with
        MatchCase{"xxABC", "ABC*", true, false},
        MatchCase{"xxABCxx", "*ABC*", true, true},           // both: anywhere
        MatchCase{"          ", "***", true, true},          // stars only: every row
        MatchCase{"名　　称", "名称", false, true},           // blanks out of the field...
        MatchCase{"名称", "名 　称", false, true},            // ...and out of the text
        MatchCase{"名\r\n称", "名称", false, true},          // line breaks too
        MatchCase{"名　称", "名称", true, false},             // blanks kept as written
        MatchCase{"名 称", "名 称", true, true},
        MatchCase{"名\r\n称", "名 称", true, true},          // a line break is one blank
        MatchCase{"名　称", "名 称", true, false},            // half-width blank is not full-width
        MatchCase{"a,b,1,1", ",b,1", true, true},            // commas are characters
        MatchCase{"　鉄骨階段　", "*階段", true, true},       // Japanese text at either end...
        MatchCase{"鉄骨階段手摺", "*階段", true, false},
        MatchCase{"　鉄骨階段", "鉄骨*", true, true},
        MatchCase{"階段鉄骨", "鉄骨*", true, false},
        MatchCase{"鉄骨　階段", "骨階", true, false},          // ...and in the middle
        MatchCase{"鉄骨　階段", "骨階", false, true},
        MatchCase{"ｶｲﾀﾞﾝ", "ｲﾀﾞ", true, true}));

TEST(MatchRuleCodes, TheTwoCodesOfOneCharacterMatchEachOther) {
  // "ⅰ" has a code in the NEC-selected IBM extension and one in the IBM extension.
  ASSERT_EQ(FromSjis("\xEE\xEF"), FromSjis("\xFA\x40"));
  SearchCondition cond{0, 4, "\xEE\xEF", true, true};
  EXPECT_TRUE(SearchMatcher(cond).Matches("A\xFA\x40 "));
}

TEST(MatchRuleCodes, EveryCodeOfACharacterIsFoundByTheOthers) {
  // The characters with more than one code, over the whole code page.
  std::map<std::string, std::vector<std::string>> codes;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string c = FromSjis(code);
      if (c != kUtf8BrokenChar && ToSjis(c).size() == 2) codes[c].push_back(code);
    }
  }
  ASSERT_EQ(codes["ⅰ"].size(), 2u);
  for (const auto& [c, list] : codes) {
    if (list.size() < 2) continue;
    for (const std::string& text : list)
      for (const std::string& field : list)
        EXPECT_TRUE(SearchMatcher({0, 4, text, true, true}).Matches("\x82\xA0" + field))
            << c << ": " << std::hex << (static_cast<unsigned char>(field[0]) << 8 | static_cast<unsigned char>(field[1]));
  }
}

// ---- The condition file ----

TEST(SearchConditionFile, TakesTheTextBetweenTheNumbersAndTheFlags) {
  SearchConditionSet set;
  std::string reason;
  const std::string ini = ToSjis("[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=2\r\n1=59,20,A,B,,C,1,1\r\n"
                                 "2=0,4,x,0,0\r\n3=garbage\r\n");
  ASSERT_TRUE(ReadSearchConditions(ini, 256, set, reason)) << reason;
  EXPECT_EQ(set.titleStart, 19);
  EXPECT_EQ(set.titleWidth, 40);
  ASSERT_EQ(set.conditions.size(), 2u);  // lines beyond the count are not read
  EXPECT_EQ(set.conditions[0].text, "A,B,,C");
  EXPECT_EQ(set.conditions[0].start, 59);
  EXPECT_EQ(set.conditions[0].width, 20);
  EXPECT_TRUE(set.conditions[0].keepBlanks);
  EXPECT_EQ(set.conditions[1].text, "x");
  EXPECT_FALSE(set.conditions[1].keepBlanks);
  EXPECT_FALSE(set.conditions[1].simple);
}

TEST(SearchConditionFile, RefusesWhatItCannotUse) {
  const std::vector<std::string> files = {
      "",
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n",             // a count without its line
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=0\r\n",
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=x\r\n1=0,4,x,1,1\r\n",
      "[検索条件]\r\n検索タイトル=19\r\n検索条件件数=1\r\n1=0,4,x,1,1\r\n",
      "[検索条件]\r\n検索タイトル=250,10\r\n検索条件件数=1\r\n1=0,4,x,1,1\r\n",
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=-1,4,x,1,1\r\n",  // s below 0
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=0,0,x,1,1\r\n",   // w below 1
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=250,7,x,1,1\r\n",  // past the record
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=0,4,x,2,1\r\n",   // flag not 0 or 1
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=0,4,x,1,\r\n",
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=1\r\n1=0,4,1,1\r\n",     // a field missing
      "[検索条件]\r\n検索タイトル=19,40\r\n検索条件件数=2\r\n1=0,4,x,1,1\r\n2=0,4,x,1\r\n",
  };
  for (const std::string& f : files) {
    SearchConditionSet set;
    std::string reason;
    EXPECT_FALSE(ReadSearchConditions(ToSjis(f), 256, set, reason)) << f;
    EXPECT_FALSE(reason.empty()) << f;
    EXPECT_TRUE(set.conditions.empty()) << f;
  }
}

// ---- The 1000 hits, and failures ----

TEST_F(StringSearchTest, WritesAtMostAThousandHitsAndSaysWhenThereWereMore) {
  st.Imax = 1000;
  for (int rows : {1000, 1001}) {
    std::vector<Rec> recs(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) recs[size_t(i)] = {' ', 0, i + 2 <= rows ? i + 2 : kNoRecord, kNoRecord, AB("", "KEY")};
    WriteLevel(1, recs);
    Conditions({"29,12,KEY,1,1"});
    const StringSearchResult r = Search();
    EXPECT_EQ(r.status, rows > 1000 ? StringSearchStatus::TooMany : StringSearchStatus::Done) << rows;
    EXPECT_EQ(r.hits, 1000) << rows;
    const std::string out = Result();
    EXPECT_EQ(out.rfind("1000,0\r\n", std::string::npos) != std::string::npos, true);
    EXPECT_EQ(out.find("1001,0\r\n"), std::string::npos);
  }
}

TEST_F(StringSearchTest, ADamagedLevelFileKeepsTheHitsBeforeIt) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, AB("", "KEY first")}, {' ', 0, kNoRecord, 1, AB("", "x")}});
  // Level 2: a chain that comes back to its first record.
  WriteLevel(2, {{' ', 0, 2, kNoRecord, AB("", "KEY")}, {' ', 0, 1, kNoRecord, AB("", "y")}});
  Conditions({"29,12,KEY,1,1"});

  const StringSearchResult r = Search();

  EXPECT_EQ(r.status, StringSearchStatus::Damaged);
  EXPECT_EQ(r.file.filename(), "EST.Y2");
  EXPECT_EQ(r.problem.fault, LevelFault::LinkLoop);
  EXPECT_EQ(r.problem.record, 1);
  EXPECT_EQ(r.hits, 2);  // the rows met before the loop are searched
  EXPECT_EQ(Result().substr(0, 5), "1,0\r\n");
  EXPECT_NE(Result().find("0,2,1\r\n"), std::string::npos);
}

TEST_F(StringSearchTest, ADamagedTopLevelRecordEndsTheSearchAfterTheRowsBeforeIt) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, AB("", "KEY")},
                 {' ', 0, 3, kNoRecord, AB("", "KEY")},
                 {' ', 9, 4, kNoRecord, AB("", "KEY")},  // names itself 9
                 {' ', 0, kNoRecord, kNoRecord, AB("", "KEY")}});
  Conditions({"29,12,KEY,1,1"});
  const StringSearchResult r = Search();
  EXPECT_EQ(r.status, StringSearchStatus::Damaged);
  EXPECT_EQ(r.problem.fault, LevelFault::OwnNumberMismatch);
  EXPECT_EQ(r.problem.record, 3);
  EXPECT_EQ(r.hits, 2);
}

TEST_F(StringSearchTest, ALinkPastTheNextFileIsDamageOfTheRowHoldingIt) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, AB("", "KEY")}, {' ', 0, kNoRecord, 9, AB("", "x")}});
  WriteLevel(2, {{' ', 0, kNoRecord, kNoRecord, AB("", "y")}});
  Conditions({"29,12,KEY,1,1"});
  const StringSearchResult r = Search();
  EXPECT_EQ(r.status, StringSearchStatus::Damaged);
  EXPECT_EQ(r.file.filename(), "EST.Y1");
  EXPECT_EQ(r.problem.record, 2);
  EXPECT_EQ(r.hits, 1);
}

TEST_F(StringSearchTest, AFailedSearchLeavesTheOldResultFile) {
  WriteLevel(1, {{' ', 0, kNoRecord, kNoRecord, AB("", "KEY")}});
  const std::string old = "5,0\r\nold\r\nrecord\r\nLineEnd----\r\n";
  struct Case {
    const char* what;
    std::function<void()> arrange;
    StringSearchStatus status;
  };
  const std::vector<Case> cases = {
      {"no condition file", [&] { stdfs::remove(app.path() / "KENSAKU.INI"); }, StringSearchStatus::BadConditions},
      {"a bad line", [&] { Conditions({"29,12,KEY,1,7"}); }, StringSearchStatus::BadConditions},
      {"a read-only result file",
       [&] {
         Conditions({"29,12,KEY,1,1"});
         stdfs::permissions(app.path() / "KRESULT.INI", stdfs::perms::owner_read | stdfs::perms::group_read);
       },
       StringSearchStatus::CannotWrite},
  };
  for (const Case& c : cases) {
    stdfs::permissions(app.path(), stdfs::perms::owner_all, stdfs::perm_options::add);
    if (stdfs::exists(app.path() / "KRESULT.INI"))
      stdfs::permissions(app.path() / "KRESULT.INI", stdfs::perms::owner_all, stdfs::perm_options::add);
    app.Write("KRESULT.INI", old);
    c.arrange();
    const StringSearchResult r = Search();
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(r.hits, 0) << c.what;
    EXPECT_FALSE(r.reason.empty()) << c.what;
    EXPECT_EQ(Result(), old) << c.what;
  }
}

}  // namespace
}  // namespace kv::test
