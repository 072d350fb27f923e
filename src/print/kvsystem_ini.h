#pragma once
// KVSYSTEM.INI in the program folder: the settings the print program reads,
// made for each job as a whole copy of the current printer's settings file
// with a few keys set afterwards. Nothing in the editor reads it.
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv {

struct ProgramState;

inline constexpr std::string_view kKvSystemIniName = "KVSYSTEM.INI";

// A key KVSYSTEM.INI gets after the copy.
struct IniKey {
  std::string section, key, value;
};

// Copies `source` over AppPath/KVSYSTEM.INI (a source that cannot be read
// gives an empty copy), then sets the keys in order and, when
// `deleteSection` is not empty, removes that section. False with `ec` set
// when the file cannot be written; the file is then not what the job needs.
bool KvSystemIniWrite(ProgramState& st, const std::string& source, const std::vector<IniKey>& keys,
                      std::string_view deleteSection, std::error_code& ec);

// The columns of the current level that its current mask screen shows, as
// 0-based numbers each followed by "," and the last "," dropped; columns 5
// and 6 trade places ("0,1,2,3,5,4,6,7" with all of eight shown). Column 6
// is taken only when the level has six columns or more.
std::string FixedMaskList(const ProgramState& st);

// The keys the print dialog's job sets: [PrintInformation] CompanyName,
// [Font] Name, [Boot] DataLen, and in the customer variant with the fixed
// layout chosen, [固定マスク] <form name> = FixedMaskList.
std::vector<IniKey> PrintJobIniKeys(const ProgramState& st, bool fixedLayout);

}  // namespace kv
