#pragma once
// Reading the number at the start of a number text: leading blanks, a sign,
// digits, one ".", digits, and an exponent ("E" or "e", a sign, digits).
// Reading stops at the first character that cannot continue the number; a
// text without digits reads as 0. The value is kept exactly, as decimal digits.
#include <string>
#include <string_view>

namespace kv {

struct ScannedNumber {
  bool negative = false;
  std::string digits;  // significant digits, no leading zeros; empty for 0
  int exponent = 0;    // value = digits x 10^exponent
  bool IsZero() const { return digits.empty(); }
};

ScannedNumber ScanNumber(std::string_view text);

}  // namespace kv
