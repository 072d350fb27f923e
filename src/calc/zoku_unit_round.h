#pragma once
// The equipment edition's unit rounding of a value about to be stored: the
// first ZOKU pair whose value column is the column and whose row holds a
// unit text with a factor other than 1 rounds a non-empty value of a numeric
// column up to that factor, its fraction included ("200.5" with a unit of
// 100 gives "300", "200" stays "200"). Any other value comes back unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// The value for column `col` of the row record `rec` at `CurrentLevel`.
std::string ZokuUnitRound(const ProgramState& st, std::string_view rec, std::string value, int col);
// The same at a given level (the carry into a parent row).
std::string ZokuUnitRoundAt(const ProgramState& st, std::string_view rec, std::string value, int col, int level);

// The unit rounding of a value applies when `unit` (spaces removed) is not
// empty and has a factor other than 1 and `value` (spaces removed) is not
// empty; the rounded value is the value rounded up to the factor (a
// fraction counts), without decimals. The caller tests the column type.
bool UnitRoundApplies(std::string_view unit, std::string_view value);
std::string UnitRounded(std::string_view unit, std::string_view value);
// The same for a value without spaces and the unit's factor.
std::string UnitRoundedBy(std::int64_t factor, std::string value);
// The same as a whole number for a plain value (an optional "-", 1 to 14
// whole digits, an optional "." and digits): its text is the rounded text.
// Empty for any other value.
std::optional<std::int64_t> UnitRoundedWhole(std::int64_t factor, std::string_view value);

}  // namespace kv
