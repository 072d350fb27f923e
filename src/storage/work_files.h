#pragma once
// The work set of one estimate in the work folder: its size for packing, and
// its deletion.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// True when `fileName` is a sheet object file of the estimate named `name`:
// name + "$" + one or more digits + ".MOD", letter case aside.
bool IsObjectFileOf(std::string_view fileName, std::string_view name);

// The bytes packing the work set of estimate `name` is expected to need: 80 %
// (rounded, halves to even) of each component file of index below
// `LevelCount`, the full length of the others, the full length of every sheet
// object file, and 12000 more when there is any object file.
std::int64_t WorkFilesSize(const ProgramState& st, const std::string& name);

// Deletes the component files and sheet object files of estimate `name`;
// nothing for an untitled name. A file that cannot be deleted stays.
void WorkFilesDelete(const ProgramState& st, const std::string& name);

}  // namespace kv
