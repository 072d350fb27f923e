#include "app/settings_text.h"

#include <limits>

namespace kv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Rounds value / divisor to the nearest whole number, halves to even.
std::int64_t DivideHalfEven(std::int64_t value, std::int64_t divisor) {
  std::int64_t q = value / divisor;
  std::int64_t r = value % divisor;
  if (r < 0) r = -r;
  const std::int64_t twice = r * 2;
  const bool negative = value < 0;
  if (twice > divisor || (twice == divisor && (q % 2 != 0))) q += negative ? -1 : 1;
  return q;
}

// Parses the leading number into a value scaled by 10^5 (one guard digit
// beyond the four kept), saturating far outside any settings range.
std::optional<std::int64_t> LeadingScaled5(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
  std::int64_t whole = 0;
  bool any = false;
  while (i < text.size() && IsDigit(text[i])) {
    if (whole < kLimit / 10) whole = whole * 10 + (text[i] - '0');
    any = true;
    ++i;
  }
  std::int64_t fraction = 0;
  int fractionDigits = 0;
  bool sticky = false;  // digits beyond the guard digit, for the half test
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      any = true;
      if (fractionDigits < 5) {
        fraction = fraction * 10 + (text[i] - '0');
        ++fractionDigits;
      } else if (text[i] != '0') {
        sticky = true;
      }
      ++i;
    }
  }
  if (!any) return std::nullopt;
  while (fractionDigits < 5) {
    fraction *= 10;
    ++fractionDigits;
  }
  if (whole >= kLimit / 100000) whole = kLimit / 100000;
  std::int64_t scaled = whole * 100000 + fraction;
  // A digit beyond the guard makes an exact half a little more than half.
  scaled = scaled * 2 + (sticky ? 1 : 0);
  return negative ? -scaled : scaled;  // scaled by 2 × 10^5
}

}  // namespace

std::optional<std::int64_t> LeadingFixed4(std::string_view text) {
  auto v = LeadingScaled5(text);
  if (!v) return std::nullopt;
  return DivideHalfEven(*v, 20);
}

int WholeNumberValue(std::string_view text) {
  auto v = LeadingScaled5(text);
  if (!v) return 0;
  std::int64_t whole = DivideHalfEven(*v, 200000);
  if (whole > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (whole < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(whole);
}

std::string Fixed4Text(std::int64_t scaled) {
  std::string sign = scaled < 0 ? "-" : "";
  std::uint64_t magnitude = scaled < 0 ? static_cast<std::uint64_t>(-(scaled + 1)) + 1
                                       : static_cast<std::uint64_t>(scaled);
  std::string text = sign + std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

std::int64_t Fixed4DivideBy100(std::int64_t scaled) { return DivideHalfEven(scaled, 100); }

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

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && text[b] == ' ') ++b;
  size_t e = text.size();
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace kv
