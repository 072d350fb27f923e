// The search window's condition file, its reader of the result file, and a
// whole search over a small work set.
#include "classify/kensaku_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "storage/level_fixture.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

class KensakuFiles : public LevelFixture {
 protected:
  void SetUp() override {
    LevelFixture::SetUp();
    st.CaptionColmun1 = 1;  // A: bytes 20..29
    st.CurrentCol = 2;      // B: bytes 30..41
  }
  std::string Key(const std::string& key) {
    std::string v;
    IniGetString("検索条件", key, v, app.path() / "KENSAKU.INI");
    return v;
  }
};

TEST_F(KensakuFiles, SimpleSearchSqueezesTheTextToTheColumn) {
  st.ColWidth[1][2] = 6;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ABC DEF GH", "29,6,ABCDEF,1,1"}, {" AB C ", "29,6,AB C,1,1"}, {"検索,語", "29,6,検索,語,1,1"}};
  for (const auto& [text, line] : cases) {
    ASSERT_TRUE(ZMakeKensakuINI(st, text, 1));
    EXPECT_EQ(Key("検索タイトル"), "19,10");
    EXPECT_EQ(Key("検索条件件数"), "1");
    EXPECT_EQ(Key("1"), line) << text;
  }
}

TEST_F(KensakuFiles, CompoundConditionsThenASimpleSearchLeavesTheOldLines) {
  st.KensakuCond[0] = {" 2", "ab", "1"};
  st.KensakuCond[1] = {" 1", "＊名 称", ""};
  st.KensakuCond[2] = {" 2", "x,y", ""};
  ASSERT_TRUE(ZMakeKensakuINI(st, "ignored", 1));
  EXPECT_EQ(Key("検索条件件数"), "3");
  EXPECT_EQ(Key("1"), "29,12,ab,1,0");
  EXPECT_EQ(Key("2"), "19,10,＊名 称,0,0");  // written as the dialog left it
  EXPECT_EQ(Key("3"), "29,12,x,y,0,0");
  EXPECT_EQ(st.KensakuCond[1].WithBlanks, "0");  // "" becomes "0" in the entry itself

  for (auto& e : st.KensakuCond) e = {};
  ASSERT_TRUE(ZMakeKensakuINI(st, "new", 1));
  EXPECT_EQ(Key("検索条件件数"), "1");
  EXPECT_EQ(Key("1"), "29,12,new,1,1");
  EXPECT_EQ(Key("2"), "19,10,＊名 称,0,0");
  EXPECT_EQ(Key("3"), "29,12,x,y,0,0");
}

TEST_F(KensakuFiles, ReferenceSearchUsesTheReferenceCursorAndNoHeadingColumnGivesZero) {
  st.SearchTitle = std::string(kRefSearchCaption);
  st.RefSelStart = 1;
  st.CaptionColmun1 = -1;
  ASSERT_TRUE(ZMakeKensakuINI(st, "abc", 1));
  EXPECT_EQ(Key("検索タイトル"), "0,0");
  EXPECT_EQ(Key("1"), "19,10,abc,1,1");
}

// ---- The reader ----

std::string HitRecord(const std::string& numbers, const std::string& path, const std::string& record) {
  return numbers + "\r\n" + ToSjis(path) + "\r\n" + record + "\r\nLineEnd----\r\n";
}

struct NumberCase {
  const char* line;
  std::array<int, kHitNumberCount> nums;
};

class NumberLine : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberLine, FillsTheEntriesByTheRule) {
  KensakuHits hits;
  ReadKensakuResult(HitRecord(GetParam().line, "p", "r"), hits, {});
  ASSERT_EQ(hits.HitCount, 1);
  EXPECT_EQ(hits.HitNums[1], GetParam().nums) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberLine,
    ::testing::Values(NumberCase{"0,3,7", {0, 3, 7}},                  // a level-2 hit
                      NumberCase{"5,0", {5, 0}},                       // a level-1 hit
                      NumberCase{"9,2,4", {0, 2, 4}},                  // entry 0 forced to 0...
                      NumberCase{"9,2", {9, 2}},                       // ...but not by the last field
                      NumberCase{"0,1,2,3,4,5,6,7,8", {0, 1, 2, 3, 4, 5, 6, 7, 8}},  // level 8
                      NumberCase{"0,1,2,3,4,5,6,7,8,9", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                      NumberCase{"40000,0", {32767, 0}},
                      NumberCase{"0,-40000,1", {0, -32768, 1}},
                      NumberCase{"2.5,0", {2, 0}},  // halves to even
                      NumberCase{"3.5,0", {4, 0}},
                      NumberCase{" 7x,abc", {7, 0}},
                      NumberCase{"", {0}}));

TEST(KensakuResult, JoinsRecordLinesAndShowsOddCounts) {
  const std::string file = HitRecord("1,0", "1行目", "a") + HitRecord("2,0", "2行目", "first\r\nsecond") +
                           HitRecord("3,0", "3行目", "c") + HitRecord("4,0", std::string(300, 'p'), "d");
  KensakuHits hits;
  std::vector<std::string> labels;
  std::vector<std::pair<int, std::string>> rows;
  const KensakuReadHooks hooks{[&](const std::string& c) { labels.push_back(c); },
                               [&](int count, const std::string& rec) {
                                 rows.emplace_back(count, rec);
                                 return true;
                               }};
  const KensakuReadResult r = ReadKensakuResult(file, hits, hooks);

  EXPECT_EQ(r.end, KensakuReadEnd::Complete);
  EXPECT_EQ(hits.HitCount, 4);
  EXPECT_EQ(labels, (std::vector<std::string>{" 1", " 3", " 4"}));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], (std::pair<int, std::string>{2, "first\r\nsecond"}));
  EXPECT_EQ(hits.HitPaths[2], "2行目" + std::string(256 - 3, ' '));  // 256 characters
  EXPECT_EQ(hits.HitPaths[4], std::string(256, 'p'));
}

