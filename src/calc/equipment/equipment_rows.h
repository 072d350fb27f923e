#pragma once
// The equipment edition's overhead rows (row kind "Z", 諸経費) and its
// consumables row (row kind "S", 消耗品雑材), computed from the marks and
// amounts of the other rows of the sheet in memory at `CurrentLevel` through
// the SKEIHI and SZATU entries of the equipment definitions.
#include <string>
#include <vector>

namespace kv {

struct ProgramState;

// The rows 1..n whose row kind is "Z", in order; true when there is one.
bool FindExpenseRows(const ProgramState& st, int n, std::vector<int>& rows);

// The consumables row of SZATU entry `entry`: 1 two or more "S" rows; 2
// none; 3 its formula text empty; 4 no mark in it; -1 usable, with the row,
// its formula text and its marks (ASCII letters, "ｱ".."ﾝ", "#") in order.
int CheckConsumablesRow(const ProgramState& st, int entry, int n, int& sRow, std::string& text,
                        std::vector<std::string>& marks);

// Every "Z" row under every SKEIHI entry. False after the message
// "諸経費計算行の計算に失敗しました｡" (a sum that cannot be evaluated).
bool CalcExpenseRows(ProgramState& st, bool paint);

// The "S" row under every SZATU entry: its base amount plus the adjustment
// that brings the running total up to a multiple of 1000, the adjustment
// shown as the formula text's last group "+(n)". False after a message.
// `again` tells whether the "S" row holds text in a rule column.
bool CalcConsumablesRow(ProgramState& st, bool paint, bool& again);

}  // namespace kv
