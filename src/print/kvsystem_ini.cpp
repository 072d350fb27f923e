#include "print/kvsystem_ini.h"

#include <algorithm>
#include <optional>

#include "core/ini_file.h"
#include "platform/fs.h"
#include "print/print_forms.h"
#include "state/program_state.h"

namespace kv {

bool KvSystemIniWrite(ProgramState& st, const std::string& source, const std::vector<IniKey>& keys,
                      std::string_view deleteSection, std::error_code& ec) {
  const std::string target = st.AppPath + "/" + std::string(kKvSystemIniName);
  std::error_code readError;
  const std::optional<std::string> bytes =
      source.empty() ? std::nullopt : fs::ReadFileBytes(fs::ResolveNoCase(source), readError);
  if (!fs::WriteFileAtomic(target, bytes.value_or(std::string()), ec)) return false;
  for (const IniKey& k : keys) {
    if (!IniPutString(k.section, k.key, k.value, target)) {
      ec = std::make_error_code(std::errc::io_error);
      return false;
    }
  }
  if (!deleteSection.empty() && !IniDeleteSection(deleteSection, target)) {
    ec = std::make_error_code(std::errc::io_error);
    return false;
  }
  return true;
}

std::string FixedMaskList(const ProgramState& st) {
  const size_t level = static_cast<size_t>(st.CurrentLevel);
  const int count = st.ColCount[level];
  const size_t screen = static_cast<size_t>(st.XMASK[level]);
  auto shown = [&](int c) { return st.MaskDef[level][static_cast<size_t>(c)][screen] != 'M'; };
  std::string list;
  auto take = [&](int c) {
    if (shown(c)) list += std::to_string(c - 1) + ",";
  };
  for (int c = 1; c <= count && c <= kMaxColumns; ++c) {
    if (c == 5) {
      if (count >= 6) take(6);
      take(5);
    } else if (c != 6) {
      take(c);
    }
  }
  if (!list.empty()) list.pop_back();
  return list;
}

std::vector<IniKey> PrintJobIniKeys(const ProgramState& st, bool fixedLayout) {
  std::vector<IniKey> keys{{"PrintInformation", "CompanyName", st.CompanyName},
                           {"Font", "Name", st.FontName},
                           {"Boot", "DataLen", std::to_string(st.DataLen)}};
  const std::string& formName = st.PrintFormSections[static_cast<size_t>(std::clamp(st.PrnTypeNo, 1, kPrintForms))];
  // A form without a name has no key to hold its list.
  if (st.CustomerVariant && fixedLayout && !formName.empty())
    keys.push_back({"固定マスク", formName, FixedMaskList(st)});
  return keys;
}

}  // namespace kv
