#include "storage/recovery_jobs.h"

#include <system_error>

#include "platform/file_set_replace.h"
#include "platform/fs.h"
#include "platform/packing.h"
#include "platform/record_journal.h"
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

void SettleInterruptedSaves(const ProgramState& st) {
  const std::filesystem::path work = st.AppPath + "/WORK";
  // Estimate files whose pair was being replaced, noted here by the save.
  fs::SettleNotedIntents(work, &ArchiveIntact);
  // Work files written in place by a command that was stopped.
  fs::SettleJournals(work);
  // Work sets whose level files were being compacted, and the temporaries
  // of runs that are gone.
  fs::RemoveLeftovers(work, {});
}

int RecoverStartCheck(const ProgramState& st, RecoveryContext& ctx, std::vector<std::string>& fileList) {
  fileList = GetRecoverFileList(st, ctx);
  if (!fs::FindNoCase(st.AppPath, "KVUTL.INI")) return 2;
  return fileList.empty() ? 1 : 0;
}

}  // namespace kv
