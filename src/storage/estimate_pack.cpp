#include "storage/estimate_pack.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "platform/file_set_replace.h"
#include "platform/packing.h"
#include "platform/packing_files.h"
#include "state/program_state.h"
#include "storage/level_files.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

constexpr std::uint64_t kPackCheckClusters = 1000;  // checked below this many free clusters

std::uint64_t LengthOr0(const stdfs::path& p) {
  std::error_code ec;
  if (!stdfs::is_regular_file(p, ec)) return 0;
  const std::uintmax_t n = stdfs::file_size(p, ec);
  return ec ? 0 : n;
}

}  // namespace

int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) {
  return PackEstimateFile(st, path, deleteAfter, SystemDiskProbe());
}

int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter, const DiskProbe& probe,
                     const std::function<void(int renamed)>& observer) {
  if (IsUntitledName(path)) return kEstimatePackFailed;
  const SplitPathResult parts = SplitPath(st, path);
  const stdfs::path folder = parts.folder.empty() ? stdfs::path(".") : stdfs::path(parts.folder);
  const PackFileSet set = PackFileSetFrom(st);
  const stdfs::path packed = PackedFilePath(folder, parts.name, set);
  const stdfs::path objects = OleDataFilePath(folder, parts.name, set);

  const fs::DriveKind kind = probe.kind(packed);
  if (kind == fs::DriveKind::NoRoot || kind == fs::DriveKind::CdRom) return kEstimatePackRefused;

  if (kind != fs::DriveKind::Remote) {
    const std::int64_t need = WorkFilesSize(st, parts.name);
    // A file system that cannot be asked counts as having no free cluster.
    const fs::DiskSpace space = probe.space(packed).value_or(fs::DiskSpace{});
    if (space.freeClusters < kPackCheckClusters) {
      // The two files are replaced: their room counts as free.
      const std::uint64_t free = space.FreeBytes() + LengthOr0(packed) + LengthOr0(objects);
      if (free < static_cast<std::uint64_t>(need)) return kEstimatePackRefused;
    }
  }

  const stdfs::path work(st.AppPath + st.WorkFolderName);
  const stdfs::path program(st.AppPath);
  // The start-up finds an interrupted replacement through its note in WORK;
  // notes of earlier saves that were stopped are settled now.
  fs::SettleNotedIntents(work, &ArchiveIntact);
  PairOptions options{work, observer};
  if (MCompressPair(folder, work, parts.name, program, set, options) != kPackOk) return kEstimatePackFailed;
  if (deleteAfter) WorkFilesDelete(st, parts.name);
  return kEstimatePacked;
}

}  // namespace kv
