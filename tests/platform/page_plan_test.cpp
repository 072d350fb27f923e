// The page plan of an estimate and the page numbers written from it: a small
// three-level estimate planned and numbered under several rules (rows per
// page, number base, the special print form, pages past 999 and 4095), and
// damaged chains, which end their own sheet's walk and nothing else.
#include "platform/page_plan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/page_no_write.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

constexpr int kLen = 256;
constexpr int kNone = kNoRecord;

// One record: marks, kind, links; bytes 16-19 and a text.
struct R {
  int next = kNone;
  int child = kNone;
  char printMark = ' ';
  char mark = ' ';
  char kind = ' ';
  std::string field = "ZZZZ";  // bytes 16-19 as found: a stale page field
};
R Closing(std::string objectNo = " 12 ") { return {kNone, kNone, ' ', ' ', 'G', objectNo}; }

std::string Make(const R& r, int own, bool hex) {
  std::string rec(kLen, ' ');
  rec[0] = r.mark;
  rec[1] = r.printMark;
  rec[2] = r.kind;
  rec.replace(3, 4, StoredNumberField(own, hex));
  rec.replace(7, 4, StoredNumberField(r.next, hex));
  rec.replace(11, 4, StoredNumberField(r.child, hex));
  rec.replace(15, 4, r.field);
  const std::string text = "ROW" + std::to_string(own);
  rec.replace(19, text.size(), text);
  return rec;
}

std::string FileOf(const std::vector<R>& recs, bool hex) {
  std::string bytes;
  for (size_t i = 0; i < recs.size(); ++i) bytes += Make(recs[i], static_cast<int>(i) + 1, hex);
  return bytes;
}

// The estimate:
//   level 1: rows 1..5 (+ `pad` plain rows), closing. Row 1 owns sheet A,
//     row 2 ("U") sheet B, row 3 sheet C; row 4 is marked "x".
//   level 2: A = records 1, 2 (row 1 owns D, row 2 marked "I" owns E), 3
//     closing; B = 4, 5 closing; C = 7, 6 (owns F), 8 closing.
//   level 3: D = 1, 2 ("x"), 3, 4 closing; E = 5, 6 closing; F = 7, a
//     closing record alone.
struct Estimate {
  std::vector<R> l1, l2, l3;
};
Estimate Sample(int pad = 0) {
  Estimate e;
  e.l1 = {{kNone, 1}, {kNone, 4, 'U'}, {kNone, 7}, {kNone, kNone, ' ', 'x'}, {}};
  for (int i = 0; i < pad; ++i) e.l1.push_back({});
  e.l1.push_back(Closing());
  for (size_t i = 0; i + 1 < e.l1.size(); ++i) e.l1[i].next = static_cast<int>(i) + 2;
  e.l2 = {{2, 1},     {3, 5, 'I'}, Closing(),  // A
          {5},        Closing(),               // B
          {8, 7},     {6},         Closing()}; // C: 7 -> 6 -> 8
  e.l3 = {{2}, {3, kNone, ' ', 'x'}, {4}, Closing(),  // D
          {6}, Closing(),                             // E
          Closing()};                                 // F
  return e;
}

class PagePlanTest : public ::testing::Test {
 protected:
  TempFolder app;
  const std::vector<std::string> exts{".Y1", ".Y2", ".Y3"};

  std::filesystem::path Base() const { return app.path() / "EST"; }
  std::filesystem::path Level(int level) const { return app.path() / ("EST" + exts[size_t(level - 1)]); }
  void Write(const Estimate& e, bool hex) {
    app.Write("EST.Y1", FileOf(e.l1, hex));
    app.Write("EST.Y2", FileOf(e.l2, hex));
    app.Write("EST.Y3", FileOf(e.l3, hex));
  }
  std::string Bytes(int level) const { return ReadAll(Level(level)); }
  // Bytes 16-19 of a record.
  std::string Field(int level, int record) const {
    return Bytes(level).substr(size_t(record - 1) * kLen + 15, 4);
  }
  // The files as they are, with these fields put in.
  std::vector<std::string> With(const std::vector<std::string>& before,
                                const std::map<std::pair<int, int>, std::string>& fields) const {
    std::vector<std::string> out = before;
    for (const auto& [at, text] : fields) out[size_t(at.first - 1)].replace(size_t(at.second - 1) * kLen + 15, 4, text);
    return out;
  }
  std::vector<std::string> All() const { return {Bytes(1), Bytes(2), Bytes(3)}; }
};

