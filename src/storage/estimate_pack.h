#pragma once
// Packing the work set of an estimate into its estimate file: the component
// work files into folder/name + ".YZH", the sheet object files into
// folder/name + ".OPD".
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
// The two files are replaced as a pair: each is written beside the old one
// and renamed over it when complete, and when the object pack fails the
// estimate file just written is put back to the old one. Whatever the
// result, the old ".YZH" and ".OPD" are either both replaced or both left
// exactly as they were. With `deleteAfter` the work set is deleted once
// packed. No message is shown: the callers tell the user.
int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter);
int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter, const DiskProbe& probe);

}  // namespace kv
