#pragma once
// Which columns of a level the row definitions read: a definition of a
// numeric column reads column X when it holds the reference "[[X". After a
// column that no other definition reads changed, the row's recalculation
// evaluates nothing (it only sets the row's column variables).
#include <array>
#include <vector>

#include "state/column_tables.h"

namespace kv {

struct ProgramState;

class RowDefinitionReaders {
 public:
  // The readers of every column of `level`, as the row recalculation finds
  // them: the definitions of the level's numeric columns but the column's own.
  RowDefinitionReaders(const ProgramState& st, int level);

  // True when a definition of another numeric column refers to `col`.
  bool IsRead(int col) const { return read_[Slot(col)]; }
  // The numeric columns whose definition refers to `col`, in column order,
  // `col` itself included when its own definition does.
  const std::vector<int>& Readers(int col) const { return readers_[Slot(col)]; }

 private:
  // Slot 0 stands for a column without a letter, whose reference is "[[" alone.
  static size_t Slot(int col) { return col >= 1 && col <= kMaxColumns ? static_cast<size_t>(col) : 0; }

  std::array<bool, kMaxColumns + 1> read_{};
  std::array<std::vector<int>, kMaxColumns + 1> readers_;
};

}  // namespace kv
