#include "calc/fixed_sum.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include <cstdint>

#include "core/number_scan.h"

namespace kv {
namespace {

constexpr __int128 kScale = 10000;
// Far beyond any column: a larger magnitude is held at this bound, which
// keeps the sums of a sheet and their percentages well inside 128 bits.
constexpr int kMaxWholeDigits = 20;

// n / d rounded to the nearest, halves to the even quotient (d > 0).
__int128 DivideHalfEven(__int128 n, __int128 d) {
  const bool negative = n < 0;
  if (negative) n = -n;
  __int128 q = n / d;
  const __int128 r = n % d;
  if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
  return negative ? -q : q;
}

constexpr __int128 Pow10(int n) {
  __int128 b = 1;
  for (int i = 0; i < n; ++i) b *= 10;
  return b;
}

constexpr __int128 Bound() { return Pow10(kMaxWholeDigits + 4); }

// The common cell: blanks, an optional sign, at most 20 digits, an optional
// "." and at most four digits, then the end or a character that cannot
// continue the number. False for anything else (read the long way).
bool ParseCell(std::string_view text, __int128& raw) {
  size_t i = 0;
  // Cells are right-aligned: eight blanks at a time first.
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  for (std::uint64_t word = 0; i + sizeof word <= text.size(); i += sizeof word) {
    std::memcpy(&word, text.data() + i, sizeof word);
    if (word != kBlanks) break;
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  auto digitAt = [&text](size_t k) { return k < text.size() && static_cast<unsigned char>(text[k] - '0') <= 9; };
  // The whole part: its leading zeros passed over, then at most 20 digits.
  const size_t wholeStart = i;
  while (i < text.size() && text[i] == '0') ++i;
  const size_t significant = i;
  while (digitAt(i)) ++i;
  const size_t wholeEnd = i;
  if (wholeEnd - significant > static_cast<size_t>(kMaxWholeDigits)) return false;
  bool any = wholeEnd > wholeStart;
  size_t fractionStart = i, fractionEnd = i;
  if (i < text.size() && text[i] == '.') {
    fractionStart = ++i;
    while (digitAt(i)) ++i;
    fractionEnd = i;
    if (fractionEnd - fractionStart > 4) return false;
    any = any || fractionEnd > fractionStart;
  }
  if (any && i < text.size() && (text[i] == 'E' || text[i] == 'e')) return false;
  // Up to 19 digits in 64 bits; more (up to 20 whole and 4 decimals) in 128.
  const size_t digits = (wholeEnd - significant) + (fractionEnd - fractionStart);
  auto read = [&text, significant, wholeEnd, fractionStart, fractionEnd](auto value) {
    for (size_t k = significant; k < wholeEnd; ++k) value = value * 10 + (text[k] - '0');
    for (size_t k = fractionStart; k < fractionEnd; ++k) value = value * 10 + (text[k] - '0');
    return value;
  };
  __int128 value = digits <= 19 ? static_cast<__int128>(read(std::uint64_t{0})) : read(__int128{0});
  static constexpr std::int64_t kToScale[] = {10000, 1000, 100, 10, 1};
  value *= kToScale[fractionEnd - fractionStart];
  raw = negative ? -value : value;
  return true;
}

}  // namespace

FixedSum FixedSum::Parse(std::string_view text) {
  if (__int128 raw = 0; ParseCell(text, raw)) return FixedSum(raw);
  const ScannedNumber n = ScanNumber(text);
  if (n.IsZero()) return {};
  // value = digits x 10^exponent; raw = value x 10^4.
  const long shift = static_cast<long>(n.exponent) + 4;
  const long size = static_cast<long>(n.digits.size());
  if (size + shift > kMaxWholeDigits + 4) return FixedSum(n.negative ? -Bound() : Bound());
  __int128 raw = 0;
  if (shift >= 0) {
    for (char c : n.digits) raw = raw * 10 + (c - '0');
    for (long i = 0; i < shift; ++i) raw *= 10;
  } else {
    const long keep = size + shift;  // digits left of the fourth decimal
    if (keep < 0) return {};         // below half of the last decimal
    for (long i = 0; i < keep; ++i) raw = raw * 10 + (n.digits[static_cast<size_t>(i)] - '0');
    if (keep < size) {
      const char first = n.digits[static_cast<size_t>(keep)];
      const bool rest = keep + 1 < size;  // the digits hold no trailing zeros
      if (first > '5' || (first == '5' && (rest || (raw & 1) != 0))) ++raw;
    }
  }
  return FixedSum(n.negative ? -raw : raw);
}

FixedSum FixedSum::Times(Currency rate) const {
  const __int128 r = rate.Raw();
  const __int128 limit = Pow10(36);
  const __int128 a = raw_ < 0 ? -raw_ : raw_;
  const __int128 b = r < 0 ? -r : r;
  if (b != 0 && a > limit / b) return FixedSum((raw_ < 0) != (r < 0) ? -Bound() : Bound());
  return FixedSum(DivideHalfEven(raw_ * r, kScale));
}

FixedSum FixedSum::Percent(FixedSum value, FixedSum total) {
  if (value.IsZero() || total.IsZero()) return {};
  __int128 n = value.raw_ * 100 * kScale;
  __int128 d = total.raw_;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  return FixedSum(DivideHalfEven(n, d));
}

std::string FixedSum::ToText() const {
  if (raw_ == 0) return "0";
  const unsigned __int128 v = raw_ < 0 ? -static_cast<unsigned __int128>(raw_) : static_cast<unsigned __int128>(raw_);
  char buf[64];
  char* const end = buf + sizeof buf;
  char* p = end;
  unsigned fraction = static_cast<unsigned>(v % kScale);
  if (fraction != 0) {
    int digits = 4;
    for (; fraction % 10 == 0; fraction /= 10) --digits;
    for (; digits > 0; --digits, fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
    *--p = '.';
  }
  // The whole part in 64 bits once it fits (it always does but for sums
  // beyond 19 digits).
  unsigned __int128 whole = v / kScale;
  for (; whole > std::numeric_limits<std::uint64_t>::max(); whole /= 10) *--p = static_cast<char>('0' + int(whole % 10));
  for (auto w = static_cast<std::uint64_t>(whole); w != 0; w /= 10) *--p = static_cast<char>('0' + w % 10);
  if (raw_ < 0) *--p = '-';
  return std::string(p, static_cast<size_t>(end - p));
}

std::string FixedSum::ToSignedText() const { return raw_ < 0 ? ToText() : " " + ToText(); }

}  // namespace kv
