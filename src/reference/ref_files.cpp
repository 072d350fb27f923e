#include "reference/ref_files.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "reference/ref_sheet.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/estimate_unpack.h"
#include "storage/level_files.h"
#include "storage/split_path.h"

namespace kv {

namespace fsys = std::filesystem;

namespace {

constexpr std::string_view kObjectExt = ".MOD";

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
           return up(x) == up(y);
         });
}

// The name part of a base path; "" when it is no plain file name.
std::string NamePart(const std::string& base) {
  const std::string name = fsys::path(base).filename().string();
  return name == "." || name == ".." ? std::string() : name;
}

// The component extensions of a work set.
std::vector<std::string> ComponentExts(const ProgramState& st) {
  std::vector<std::string> out;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i)
    if (!st.CompFileExt[static_cast<size_t>(i)].empty()) out.push_back(st.CompFileExt[static_cast<size_t>(i)]);
  return out;
}

// The file names of the sheet object files of `base` in `folder`.
std::vector<std::string> ObjectFiles(const fsys::path& folder, std::string_view base) {
  std::vector<std::string> out;
  std::error_code ec;
  for (fsys::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->is_regular_file(ec) && IsRefObjectFileName(name, base)) out.push_back(name);
  }
  return out;
}

void Rename(const fsys::path& from, const fsys::path& to) {
  std::error_code ec;
  fsys::rename(from, to, ec);
}

// Renames the work set `from` to `to` inside WORK2.
void RenameSet(ProgramState& st, const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return;
  const fsys::path folder = RefWorkFolder(st);
  std::error_code ec;
  for (const std::string& e : ComponentExts(st))
    if (fsys::exists(folder / (from + e), ec)) Rename(folder / (from + e), folder / (to + e));
  for (const std::string& f : ObjectFiles(folder, from)) Rename(folder / f, folder / (to + f.substr(from.size())));
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code ec1, ec2;
  const fsys::path pa = fsys::weakly_canonical(a, ec1);
  const fsys::path pb = fsys::weakly_canonical(b, ec2);
  if (ec1 || ec2) return a == b;
  return pa == pb;
}

// Copies `from` to `to` whole or not at all: through a temporary file renamed
// over the target.
bool CopyWhole(const fsys::path& from, const fsys::path& to) {
  const fsys::path tmp = to.string() + ".kvtmp";
  std::error_code ec;
  fsys::copy_file(from, tmp, fsys::copy_options::overwrite_existing, ec);
  if (!ec) fsys::rename(tmp, to, ec);
  if (ec) fsys::remove(tmp, ec);
  return !ec;
}

}  // namespace

