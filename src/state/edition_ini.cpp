#include "state/edition_ini.h"

#include <string_view>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

constexpr std::string_view kSection = "Edition";

// The key's value when it is one of `allowed` ("" counts as missing); the
// default, after a message, for any other value.
int Choice(ProgramState& st, const std::string& file, std::string_view key, int low, int high, int fallback) {
  std::string value;
  IniGetString(kSection, key, value, file);
  const std::string_view v = TrimBlanks(value);
  if (v.empty()) return fallback;
  if (v.size() == 1 && v[0] >= '0' + low && v[0] <= '0' + high) return v[0] - '0';
  WarnMsgBox(st, "KVEDITION.INI の [Edition] " + std::string(key) + " の値 (" + std::string(v) + ") は " +
                     std::to_string(low) + " から " + std::to_string(high) + " でなければなりません。\n" +
                     std::to_string(fallback) + " を使用します。");
  return fallback;
}

}  // namespace

void EditionLoad(ProgramState& st, const std::string& programFolder) {
  const std::string file = programFolder + "/KVEDITION.INI";
  st.SystemKind = Choice(st, file, "SystemKind", 1, 4, kDefaultSystemKind);
  st.SpecialPrintSpec = Choice(st, file, "SpecialPrintSpec", 0, 1, 0) == 1;
  st.CustomerVariant2 = Choice(st, file, "CustomerVariant2", 0, 1, 0) == 1;
}

}  // namespace kv
