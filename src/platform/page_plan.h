#pragma once
// The page plan of an estimate: which sheets are printed, in which order, on
// which pages, and the page and line of each of their rows. The page numbers
// stored in the level work files, the status bar's page panel and the print
// program all count pages by this one plan, so the screen and the paper agree.
//
// The rule:
// - Sheets come in print order: the level-1 sheet, then after each sheet the
//   breakdown sheets of its rows in row order, each followed at once by its
//   own breakdowns (depth first), down to the last level file given.
// - A sheet's rows are the records of its chain before its closing record
//   (the level-1 sheet: the records of its file in record order). Every
//   sheet starts a new page and takes ceil(rows / rows per page) pages; pages
//   break every `rowsPerPage` rows of the sheet, non-print rows ("U") keeping
//   their places. A sheet without rows takes no page.
// - The breakdown below a row marked "U" or "I" (byte 2) is not printed: its
//   sheets and all below them take no pages. With `ignoreLevelMarks` only the
//   "U" rows keep theirs out: the breakdowns below "I" rows take pages like
//   any other.
// - The plan begins with the level-1 sheet, or with the sheet of another
//   level named in the rule (`startLevel`, `startRecord`): that sheet takes
//   page 1 and the walk covers it and its breakdowns only.
// - With `leaveOutX` (the special print form) rows marked "x" in byte 1 are
//   left out of the printout and take no line.
// - Rows per page below 1: no page at all (an empty plan).
//
// Every chain is walked by the one checked walk (core/level_links.h): a next
// link below 1 (or naming its own record) ends a chain; a bad stored number,
// a link past the end of its file, a loop, a chain entered in its middle or
// running into another, or a level file that is not a whole number of
// records marks the sheet damaged. A damaged sheet takes no pages and its
// breakdowns are not visited; the other sheets are planned as usual. Rows
// whose breakdown links name the same first record share that breakdown: it
// is planned under each of them.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/level_links.h"

namespace kv {

// Row record fields (1-based byte positions) the plan reads and the page
// numbers are written to.
inline constexpr int kPageMarkPos = 1;         // record mark: "x" special print mark
inline constexpr int kPagePrintMarkPos = 2;    // print mark: "U" non-print row, "I" non-print level
inline constexpr int kPageKindPos = 3;         // row kind: "G" closing record
inline constexpr int kPageNextPos = 8;         // next record of the sheet
inline constexpr int kPageChildPos = 12;       // first record of the row's breakdown
inline constexpr int kPageFieldPos = 16;       // bytes 16-18 start page, byte 19 its base mark
inline constexpr int kPageFieldWidth = 4;

struct PagePlanRow {
  int record = 0;  // record number in its level file
  int page = 0;    // 0: left out of the printout ("x" in the special form)
  int line = 0;    // 1 .. rows per page on its page; 0 when left out
};

struct PagePlanSheet {
  int level = 0;        // 1 .. levels
  int firstRecord = 0;  // record of its first row (or of its closing record when it has no row)
  int firstPage = 0;    // the page it starts on (the next free page when it takes none)
  int pageCount = 0;
  int parentRecord = 0;  // the row of the level above that owns it (0: the sheet the plan begins with)
  std::vector<PagePlanRow> rows;  // in sheet order, closing record excluded
};

// A sheet whose chain is damaged: left out of the plan with all below it.
struct PagePlanDamage {
  int level = 0;
  int firstRecord = 0;  // where its chain begins
  int record = 0;       // the damaged record (0: the file as a whole, or a
                        // first record past its end)
  LevelFault fault = LevelFault::None;
};

struct PagePlan {
  std::vector<PagePlanSheet> sheets;  // in print order
  std::vector<PagePlanDamage> damaged;
  int pageCount = 0;                  // pages of the whole estimate
};

struct PagePlanRule {
  int recordLength = 0;  // bytes of a record (256 or 512)
  bool hex = false;      // stored record numbers in hexadecimal
  int rowsPerPage = 0;
  bool leaveOutX = false;  // the special print form
  bool ignoreLevelMarks = false;  // the breakdowns below "I" rows are planned too
  int startLevel = 1;   // the level of the sheet the plan begins with
  int startRecord = 1;  // below level 1: the first record of that sheet's chain
  // Each sheet's `rows` hold its first row only (for a caller that needs no
  // more); pages and page counts stay those of the whole plan.
  bool firstRowOnly = false;
};

// The plan over the level files' bytes: levelBytes[0] is level 1's file,
// levelBytes[1] level 2's, and so on (an empty view: a missing file).
PagePlan PagePlanMake(const std::vector<std::string_view>& levelBytes, const PagePlanRule& rule);

// The same plan made from the records of the level files taken in one at a
// time, for files read a piece at a time and not held whole: `Level` gives a
// level file's length (0 for a missing or unreadable file, again to start
// the level over), `Record` each of its whole records 1, 2, ... in turn, and
// `Make` the plan once every level has been given.
class PagePlanBuilder {
 public:
  PagePlanBuilder(size_t levels, const PagePlanRule& rule);
  ~PagePlanBuilder();
  PagePlanBuilder(const PagePlanBuilder&) = delete;
  PagePlanBuilder& operator=(const PagePlanBuilder&) = delete;

  // Level lv (0-based) holds `length` bytes; its records come next.
  void Level(size_t lv, std::int64_t length);
  // Record n (1-based, `recordLength` bytes at `rec`) of level lv.
  void Record(size_t lv, int n, const char* rec);
  PagePlan Make();

 private:
  class Walk;
  std::unique_ptr<Walk> walk_;
};

}  // namespace kv