bool IsRefObjectFileName(std::string_view fileName, std::string_view base) {
  if (base.empty() || fileName.size() < base.size() + 1 + 1 + kObjectExt.size()) return false;
  if (fileName.substr(0, base.size()) != base || fileName[base.size()] != '$') return false;
  const std::string_view digits =
      fileName.substr(base.size() + 1, fileName.size() - base.size() - 1 - kObjectExt.size());
  if (!EqualNoCase(fileName.substr(fileName.size() - kObjectExt.size()), kObjectExt)) return false;
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void RefWorkFilesStash(ProgramState& st, const std::string& base) {
  if (IsUntitledName(base)) return;
  RenameSet(st, NamePart(base), std::string(kRefTempBase));
}

void RefWorkFilesRestore(ProgramState& st, const std::string& base) {
  if (IsUntitledName(base)) return;
  RenameSet(st, std::string(kRefTempBase), NamePart(base));
}

void REF_WorkFileDel(ProgramState& st, const std::string& name, bool temporary) {
  if (IsUntitledName(name)) return;
  const std::string target = temporary ? std::string(kRefTempBase) : NamePart(name);
  if (target.empty()) return;
  const fsys::path folder = RefWorkFolder(st);
  std::error_code ec;
  for (const std::string& e : ComponentExts(st)) fsys::remove(folder / (target + e), ec);
  for (const std::string& f : ObjectFiles(folder, target)) fsys::remove(folder / f, ec);
}

bool RefSameFileCopy(ProgramState& st, std::string& base, bool& failed) {
  failed = false;
  if (IsUntitledName(st.RefFilePath) || IsUntitledName(st.CurrentFilePath)) return false;
  if (!SamePath(st.CurrentFilePath, st.RefFilePath)) return false;
  const std::string workName = NamePart(st.WorkFileBase);
  if (workName.empty()) return false;
  const fsys::path work = st.AppPath + st.WorkFolderName;
  const fsys::path work2 = RefWorkFolder(st);
  const std::string newBase = (work2 / workName).string();

  // The files to copy: source in WORK, target name in WORK2.
  std::vector<std::pair<fsys::path, std::string>> files;
  std::error_code ec;
  const fsys::path layout = LayoutFilePath(st, st.WorkFileBase);
  if (fsys::exists(layout, ec)) files.emplace_back(layout, fsys::path(LayoutFilePath(st, newBase)).filename().string());
  for (int n = 1; n <= kMaxLevels && n <= std::max(st.LevelCount, 1); ++n) {
    const fsys::path level = LevelFilePath(st, st.WorkFileBase, n);
    if (!fsys::exists(level, ec)) break;
    files.emplace_back(level, workName + st.LevelExt[static_cast<size_t>(n)]);
  }
  for (const std::string& f : ObjectFiles(work, workName)) files.emplace_back(work / f, f);

  // Into a private folder first; moved in only when every file is there.
  const fsys::path stage = work2 / ".ref_copy";
  fsys::remove_all(stage, ec);
  fsys::create_directories(stage, ec);
  bool ok = !ec;
  for (const auto& [from, name] : files) {
    if (!ok) break;
    fsys::copy_file(from, stage / name, fsys::copy_options::overwrite_existing, ec);
    ok = !ec;
  }
  for (const auto& [from, name] : files) {
    if (!ok) break;
    fsys::rename(stage / name, work2 / name, ec);
    ok = !ec;
  }
  fsys::remove_all(stage, ec);
  if (!ok) {
    failed = true;
    return false;
  }
  base = newBase;
  return true;
}

bool RefCustomerUnpack(ProgramState& st, const std::string& path) {
  const std::string ending = path.size() >= 3 ? path.substr(path.size() - 3) : path;
  const bool yzh = EqualNoCase(ending, "YZH");
  const bool jzh = EqualNoCase(ending, "JZH");
  if (!yzh && !jzh) return true;  // any other ending: nothing is unpacked
  const fsys::path app = st.AppPath;
  const fsys::path kvutl = app / "KVUTL.INI";
  const fsys::path variant = app / (yzh ? "KVUTLY.INI" : "KVUTLJ.INI");
  const fsys::path back = app / "KVUTLY.INI";
  std::error_code ec;
  if (!fsys::exists(variant, ec) || (jzh && !fsys::exists(back, ec))) {
    WarnMsgBox(st, "[ " + (fsys::exists(variant, ec) ? back : variant).filename().string() + " ] が見つかりません。");
    return false;
  }
  if (!CopyWhole(variant, kvutl)) {
    WarnMsgBox(st, "[ KVUTL.INI ] を書き込めません。");
    return false;
  }
  // The file-set definition now in force, read without touching the editor's.
  auto def = std::make_unique<ProgramState>(st.ui);
  def->AppPath = st.AppPath;
  std::string problem;
  if (!LevelIniRead(*def, problem)) {
    if (jzh) CopyWhole(back, kvutl);
    WarnMsgBox(st, problem);
    return false;
  }
  const SplitPathResult parts = SplitPath(*def, path);
  const PackFileSet set = PackFileSetFrom(*def);
  const int result = MMelt(parts.folder, RefWorkFolder(st), parts.name, app, set);
  if (jzh) CopyWhole(back, kvutl);
  if (result != kPackOk) {
    UnpackResult r;
    r.status = result == kPackMissing    ? UnpackStatus::Missing
               : result == kPackUnsafeEntry ? UnpackStatus::Unsafe
               : result == kPackForeign     ? UnpackStatus::Foreign
               : result == kPackTooLarge    ? UnpackStatus::TooLarge
               : result == kPackIoError     ? UnpackStatus::IoError
                                            : UnpackStatus::Damaged;
    r.file = fsys::path(path).filename().string();
    UnpackFailureShow(st, r);
    return false;
  }
  return true;
}

bool RefGeometryFits(ProgramState& st) {
  const auto mine = ReadLayoutFile(LayoutFilePath(st, st.WorkFileBase));
  const auto theirs = ReadLayoutFile(LayoutFilePath(st, st.RefWorkFileBase));
  if (!mine || !theirs) return true;
  for (int l = 1; l <= 8; ++l) {
    if (mine->counts[l] != theirs->counts[l]) return false;
    for (int c = 1; c <= std::min(mine->counts[l], kMaxColumns); ++c)
      if (mine->widths[l][c] != theirs->widths[l][c]) return false;
  }
  return true;
}

bool CheckRefSystem(const ProgramState& st) {
  if (!st.RefFitsEditor) return false;
  for (int l = 1; l <= std::min(st.LevelCount, 8); ++l) {
    if (st.RefColCount[l] != st.ColCount[l]) return false;
    for (int c = 1; c <= std::min(st.ColCount[l], kMaxColumns); ++c)
      if (st.RefColStart[l][c] != st.ColStart[l][c] || st.RefColWidth[l][c] != st.ColWidth[l][c]) return false;
  }
  return true;
}

void RefWorkFolderEmpty(ProgramState& st) {
  const fsys::path folder = RefWorkFolder(st);
  std::error_code ec;
  if (!fsys::is_directory(folder, ec)) {
    fsys::create_directories(folder, ec);
    return;
  }
  std::vector<fsys::path> entries;
  for (fsys::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  for (const fsys::path& p : entries) {
    std::error_code e;
    if (fsys::is_directory(fsys::symlink_status(p, e)))
      fsys::remove_all(p, e);
    else
      fsys::remove(p, e);
  }
}

void RefWorkFolderRemove(ProgramState& st) {
  RefWorkFolderEmpty(st);
  std::error_code ec;
  fsys::remove(RefWorkFolder(st), ec);  // stays when a file could not go
}

}  // namespace kv
