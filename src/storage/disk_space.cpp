#include "storage/disk_space.h"

#include <sys/stat.h>

#include <fstream>

#include "core/window_services.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "storage/level_files.h"
#include "storage/row_record.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// The mount point of the file system a path lies on (the "drive root").
std::string DriveRootOf(const stdfs::path& path) {
  std::error_code ec;
  stdfs::path p = stdfs::absolute(path, ec);
  if (ec) p = path;
  while (!p.empty() && !stdfs::exists(p, ec) && p.has_parent_path() && p.parent_path() != p)
    p = p.parent_path();
  struct stat info {};
  if (::stat(p.c_str(), &info) != 0) return p.string();
  dev_t dev = info.st_dev;
  while (p.has_parent_path() && p.parent_path() != p) {
    struct stat up {};
    if (::stat(p.parent_path().c_str(), &up) != 0 || up.st_dev != dev) break;
    p = p.parent_path();
  }
  return p.string();
}

// nullopt when the file system need not be checked (network, or more than
// 1000 free clusters); else its free bytes (0 when unknown).
std::optional<std::uint64_t> NearlyFullFreeBytes(const stdfs::path& path, const DiskProbe& probe) {
  if (probe.kind(path) == fs::DriveKind::Remote) return std::nullopt;
  std::optional<fs::DiskSpace> space = probe.space(path);
  if (!space) return 0;
  if (space->freeClusters > kNearlyFullClusters) return std::nullopt;
  return space->FreeBytes();
}

void PlainMessage(ProgramState& st, const std::string& text) {
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, vbOKOnly, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
}

std::uint64_t FileLengthOr0(const stdfs::path& path) {
  std::error_code ec;
  auto size = stdfs::file_size(path, ec);
  return ec ? 0 : size;
}

}  // namespace

DiskProbe SystemDiskProbe() {
  return {[](const stdfs::path& p) { return fs::DriveKindOf(p); },
          [](const stdfs::path& p) { return fs::DiskSpaceOf(p); }};
}

bool FreeSpaceCheck(ProgramState& st) { return FreeSpaceCheck(st, SystemDiskProbe()); }

bool FreeSpaceCheck(ProgramState& st, const DiskProbe& probe) {
  stdfs::path base(st.WorkFileBase);
  std::optional<std::uint64_t> free = NearlyFullFreeBytes(base, probe);
  if (!free) return true;
  std::uint64_t need = static_cast<std::uint64_t>(st.DataLen > 0 ? st.DataLen : 0) * 1000u;
  if (*free >= need) return true;
  PlainMessage(st, "[ " + DriveRootOf(base) + " ]のﾃﾞｨｽｸの空き容量が有りません");
  return false;
}

bool DiskFreeGet(ProgramState& st, const std::string& workBase, const std::string& targetPath) {
  return DiskFreeGet(st, workBase, targetPath, SystemDiskProbe());
}

bool DiskFreeGet(ProgramState& st, const std::string& workBase, const std::string& targetPath,
                 const DiskProbe& probe) {
  std::optional<std::uint64_t> free = NearlyFullFreeBytes(stdfs::path(targetPath), probe);
  if (!free) return true;
  std::uint64_t total = 0;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i)
    total += FileLengthOr0(fs::ResolveNoCase(stdfs::path(workBase + st.CompFileExt[i])));
  return *free >= total;
}

bool DiskSpaceChk(ProgramState& st, const std::string& workBase) {
  return DiskSpaceChk(st, workBase, SystemDiskProbe());
}

bool DiskSpaceChk(ProgramState& st, const std::string& workBase, const DiskProbe& probe) {
  std::optional<std::uint64_t> free = NearlyFullFreeBytes(stdfs::path(workBase), probe);
  if (!free) return true;
  st.ui.SetBusyPointer(true);
  // The estimates converted here are of the older form: 256-byte records.
  constexpr size_t kOldRecord = 256;
  std::uint64_t total = 0;
  std::uint64_t lastRecords = 0;
  for (int level = 2; level <= st.LevelCount && level <= kMaxLevels; ++level) {
    stdfs::path path = LevelFilePath(st, workBase, level);
    std::error_code ec;
    if (!stdfs::is_regular_file(path, ec)) continue;
    total += FileLengthOr0(path);
    std::ifstream in(path, std::ios::binary);
    std::string rec(kOldRecord, ' ');
    while (in.read(rec.data(), static_cast<std::streamsize>(kOldRecord)))
      if (BaseStrToNum(LinkField(rec, kNextPos), st) == kNoRecord) ++lastRecords;
  }
  st.ui.SetBusyPointer(false);
  std::uint64_t need = total + kOldRecord * lastRecords + kOldRecord;
  if (*free >= need) return true;
  PlainMessage(st,
               "空スペースが無いのでディスクに書き込めません\nユーティリティーなどでディスクの整理をして下さい！！");
  return false;
}

}  // namespace kv
