#pragma once
// Where the level work files of a work set lie, and how a damaged or
// unreadable level file is reported to the user.
#include <filesystem>
#include <string>
#include <string_view>

#include "storage/level_chain.h"

namespace kv {

struct ProgramState;

// The level work file of `level` (1..8) of a work base: work base + the
// level's extension. An existing file whose name differs only in letter case
// is that file.
std::filesystem::path LevelFilePath(const ProgramState& st, std::string_view workBase, int level);

// True when a path or work name is the untitled estimate's (contains "無題").
bool IsUntitledName(std::string_view path);

// The warning for a level work file found damaged.
void LevelFileFaultShow(ProgramState& st, const std::filesystem::path& file,
                        const LevelFileProblem& problem);

// The warning for a level work file the file system could not read or write.
void LevelFileErrorShow(ProgramState& st, const std::filesystem::path& file, std::string_view detail);

}  // namespace kv
