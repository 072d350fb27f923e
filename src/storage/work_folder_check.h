#pragma once
// Whether a path the user picked lies in one of the program's work folders.
// The work folders are emptied when the program ends, so no estimate may be
// opened from or saved into them. The test is made on the folders as the
// file system has them: each existing element found without letter case
// when its name is not there as written, links and ".." resolved. A folder
// whose name merely contains the letters WORK ("NETWORK") is not one.
#include <string>

namespace kv {

struct ProgramState;

// True when `path` (after resolving) lies in `folder` or below it.
bool PathIsInFolder(const std::string& path, const std::string& folder);

// The estimate work folder, AppPath + WorkFolderName ("/WORK").
bool IsInWorkFolder(const ProgramState& st, const std::string& path);
// The reference work folder, AppPath + "/WORK2".
bool IsInRefWorkFolder(const ProgramState& st, const std::string& path);

}  // namespace kv
