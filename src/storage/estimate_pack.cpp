#include "storage/estimate_pack.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

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

// The old estimate file, kept under a hidden name beside it while the new
// pair is written, so that it can be put back when the object pack fails.
class OldFileKeeper {
 public:
  explicit OldFileKeeper(const stdfs::path& file) {
    std::error_code ec;
    // A link is followed: the packing calls replace the file it names.
    target_ = file;
    if (stdfs::is_symlink(stdfs::symlink_status(file, ec))) {
      target_ = stdfs::weakly_canonical(file, ec);
      if (ec) return;
    }
    const stdfs::file_status status = stdfs::status(target_, ec);
    if (status.type() == stdfs::file_type::not_found) {
      ok_ = true;
      return;
    }
    if (ec) return;
    had_ = true;
    kept_ = packing::ReserveTempFile(target_);
    if (kept_.empty()) return;
    // A second name for the old file costs nothing; a copy where the file
    // system has no links.
    stdfs::remove(kept_, ec);
    if (::link(target_.c_str(), kept_.c_str()) != 0 &&
        !stdfs::copy_file(target_, kept_, stdfs::copy_options::overwrite_existing, ec)) {
      kept_.clear();
      return;
    }
    ok_ = true;
  }
  ~OldFileKeeper() {
    std::error_code ec;
    if (!kept_.empty()) stdfs::remove(kept_, ec);
  }
  OldFileKeeper(const OldFileKeeper&) = delete;
  OldFileKeeper& operator=(const OldFileKeeper&) = delete;

  bool ok() const { return ok_; }

  // The old file back in place (or no file, when there was none).
  void PutBack() {
    std::error_code ec;
    if (!had_) {
      stdfs::remove(target_, ec);
      return;
    }
    stdfs::rename(kept_, target_, ec);
    if (!ec) kept_.clear();
  }

 private:
  stdfs::path target_, kept_;
  bool had_ = false;
  bool ok_ = false;
};

}  // namespace

int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) {
  return PackEstimateFile(st, path, deleteAfter, SystemDiskProbe());
}

int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter, const DiskProbe& probe) {
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
  OldFileKeeper old(packed);
  if (!old.ok()) return kEstimatePackFailed;
  if (MCompress(folder, work, parts.name, program, set) != kPackOk) return kEstimatePackFailed;
  if (MCompOLEData(folder, work, parts.name, program, set) != kPackOk) {
    old.PutBack();
    return kEstimatePackFailed;
  }
  if (deleteAfter) WorkFilesDelete(st, parts.name);
  return kEstimatePacked;
}

}  // namespace kv