TEST(KensakuResult, ReadsWhatItCanOfABadFile) {
  const std::string two = HitRecord("1,0", "a", "r") + HitRecord("2,0", "b", "r");
  std::string thousandAndOne;
  for (int i = 1; i <= 1001; ++i) thousandAndOne += HitRecord(std::to_string(i) + ",0", "p", "r");
  struct Case {
    std::string file;
    KensakuReadEnd end;
    int count;
  };
  const std::vector<Case> cases = {
      {"", KensakuReadEnd::Complete, 0},
      {two + "3,0\r\npath\r\nrecord without its end", KensakuReadEnd::Truncated, 2},
      {two + "3,0\r\npath", KensakuReadEnd::Truncated, 2},
      {two + "3,0", KensakuReadEnd::Truncated, 2},
      {thousandAndOne, KensakuReadEnd::Capped, 1000},
  };
  for (const Case& c : cases) {
    KensakuHits hits;
    std::string last;
    const KensakuReadResult r = ReadKensakuResult(c.file, hits, {[&](const std::string& s) { last = s; }, {}});
    EXPECT_EQ(r.end, c.end) << c.count;
    EXPECT_EQ(hits.HitCount, c.count);
    EXPECT_EQ(last, " " + std::to_string(c.count));
    if (c.count < 1000) EXPECT_EQ(hits.HitNums[size_t(c.count) + 1][0], 0) << "a hit cut short is not kept";
    else EXPECT_EQ(hits.HitNums[1000][0], 1000);
  }
}

TEST(KensakuResult, StopsWhenTheWindowAsks) {
  KensakuHits hits;
  int seen = 0;
  const KensakuReadResult r = ReadKensakuResult(HitRecord("1,0", "a", "r") + HitRecord("2,0", "b", "r"), hits,
                                                {{}, [&](int, const std::string&) { return ++seen < 1; }});
  EXPECT_EQ(r.end, KensakuReadEnd::Stopped);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(hits.HitCount, 1);
}

// ---- A whole search ----

class KensakuRun : public KensakuFiles {
 protected:
  // Level 1: "鉄骨" on row 1 with a breakdown holding it on row 2.
  void Estimate() {
    WriteLevel(1, {{' ', 0, 2, 1, ToSjis("本体      鉄骨")}, {'G', 0, kNoRecord, kNoRecord, ""}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, ToSjis("          木材")},
                   {' ', 0, 3, kNoRecord, ToSjis("          鉄骨　柱")},
                   {'G', 0, kNoRecord, kNoRecord, ""}});
  }
  KensakuOutcome Run(const std::string& text) {
    rows.clear();
    return RunStringSearch(st, text, 1, st.WorkFileBase, hits,
                           {{}, [&](int count, const std::string& rec) {
                              rows.push_back(std::to_string(count) + ":" + rec.substr(29, 12));
                              return true;
                            }});
  }
  KensakuHits hits;
  std::vector<std::string> rows;
};

TEST_F(KensakuRun, FillsTheTablesHitByHit) {
  Estimate();
  const KensakuOutcome out = Run("鉄骨");
  EXPECT_EQ(out.status, KensakuStatus::Done);
  EXPECT_EQ(out.hits, 2);
  EXPECT_EQ(hits.HitNums[1], (std::array<int, kHitNumberCount>{1, 0}));
  EXPECT_EQ(hits.HitNums[2], (std::array<int, kHitNumberCount>{0, 1, 2}));
  EXPECT_EQ(hits.HitPaths[2].substr(0, std::string("本体 > 2行目").size()), "本体 > 2行目");
  EXPECT_EQ(rows, (std::vector<std::string>{"1:" + ToSjis("鉄骨        "), "2:" + ToSjis("鉄骨　柱    ")}));
}

