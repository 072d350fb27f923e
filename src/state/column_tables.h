#pragma once
// Column definitions of every level, from the base text file or an estimate's
// layout file. Indexed [level][column], level 1..8, column 1..52; index 0 of
// either is column 0 / no level (start 0, width 0).
#include <array>
#include <string>

namespace kv {

inline constexpr int kMaxColumns = 52;
inline constexpr int kMaxDefItems = 10;  // items of a column definition record
inline constexpr int kMaskScreens = 6;   // mask screens 0..5

template <typename T>
using LevelColumnTable = std::array<std::array<T, kMaxColumns + 1>, 9>;

// One character per mask screen 0..6 of a column: 'M' hidden, ' ' shown.
using ColumnMasks = std::array<char, kMaskScreens + 1>;

inline constexpr ColumnMasks kShownEverywhere{' ', ' ', ' ', ' ', ' ', ' ', ' '};

struct ColumnTables {
  std::array<int, 9> ColCount{};
  LevelColumnTable<int> ColStart{};            // first byte in the row record (1-based, from 20)
  LevelColumnTable<int> ColWidth{};            // bytes
  LevelColumnTable<std::string> ColType;       // type code, trimmed (Shift-JIS bytes)
  LevelColumnTable<int> ColDecimals{};         // number taken from the type code
  LevelColumnTable<std::string> ColFormula;    // row definition (Shift-JIS bytes)
  LevelColumnTable<std::string> ColTotalKind;  // total definition: "SUM" or a formula
  LevelColumnTable<std::string> ColCarryDef;   // carry definition: "->" .. target letter
  LevelColumnTable<std::string> FormatMasks;   // display masks of numeric columns
  // MaskDef[level][column][screen]
  std::array<std::array<ColumnMasks, kMaxColumns + 1>, 9> MaskDef = [] {
    std::array<std::array<ColumnMasks, kMaxColumns + 1>, 9> t{};
    for (auto& level : t) level.fill(kShownEverywhere);
    return t;
  }();
  std::array<std::string, 9> LevelCaption;         // DataLen bytes: headings at each column's range
  std::array<std::string, 9> TotalRecordDefaults;  // DataLen bytes: default closing record
  std::array<int, 9> ParentTotalCols{};            // first "SUM" column, 0 none
  std::array<int, 9> ParentTotalCols2{};           // second "SUM" column, 0 none
  std::array<int, 9> RatioColumn{};                // column whose row definition holds "RATIO"
  std::array<int, 9> FormulaColumn{};              // first "S" column, 0 none
  std::array<std::string, 11> RowFormulaOrder;     // column letters in evaluation order
  std::array<std::string, 11> TotalFormulaOrder;
  bool LevelsDifferInCols = false;    // neighbouring levels differ in column count
  std::array<int, 9> DefColumnMap{};  // base text: first column record of each level
  // Item layout of a column definition record, from KVSSYS.INI
  // [システム設定用基本TEXT]: item i lies at DefItemPos[i], DefItemLen[i] bytes.
  std::array<int, kMaxDefItems + 1> DefItemPos{};
  std::array<int, kMaxDefItems + 1> DefItemLen{};
};

// Column tables of the reference window's estimate.
struct RefLayoutTables {
  std::array<int, 9> RefColCount{};
  LevelColumnTable<int> RefColStart{};
  LevelColumnTable<int> RefColWidth{};
  LevelColumnTable<int> RefColDecimals{};
  LevelColumnTable<char> RefColType{};         // first character of the type code
  std::array<std::string, 9> RefLevelCaption;  // DataLen bytes
  bool RefLayoutDiffers = false;               // neighbouring levels differ in column count
};

}  // namespace kv
