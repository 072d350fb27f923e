#include "state/stored_number_base.h"

#include "state/program_state.h"

namespace kv {

std::string NumToBaseStr(int value, const ProgramState& st) {
  return NumToBaseStr(value, IsHexBase(st.H_Link));
}

int BaseStrToNum(std::string_view text, const ProgramState& st) {
  return BaseStrToNum(text, IsHexBase(st.H_Link));
}

std::string StoredNumberField(int value, const ProgramState& st) {
  return StoredNumberField(value, IsHexBase(st.H_Link));
}

}  // namespace kv
