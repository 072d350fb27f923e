#pragma once
// Writing the page numbers of an estimate into its level work files: the
// start page of every printed sheet (platform/page_plan.h) goes into its
// first row, bytes 16-18 right-aligned, byte 19 the base mark.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/page_plan.h"

namespace kv {

// The four bytes of a page field in the number base of the stored record
// numbers: decimal digits and "P", or hexadecimal digits and "h". A decimal
// page above 999 is written in hexadecimal ("3E8h"); a page above 0xFFF, or
// below 1, gives four blanks.
std::string PageFieldText(int page, bool hex);

// The plan of the level files workBase + levelExts[i] (found without regard
// to letter case; a missing file holds no sheet).
PagePlan PagePlanOfFiles(const std::filesystem::path& workBase, const std::vector<std::string>& levelExts,
                         const PagePlanRule& rule);

// Numbers the sheets of the level work files workBase + levelExts[0] (level
// 1), + levelExts[1], ...: the first row of every sheet of the plan that has
// rows gets its start page, written in place; no other byte of any record
// changes, and a field that already holds its page is not written. Sheets of
// a damaged chain, the breakdowns below "U" and "I" rows, closing records and
// a file that cannot be written are left alone. Rows per page below 1 write
// nothing. `programFolder` is the program folder (kept for the calling
// convention; the file set comes in `levelExts`), `numberBase` the `H_Link`
// text. Result: the number of sheets whose field holds the text of their
// start page afterwards (written now or before). `damaged`, when given,
// receives the plan's damaged chains.
int PageNoWrite2(const std::filesystem::path& workBase, const std::filesystem::path& programFolder,
                 int recordLength, std::string_view numberBase, int rowsPerPage,
                 const std::vector<std::string>& levelExts, std::vector<PagePlanDamage>* damaged = nullptr);

// The same for the special print form: rows marked "x" are left out of the
// printout and take no line.
int PageNoWriteOrvi(const std::filesystem::path& workBase, const std::filesystem::path& programFolder,
                    int recordLength, std::string_view numberBase, int rowsPerPage,
                    const std::vector<std::string>& levelExts, std::vector<PagePlanDamage>* damaged = nullptr);

}  // namespace kv
