#pragma once
// The jobs a recovery can offer: the level-1 work files "*.Y1" of named
// estimates left in the work folder WORK by a run that did not end normally.
// Work names beginning "無題" (the untitled estimate) or "自分参考" are never
// offered.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;
struct RecoveryContext;

// True when a ".Y1" file name may be offered: after trimming blanks and
// upper-casing, it begins neither with "無題" nor with "自分参考".
bool IsRecoverableJobFile(std::string_view fileName);

// The offered ".Y1" file names (each with its extension) of AppPath/WORK, in
// name order; sets ctx.RecWorkFolder = AppPath + "/WORK/".
std::vector<std::string> GetRecoverFileList(const ProgramState& st, RecoveryContext& ctx);

// True when AppPath/WORK holds the level-1 work file of a named estimate. A
// missing WORK folder holds none. Changes nothing.
bool RecoverFilesExist(const ProgramState& st);

// Before the start-up looks for jobs: replacements a stopped run left
// unfinished are finished or undone (platform/file_set_replace.h): the level
// files of a work set compacted in WORK, and the estimate files (".YZH" and
// ".OPD") whose save left a note in WORK. Then the temporaries in WORK of
// runs that are gone are removed. Nothing of a running program is touched.
void SettleInterruptedSaves(const ProgramState& st);

// The check when the wizard loads: 0 ready (`fileList` holds the jobs); 1 no
// job; 2 no AppPath/KVUTL.INI (2 wins over 1).
int RecoverStartCheck(const ProgramState& st, RecoveryContext& ctx, std::vector<std::string>& fileList);

}  // namespace kv
