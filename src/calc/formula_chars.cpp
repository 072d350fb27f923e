#include "calc/formula_chars.h"

#include "platform/codepage.h"

namespace kv {
namespace {

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

char16_t HalfWidthOf(char16_t code) {
  if (code >= 0x824F && code <= 0x8258) return static_cast<char16_t>(u'0' + (code - 0x824F));  // ０..９
  switch (code) {
    case 0x8140: return u' ';  // full-width blank
    case 0x8144: return u'.';  // ．
    case 0x817B: return u'+';  // ＋
    case 0x817C: return u'-';  // －
    case 0x8196: return u'*';  // ＊
    case 0x815E: return u'/';  // ／
    case 0x8169: return u'(';  // （
    case 0x816A: return u')';  // ）
    case 0x814F: return u'^';  // ＾
    default: return code;
  }
}

}  // namespace

FormulaText DecodeFormula(std::string_view bytes) {
  FormulaText text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (IsSjisLeadByte(c) && i + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      text += HalfWidthOf(static_cast<char16_t>(c << 8 | static_cast<unsigned char>(bytes[i + 1])));
      ++i;
    } else {
      text += static_cast<char16_t>(c);
    }
  }
  return text;
}

std::string EncodeFormula(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t u : text) {
    if (u > 0xFF) bytes += static_cast<char>(u >> 8);
    bytes += static_cast<char>(u & 0xFF);
  }
  return bytes;
}

}  // namespace kv
