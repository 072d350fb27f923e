#pragma once
// Work files of one folder rewritten all together or not at all, also when
// the process is killed at any instant: each new content goes to a temporary
// file beside its file, flushed to disk, and all are renamed over their files
// through one intent record (platform/file_set_replace.h). When only a small
// part of the files changes, the changed bytes are written in place through
// one journal instead (platform/record_journal.h). A start after a kill
// finishes or discards the set (SettleInterruptedSaves) and removes the
// temporaries.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_set_replace.h"

namespace kv {

// A file of the set and its whole new content.
struct WorkFileContent {
  std::filesystem::path path;
  std::string bytes;
  // The file as it is on disk, when known: its size, and the byte ranges
  // (offset, length) of `bytes` that may differ from it below that size.
  // Bytes past the old size count as changed. A set whose changes are small
  // beside its files is then written in place.
  std::optional<std::uint64_t> oldSize;
  std::vector<std::pair<std::size_t, std::size_t>> changed;
};

enum class WorkFilesReplaced {
  All,      // every file holds its new content
  None,     // every file is as it was
  Pending,  // the renames began and could not all be made: the intent record
            // stays, and the next start finishes the set
};

// Replaces the files (all in one folder) with their new contents. A file that
// exists read-only (no write permission) is refused before anything is
// written, as a file that cannot be written. Unless All, `failed` names the
// file and `ec` the reason. A new file keeps the permissions of the old one.
// `observer` sees the renames (tests stop the process there), or for a set
// written in place the journal flushed (0) and each file written (1, 2, ...).
WorkFilesReplaced ReplaceWorkFiles(const std::vector<WorkFileContent>& files, std::filesystem::path& failed,
                                   std::error_code& ec, const fs::RenameObserver& observer = {});

}  // namespace kv
