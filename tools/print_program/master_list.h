#pragma once
// A classification master printed as a list (PRN_MASTLIST=ON). The data file
// is a master of 256-byte records: bytes 8-11 hold the next record's number
// (" -99" on the last), the items follow one another from byte 20. Its
// records are read in file order up to the first with " -99" in bytes 8-11,
// or the end of the file; there is no closing record and no level below it.
// The layout file names the items: "DM=1", then one Tab-separated line per
// item, its caption in field 1 and its byte width in field 4.
//
// The list prints on the pages of an estimate's level-1 sheet: the items as
// the columns (sharing the form's print columns by their widths), their
// captions at the head of every page, one master record a row, the form's
// rows a page, no totals line.
#include <string>
#include <string_view>
#include <vector>

#include "job_file.h"
#include "print_pages.h"

namespace kv::print_program {

struct PrintEstimate;

inline constexpr int kMasterListRecordBytes = 256;

struct MasterListItem {
  std::string caption;  // Shift-JIS bytes
  int width = 0;        // bytes
};

// The items of a master list's layout file; `name` names the file in a
// refusal. Throws PrintFailure when the first line is not "DM=1", when there
// is no item, more than 52, a line with fewer than four fields, a width that
// is not a whole number of at least 1, or widths that pass the record.
std::vector<MasterListItem> ParseMasterListLayout(std::string_view sjisBytes, const std::string& name);

// The master's records (each 256 bytes; a cut last record filled with
// blanks) up to the first whose bytes 8-11 read " -99", or the end.
std::vector<std::string> MasterListRecords(std::string_view bytes);

// Reads the layout file and the master file the job names into `e`: level 1
// with a column per item, the records as its level file, bytes 1-3 (where
// an estimate keeps its row marks) blanked. Throws PrintFailure naming the
// file that cannot be read or used.
void LoadMasterList(PrintEstimate& e, const PrintJob& job);

// The pages of a list of `rows` rows (at least one page), `rowsPerPage` a
// page, numbered from the job's first page number (none with 0), every copy
// after the one before.
PrintRun PlanMasterList(int rows, int rowsPerPage, const PrintJob& job);

}  // namespace kv::print_program
