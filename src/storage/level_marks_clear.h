#pragma once
// Clearing one print mark from every record of an estimate's level work
// files, on disk, without reading the sheets.
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// What the clearing came to: `ok`, or the file it stopped at and why.
struct LevelMarksClearResult {
  bool ok = true;
  std::filesystem::path file;
  std::string detail;
};

// In the level work files 1 .. `LevelCount` of `workBase` that exist, every
// whole record of `recordLength` bytes whose byte `position` (from 1) holds
// `mark` gets a blank there; no other byte changes. Each mark is replaced in
// place, so a file that cannot be read or written stops the clearing with
// whole records only (the next run finishes the job). A file that cannot be
// written is an error only when it holds the mark. A tail shorter than a
// record is left as it is.
LevelMarksClearResult NotPrnLevelLineClear(const ProgramState& st, std::string_view workBase, int recordLength,
                                           char mark, int position);

}  // namespace kv
