#include "storage/last_estimate_setting.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/record_file.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "platform/registry_store.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr int kBudgetColumn = 8;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Column 8 of the top sheet's closing record; nullopt when the level 1 file
// is missing, unreadable or does not end with a closing record.
std::optional<std::string> BudgetAmount(const ProgramState& st, const std::string& workBase) {
  const int start = st.ColStart[1][kBudgetColumn];
  const int width = st.ColWidth[1][kBudgetColumn];
  if (start < 1 || width < 1 || start + width - 1 > st.DataLen) return std::nullopt;
  const std::filesystem::path file = fs::ResolveNoCase(std::filesystem::path(workBase + st.LevelExt[1]));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  try {
    RecordFile f(file, st.DataLen, RecordFileMode::ReadOnly);
    std::string last;
    if (!f.GetRecordText(f.RecordCount(), last) || last[2] != 'G') return std::nullopt;
    return FromSjis(TrimBlanks(std::string_view(last).substr(static_cast<size_t>(start - 1),
                                                             static_cast<size_t>(width))));
  } catch (const RecordFileError&) {
    return std::nullopt;
  }
}

}  // namespace

bool SaveLastEstimateSetting(ProgramState& st, const std::string& path, const std::string& workBase) {
  if (workBase.find("無題") != std::string::npos) return true;
  bool ok = SaveSetting(kRegistryApp, kRegistrySection, kLastEstimateKey, path);
  if (std::optional<std::string> budget = BudgetAmount(st, workBase))
    ok = SaveSetting(kRegistryApp, kRegistrySection, kBudgetKey, *budget) && ok;
  return ok;
}

}  // namespace kv
