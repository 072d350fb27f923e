#pragma once
// The file-existence check and folder making of core/file_exist.h over the
// program state: messages through its UI, the floating windows it has open
// lowered around them.
#include <string_view>

#include "core/file_exist.h"

namespace kv {

struct ProgramState;

// True when a file matches the path (see FileMatchExists). A failing lookup is
// shown to the user (title "TheKorvane") and gives false; a drive that is not
// ready (the file system answers with an input/output or connection error)
// offers Retry, which looks again, and Cancel.
bool FileExistChk(ProgramState& st, std::string_view path);

// The same with the lookup given (tests stand in for a failing drive).
bool FileExistChk(ProgramState& st, std::string_view path, const FileLookup& lookup);

// MakeFolderPath with the reason shown through the state's UI.
bool MakeFolderPath(ProgramState& st, std::string_view path);

}  // namespace kv