// "level/first:page+pages" for each sheet in print order.
std::string Describe(const PagePlan& plan) {
  std::string out;
  for (const PagePlanSheet& s : plan.sheets) {
    if (!out.empty()) out += ' ';
    out += std::to_string(s.level) + "/" + std::to_string(s.firstRecord) + ":" + std::to_string(s.firstPage) + "+" +
           std::to_string(s.pageCount);
  }
  return out;
}

// "record:page.line" for each row of a sheet.
std::string Rows(const PagePlanSheet& s) {
  std::string out;
  for (const PagePlanRow& r : s.rows) {
    if (!out.empty()) out += ' ';
    out += std::to_string(r.record) + ":" + std::to_string(r.page) + "." + std::to_string(r.line);
  }
  return out;
}

struct NumberingCase {
  const char* name;
  std::string base;  // H_Link
  int rowsPerPage;
  bool special;
  int pad;             // plain rows added to the top sheet
  std::string plan;    // Describe() of the plan
  std::string topRows; // Rows() of the top sheet ("" to skip)
  std::string a, c, d, top;  // fields written into the first rows ("ZZZZ": untouched)
};

// Sheets come top sheet, A, D, C, F (B below a "U" row and E below an "I"
// row are not printed; F has no rows and takes no page). Only the first
// records of A, C, D and the top sheet get a field; B, E, F and every
// closing record keep theirs.
TEST_F(PagePlanTest, PlanAndFieldsWrittenFollowTheRule) {
  const NumberingCase cases[] = {
      {"decimal, 2 rows a page", "10", 2, false, 0, "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0",
       "1:1.1 2:1.2 3:2.1 4:2.2 5:3.1", "  4P", "  7P", "  5P", "  1P"},
      {"special form leaves the x rows out", "10", 2, true, 0, "1/1:1+2 2/1:3+1 3/1:4+1 2/7:5+1 3/7:6+0",
       "1:1.1 2:1.2 3:2.1 4:0.0 5:2.2", "  3P", "  5P", "  4P", "  1P"},
      {"hexadecimal base", "16", 2, false, 0, "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0", "", "  4h", "  7h", "  5h",
       "  1h"},
      {"one row a page", "10", 1, false, 0, "1/1:1+5 2/1:6+2 3/1:8+3 2/7:11+2 3/7:13+0", "", "  6P", " 11P", "  8P",
       "  1P"},
      {"a page fills exactly", "10", 5, false, 0, "1/1:1+1 2/1:2+1 3/1:3+1 2/7:4+1 3/7:5+0", "", "  2P", "  4P",
       "  3P", "  1P"},
      {"decimal above 999 goes hexadecimal", "10", 1, false, 993, "1/1:1+998 2/1:999+2 3/1:1001+3 2/7:1004+2 3/7:1006+0",
       "", "999P", "3ECh", "3E9h", "  1P"},
      {"above 4095 the field is blank", "10", 1, false, 4087,
       "1/1:1+4092 2/1:4093+2 3/1:4095+3 2/7:4098+2 3/7:4100+0", "", "FFDh", "    ", "FFFh", "  1P"},
      {"hexadecimal above 4095 is blank too", "16", 1, false, 4087,
       "1/1:1+4092 2/1:4093+2 3/1:4095+3 2/7:4098+2 3/7:4100+0", "", "FFDh", "    ", "FFFh", "  1h"},
  };
  for (const NumberingCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool hex = IsHexBase(c.base);
    Write(Sample(c.pad), hex);
    const std::vector<std::string> before = All();

    const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, hex, c.rowsPerPage, c.special});
    EXPECT_EQ(Describe(plan), c.plan);
    EXPECT_TRUE(plan.damaged.empty());
    if (!c.topRows.empty()) {
      ASSERT_FALSE(plan.sheets.empty());
      EXPECT_EQ(Rows(plan.sheets[0]), c.topRows);
    }

    const int numbered = c.special ? PageNoWriteOrvi(Base(), app.path(), kLen, c.base, c.rowsPerPage, exts)
                                   : PageNoWrite2(Base(), app.path(), kLen, c.base, c.rowsPerPage, exts);
    EXPECT_EQ(numbered, 4);
    const auto expected = With(before, {{{1, 1}, c.top}, {{2, 1}, c.a}, {{2, 7}, c.c}, {{3, 1}, c.d}});
    EXPECT_EQ(All(), expected);  // no other byte of any record changed
  }
}

