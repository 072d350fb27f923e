#include "storage/link_no_text.h"

#include "core/settings_text.h"
#include "core/stored_number.h"
#include "state/program_state.h"

namespace kv {

std::string LinkNoText(std::string_view stored, bool hex) {
  const std::string_view text = TrimBlanks(stored);
  if (text == "-99") return "-99";
  const int value = BaseStrToNum(text, false);
  if (hex) return NumToBaseStr(value, true);
  return std::to_string(value);
}

std::string LinkNoText(std::string_view stored, const ProgramState& st) {
  return LinkNoText(stored, IsHexBase(st.H_Link));
}

}  // namespace kv
