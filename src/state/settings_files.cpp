#include "state/settings_files.h"

#include <system_error>

#include "core/file_exist.h"
#include "platform/fs.h"
#include "state/warn_msg_box.h"

namespace kv {

std::optional<bool> SettingsFileExists(ProgramState& st, const std::string& path) {
  std::error_code ec;
  const bool exists = FileMatchExists(path, ec);
  if (ec) {
    WarnMsgBox(st, path + " を確認できません。\n" + ec.message());
    return std::nullopt;
  }
  return exists;
}

bool CopySettingsFile(ProgramState& st, const std::string& from, const std::string& to) {
  std::error_code ec;
  const auto bytes = fs::ReadFileBytes(fs::ResolveNoCase(from), ec);
  if (!bytes) {
    WarnMsgBox(st, from + " を読み込めません。\n" + ec.message());
    return false;
  }
  if (!fs::WriteFileAtomic(fs::ResolveNoCase(to), *bytes, ec)) {
    WarnMsgBox(st, to + " を作れません。\n" + ec.message());
    return false;
  }
  return true;
}

}  // namespace kv
