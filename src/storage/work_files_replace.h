#pragma once
// Work files of one folder rewritten all together or not at all, also when
// the process is killed at any instant: each new content goes to a temporary
// file beside its file, flushed to disk, and all are renamed over their files
// through one intent record (platform/file_set_replace.h). A start after a
// kill finishes or discards the set (SettleInterruptedSaves) and removes the
// temporaries.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_set_replace.h"

namespace kv {

// A file of the set and its whole new content.
struct WorkFileContent {
  std::filesystem::path path;
  std::string bytes;
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
// `observer` sees the renames (tests stop the process there).
WorkFilesReplaced ReplaceWorkFiles(const std::vector<WorkFileContent>& files, std::filesystem::path& failed,
                                   std::error_code& ec, const fs::RenameObserver& observer = {});

}  // namespace kv
