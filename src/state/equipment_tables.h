#pragma once
// The equipment edition's definitions (the equipment definitions file
// VEZ_SIKI.DAT), filled at start-up in system kind 1 and empty otherwise.
// Every table is indexed 1 .. its count (entry 0 unused); lines are stored as
// read (Shift-JIS bytes, spaces removed).
#include <array>
#include <string>

namespace kv {

inline constexpr int kMaxKeihiLines = 100;
// The most entries of one keyword.
inline constexpr int kMaxEquipEntries = 100;

using EquipLines = std::array<std::string, kMaxEquipEntries + 1>;

struct EquipmentTables {
  // SIKI rules: character 3 the rule column, the body from character 6 up
  // to the first "=>", the result column's letter four places after the "=".
  EquipLines SikiRules;
  int SikiCount = 0;
  // ZOKU pairs: the unit column (letter at character 3) and the value column
  // (letter at character 8) rounded up to the unit.
  std::array<int, kMaxEquipEntries + 1> ZokuUnitCols{};
  std::array<int, kMaxEquipEntries + 1> ZokuValueCols{};
  int ZokuCount = 0;
  // AUTO lines: character 3 a column letter, from character 5 its value.
  EquipLines AutoLines;
  int AutoCount = 0;
  // KEIHI lines [1..KeihiCount]: the column letters at characters 3 (the
  // totalled amount), 8 (the rate) and 13 (the result).
  std::array<std::string, kMaxKeihiLines + 1> KeihiLines;
  int KeihiCount = 0;
  // SZATU (consumables row) and SKEIHI (overhead rows) entries: five lines
  // each, every one naming a column as "[[" and its letter.
  EquipLines SzatuFormulaLines, SzatuMarkLines, SzatuAmountLines, SzatuRateLines, SzatuResultLines;
  int SzatuCount = 0;
  EquipLines SkeihiFormulaLines, SkeihiMarkLines, SkeihiAmountLines, SkeihiRateLines, SkeihiResultLines;
  int SkeihiCount = 0;
  // The equipment column set [1..SbColumnCount]: the rule columns, the unit
  // columns and the consumables formula columns, each once.
  std::array<int, 53> SbColumnTable{};
  int SbColumnCount = 0;
};

}  // namespace kv
