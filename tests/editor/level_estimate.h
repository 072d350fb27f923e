#pragma once
// Estimates of several levels on the default layout for the level-move
// tests: rows with a name, a quantity and a unit price, each level's sheet
// written below the row `ParentRows` names.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "storage/file_command_fixture.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace kv::test {

// Columns of the default layout (every level).
inline constexpr int kLayoutName = 1, kLayoutQty = 4, kLayoutPrice = 6, kLayoutAmount = 7;

// A row of `level`: its name and, when given, its quantity and unit price.
inline std::string PricedRow(const ProgramState& st, int level, const std::string& name, const std::string& qty,
                             const std::string& price) {
  std::string rec(size_t(st.DataLen), ' ');
  FieldStore(st, rec, kLayoutName, level, ToSjis(name));
  for (const auto& [col, text] : {std::pair{kLayoutQty, qty}, std::pair{kLayoutPrice, price}}) {
    if (text.empty()) continue;
    std::string fitted = text;
    NumFitColumn(st, level, fitted, col);
    FieldStore(st, rec, col, level, fitted);
  }
  return rec;
}

// The sheet of `level` below `ParentRows`(level - 1) written with the rows;
// `ParentRows`(level) becomes its first row, as written.
inline void WriteLevelSheet(Program& p, int level, const std::vector<std::string>& rows) {
  ProgramState& st = p.st;
  st.CurrentLevel = level;
  ASSERT_TRUE(LevelRowsRead(st, level));
  p.ClearSheet();
  for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
  st.UsedRows = int(rows.size());
  ASSERT_TRUE(LevelWrite(st, level));
  st.ParentRows[size_t(level)] = st.SheetRows[1];
}

}  // namespace kv::test
