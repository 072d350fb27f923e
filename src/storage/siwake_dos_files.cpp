#include "storage/siwake_dos_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/fs.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/convert_classification_file.h"

namespace kv {

namespace {

namespace stdfs = std::filesystem;

std::string InFolder(const std::string& folder, const std::string& file) {
  return folder.empty() ? file : folder + "/" + file;
}

std::string ComponentName(const std::string& name, int i) {
  return name + ".S" + std::to_string(i);
}

int ComponentCount(const ProgramState& st) {
  return std::clamp(st.CompFileCount, 0, kMaxCompFiles);
}

}  // namespace

std::string SiwakeName(const std::string& name) { return name + std::string(kSiwakeSuffix); }

SiwakeOpenNames SiwakeOpenNamesOf(const ProgramState& st, const std::string& folder,
                                  const std::string& name) {
  const std::string converted = SiwakeName(name);
  SiwakeOpenNames names;
  names.workFileBase = st.AppPath + st.WorkFolderName + "/" + converted;
  names.currentFilePath = InFolder(folder, converted) + st.PackedExt;
  names.lockPath = InFolder(folder, converted);
  return names;
}

bool SiwakeComponentsCopy(ProgramState& st, const std::string& folder, const std::string& name) {
  const stdfs::path dir = folder.empty() ? stdfs::path(".") : stdfs::path(folder);
  for (int i = 1; i <= ComponentCount(st); ++i) {
    const std::optional<stdfs::path> source = fs::FindNoCase(dir, ComponentName(name, i));
    if (!source) continue;
    const stdfs::path target =
        fs::ResolveNoCase(stdfs::path(InFolder(folder, ComponentName(SiwakeName(name), i))));
    std::error_code ec;
    std::optional<std::string> bytes = fs::ReadFileBytes(*source, ec);
    if (!bytes || !fs::WriteFileAtomic(target, *bytes, ec)) {
      WarnMsgBox(st, "ファイル [ " + source->string() + " ] を [ " + target.filename().string() +
                         " ] にコピーできませんでした。\n" + ec.message());
      return false;
    }
  }
  return true;
}

void SiwakeComponentCopiesDelete(const ProgramState& st, const std::string& folder,
                                 const std::string& name) {
  const stdfs::path dir = folder.empty() ? stdfs::path(".") : stdfs::path(folder);
  for (int i = 1; i <= ComponentCount(st); ++i) {
    const std::optional<stdfs::path> copy = fs::FindNoCase(dir, ComponentName(SiwakeName(name), i));
    if (!copy) continue;
    std::error_code ec;
    stdfs::remove(*copy, ec);
  }
}

}  // namespace kv