// The rows of a breakdown sheet take the pages after those of the sheets
// before it; a chain scattered through its file keeps its chain order.
TEST_F(PagePlanTest, RowsOfAScatteredSheetInChainOrder) {
  Write(Sample(), false);
  const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
  ASSERT_EQ(plan.sheets.size(), 5u);
  EXPECT_EQ(Rows(plan.sheets[2]), "1:5.1 2:5.2 3:6.1");  // D
  EXPECT_EQ(Rows(plan.sheets[3]), "7:7.1 6:7.2");        // C
  EXPECT_EQ(plan.pageCount, 7);
}

// No rows per page: nothing is planned or written.
TEST_F(PagePlanTest, NoRowsPerPageWritesNothing) {
  Write(Sample(), false);
  const std::vector<std::string> before = All();
  for (int rows : {0, -1}) {
    EXPECT_TRUE(PagePlanOfFiles(Base(), exts, {kLen, false, rows, false}).sheets.empty());
    EXPECT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", rows, exts), 0);
    EXPECT_EQ(All(), before);
  }
}

// A numbered estimate numbered again is left as it is; a field holding
// another page is put right.
TEST_F(PagePlanTest, NumberingAgainChangesOnlyWrongFields) {
  Write(Sample(), false);
  ASSERT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts), 4);
  const std::vector<std::string> numbered = All();
  ASSERT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts), 4);
  EXPECT_EQ(All(), numbered);
  ASSERT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 3, exts), 4);
  EXPECT_EQ(Field(2, 1), "  3P");
  ASSERT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts), 4);
  EXPECT_EQ(All(), numbered);
}

// A record file that read a level file before the numbering reads the
// numbers written, as does one opened after.
TEST_F(PagePlanTest, RecordFilesReadTheNumbersWritten) {
  Write(Sample(), false);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // settled: its records are cached
  RecordFile before(Level(2), kLen, RecordFileMode::ReadOnly);
  std::string rec;
  ASSERT_TRUE(before.GetRecordText(1, rec));
  ASSERT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts), 4);
  RecordFile after(Level(2), kLen, RecordFileMode::ReadOnly);
  for (const RecordFile* f : {&before, &after}) {
    ASSERT_TRUE(f->GetRecordText(1, rec));
    EXPECT_EQ(rec.substr(15, 4), "  4P");
  }
}

