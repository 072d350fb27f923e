#include "storage/estimate_unpack.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/packing_files.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/split_path.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

constexpr size_t kYtRecordLen = 40;
constexpr size_t kYtRecords = 50;

UnpackStatus FromPackCode(int code) {
  switch (code) {
    case kPackOk:
      return UnpackStatus::Done;
    case kPackMissing:
      return UnpackStatus::Missing;
    case kPackDamaged:
      return UnpackStatus::Damaged;
    case kPackUnsafeEntry:
      return UnpackStatus::Unsafe;
    case kPackForeign:
    case kPackBadArgument:
    case kPackNothingToPack:
      return UnpackStatus::Foreign;
    case kPackTooLarge:
      return UnpackStatus::TooLarge;
    default:
      return UnpackStatus::IoError;
  }
}

UnpackResult Fail(UnpackStatus status, const stdfs::path& file) { return {status, file.string()}; }

stdfs::path FolderOf(const SplitPathResult& parts) {
  return parts.folder.empty() ? stdfs::path(".") : stdfs::path(parts.folder);
}

bool EnsureFolder(const stdfs::path& folder) {
  std::error_code ec;
  if (stdfs::is_directory(folder, ec)) return true;
  stdfs::create_directories(folder, ec);
  return stdfs::is_directory(folder, ec);
}

// The new work set of `name`, complete in `staging`, replaces the old one in
// `target`: every component file, object file and file of a new file's name
// is moved aside, the new files moved in; any failure undoes every move.
bool InstallWorkSet(const stdfs::path& staging, const stdfs::path& target, const std::string& name,
                    const PackFileSet& set) {
  std::optional<std::vector<std::string>> fresh = packing::RegularFileNames(staging);
  std::optional<std::vector<std::string>> existing = packing::RegularFileNames(target);
  if (!fresh || !existing) return false;
  const stdfs::path old = staging / "old";
  std::error_code ec;
  if (!stdfs::create_directory(old, ec)) return false;

  auto belongs = [&](const std::string& f) {
    if (IsObjectFileName(f, name)) return true;
    for (const std::string& ext : set.CompFileExt)
      if (!ext.empty() && packing::EqualsNoCase(f, name + ext)) return true;
    return packing::FindNoCase(*fresh, f).has_value();
  };
  packing::RenameJournal journal;
  for (const std::string& f : *existing)
    if (belongs(f) && !journal.Move(target / f, old / f)) return false;
  for (const std::string& f : *fresh)
    if (!journal.Move(staging / f, target / f)) return false;
  journal.Commit();
  packing::SyncPath(target, true);
  return true;
}

// The folder to hand the packing calls for a packed file: they look for it
// under its name with the extension as the file set writes it, so a file
// whose name differs only in letter case ("EST.yzh") is reached through a
// link of that name in a folder of the staging area.
stdfs::path PackFolderFor(const stdfs::path& canonical, const stdfs::path& staging) {
  const stdfs::path real = fs::ResolveNoCase(canonical);
  std::error_code ec;
  if (real == canonical || !stdfs::is_regular_file(real, ec)) return canonical.parent_path();
  const stdfs::path links = staging / "linked";
  stdfs::create_directory(links, ec);
  stdfs::create_symlink(stdfs::absolute(real, ec), links / canonical.filename(), ec);
  return ec ? canonical.parent_path() : links;
}

// The packed estimate (and its object pack) unpacked into staging.
UnpackResult MeltInto(ProgramState& st, const SplitPathResult& parts, const stdfs::path& staging,
                      const PackFileSet& set) {
  const stdfs::path folder = FolderOf(parts);
  const stdfs::path program(st.AppPath);
  const stdfs::path packed = PackedFilePath(folder, parts.name, set);
  if (int r = MMelt(PackFolderFor(packed, staging), staging, parts.name, program, set); r != kPackOk)
    return Fail(FromPackCode(r), packed);
  if (IniGetInt("OLE", "OleFileCnt", staging / (parts.name + ".INI")) >= 1) {
    // The settings name object files: without them the estimate is not whole.
    const stdfs::path objects = OleDataFilePath(folder, parts.name, set);
    if (int r = MMeltOLEData(PackFolderFor(objects, staging), staging, parts.name, program, set);
        r != kPackOk)
      return Fail(FromPackCode(r), objects);
  }
  return {};
}

// 50 records of 40 bytes: the source's records in order, the last one
// padded, the rest blank.
std::string ProjectInfoRecords(const std::string& bytes) {
  std::string out;
  out.reserve(kYtRecordLen * kYtRecords);
  for (size_t r = 0; r < kYtRecords; ++r) {
    std::string rec;
    if (r * kYtRecordLen < bytes.size()) rec = bytes.substr(r * kYtRecordLen, kYtRecordLen);
    rec.resize(kYtRecordLen, ' ');
    out += rec;
  }
  return out;
}

