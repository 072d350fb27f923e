#pragma once
// A few changed byte ranges of some files of one folder written in place, all
// together or not at all, also when the process is killed at any instant.
//
// First a journal is written beside the files and flushed: for every file its
// name, its new size and the new bytes of every changed range, sealed by a
// checksum. Then the ranges are written into the files, each file cut or
// extended to its new size and flushed, and the journal removed. Who later
// finds a journal whose writer is gone (SettleJournals) writes it again when
// it is whole (the writes can be made any number of times) and removes a torn
// one: nothing was written in place before the journal was whole on disk.
//
// The journal carries its writer in its name, as the temporaries of a file
// set replacement do (platform/file_set_replace.h):
//   "." + label + "~" + host + "~" + pid + "~" + token + ".journal"
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_set_replace.h"

namespace kv::fs {

// The new content of one file of the folder: `writes` (offset, bytes) over
// the file as it is, then the file cut or extended to `size`.
struct FilePatch {
  std::string name;  // a plain name in the folder; the file exists
  std::uint64_t size = 0;
  std::vector<std::pair<std::uint64_t, std::string>> writes;
};

enum class PatchOutcome {
  Done,       // every file holds its new content
  Untouched,  // every file is as it was
  Pending,    // the writes failed and could not be taken back: the journal
              // stays, and the next settling finishes the set
};

// Writes the patches of files in `folder` through a journal labelled `label`.
// Unless Done, `failed` is the name of the file (or the journal) and `ec` the
// reason; a write that fails is taken back from the bytes read before it.
// `observer` sees the journal flushed (0) and each file written (1, 2, ...).
PatchOutcome PatchThroughJournal(const stdfs::path& folder, const std::string& label,
                                 const std::vector<FilePatch>& files, std::string& failed, std::error_code& ec,
                                 const RenameObserver& observer = {});

// The journals of `folder` whose writer is gone: a whole one written again
// and removed, a torn one removed. Returns the number of journals written.
int SettleJournals(const stdfs::path& folder);

}  // namespace kv::fs
