#pragma once
// The recent-file lists: the five estimates used last (`RecentFiles`, shown
// in the editor's File menu items 17..21) and the five reference files
// (`RecentRefFiles`, kept by the reference window). Element i is "<i> <path>",
// newest first; the numbers are rewritten whenever the list moves.
#include <array>
#include <string>

namespace kv {

struct ProgramState;

// Puts `path` at the head of `list`: an untitled path (containing "無題") or
// an empty one is not entered; a path already listed (compared exactly:
// paths differing in letter case are different files here) moves to the
// head, the entries before it moving down; a new path pushes the oldest out.
void AddRecentPath(std::array<std::string, 6>& list, const std::string& path);

// The path of an entry: from its third character on ("" for an empty entry).
std::string RecentEntryPath(const std::string& entry);

// AddRecentPath on `RecentFiles`, then the captions of the editor's File
// menu items 17..21 set again (the path shortened to 32 characters).
void AddRecentEstimate(ProgramState& st, const std::string& path);

// AddRecentPath on `RecentRefFiles`; the reference window shows its list
// itself.
void AddRecentReference(ProgramState& st, const std::string& path);

}  // namespace kv
