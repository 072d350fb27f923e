#pragma once
// The classification file command (extended functions item 11): the open
// estimate is saved, the user names the new file, SiwakeMake_Frm builds its
// level files, and the new estimate is completed, packed under the new name
// and opened in place of the old one, which stays on disk as saved.
//
// The new file's lock is taken as soon as its name is accepted and released
// on every way out that does not open it; the old estimate's lock is released
// once the new one is open. Every step's result is looked at: a failure
// leaves the old estimate open, its paths, lock and flags as they were, and
// deletes the new work set.
namespace kv {

struct ProgramState;

void SiwakeFileCreate(ProgramState& st);

}  // namespace kv
