// The print program's pages over a small three-level estimate: which rows
// stand on which page and line, the numbers the pages carry, and the sheets
// and pages a job leaves out; a damaged chain stops the print with a message
// naming the file and the record.
#include "print_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stored_number.h"
#include "print_failure.h"

namespace kv::print_program {
namespace {

constexpr int kLen = 256;
constexpr int kNone = kNoRecord;

struct R {
  int next = kNone;
  int child = kNone;
  char printMark = ' ';
  char mark = ' ';
  char kind = ' ';
};
R Closing() { return {kNone, kNone, ' ', ' ', 'G'}; }

std::string FileOf(std::vector<R> recs, bool chainInOrder) {
  std::string bytes;
  for (size_t i = 0; i < recs.size(); ++i) {
    R r = recs[i];
    if (chainInOrder && r.kind != 'G' && r.next == kNone) r.next = static_cast<int>(i) + 2;
    std::string rec(kLen, ' ');
    rec[0] = r.mark;
    rec[1] = r.printMark;
    rec[2] = r.kind;
    rec.replace(3, 4, StoredNumberField(static_cast<int>(i) + 1, false));
    rec.replace(7, 4, StoredNumberField(r.next, false));
    rec.replace(11, 4, StoredNumberField(r.child, false));
    bytes += rec;
  }
  return bytes;
}

// Level 1: row 1 owns A, row 2 ("U") owns B, row 3 owns C, row 4 ("I") owns
// E, row 5 is marked "x", row 6 plain, then the closing record 7.
// Level 2: A = 1 (owns D), 2, 3 closing; B = 4, 5 closing; C = 6, 7 closing;
// E = 8, 9 closing. Level 3: D = 1, 2, 3, 4 closing.
struct Estimate {
  std::vector<R> l1 = {{kNone, 1}, {kNone, 4, 'U'}, {kNone, 6}, {kNone, 8, 'I'}, {kNone, kNone, ' ', 'x'}, {}, Closing()};
  std::vector<R> l2 = {{2, 1}, {3}, Closing(), {5}, Closing(), {7}, Closing(), {9}, Closing()};
  std::vector<R> l3 = {{2}, {3}, {4}, Closing()};
  std::vector<std::string> Files() const { return {FileOf(l1, true), FileOf(l2, false), FileOf(l3, false)}; }
};

// "number:slot,slot[+T]" per page; a slot "level/record", "-" empty, "H" a
// heading, "C" captions, "T" a totals line.
std::string Describe(const PrintRun& run) {
  std::string out;
  for (const PrintPage& p : run.pages) {
    if (!out.empty()) out += ' ';
    out += std::to_string(p.number) + ":";
    for (size_t i = 0; i < p.places.size(); ++i) {
      const PageSlot& s = p.places[i];
      if (i > 0) out += ',';
      switch (s.kind) {
        case SlotKind::Empty: out += '-'; break;
        case SlotKind::Heading: out += 'H'; break;
        case SlotKind::Captions: out += 'C'; break;
        case SlotKind::Totals: out += 'T'; break;
        case SlotKind::Row: {
          const PrintSheet& sheet = run.sheets[static_cast<size_t>(s.sheet)];
          out += std::to_string(sheet.level) + "/" + std::to_string(sheet.rows[static_cast<size_t>(s.row)]);
        }
      }
    }
    if (p.totalsSheet >= 0) out += "+T";
  }
  return out;
}

PrintJob Job(int depth) {
  PrintJob job;
  job.depth = depth;
  job.firstPageNumber = 1;
  return job;
}

PrintRun Plan(const Estimate& e, const PrintJob& job, int rowsPerPage = 2) {
  const std::vector<std::string> files = e.Files();
  const std::vector<std::string_view> views(files.begin(), files.end());
  return PlanPrint(views, {"EST.Y1", "EST.Y2", "EST.Y3"}, job, rowsPerPage, kLen, {0, 0, 0, 1});
}

TEST(PrintPages, RowsOnThePlansPagesAndLines) {
  const Estimate e;
  const struct {
    const char* name;
    PrintJob job;
    int rowsPerPage;
    std::string pages;
  } cases[] = {
      // The "U" row's line stays empty and its breakdown B is not printed,
      // nor E below the "I" row; D follows A, then C.
      {"all levels", Job(2), 2, "1:1/1,- 2:1/3,1/4 3:1/5,1/6+T 4:2/1,2/2+T 5:3/1,3/2 6:3/3,-+T 7:2/6,-+T"},
      {"non-print level marks ignored", [] { PrintJob j = Job(2); j.ignoreLevelMarks = true; return j; }(), 2,
       "1:1/1,- 2:1/3,1/4 3:1/5,1/6+T 4:2/1,2/2+T 5:3/1,3/2 6:3/3,-+T 7:2/6,-+T 8:2/8,-+T"},
      {"special form leaves the x row out", [] { PrintJob j = Job(2); j.leaveOutX = true; return j; }(), 2,
       "1:1/1,- 2:1/3,1/4 3:1/6,-+T 4:2/1,2/2+T 5:3/1,3/2 6:3/3,-+T 7:2/6,-+T"},
      {"top level only", Job(0), 2, "1:1/1,- 2:1/3,1/4 3:1/5,1/6+T"},
      {"a depth above D keeps the numbers after it", Job(1), 2,
       "1:1/1,- 2:1/3,1/4 3:1/5,1/6+T 4:2/1,2/2+T 7:2/6,-+T"},
      {"a depth below all levels", Job(9), 2,
       "1:1/1,- 2:1/3,1/4 3:1/5,1/6+T 4:2/1,2/2+T 5:3/1,3/2 6:3/3,-+T 7:2/6,-+T"},
      {"page range", [] { PrintJob j = Job(2); j.pageFrom = 3; j.pageTo = 5; return j; }(), 2,
       "3:1/5,1/6+T 4:2/1,2/2+T 5:3/1,3/2"},  // D's totals line stays on its page 6
      {"row range: its rows and their breakdowns", [] { PrintJob j = Job(2); j.rowFrom = 3; j.rowTo = 4; return j; }(), 2,
       "2:1/3,1/4+T 7:2/6,-+T"},
      {"numbers from the start box", [] { PrintJob j = Job(0); j.firstPageNumber = 11; return j; }(), 2,
       "11:1/1,- 12:1/3,1/4 13:1/5,1/6+T"},
      {"no page numbers", [] { PrintJob j = Job(0); j.firstPageNumber = 0; return j; }(), 2, "0:1/1,- 0:1/3,1/4 0:1/5,1/6+T"},
      {"a breakdown alone", [] { PrintJob j = Job(1); j.level = 2; j.firstRecord = 1; j.firstPageNumber = 4; return j; }(), 2,
       "4:2/1,2/2+T 5:3/1,3/2 6:3/3,-+T"},
      {"copies", [] { PrintJob j = Job(0); j.copies = 2; return j; }(), 3,
       "1:1/1,-,1/3 2:1/4,1/5,1/6+T 1:1/1,-,1/3 2:1/4,1/5,1/6+T"},
      // Continuous printing: printed rows one after the other, a heading
      // before a breakdown that starts inside a page, the captions again when
      // its level's differ (level 3 here), its totals line after its rows.
      {"continuous", [] { PrintJob j = Job(2); j.continuous = true; return j; }(), 6,
       "1:1/1,1/3,1/4,1/5,1/6,T 2:2/1,2/2,T,H,C,3/1 3:3/2,3/3,T,H,C,2/6 4:T,-,-,-,-,-"},
      {"continuous: no room for a heading and a row", [] { PrintJob j = Job(2); j.continuous = true; return j; }(), 4,
       "1:1/1,1/3,1/4,1/5 2:1/6,T,H,2/1 3:2/2,T,-,- 4:3/1,3/2,3/3,T 5:2/6,T,-,-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Describe(Plan(e, c.job, c.rowsPerPage)), c.pages);
  }
}

// A sheet without rows (the test print's empty sheet) prints its frame on one
// page; a job whose pages are all left out is refused.
TEST(PrintPages, EmptySheetAndNothingToPrint) {
  Estimate empty;
  empty.l1 = {Closing()};
  EXPECT_EQ(Describe(Plan(empty, Job(0))), "1:-,-+T");

  PrintJob beyond = Job(2);
  beyond.pageFrom = 20;
  EXPECT_THROW(Plan(Estimate(), beyond), PrintFailure);
}

// A damaged chain of a printed level stops the print, naming the file and the
// record; damage below the printed levels does not.
TEST(PrintPages, DamagedChainStopsThePrint) {
  const struct {
    const char* name;
    void (*damage)(Estimate&);
    int depth;
    std::string message;  // "" when the print goes on
  } cases[] = {
      {"a loop in D", [](Estimate& e) { e.l3[2].next = 1; }, 2, "[ EST.Y3 ] が壊れているため、印刷できません。\nレコード 1: レコードのリンクが循環しています"},
      {"a link past the end", [](Estimate& e) { e.l2[0].next = 40; }, 1, "[ EST.Y2 ] が壊れているため、印刷できません。\nレコード 1"},
      {"a breakdown link past the end", [](Estimate& e) { e.l1[2].child = 77; }, 1, "[ EST.Y2 ] が壊れているため、印刷できません。\nレコード 77"},
      {"damage below the printed levels", [](Estimate& e) { e.l3[2].next = 1; }, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Estimate e;
    c.damage(e);
    try {
      Plan(e, Job(c.depth));
      EXPECT_EQ(c.message, "");
    } catch (const PrintFailure& f) {
      EXPECT_NE(c.message, "");
      EXPECT_NE(std::string(f.what()).find(c.message), std::string::npos) << f.what();
    }
  }
}

}  // namespace
}  // namespace kv::print_program
