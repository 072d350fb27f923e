#pragma once
// Which rows of a job go on which page and line. The pages come from the one
// page plan of the estimate (platform/page_plan.h), begun with the job's
// sheet: a printed row stands on the page and line the plan gives it, a line
// whose row is not printed stays empty, and a page without a printed row is
// not printed. Page numbers count the plan's pages from the job's sheet, so a
// print of fewer levels or of a page range keeps the numbers of the pages it
// leaves out. In continuous printing a breakdown follows on the same page,
// after a heading line, and the pages are numbered one after the other.
#include <string>
#include <string_view>
#include <vector>

#include "job_file.h"

namespace kv::print_program {

struct PrintSheet {
  int level = 0;
  int firstRecord = 0;
  int parent = -1;        // the printed sheet above it (-1: the job's sheet)
  int parentRecord = 0;   // the row of the level above that owns it
  std::vector<int> rows;  // records of its rows in sheet order ("x" rows left out of the special form included)
  std::vector<bool> printed;  // per row: printed (not "U", not left out, inside the row range)
  std::vector<int> lineRows;  // the row numbers (from 1) of the rows that take a line, in line order
  int closingRecord = 0;  // its closing record (0: none)
};

enum class SlotKind { Empty, Row, Heading, Captions, Totals };

struct PageSlot {
  SlotKind kind = SlotKind::Empty;
  int sheet = -1;  // index into PrintRun::sheets
  int row = -1;    // Row: index into the sheet's rows
};

struct PrintPage {
  int number = 0;       // the number printed on it (0: none)
  int headSheet = -1;   // the sheet whose title and column captions head the page
  int totalsSheet = -1; // the sheet whose totals line stands below the rows (-1: none)
  int firstLine = -1;   // printing by the plan: the line of the head sheet (from 0) its first place is
  std::vector<PageSlot> places;  // one per row of the page
};

struct PrintRun {
  std::vector<PrintSheet> sheets;  // the printed sheets in print order
  std::vector<PrintPage> pages;    // in print order, every copy after the one before
};

// The pages of a job over the level files' bytes (levelBytes[0] level 1; ""
// a missing file; levelPaths name them in messages). `layoutGroup`[level]
// tells levels apart whose column captions differ (continuous printing
// repeats the captions under a heading when they change). Throws
// PrintFailure, naming the file and the record, when a chain of a printed
// level is damaged, and when there is nothing to print. A job's sheet
// without rows prints one empty page (the test print).
PrintRun PlanPrint(const std::vector<std::string_view>& levelBytes, const std::vector<std::string>& levelPaths,
                   const PrintJob& job, int rowsPerPage, int recordLength, const std::vector<int>& layoutGroup);

}  // namespace kv::print_program
