#include "state/level_ini.h"

#include <cctype>
#include <string>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "state/program_state.h"

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

// A level's extension names a file beside the others in the work folder:
// something after the dot, no folder part, no "..".
bool UsableLevelExt(const std::string& ext) {
  return ext.size() > 1 && ext.find('/') == std::string::npos && ext.find('\\') == std::string::npos &&
         ext.find("..") == std::string::npos;
}

bool SameExtNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca < 0x80 && cb < 0x80 ? std::tolower(ca) != std::tolower(cb) : ca != cb) return false;
  }
  return true;
}

// A count written as digits alone (blanks around them allowed); -1 otherwise.
int StrictCount(const std::string& file, std::string_view section, std::string_view key, std::string& text) {
  text = std::string(TrimBlanks(Text(file, section, key)));
  if (text.empty() || text.size() > 3) return -1;
  for (char c : text)
    if (c < '0' || c > '9') return -1;
  return std::stoi(text);
}

}  // namespace

bool LevelIniRead(ProgramState& st, std::string& problem) {
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
  constexpr std::string_view kLevels = "階層表現拡張子";
  std::string levelProblems, countText;
  const int levels = StrictCount(file, kLevels, "階層レベル", countText);
  if (levels < 1 || levels > kMaxLevels) {
    levelProblems += "\n[" + std::string(kLevels) + "] 階層レベル (" + countText + ") は 1 から " +
                     std::to_string(kMaxLevels) + " の数でなければなりません。";
  } else {
    for (int i = 1; i <= levels; ++i) {
      st.LevelExt[i] = DotExt(file, kLevels, i);
      const std::string key = "\n[" + std::string(kLevels) + "] " + std::to_string(i) + " (" +
                              std::string(TrimBlanks(Text(file, kLevels, std::to_string(i)))) + ") ";
      if (!UsableLevelExt(st.LevelExt[i])) {
        levelProblems += key + "は拡張子として使用できません。";
        continue;
      }
      for (int j = 1; j < i; ++j) {
        if (SameExtNoCase(st.LevelExt[j], st.LevelExt[i])) {
          levelProblems += key + "は " + std::to_string(j) + " と同じ拡張子です。";
          break;
        }
      }
    }
    if (levelProblems.empty()) st.LevelCount = levels;
  }

  st.OleDataExt = std::string(TrimBlanks(Text(file, "WIN版OLEDATA", "OLEDATA")));

  problem.clear();
  if (!refused.empty()) problem = file + " の値が多すぎるため使用できません。" + refused;
  if (!levelProblems.empty()) {
    if (!problem.empty()) problem += "\n";
    problem += file + " の階層の定義は使用できません。" + levelProblems;
  }
  return problem.empty();
}

}  // namespace kv