// The print program's variants of the one plan: the breakdowns below "I"
// rows taken in (those below "U" rows never are), and a plan that begins
// with a breakdown sheet, also one below a non-print row. Every sheet knows
// the row above that owns it.
TEST_F(PagePlanTest, LevelMarksIgnoredAndPlanFromASheet) {
  Write(Sample(), false);
  const struct {
    const char* name;
    bool ignoreI;
    int startLevel, startRecord;
    std::string plan;
    std::string parents;
  } cases[] = {
      {"whole estimate", false, 1, 1, "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0", "0 1 1 3 6"},
      {"I marks ignored", true, 1, 1, "1/1:1+3 2/1:4+1 3/1:5+2 3/5:7+1 2/7:8+1 3/7:9+0", "0 1 1 2 3 6"},
      {"from sheet C", false, 2, 7, "2/7:1+1 3/7:2+0", "0 6"},
      {"from sheet A", false, 2, 1, "2/1:1+1 3/1:2+2", "0 1"},
      {"from sheet B below a U row", false, 2, 4, "2/4:1+1", "0"},
      {"from level 3 sheet E", false, 3, 5, "3/5:1+1", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PagePlanRule rule{kLen, false, 2, false};
    rule.ignoreLevelMarks = c.ignoreI;
    rule.startLevel = c.startLevel;
    rule.startRecord = c.startRecord;
    const PagePlan plan = PagePlanOfFiles(Base(), exts, rule);
    EXPECT_EQ(Describe(plan), c.plan);
    std::string parents;
    for (const PagePlanSheet& s : plan.sheets) parents += (parents.empty() ? "" : " ") + std::to_string(s.parentRecord);
    EXPECT_EQ(parents, c.parents);
    EXPECT_TRUE(plan.damaged.empty());
  }
  PagePlanRule pastEnd{kLen, false, 2, false};
  pastEnd.startLevel = 2;
  pastEnd.startRecord = 40;
  const PagePlan plan = PagePlanOfFiles(Base(), exts, pastEnd);
  EXPECT_TRUE(plan.sheets.empty());
  ASSERT_EQ(plan.damaged.size(), 1u);
  EXPECT_EQ(plan.damaged[0].firstRecord, 40);
}

TEST(PageFieldText, BasesAndLimits) {
  const struct {
    int page;
    bool hex;
    const char* text;
  } cases[] = {{1, false, "  1P"},   {999, false, "999P"}, {1000, false, "3E8h"}, {4095, false, "FFFh"},
               {4096, false, "    "}, {1, true, "  1h"},   {255, true, " FFh"},   {4095, true, "FFFh"},
               {4096, true, "    "},  {0, false, "    "}};
  for (const auto& c : cases) EXPECT_EQ(PageFieldText(c.page, c.hex), c.text) << c.page;
}

struct DamageCase {
  const char* name;
  void (*damage)(Estimate&);
  std::string plan;  // Describe() of what is planned
  int damagedLevel, damagedFirst;
  std::string a, c, d;  // fields of the first rows of A, C, D afterwards
};

// A damaged chain ends that sheet's walk: the sheet and its breakdowns are
// left unnumbered and take no page, every other sheet is numbered, no byte
// outside the first row of a numbered sheet changes, and the walk ends.
TEST_F(PagePlanTest, DamagedChainLeavesOnlyItsSheetUnnumbered) {
  const DamageCase cases[] = {
      {"a loop in sheet C", [](Estimate& e) { e.l2[5].next = 7; }, "1/1:1+3 2/1:4+1 3/1:5+2", 2, 7, "  4P", "ZZZZ",
       "  5P"},
      {"a next link past the end", [](Estimate& e) { e.l2[6].next = 50; }, "1/1:1+3 2/1:4+1 3/1:5+2", 2, 7, "  4P",
       "ZZZZ", "  5P"},
      {"a breakdown link past the end", [](Estimate& e) { e.l1[2].child = 99; }, "1/1:1+3 2/1:4+1 3/1:5+2", 2, 99,
       "  4P", "ZZZZ", "  5P"},
      {"a loop in sheet A cuts off D", [](Estimate& e) { e.l2[1].next = 1; }, "1/1:1+3 2/7:4+1 3/7:5+0", 2, 1,
       "ZZZZ", "  4P", "ZZZZ"},
      {"a breakdown link into the middle of sheet A", [](Estimate& e) { e.l1[4].child = 2; },
       "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0", 2, 2, "  4P", "  7P", "  5P"},
      {"sheet C running into sheet B", [](Estimate& e) { e.l2[5].next = 5; }, "1/1:1+3 2/1:4+1 3/1:5+2", 2, 7,
       "  4P", "ZZZZ", "  5P"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Estimate e = Sample();
    c.damage(e);
    Write(e, false);
    const std::vector<std::string> before = All();

    const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
    EXPECT_EQ(Describe(plan), c.plan);
    ASSERT_EQ(plan.damaged.size(), 1u);
    EXPECT_EQ(plan.damaged[0].level, c.damagedLevel);
    EXPECT_EQ(plan.damaged[0].firstRecord, c.damagedFirst);

    PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts);
    EXPECT_EQ(All(), With(before, {{{1, 1}, "  1P"}, {{2, 1}, c.a}, {{2, 7}, c.c}, {{3, 1}, c.d}}));
  }
}

// Rows whose breakdown links name the same first record share that sheet:
// no damage, it is planned under each of them.
TEST_F(PagePlanTest, ASharedBreakdownIsPlannedUnderEachRow) {
  Estimate e = Sample();
  e.l1[4].child = 1;
  Write(e, false);
  const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
  EXPECT_TRUE(plan.damaged.empty());
  EXPECT_EQ(Describe(plan), "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0 2/1:8+1 3/1:9+2");
}

// A level's chains are walked before the plan is laid out; the plan still
// takes them in print order: a damaged sheet under two rows is told under
// each (after the damage met before it), and a breakdown under a "U" row
// and a printed row is planned once, under the printed row.
TEST_F(PagePlanTest, SheetsAndDamageInPrintOrderWhateverTheirLevel) {
  struct Case {
    const char* name;
    void (*change)(Estimate&);
    std::string plan;
    std::vector<std::pair<int, int>> damaged;  // level, first record
  } cases[] = {
      {"damaged C shared by rows 3 and 5, D damaged before it",
       [](Estimate& e) {
         e.l1[4].child = 7;
         e.l2[5].next = 7;
         e.l3[2].next = 1;
       },
       "1/1:1+3 2/1:4+1", {{3, 1}, {2, 7}, {2, 7}}},
      {"B under the U row 2 and the printed row 5", [](Estimate& e) { e.l1[4].child = 4; },
       "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0 2/4:8+1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Estimate e = Sample();
    c.change(e);
    Write(e, false);
    const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
    EXPECT_EQ(Describe(plan), c.plan);
    std::vector<std::pair<int, int>> damaged;
    for (const PagePlanDamage& d : plan.damaged) damaged.emplace_back(d.level, d.firstRecord);
    EXPECT_EQ(damaged, c.damaged);
  }
}

// A plan of first rows only is the whole plan with each sheet's rows cut to
// its first: the same sheets, pages, lines and damage, under the special
// form (a first row marked "x" kept, on no page) and without.
TEST_F(PagePlanTest, FirstRowsOnlyKeepPagesAndLines) {
  Estimate e = Sample(3);
  e.l1[0].mark = 'x';  // the top sheet's first row left out of the special form
  e.l2[5].next = 7;    // sheet C damaged
  Write(e, false);
  for (const bool special : {false, true}) {
    for (const int perPage : {1, 2, 40}) {
      SCOPED_TRACE(std::to_string(perPage) + (special ? " special" : ""));
      PagePlanRule rule{kLen, false, perPage, special};
      PagePlan whole = PagePlanOfFiles(Base(), exts, rule);
      rule.firstRowOnly = true;
      const PagePlan first = PagePlanOfFiles(Base(), exts, rule);
      for (PagePlanSheet& s : whole.sheets)
        if (s.rows.size() > 1) s.rows.resize(1);
      ASSERT_EQ(Describe(first), Describe(whole));
      EXPECT_EQ(first.pageCount, whole.pageCount);
      for (size_t i = 0; i < whole.sheets.size(); ++i) EXPECT_EQ(Rows(first.sheets[i]), Rows(whole.sheets[i]));
      ASSERT_EQ(first.damaged.size(), whole.damaged.size());
      ASSERT_FALSE(whole.damaged.empty());
      EXPECT_EQ(first.damaged[0].firstRecord, whole.damaged[0].firstRecord);
    }
  }
}

// A record whose next link names itself ends its chain (as the sheet reader
// takes it), and a next link below 1 ends it too: no damage.
TEST_F(PagePlanTest, ChainEndsThatAreNoDamage) {
  Estimate e = Sample();
  e.l2[7].next = 8;  // C's closing record names itself
  e.l3[3].next = 0;  // D's closing record links to 0
  Write(e, false);
  const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
  EXPECT_TRUE(plan.damaged.empty());
  EXPECT_EQ(Describe(plan), "1/1:1+3 2/1:4+1 3/1:5+2 2/7:7+1 3/7:8+0");
}

// The next link of sheet A's first row in the stored forms a chain may meet:
// "none" in its several spellings ends the sheet after that row, a number
// (blanks around it) goes on to the next row; a fraction is no record number
// (the sheet reader refuses it): the sheet is damaged.
TEST_F(PagePlanTest, StoredFormsOfANextLink) {
  const struct {
    const char* base;
    const char* field;
    int rowsOfA;
  } cases[] = {{"16", "FFFF", 1}, {"16", "EEEE", 1}, {"16", "    ", 1}, {"16", " -99", 1}, {"16", "   2", 2},
               {"16", "2   ", 2}, {"10", "   0", 1}, {"10", "    ", 1}, {"10", " -99", 1}, {"10", "   2", 2},
               {"10", " 2.0", 0}, {"10", " 2  ", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " [" + c.field + "]");
    const bool hex = IsHexBase(c.base);
    Write(Sample(), hex);
    std::string level2 = Bytes(2);
    level2.replace(7, 4, c.field);
    app.Write("EST.Y2", level2);
    const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, hex, 2, false});
    ASSERT_GE(plan.sheets.size(), 2u);
    if (c.rowsOfA == 0) {
      EXPECT_EQ(plan.sheets[1].firstRecord, 7);  // sheet A left out, B is not printed
      ASSERT_EQ(plan.damaged.size(), 1u);
      EXPECT_EQ(plan.damaged[0].fault, LevelFault::BadNumber);
      continue;
    }
    EXPECT_EQ(plan.sheets[1].rows.size(), size_t(c.rowsOfA));
    EXPECT_TRUE(plan.damaged.empty());
  }
}

