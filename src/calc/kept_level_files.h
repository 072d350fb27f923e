#pragma once
// Level files as the last recalculation of all levels left them, kept from
// one run to the next: the memory each file is read into (reading into memory
// already in use costs no page faults), and the table of its records' links
// with the link fields it was read from, so that the next run reads again
// only the links of records whose link fields differ.
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/level_links.h"

namespace kv {

struct KeptLevelFile {
  std::string bytes;       // the memory the file is read into
  LevelLinks links;        // the links of `linkFields`, when `linksKnown`
  std::string linkFields;  // bytes 4-15 of every record, in file order
  bool linksKnown = false;
  int recordLength = 0;
  bool hex = false;
};

// What slot `slot` kept (nothing the first time, or while another caller
// holds it).
KeptLevelFile TakeKeptLevelFile(std::size_t slot);
// Kept in slot `slot` for the next taker.
void KeepLevelFile(std::size_t slot, KeptLevelFile&& file);

// Reads the whole file at `path` into `out`, reusing its memory; false with
// `ec` when it cannot be read (`out` is then unspecified).
bool ReadWholeFileInto(const std::filesystem::path& path, std::string& out, std::error_code& ec);

// The links of `file.bytes` into `file.links` and `file.linkFields`: from
// the kept table where the link fields are as kept, read again where they
// differ, all read when nothing fits. BadLength for bytes that are no whole
// number of records.
LevelFileProblem RefreshLinks(KeptLevelFile& file, int recordLength, bool hex);

// ReadWholeFileInto into `file.bytes` and then RefreshLinks, the links of
// each part of the file compared as soon as it is read (while it is still in
// the cache). False with `ec` when the file cannot be read; otherwise
// `problem` is what RefreshLinks gives.
bool ReadLevelFileInto(const std::filesystem::path& path, KeptLevelFile& file, int recordLength, bool hex,
                       std::error_code& ec, LevelFileProblem& problem);

}  // namespace kv
