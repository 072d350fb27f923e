#pragma once
// Stored record numbers in the number base the estimate's settings name
// (`H_Link`): the forms of core/stored_number.h that read it from the program
// state.
#include <string>
#include <string_view>

#include "core/stored_number.h"

namespace kv {

struct ProgramState;

std::string NumToBaseStr(int value, const ProgramState& st);
int BaseStrToNum(std::string_view text, const ProgramState& st);
std::string StoredNumberField(int value, const ProgramState& st);

}  // namespace kv
