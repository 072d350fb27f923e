#pragma once
// The equipment edition's definitions that the level calculation reads. They
// are loaded from the equipment definitions file in the equipment edition;
// until that loader exists they stay empty.
#include <array>
#include <string>

namespace kv {

inline constexpr int kMaxKeihiLines = 100;

struct EquipmentTables {
  // KEIHI lines [1..KeihiCount]: the column letters at characters 3 (the
  // totalled amount), 8 (the rate) and 13 (the result).
  std::array<std::string, kMaxKeihiLines + 1> KeihiLines;
  int KeihiCount = 0;
};

}  // namespace kv
