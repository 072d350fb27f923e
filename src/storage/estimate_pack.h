#pragma once
// Packing the work set of an estimate into its estimate file: the component
// work files into folder/name + ".YZH", the sheet object files into
// folder/name + ".OPD".
#include <functional>
#include <string>

#include "storage/disk_space.h"

namespace kv {

struct ProgramState;

inline constexpr int kEstimatePacked = -1;
inline constexpr int kEstimatePackFailed = 0;   // also: the estimate is untitled
inline constexpr int kEstimatePackRefused = 1;  // unsuitable drive or not enough room

// Packs the work set `WORK`/name of the estimate file `path` (folder, name
// and extension as SplitPath gives them):
// - an untitled path (containing "無題") gives kEstimatePackFailed;
// - a missing folder or a read-only file system gives kEstimatePackRefused,
//   and so does a local file system with fewer than 1000 free clusters whose
//   free bytes, plus the lengths of the estimate's two files that will be
//   replaced, are below WorkFilesSize(name);
// - the estimate file, then the object pack; either failing gives
//   kEstimatePackFailed.
// The two files are replaced as a pair (MCompressPair): both are written
// completely beside the old ones, then renamed over them through one intent
// record, noted in WORK for the start-up. Whatever the result, and wherever
// the process stops, the ".YZH" and ".OPD" come from the same save: after a
// stop between the renames, the next open of the estimate or the next start
// finishes them. Leftovers of earlier interrupted saves of the estimate are
// removed first. With `deleteAfter` the work set is deleted once packed. No
// message is shown: the callers tell the user.
int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter);
// The same with the file-system probe given, and `observer` called after each
// rename of the pair (tests stop the process there).
int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter, const DiskProbe& probe,
                     const std::function<void(int renamed)>& observer = {});

}  // namespace kv