TEST_F(KensakuRun, AFailedSearchListsNothingAndNeverTheOldFile) {
  Estimate();
  app.Write("KRESULT.INI", HitRecord("1,0", "old", "old"));
  st.CurrentCol = 0;  // a column that gives no field: the condition line is refused
  hits.HitCount = 5;
  const KensakuOutcome out = Run("鉄骨");
  EXPECT_EQ(out.status, KensakuStatus::Failed);
  EXPECT_FALSE(out.reason.empty());
  EXPECT_EQ(hits.HitCount, 0);
  EXPECT_TRUE(rows.empty());
}

TEST_F(KensakuRun, NeverSearchesForATextShiftJisCannotHold) {
  Estimate();
  st.KensakuCond[0] = {" 2", "鉄骨", "1"};
  st.KensakuCond[1] = {" 1", "caf\xC3\xA9", "1"};
  const KensakuOutcome out = Run("鉄骨");
  EXPECT_EQ(out.status, KensakuStatus::Failed);
  EXPECT_EQ(out.reason, "検索できない文字が含まれています: 「\xC3\xA9」");
  EXPECT_FALSE(stdfs::exists(app.path() / "KENSAKU.INI"));
  EXPECT_TRUE(rows.empty());
}

TEST_F(KensakuRun, ADamagedLevelFileListsTheHitsBeforeIt) {
  WriteLevel(1, {{' ', 0, 2, kNoRecord, ToSjis("          鉄骨")}, {' ', 0, kNoRecord, 5, ToSjis("")}});
  WriteLevel(2, {{' ', 0, kNoRecord, kNoRecord, ToSjis("          鉄骨")}});
  const KensakuOutcome out = Run("鉄骨");
  EXPECT_EQ(out.status, KensakuStatus::Damaged);
  EXPECT_EQ(out.file.filename(), "EST.Y1");
  EXPECT_EQ(out.problem.record, 2);
  EXPECT_EQ(hits.HitCount, 1);
  EXPECT_EQ(rows.size(), 1u);
}

TEST_F(KensakuRun, EndMessages) {
  struct Case {
    KensakuOutcome outcome;
    std::string text;
  };
  KensakuOutcome damaged{KensakuStatus::Damaged, 1, "", app.path() / "WORK" / "EST.Y2", {LevelFault::LinkLoop, 3}};
  const std::vector<Case> cases = {
      {{KensakuStatus::Done, 3}, "検索が終了しました"},
      {{KensakuStatus::TooMany, 1000},
       "検索が終了しました\r検索結果が 1000件を越えたため、最初の 1000件を表示しています。"},
      {{KensakuStatus::Failed, 0, "理由"}, "検索できませんでした。\r理由"},
      {damaged, "作業ファイル [ EST.Y2 ] が壊れています。\rレコードのリンクが循環しています (レコード 3)"},
  };
  for (const Case& c : cases) {
    ui.AnswerMsgBox(vbOK);
    KensakuEndShow(st, c.outcome);
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(ui.Prompts().back().text, c.text);
  }
  EXPECT_EQ(ui.Prompts()[0].title, "文字列検索");
  EXPECT_EQ(ui.Prompts()[2].title, "文字列検索");
  const size_t shown = ui.Prompts().size();
  KensakuEndShow(st, {KensakuStatus::Stopped, 2});
  EXPECT_EQ(ui.Prompts().size(), shown);
}

TEST_F(KensakuRun, RefusesATextShiftJisCannotHold) {
  for (const std::string ok : {"鉄骨 ABC ｺｰﾄﾞ ？?", "ⅰ№"}) EXPECT_FALSE(SearchTextRefused(st, ok)) << ok;
  ui.AnswerMsgBox(vbOK).AnswerMsgBox(vbOK);
  EXPECT_TRUE(SearchTextRefused(st, "caf\xC3\xA9 x"));
  EXPECT_TRUE(SearchTextRefused(st, "鉄\xF0\x9F\x98\x80"));
  ASSERT_EQ(ui.Prompts().size(), 2u);
  EXPECT_EQ(ui.Prompts()[0].text, "検索できない文字が含まれています: 「\xC3\xA9」");
  EXPECT_EQ(ui.Prompts()[0].title, "文字列検索");
  EXPECT_EQ(ui.Prompts()[1].text, "検索できない文字が含まれています: 「\xF0\x9F\x98\x80」");
}

}  // namespace
}  // namespace kv::test
