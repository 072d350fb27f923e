#pragma once
// The lookup tables of the classification masters 0..3: code and name of
// each entry, in ascending order of code (Shift-JIS bytes). Filled when a
// master is read; empty until then, so no code is found.
#include <array>
#include <string>
#include <vector>

namespace kv {

inline constexpr int kCodeTableCount = 4;  // masters 0..3

struct CodeTableEntry {
  std::string code;
  std::string name;
};

struct CodeTableState {
  // CodeTables[t][i - 1] is entry i of master t, i = 1 .. CodeTableCounts[t].
  std::array<std::vector<CodeTableEntry>, kCodeTableCount> CodeTables;
  std::array<int, kCodeTableCount> CodeTableCounts{};
};

}  // namespace kv
