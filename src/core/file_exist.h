#pragma once
// Whether a file exists (with the user told of every failure), and making a
// folder path.
#include <functional>
#include <string_view>
#include <system_error>

namespace kv {

struct ProgramState;

// The lookup FileExistChk makes: true when at least one ordinary file (not a
// folder, not hidden) matches `path`, whose last element may hold the
// wildcards * and ? and is matched without letter case. A folder that does
// not exist simply holds no match; `ec` is set when the lookup itself fails.
bool FileMatchExists(std::string_view path, std::error_code& ec);

using FileLookup = std::function<bool(std::string_view path, std::error_code& ec)>;

// True when a file matches the path (see FileMatchExists). A failing lookup is
// shown to the user (title "TheKorvane") and gives false; a drive that is not
// ready (the file system answers with an input/output or connection error)
// offers Retry, which looks again, and Cancel.
bool FileExistChk(ProgramState& st, std::string_view path);

// The same with the lookup given (tests stand in for a failing drive).
bool FileExistChk(ProgramState& st, std::string_view path, const FileLookup& lookup);

// Creates every missing folder of `path` (relative paths are taken from the
// current folder, which is not changed). True when every folder of the path
// exists afterwards; otherwise the reason is shown (title
// "プログラム論理エラーです") and the result is false.
bool MakeFolderPath(ProgramState& st, std::string_view path);

}  // namespace kv
