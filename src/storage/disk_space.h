#pragma once
// Disk-space checks made before work files are written. A check is made only
// on a local file system that is nearly full (1000 free clusters or fewer);
// a network file system is never checked, and a file system whose free space
// cannot be learnt counts as full.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/fs.h"

namespace kv {

struct ProgramState;

inline constexpr std::uint64_t kNearlyFullClusters = 1000;

// How the checks learn the kind and the free space of a file system (tests
// stand in for a nearly full one).
struct DiskProbe {
  std::function<fs::DriveKind(const std::filesystem::path&)> kind;
  std::function<std::optional<fs::DiskSpace>(const std::filesystem::path&)> space;
};
DiskProbe SystemDiskProbe();

// Room to record a sheet on the file system of `WorkFileBase`: `DataLen` ×
// 1000 free bytes. Otherwise shows "[ <root> ]のﾃﾞｨｽｸの空き容量が有りません"
// and gives false.
bool FreeSpaceCheck(ProgramState& st);
bool FreeSpaceCheck(ProgramState& st, const DiskProbe& probe);

// Room on the file system of `targetPath` for the component files of the work
// base (their total length). No message.
bool DiskFreeGet(ProgramState& st, const std::string& workBase, const std::string& targetPath);
bool DiskFreeGet(ProgramState& st, const std::string& workBase, const std::string& targetPath,
                 const DiskProbe& probe);

// Room to add a closing record to every sheet of levels 2 and deeper: the
// length of those level files + 256 bytes for each 256-byte record whose next
// link reads -99, + 256. Otherwise shows the message and gives false.
bool DiskSpaceChk(ProgramState& st, const std::string& workBase);
bool DiskSpaceChk(ProgramState& st, const std::string& workBase, const DiskProbe& probe);

}  // namespace kv
