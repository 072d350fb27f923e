#include "core/number_scan.h"

#include <cstddef>

namespace kv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exponents are held within this bound; a number text that reaches it is far
// beyond every column and every amount either way.
constexpr int kExponentLimit = 100000;

}  // namespace

ScannedNumber ScanNumber(std::string_view text) {
  ScannedNumber n;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    n.negative = text[i] == '-';
    ++i;
  }
  std::string digits;
  long fractionDigits = 0;
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    any = true;
    if (!digits.empty() || text[i] != '0') digits += text[i];
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      any = true;
      if (!digits.empty() || text[i] != '0') digits += text[i];
      ++fractionDigits;
    }
  }
  long exponent = 0;
  if (any && i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
      expNegative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j)
        if (exponent < kExponentLimit) exponent = exponent * 10 + (text[j] - '0');
      if (expNegative) exponent = -exponent;
    }
  }
  // Trailing zeros of the digits move into the exponent.
  size_t end = digits.size();
  while (end > 0 && digits[end - 1] == '0') --end;
  long e = exponent - fractionDigits + static_cast<long>(digits.size() - end);
  digits.resize(end);
  if (digits.empty()) return ScannedNumber{};
  if (e > kExponentLimit) e = kExponentLimit;
  if (e < -kExponentLimit) e = -kExponentLimit;
  n.digits = std::move(digits);
  n.exponent = static_cast<int>(e);
  return n;
}

}  // namespace kv