// Copies the existing files folder/name + each suffix into staging. The
// first suffix names the file the user opened: without it there is nothing.
UnpackResult CopyInto(ProgramState& st, const SplitPathResult& parts, const stdfs::path& staging,
                      const std::vector<std::string>& suffixes, bool rewriteProjectInfo) {
  const stdfs::path folder = FolderOf(parts);
  for (size_t i = 0; i < suffixes.size(); ++i) {
    const std::string fileName = parts.name + suffixes[i];
    const stdfs::path source = fs::ResolveNoCase(folder / fileName);
    std::error_code ec;
    if (!stdfs::is_regular_file(source, ec)) {
      if (i == 0) return Fail(UnpackStatus::Missing, source);
      continue;
    }
    if (rewriteProjectInfo && st.SystemKind == 4 && packing::EqualsNoCase(suffixes[i], ".YT")) {
      std::optional<std::string> bytes = fs::ReadFileBytes(source, ec);
      if (!bytes || !fs::WriteFileAtomic(staging / fileName, ProjectInfoRecords(*bytes), ec))
        return Fail(UnpackStatus::IoError, source);
      continue;
    }
    if (!stdfs::copy_file(source, staging / fileName, ec)) return Fail(UnpackStatus::IoError, source);
  }
  return {};
}

UnpackResult Unpack(ProgramState& st, const std::string& path, const stdfs::path& target,
                    bool referenceOnly) {
  const SplitPathResult parts = SplitPath(st, path);
  const PackFileSet set = PackFileSetFrom(st);
  const std::string ext = packing::FoldCase(parts.extension);

  enum class Kind { Packed, Components, Numbered } kind;
  if (!ext.empty() && ext == packing::FoldCase(set.PackedExt)) {
    kind = Kind::Packed;
  } else if (!referenceOnly && !ext.empty() && st.CompFileCount >= 1 &&
             ext == packing::FoldCase(st.CompFileExt[1])) {
    kind = Kind::Components;
  } else if (!referenceOnly && ext == ".S1") {
    kind = Kind::Numbered;
  } else {
    return Fail(UnpackStatus::NotEstimate, path);
  }
  if (!packing::IsPlainName(parts.name)) return Fail(UnpackStatus::Foreign, path);
  if (!EnsureFolder(target)) return Fail(UnpackStatus::IoError, path);

  packing::TempFolder staging(target, "kvopen");
  if (!staging.ok()) return Fail(UnpackStatus::IoError, path);
  UnpackResult r;
  if (kind == Kind::Packed) {
    r = MeltInto(st, parts, staging.path(), set);
  } else {
    std::vector<std::string> suffixes;
    for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i)
      suffixes.push_back(kind == Kind::Components ? st.CompFileExt[static_cast<size_t>(i)]
                                                  : ".S" + std::to_string(i));
    r = CopyInto(st, parts, staging.path(), suffixes, kind == Kind::Components);
  }
  if (!r.ok()) return r;
  if (!InstallWorkSet(staging.path(), target, parts.name, set)) return Fail(UnpackStatus::IoError, path);
  return {};
}

}  // namespace

UnpackResult UnpackEstimateFile(ProgramState& st, const std::string& path) {
  return Unpack(st, path, stdfs::path(st.AppPath + st.WorkFolderName), false);
}

UnpackResult UnpackReferenceFile(ProgramState& st, const std::string& path) {
  const std::string folder = st.RefWorkFolderName.empty() ? "/WORK2" : st.RefWorkFolderName;
  return Unpack(st, path, stdfs::path(st.AppPath + folder), true);
}

std::string UnpackFailureText(const UnpackResult& result) {
  const std::string& f = result.file;
  switch (result.status) {
    case UnpackStatus::Done:
      return {};
    case UnpackStatus::NotEstimate:
    case UnpackStatus::Foreign:
      return "[ " + f + " ] は見積データではないため開けません。";
    case UnpackStatus::Missing:
      return "見積データ [ " + f + " ] が見つかりません。";
    case UnpackStatus::Damaged:
      return "見積データ [ " + f + " ] は壊れているため開けません。";
    case UnpackStatus::Unsafe:
      return "見積データ [ " + f + " ] には作業フォルダの外を指すファイル名が含まれているため開けません。";
    case UnpackStatus::TooLarge:
      return "見積データ [ " + f + " ] は展開後の大きさが大きすぎるため開けません。";
    case UnpackStatus::IoError:
      return "見積データ [ " + f + " ] を作業フォルダへ読み込めませんでした。";
  }
  return {};
}

void UnpackFailureShow(ProgramState& st, const UnpackResult& result) {
  if (!result.ok()) WarnMsgBox(st, UnpackFailureText(result));
}

}  // namespace kv
