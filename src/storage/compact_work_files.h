#pragma once
// Compaction of an estimate's work files before it is packed: the level work
// files lose their unreachable records, and (outside system kind 1) the sheet
// object files are renumbered in the order their sheets are met.
#include <filesystem>
#include <functional>
#include <string>

#include "storage/disk_space.h"

namespace kv {

struct ProgramState;
struct PackFileSet;

inline constexpr const char* kCompactingStatus = "ファイルパック中!";

// Compacts the work files of `workBase` unless it lies on a missing folder or
// a read-only file system: "ファイルパック中!" in status panel 1 meanwhile,
// the level files compacted (EstFilePack), then outside system kind 1 the
// object files (OLEFilePack), whose count, when it is 0 or more, is stored as
// [OLE] OleFileCnt of an existing settings file work base + ".INI". A damaged
// level file (reported by EstFilePack) stops there with nothing changed. When
// `workBase` is the open estimate's, the object numbers held in memory for
// the current path (`SheetObjNo`, `SheetTotalRecord`, `PathTotalRecords`, the
// closing record of `SheetRows`) follow the renumbered files.
//
// False when the level files were not compacted (damaged, or not rewritten:
// the user was told, the files are as they were); every caller then leaves
// the estimate file alone, as after a failed pack. True otherwise, also when
// nothing is done on the drive, and when the object-file compaction failed
// (it changes nothing then, and the set stays whole).
bool CompactWorkFiles(ProgramState& st, const std::string& workBase);

// The same with the file-system probe and the object-file compaction given
// (tests stand in for a read-only file system or a failing compaction).
using ObjectFilePacker = std::function<int(const std::filesystem::path& workBase,
                                           const std::filesystem::path& programFolder, int dataLen,
                                           const std::string& hLink, const PackFileSet& set)>;
bool CompactWorkFiles(ProgramState& st, const std::string& workBase, const DiskProbe& probe,
                      const ObjectFilePacker& packObjects);

}  // namespace kv
