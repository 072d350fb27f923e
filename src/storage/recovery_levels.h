#pragma once
// The level files of a recovery job: which of them are sound, and their
// repair into the scratch folder. Level 1 is copied record for record with its
// broken links cut; the deeper levels keep only the sheets reachable from
// level 1, each copied depth first into consecutive records (next = own + 1).
// A sheet ends at its first broken link, a link into a level that is missing
// or unsound is cut to " -99", and every loss sets RecResult 2.
#include <functional>
#include <string>

namespace kv {

struct RecoveryContext;

// The job's level files RecWorkFolder + workName + ".Y1" .. ".Y8", looked at
// in order until one is missing: ctx.RecLevelCount becomes the number of
// consecutive sound ones (non-empty, a whole number of records of
// `recordLength`). False when a file that exists is not sound (the levels
// from it on are not restored).
bool FindLeftoverLevels(RecoveryContext& ctx, const std::string& workName, int recordLength);

// Writes the repaired level files ctx.RecOutBase + ".Y1" .. from the job's
// files, with the job's record length and number base (ctx.JobDataLen,
// ctx.JobHex). `betweenRows` runs after each level-1 record (the run looks at
// its cancel flag there and may throw to stop). Throws RecordFileError when a
// file cannot be read or written.
void RecoverJobLevels(RecoveryContext& ctx, const std::function<void()>& betweenRows);

}  // namespace kv
