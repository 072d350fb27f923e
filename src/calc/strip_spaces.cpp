#include "calc/strip_spaces.h"

#include "platform/codepage.h"

namespace kv {

void StripSpaces(std::string& text) {
  // Full-width blank "　" in Shift-JIS.
  constexpr unsigned char kWideBlankLead = 0x81, kWideBlankTrail = 0x40;
  // Compacted in place: the kept bytes never run ahead of the ones read.
  size_t kept = 0;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(c) && i + 1 < text.size()) {
      if (!(c == kWideBlankLead && static_cast<unsigned char>(text[i + 1]) == kWideBlankTrail)) {
        text[kept++] = text[i];
        text[kept++] = text[i + 1];
      }
      i += 2;
      continue;
    }
    if (c != ' ') text[kept++] = text[i];
    ++i;
  }
  text.resize(kept);
}

}  // namespace kv
