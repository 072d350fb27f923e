#include "storage/recovery_jobs.h"

#include <system_error>

#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/recovery_context.h"

namespace kv {

namespace {

std::string TrimmedUpper(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::vector<std::string> LevelOneFiles(const std::string& workFolder) {
  std::error_code ec;
  std::vector<std::string> names;
  for (const std::filesystem::path& p : fs::MatchingFiles(workFolder, "*.Y1", ec)) {
    std::string name = p.filename().string();
    if (IsRecoverableJobFile(name)) names.push_back(name);
  }
  return names;
}

}  // namespace

bool IsRecoverableJobFile(std::string_view fileName) {
  std::string name = TrimmedUpper(fileName);
  return name.rfind("無題", 0) != 0 && name.rfind("自分参考", 0) != 0;
}

std::vector<std::string> GetRecoverFileList(const ProgramState& st, RecoveryContext& ctx) {
  ctx.RecWorkFolder = st.AppPath + "/WORK/";
  return LevelOneFiles(ctx.RecWorkFolder);
}

bool RecoverFilesExist(const ProgramState& st) { return !LevelOneFiles(st.AppPath + "/WORK").empty(); }

int RecoverStartCheck(const ProgramState& st, RecoveryContext& ctx, std::vector<std::string>& fileList) {
  fileList = GetRecoverFileList(st, ctx);
  if (!fs::FindNoCase(st.AppPath, "KVUTL.INI")) return 2;
  return fileList.empty() ? 1 : 0;
}

}  // namespace kv
