#pragma once
// The layout file of an estimate (work base + "." + second character of the
// level-1 extension + "$", normally ".Y$"): every column definition of every
// level as text lines, Shift-JIS, CR LF.
//
//   DM=<level>
//   heading<TAB>type<TAB>decimals<TAB>width<TAB>row def<TAB>total def<TAB>carry def<TAB>total text<TAB>masks
//
// one "DM=" line per level 1..LevelCount, then one line per column. Heading and
// total text are exactly the column's width in bytes; masks are the codes of
// screens 0..5 and the code of the level's current screen.
//
// The readers check the whole file before they use any of it: the levels must
// follow one another from DM=1 up to at most DM=8, a level holds at most 52
// columns, a column line has at least 8 Tab-separated fields (the ninth, the
// masks, may be missing), its width is not negative, and every line is sound
// Shift-JIS. A file that fails is refused with a message naming the line;
// the tables stay as they were.
#include <array>
#include <optional>
#include <string>

#include "platform/fs.h"
#include "state/column_tables.h"

namespace kv {

struct ProgramState;

// The layout file of a work base.
std::string LayoutFilePath(const ProgramState& st, const std::string& workBase);

// The text of the layout file from the current column tables.
std::string LayoutText(const ProgramState& st);

// Writes the layout file of `workBase` from the current column tables,
// replacing it only once it is written whole (flushed to disk unless told
// otherwise, see fs::WriteFileAtomic). False (after a message) when it cannot
// be written.
bool WriteLayoutFile(ProgramState& st, const std::string& workBase, fs::Flush flush = fs::Flush::Flushed);

// What a layout file says of its columns, for comparing two layouts.
struct LayoutSummary {
  std::array<int, 9> counts{};             // columns of each level
  LevelColumnTable<std::string> headings;  // field 1, as stored
  LevelColumnTable<std::string> types;     // field 2
  LevelColumnTable<std::string> decimals;  // field 3
  LevelColumnTable<std::string> widths;    // field 4
};

// Reads a layout file for comparison. nullopt when the file is missing or
// refused; `problem` (when given) then receives why ("" when missing).
std::optional<LayoutSummary> ReadLayoutFile(const std::string& path, std::string* problem = nullptr);

// True when the layout files of the two work bases differ in a level's column
// count, or in the type code, decimals or width of a column they share. False
// for the same base and when either file is missing. A file that exists but
// is refused is reported and counts as missing.
bool LayoutsDiffer(ProgramState& st, const std::string& workBaseA, const std::string& workBaseB);

// The question asked when an estimate's layout differs from the current one.
std::string LayoutDiffersQuestion(const std::string& name);

// Makes the layout file of `workBase` current: rebuilds the column tables of
// every level it holds (deeper levels keep theirs), then the derived columns.
// False, with the tables unchanged, when the file is missing or refused, or
// when the calculation engine finds the definitions refer to each other in a
// cycle or too deeply.
bool LoadEditLayout(ProgramState& st, const std::string& workBase);

// The same for the layout file at `path` (the print program is handed its
// path).
bool LoadLayoutFile(ProgramState& st, const std::string& path);

// Reads the layout file of the reference work set into the reference tables.
// False, with the reference tables unchanged, when the file is missing or
// refused.
bool LoadRefLayout(ProgramState& st, const std::string& workBase);

// True when a column 1..ColCount(level) of the current / reference layout has
// a type code beginning "W" (two grid rows per record).
bool LevelHasWColumn(const ProgramState& st, int level);
bool RefLevelHasWColumn(const ProgramState& st, int level);

}  // namespace kv
