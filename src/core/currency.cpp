#include "core/currency.h"

#include <limits>

#include "core/number_scan.h"

namespace kv {
namespace {

using Wide = __int128;
using UWide = unsigned __int128;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

Currency Checked(Wide raw) {
  if (raw > kMax || raw < kMin) throw CurrencyOverflow();
  return Currency::FromRaw(static_cast<std::int64_t>(raw));
}

// num / den rounded to a whole number, halves to the even neighbour.
Wide DivideHalfEven(Wide num, Wide den) {
  bool negative = (num < 0) != (den < 0);
  UWide n = num < 0 ? -static_cast<UWide>(num) : static_cast<UWide>(num);
  UWide d = den < 0 ? -static_cast<UWide>(den) : static_cast<UWide>(den);
  UWide q = n / d;
  UWide r = n % d;
  if (r > d - r || (r == d - r && (q & 1))) ++q;
  return negative ? -static_cast<Wide>(q) : static_cast<Wide>(q);
}

}  // namespace

Currency Currency::FromInt(std::int64_t whole) { return Checked(Wide(whole) * kScale); }

std::optional<Currency> Currency::Parse(std::string_view text) {
  ScannedNumber n = ScanNumber(text);
  if (n.IsZero()) return Currency{};
  // Ten-thousandths: digits x 10^(exponent + 4).
  const long shift = static_cast<long>(n.exponent) + 4;
  const long kept = static_cast<long>(n.digits.size()) + shift;  // digits before the cut
  if (kept > 19) return std::nullopt;
  UWide raw = 0;
  for (long i = 0; i < kept; ++i)
    raw = raw * 10 + (i < static_cast<long>(n.digits.size()) ? n.digits[i] - '0' : 0);
  if (shift < 0) {
    // Digits after the cut decide the rounding (a cut before the first digit
    // drops an implied zero first, so it rounds down).
    long first = kept < 0 ? -1 : kept;
    bool up = false;
    if (first >= 0) {
      char d = n.digits[first];
      bool restNonZero = first + 1 < static_cast<long>(n.digits.size());  // no trailing zeros kept
      if (d > '5' || (d == '5' && restNonZero) || (d == '5' && !restNonZero && (raw & 1))) up = true;
    }
    if (up) ++raw;
  }
  const UWide limit = n.negative ? UWide(kMax) + 1 : UWide(kMax);
  if (raw > limit) return std::nullopt;
  Wide value = n.negative ? -static_cast<Wide>(raw) : static_cast<Wide>(raw);
  return FromRaw(static_cast<std::int64_t>(value));
}

std::string Currency::ToText() const {
  if (raw_ == 0) return "0";
  std::uint64_t magnitude = raw_ < 0 ? -static_cast<std::uint64_t>(raw_) : static_cast<std::uint64_t>(raw_);
  std::uint64_t whole = magnitude / kScale;
  std::uint64_t frac = magnitude % kScale;
  std::string text = raw_ < 0 ? "-" : "";
  if (whole != 0) text += std::to_string(whole);
  if (frac != 0) {
    std::string digits = std::to_string(frac + kScale).substr(1);  // four digits
    while (digits.back() == '0') digits.pop_back();
    text += '.' + digits;
  }
  return text;
}

std::string Currency::ToSignedText() const { return raw_ < 0 ? ToText() : ' ' + ToText(); }

Currency operator+(Currency a, Currency b) { return Checked(Wide(a.raw_) + b.raw_); }
Currency operator-(Currency a, Currency b) { return Checked(Wide(a.raw_) - b.raw_); }

Currency operator*(Currency a, Currency b) {
  return Checked(DivideHalfEven(Wide(a.raw_) * b.raw_, Currency::kScale));
}

Currency operator/(Currency a, Currency b) {
  if (b.raw_ == 0) throw std::domain_error("currency division by zero");
  return Checked(DivideHalfEven(Wide(a.raw_) * Currency::kScale, b.raw_));
}

Currency Currency::operator-() const { return Checked(-Wide(raw_)); }

}  // namespace kv