// A level file whose length is not a whole number of records is refused as
// every reader refuses it: its sheets are damaged and left alone, the levels
// above are numbered.
TEST_F(PagePlanTest, ALevelFileCutShortIsDamaged) {
  Write(Sample(), false);
  const std::string level3 = Bytes(3) + " ";
  app.Write("EST.Y3", level3);
  const PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
  EXPECT_EQ(Describe(plan), "1/1:1+3 2/1:4+1 2/7:5+1");
  ASSERT_EQ(plan.damaged.size(), 2u);  // D and F
  EXPECT_EQ(plan.damaged[0].fault, LevelFault::BadLength);
  PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts);
  EXPECT_EQ(Field(1, 1), "  1P");
  EXPECT_EQ(Field(2, 1), "  4P");
  EXPECT_EQ(Field(2, 7), "  5P");
  EXPECT_EQ(Bytes(3), level3);
}

// A missing level file holds no sheet: a link into it is damage, the levels
// above are numbered; a missing top level gives an empty plan. Level files
// are found without regard to letter case.
TEST_F(PagePlanTest, MissingAndDifferentlyCasedFiles) {
  Write(Sample(), false);
  std::filesystem::remove(Level(3));
  PagePlan plan = PagePlanOfFiles(Base(), exts, {kLen, false, 2, false});
  EXPECT_EQ(Describe(plan), "1/1:1+3 2/1:4+1 2/7:5+1");
  EXPECT_EQ(plan.damaged.size(), 2u);  // D and F

  std::filesystem::rename(Level(1), app.path() / "EST.y1");
  EXPECT_EQ(PageNoWrite2(Base(), app.path(), kLen, "10", 2, exts), 3);
  EXPECT_EQ(ReadAll(app.path() / "EST.y1").substr(15, 4), "  1P");

  std::filesystem::remove(app.path() / "EST.y1");
  EXPECT_TRUE(PagePlanOfFiles(Base(), exts, {kLen, false, 2, false}).sheets.empty());
}

}  // namespace
}  // namespace kv::test
