#include "calc/strip_spaces.h"

#include "platform/codepage.h"

namespace kv {

void StripSpaces(std::string& text) {
  // Full-width blank "　" in Shift-JIS.
  constexpr unsigned char kWideBlankLead = 0x81, kWideBlankTrail = 0x40;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(c) && i + 1 < text.size()) {
      if (!(c == kWideBlankLead && static_cast<unsigned char>(text[i + 1]) == kWideBlankTrail))
        out.append(text, i, 2);
      i += 2;
      continue;
    }
    if (c != ' ') out += text[i];
    ++i;
  }
  text = std::move(out);
}

}  // namespace kv
