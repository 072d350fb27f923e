#pragma once
// The equipment edition's unit rounding of a computed value, applied in
// system kind 1 before a value is stored. The equipment definitions it reads
// are not loaded yet, so no unit rounding applies: the value comes back as
// it was given.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// The value for column `col` of the row record `rec`, rounded up to the unit
// of the row's unit column where the definitions ask for it.
std::string ZokuUnitRound(const ProgramState& st, std::string_view rec, std::string value, int col);

}  // namespace kv
