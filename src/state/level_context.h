#pragma once
// The sheet a calculation works on. A formula's references read this level's
// column positions ("[[", "[#"), the row of the level above that owns the sheet
// ("[$", with the positions of the level above) and the sheet's closing record
// ("[#"). Passed explicitly so that a level other than the one on screen (the
// levels above it while a path is recorded, level 1 when every level is
// recalculated) is calculated with its own columns and parent row.
#include <string_view>

namespace kv {

struct LevelContext {
  int level = 1;                  // 1..8
  std::string_view parentRow;     // the owning row on level - 1; empty on level 1
  std::string_view totalRecord;   // closing record of the sheet being calculated
};

}  // namespace kv
