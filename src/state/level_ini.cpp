#include "state/level_ini.h"

#include <string>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

std::string Text(const std::string& file, std::string_view section, std::string_view key) {
  std::string value;
  IniGetString(section, key, value, file);
  return value;
}

int Count(const std::string& file, std::string_view section, std::string_view key) {
  return WholeNumberValue(TrimBlanks(Text(file, section, key)));
}

std::string DotExt(const std::string& file, std::string_view section, int n) {
  return std::string(TrimBlanks("." + Text(file, section, std::to_string(n))));
}

}  // namespace

bool LevelIniRead(ProgramState& st) {
  const std::string file = st.AppPath + "/KVUTL.INI";
  std::string refused;
  auto refuse = [&](std::string_view section, std::string_view key, int count, int limit) {
    refused += "\n[" + std::string(section) + "] " + std::string(key) + "=" + std::to_string(count) + " (" +
               std::to_string(limit) + "まで)";
  };

  st.CompFileCount = 0;
  const int comp = Count(file, "DOS版見積DATA", "構成ファイル数");
  if (comp > kMaxCompFiles) {
    refuse("DOS版見積DATA", "構成ファイル数", comp, kMaxCompFiles);
  } else {
    for (int i = 1; i <= comp; ++i) st.CompFileExt[i] = DotExt(file, "DOS版見積DATA", i);
    st.CompFileCount = comp < 0 ? 0 : comp;
  }

  st.PackedExt.clear();
  const int packed = Count(file, "WIN版見積DATA", "構成ファイル数");
  if (packed > kMaxCompFiles) {
    refuse("WIN版見積DATA", "構成ファイル数", packed, kMaxCompFiles);
  } else {
    // The last entry is the extension of the packed estimate file.
    for (int i = 1; i <= packed; ++i) st.PackedExt = DotExt(file, "WIN版見積DATA", i);
  }

  st.LevelCount = 0;
  const int levels = Count(file, "階層表現拡張子", "階層レベル");
  if (levels > kMaxLevels) {
    refuse("階層表現拡張子", "階層レベル", levels, kMaxLevels);
  } else {
    for (int i = 1; i <= levels; ++i) st.LevelExt[i] = DotExt(file, "階層表現拡張子", i);
    st.LevelCount = levels < 0 ? 0 : levels;
  }

  st.OleDataExt = std::string(TrimBlanks(Text(file, "WIN版OLEDATA", "OLEDATA")));

  if (!refused.empty()) {
    WarnMsgBox(st, file + " の値が多すぎるため使用できません。" + refused);
    return false;
  }
  return true;
}

}  // namespace kv
