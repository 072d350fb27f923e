#pragma once
// Column definitions of every level, from the base text file or an estimate's
// layout file. Indexed [level][column], level 1..8, column 1..52.
#include <array>
#include <string>

namespace kv {

inline constexpr int kMaxColumns = 52;

template <typename T>
using LevelColumnTable = std::array<std::array<T, kMaxColumns + 1>, 9>;

struct ColumnTables {
  std::array<int, 9> ColCount{};
  LevelColumnTable<int> ColStart{};
  LevelColumnTable<int> ColWidth{};
  LevelColumnTable<std::string> ColType;  // stored form (Shift-JIS bytes)
};

// Column tables of the reference window's estimate.
struct RefLayoutTables {
  std::array<int, 9> RefColCount{};
};

}  // namespace kv
