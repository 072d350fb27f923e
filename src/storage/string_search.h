#pragma once
// StringSearch2: the text search over the level work files of one work set.
//
// The program writes its conditions into KENSAKU.INI in the program folder,
// calls StringSearch2, and reads the hits back from KRESULT.INI beside it.
//
// KENSAKU.INI, section [検索条件]:
//   検索タイトル=s,w       0-based byte offset and byte width of the heading
//                          column (0,0: none)
//   検索条件件数=n         the number of current condition lines
//   1 .. n=s,w,text,blank,kind
// s and w are read from the left, blank and kind from the right, and the text
// is everything between, so a text may hold commas. Lines beyond n are left
// alone. A line is refused when s is below 0, w below 1, s + w beyond the
// record, or blank or kind is not "0" or "1".
//
// The walk: the level-1 sheet in record order and, below every row whose
// breakdown link names a sheet (and whose level is above the last), that
// breakdown's chain depth first before the next row, so hits come in the
// order one reads the estimate with every breakdown opened under its row.
// Every row counts (item, total, memo and non-print rows); closing records
// ("G" in byte 3) never do. A breakdown shared by several rows is listed
// under each of them. A sheet is read as the level reader reads it: at most
// its rows and its closing record. Each level file is read whole once and its
// chains walked with the checked walk of core/level_links.h; a missing level
// file holds no rows, and a breakdown link into it is damage of the row
// holding the link.
//
// How a condition matches a row:
// - The field is bytes s + 1 .. s + w of the record and the text the
//   condition's text, both decoded from Shift-JIS; the two codes the code
//   page gives some characters therefore match each other.
// - Characters compare as they are: letter case counts, and full-width and
//   half-width forms are different characters.
// - A half-width "*" at the start and/or the end of the text is the wildcard.
//   Without one, or with both, the field contains the rest of the text
//   anywhere; with a leading "*" only the field, its blanks at both ends
//   taken off, ends with the rest; with a trailing "*" only it begins with
//   it. A text of asterisks only matches every row. Any other "*" is an
//   ordinary character.
// - Blank flag "1": the text's blanks must stand in the field as written; a
//   line break (CR LF) of a two-line field counts as one blank. Blank flag
//   "0": every half-width and full-width blank and every line break is taken
//   out of the field and of the text before they are compared.
// - The kind (simple or compound) changes nothing.
// A row is a hit when every condition holds.
//
// KRESULT.INI, one record per hit, every line ended by CR LF, Shift-JIS:
//   the number line   level 1: "row,0"; level L >= 2: "0", the record
//                     numbers of the parents in the level files 1 .. L-1,
//                     then the row within the hit's sheet (up to nine numbers)
//   the path line     the parents' headings from level 1 down, then the row,
//                     joined by " > " ("建築工事 > 仮設工事 > 5行目"); a heading
//                     is the heading column of the parent's record, blanks
//                     off both ends and a line break read as a blank; a blank
//                     heading (or no heading column) shows the parent's row
//                     ("12行目")
//   the record        its bytes as they are (a CR LF inside it continues the
//                     record on the next line)
//   "LineEnd----"
// At most 1000 hits are written. The file is written to a temporary file in
// the program folder and renamed over KRESULT.INI when complete: a search
// that fails before it has a result leaves the old file as it was.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/level_links.h"

namespace kv {

inline constexpr int kMaxSearchHits = 1000;
inline constexpr std::string_view kSearchConditionFile = "KENSAKU.INI";
inline constexpr std::string_view kSearchResultFile = "KRESULT.INI";

// One condition line of KENSAKU.INI.
struct SearchCondition {
  int start = 0;            // 0-based byte offset of the field in the record
  int width = 0;            // byte width of the field
  std::string text;         // Shift-JIS, as the line holds it
  bool keepBlanks = true;   // blank flag "1"
  bool simple = true;       // kind "1"
};

struct SearchConditionSet {
  int titleStart = 0;  // 検索タイトル: the heading column, 0-based offset and width (0: none)
  int titleWidth = 0;
  std::vector<SearchCondition> conditions;
};

// The condition file's text read into `out`; false with `reason` (words for
// the user) when it holds no usable conditions.
bool ReadSearchConditions(std::string_view iniBytes, int dataLen, SearchConditionSet& out, std::string& reason);

// One condition made ready to test rows by the rule above.
class SearchMatcher {
 public:
  explicit SearchMatcher(const SearchCondition& condition);
  // True when the condition holds for the row record.
  bool Matches(std::string_view record) const;

 private:
  enum class Anchor { Anywhere, Begins, Ends, Every };
  size_t start_;
  size_t width_;
  bool keepBlanks_;
  Anchor anchor_ = Anchor::Anywhere;
  std::string needle_;  // display text, in the form the field is compared in
  bool needleAscii_ = true;
  std::vector<std::string> firstForms_;  // Shift-JIS forms of its first character; empty: no byte test
  mutable std::string scratch_;  // the field in that form, reused from row to row
};

enum class StringSearchStatus {
  Done,           // every hit written
  TooMany,        // more than 1000 hits found: the first 1000 written
  BadConditions,  // the condition file cannot be read or a line cannot be used
  Damaged,        // a level file is damaged: the hits before the fault written
  CannotRead,     // a level file cannot be read: nothing written
  CannotWrite,    // the result file cannot be written: the old one left as it was
};

struct StringSearchResult {
  StringSearchStatus status = StringSearchStatus::Done;
  int hits = 0;                  // hits written into KRESULT.INI
  std::string reason;            // for BadConditions, CannotRead, CannotWrite: why, in words for the user
  std::filesystem::path file;    // for Damaged and CannotRead: the level file
  LevelFileProblem problem;      // for Damaged: what was found, and where
};

// The search. `target` is the work base (folder and work name, no extension)
// of the level files, `levelExt` the extensions of levels 1, 2, ... (".Y1",
// ...; as many as the work set has levels); `folder` the program folder
// holding KENSAKU.INI; `dataLen` the record length; `hLink` "16" for
// hexadecimal links, else decimal; `maxRows` the most rows of one sheet.
StringSearchResult StringSearch2(std::string_view target, const std::filesystem::path& folder, int dataLen,
                                 std::string_view hLink, const std::vector<std::string>& levelExt, int maxRows);

}  // namespace kv
