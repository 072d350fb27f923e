#pragma once
// Whether a file exists (with the user told of every failure), and making a
// folder path.
#include <functional>
#include <string_view>
#include <system_error>

#include "core/window_services.h"

namespace kv {

// The lookup FileExistChk makes: true when at least one ordinary file (not a
// folder, not hidden) matches `path`, whose last element may hold the
// wildcards * and ? and is matched without letter case. A folder that does
// not exist simply holds no match; `ec` is set when the lookup itself fails.
bool FileMatchExists(std::string_view path, std::error_code& ec);

using FileLookup = std::function<bool(std::string_view path, std::error_code& ec)>;

// True when a file matches the path (`lookup`: FileMatchExists, or a stand-in
// for a failing drive). A failing lookup is shown to the user (title
// "TheKorvane", the floating windows lowered around the box) and gives false;
// a drive that is not ready (the file system answers with an input/output or
// connection error) offers Retry, which looks again, and Cancel. The forms
// over the program state are in state/file_exist_check.h.
bool FileExistChk(Ui& ui, std::string_view path, const FileLookup& lookup,
                  const FloatWindowsHook& floatWindows);

// Creates every missing folder of `path` (relative paths are taken from the
// current folder, which is not changed). True when every folder of the path
// exists afterwards; otherwise the reason is shown (title
// "プログラム論理エラーです") and the result is false.
bool MakeFolderPath(Ui& ui, std::string_view path);

}  // namespace kv
