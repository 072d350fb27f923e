#include "core/settings_text.h"

#include <limits>

#include "core/number_scan.h"

namespace kv {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int WholeNumberValue(std::string_view text) {
  constexpr long long kMax = std::numeric_limits<int>::max();
  const ScannedNumber n = ScanNumber(text);
  if (n.IsZero()) return 0;
  const long long digitCount = static_cast<long long>(n.digits.size());
  const long long wholeDigits = digitCount + n.exponent;  // digits before the point
  if (wholeDigits > 10) return n.negative ? std::numeric_limits<int>::min() : static_cast<int>(kMax);

  long long whole = 0;
  for (long long i = 0; i < wholeDigits; ++i) {
    whole = whole * 10 + (i < digitCount ? n.digits[static_cast<size_t>(i)] - '0' : 0);
  }
  // The first digit after the point decides, the rest only breaks a tie.
  if (wholeDigits < digitCount) {
    const long long first = wholeDigits;  // index of the first fraction digit (may be negative)
    const int firstDigit = first >= 0 ? n.digits[static_cast<size_t>(first)] - '0' : 0;
    const bool moreAfter = first + 1 < digitCount;  // digits are stored without trailing zeros
    if (firstDigit > 5 || (firstDigit == 5 && (moreAfter || whole % 2 != 0))) ++whole;
  }
  if (n.negative) whole = -whole;
  if (whole > kMax) return static_cast<int>(kMax);
  if (whole < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(whole);
}

std::string StripQuotes(std::string text) {
  if (text.empty()) return text;
  if (text.back() == '"') text.pop_back();
  if (!text.empty() && text.front() == '"') text.erase(0, 1);
  return text;
}

std::string Quoted(std::string_view text) {
  std::string q = "\"";
  q += text;
  q += '"';
  return q;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && text[b] == ' ') ++b;
  size_t e = text.size();
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace kv
