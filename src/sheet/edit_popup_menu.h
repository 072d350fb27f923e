#pragma once
// The sheet grid's popup edit menu: 0 "切り取り", 1 "コピー", 2 "貼り付け",
// 3 "削除", 4 separator, 5 "行削除", 6 "行挿入", 7 separator, 8 "行コピー",
// 9 "行貼付け".
#include <array>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr std::array<std::string_view, 10> kEditPopupCaptions = {
    "切り取り", "コピー", "貼り付け", "削除", "-", "行削除", "行挿入", "-", "行コピー", "行貼付け"};

// Runs the item chosen: the cell clipboard commands and cell clearing on
// the selection, and the row commands. Separators and other indexes do
// nothing.
void mnuSysInfo_Click(ProgramState& st, GridModel& grid, int index);

}  // namespace kv
