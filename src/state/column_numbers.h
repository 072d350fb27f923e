#pragma once
// The numeric columns and their number texts as the column tables of the
// program state define them (level 1..8, column 1..52): the properties each
// number text of core/number_text.h depends on are read from `ColWidth`,
// `ColType` and `[Boot] Zero`.
#include <array>
#include <string>

#include "core/column_letter.h"
#include "core/number_text.h"

namespace kv {

struct ProgramState;
struct ColumnTables;

// IsNumericColumnType on the column definitions of level 0..8, column 0..52
// (`ColType`); false outside those ranges.
bool IsNumericColumn(const ColumnTables& tables, int level, int column);

// The column's properties from the state: `ColWidth`, the decimals the column
// definitions take from the type code `ColType`, and `Zero`.
NumColumn NumColumnOf(const ProgramState& st, int level, int column);

void NumFitColumn(const ProgramState& st, int level, std::string& text, int column);
void NumCommaFormat(const ProgramState& st, int level, std::string& text, int column);
void TotalFitColumn(const ProgramState& st, int level, std::string& text, int column);

// The masks of every numeric column 1 .. ColCount(level) of a level, indexed
// by column; non-numeric columns get "".
std::array<std::string, 53> MakeColumnMasks(const ColumnTables& tables, int level);

Currency DecimalStep(const ProgramState& st, int level, int column);

}  // namespace kv
