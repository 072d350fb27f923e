#pragma once
// Whole-file steps of the settings: is a file there, and copying a template
// into place without ever overwriting a file that could not be checked.
#include <optional>
#include <string>

namespace kv {

struct ProgramState;

// True or false when the lookup answered; nullopt (after a message) when the
// file system could not be asked.
std::optional<bool> SettingsFileExists(ProgramState& st, const std::string& path);

// Copies `from` to `to`, replacing `to` only once the copy is whole. False
// (after a message) when it cannot be read or written.
bool CopySettingsFile(ProgramState& st, const std::string& from, const std::string& to);

}  // namespace kv
