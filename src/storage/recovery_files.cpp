#include "storage/recovery_files.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <system_error>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/packing_files.h"
#include "state/file_set_def.h"
#include "storage/recovery_context.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

std::string TrimBlanks(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The existing file folder/name, found without letter case.
std::optional<stdfs::path> Existing(const stdfs::path& folder, const std::string& name) {
  std::optional<stdfs::path> found = fs::FindNoCase(folder, name);
  std::error_code ec;
  if (found && !stdfs::is_regular_file(*found, ec)) return std::nullopt;
  return found;
}

bool CopyFile(const stdfs::path& from, const stdfs::path& to) {
  std::error_code ec;
  stdfs::copy_file(from, to, stdfs::copy_options::overwrite_existing, ec);
  return !ec;
}

}  // namespace

bool DosComponentExt(const stdfs::path& appPath, int index, std::string& ext) {
  std::string value;
  IniGetString("DOS版見積DATA", std::to_string(index), value, appPath / "KVUTL.INI");
  value = TrimBlanks(value);
  if (value.empty()) {
    ext.clear();
    return false;
  }
  ext = "." + value;
  return true;
}

std::vector<std::string> DosComponentExts(const stdfs::path& appPath) {
  std::vector<std::string> exts;
  std::string ext;
  for (int i = 1; i <= kMaxCompFiles && DosComponentExt(appPath, i, ext); ++i) exts.push_back(ext);
  return exts;
}

bool IsRecoveredLevelExt(const std::string& ext) {
  for (int level = 1; level <= kRecMaxLevels; ++level)
    if (fs::NameEqualsNoCase(ext, ".Y" + std::to_string(level))) return true;
  return false;
}

bool CopyComponentFiles(const std::vector<std::string>& exts, const stdfs::path& sourceBase,
                        const stdfs::path& destinationBase, std::string& failed) {
  const stdfs::path sourceFolder = sourceBase.parent_path();
  const std::string sourceName = sourceBase.filename().string();
  const stdfs::path destinationFolder = destinationBase.parent_path();
  const std::string destinationName = destinationBase.filename().string();
  for (const std::string& ext : exts) {
    if (IsRecoveredLevelExt(ext)) continue;
    std::optional<stdfs::path> source = Existing(sourceFolder, sourceName + ext);
    if (!source || fs::FindNoCase(destinationFolder, destinationName + ext)) continue;
    if (!CopyFile(*source, destinationFolder / (destinationName + ext))) {
      failed = source->string();
      return false;
    }
  }
  return true;
}

void DeleteDosComponentFiles(const std::vector<std::string>& exts, const stdfs::path& base) {
  const stdfs::path folder = base.parent_path();
  const std::string name = base.filename().string();
  const std::vector<std::string> names = packing::RegularFileNames(folder).value_or(std::vector<std::string>{});
  for (const std::string& ext : exts) {
    // Every spelling of the name: "A.INI" and "A.ini" are one file to the program.
    std::error_code ec;
    for (const std::string& found : packing::AllNoCase(names, name + ext)) stdfs::remove(folder / found, ec);
  }
}

void DeleteJobWorkFiles(const RecoveryContext& ctx, int systemKind, const std::vector<std::string>& exts,
                        const stdfs::path& base) {
  DeleteDosComponentFiles(exts, base);
  if (systemKind != 2 && systemKind != 4) return;
  std::error_code ec;
  for (const std::string& name : ctx.RecObjFiles) stdfs::remove(base.parent_path() / name, ec);
}

std::string RenamedObjectFile(const std::string& fileName, const std::string& workName, const std::string& newBase) {
  return newBase + fileName.substr(std::min(workName.size(), fileName.size()));
}

bool CopySheetObjectFiles(RecoveryContext& ctx, const stdfs::path& sourceFolder, const stdfs::path& destinationFolder,
                          const std::string& workName, const std::string& newBase, std::string& failed) {
  ctx.RecObjFiles.clear();
  for (const std::string& name : packing::RegularFileNames(sourceFolder).value_or(std::vector<std::string>{}))
    if (IsObjectFileName(name, workName)) ctx.RecObjFiles.push_back(name);
  for (const std::string& name : ctx.RecObjFiles) {
    if (!CopyFile(sourceFolder / name, destinationFolder / RenamedObjectFile(name, workName, newBase))) {
      failed = (sourceFolder / name).string();
      return false;
    }
  }
  return true;
}

void ClearRecoverFolder(const RecoveryContext& ctx, const stdfs::path& scratchFolder, const std::string& workName,
                        const std::string& newBase) {
  std::error_code ec;
  for (const std::string& name : ctx.RecObjFiles)
    stdfs::remove(scratchFolder / RenamedObjectFile(name, workName, newBase), ec);
}

std::string RecoverFileName(int n) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", n);
  return std::string("FILE") + digits;
}

int FreeRecoverNumber(const stdfs::path& dataFolder, const stdfs::path& workFolder, const std::string& oleDataExt) {
  std::string ole = oleDataExt.empty() ? ".OPD" : oleDataExt;
  if (ole.front() != '.') ole = "." + ole;
  for (int n = 1; n <= 255; ++n) {
    const std::string name = RecoverFileName(n);
    if (fs::FindNoCase(dataFolder, name + ".YZH") || fs::FindNoCase(dataFolder, name + ole) ||
        fs::FindNoCase(workFolder, name + ".Y1"))
      continue;
    return n;
  }
  return 0;
}

}  // namespace kv
