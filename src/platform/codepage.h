#pragma once
// Conversion between display text (UTF-8) and the stored form of every text
// (Shift-JIS, Windows code page 932). The one place where the two meet.
#include <string>
#include <string_view>

namespace kv {

// Character written for a display character that has no Shift-JIS form.
inline constexpr char kSjisDefaultChar = '?';
// Character shown for Shift-JIS bytes that do not form a character
// (a lone lead byte, an invalid trail byte): "・".
inline constexpr std::string_view kUtf8BrokenChar = "\xE3\x83\xBB";

// UTF-8 display text -> Shift-JIS bytes. Never fails: characters without a
// Shift-JIS form (and malformed UTF-8) become kSjisDefaultChar.
std::string ToSjis(std::string_view utf8);

// Shift-JIS bytes -> UTF-8 display text. Never fails and never reads past the
// end: broken bytes become kUtf8BrokenChar.
std::string FromSjis(std::string_view sjis);

// The same conversions done by iconv over the whole text, with no cache:
// the reference the two above are checked against.
std::string ToSjisByIconv(std::string_view utf8);
std::string FromSjisByIconv(std::string_view sjis);

// True when the byte opens a double-byte Shift-JIS character.
constexpr bool IsSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace kv
