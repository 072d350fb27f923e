#include "calc/rounding.h"

#include <algorithm>
#include <optional>

#include "core/currency.h"
#include "platform/decimal.h"

namespace kv {
namespace {

// A number text taken apart: the sign in front, the whole part's value and the
// text after the first ".".
struct NumberParts {
  bool negative = false;
  std::int64_t whole = 0;
  bool point = false;
  std::string_view fraction;
};

// Empty when the whole part lies beyond the range of Currency.
std::optional<NumberParts> Split(std::string_view value) {
  NumberParts p;
  std::string_view body = value;
  if (!body.empty() && body.front() == '-') {
    p.negative = true;
    body.remove_prefix(1);
  }
  const size_t dot = body.find('.');
  if (dot != std::string_view::npos) {
    p.point = true;
    p.fraction = body.substr(dot + 1);
  }
  std::optional<Currency> whole = Currency::Parse(body.substr(0, dot));
  if (!whole) return std::nullopt;
  p.whole = whole->Raw() / Currency::kScale;
  return p;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::string WithSign(bool negative, std::int64_t magnitude) {
  return (negative && magnitude != 0 ? "-" : "") + std::to_string(magnitude);
}

}  // namespace

std::string RoundByMethod(std::string_view value, int method, int keta) {
  std::int64_t unit = 1;
  for (int i = std::clamp(keta, 0, 7); i > 0; --i) unit *= 10;
  switch (method) {
    case kRoundUp:
      return RoundUpToUnit(value, unit);
    case kRoundDown:
      return RoundDownToUnit(value, unit);
    case kRoundHalfUp:
      return RoundHalfUpToUnit(value, unit);
    default:
      return std::string(value);
  }
}

std::string RoundUpToUnit(std::string_view value, std::int64_t unit) {
  std::optional<NumberParts> p = Split(value);
  if (!p) return std::string(value);
  unit = std::max<std::int64_t>(unit, 1);
  const bool anyFraction = std::any_of(p->fraction.begin(), p->fraction.end(), [](char c) { return c >= '1' && c <= '9'; });
  const std::int64_t j = p->whole + (anyFraction ? 1 : 0);
  std::int64_t q = FloorDiv(j, unit);
  if (j > 0 && j % unit != 0) ++q;
  std::string text = WithSign(p->negative, q * unit);
  if (p->point && !p->fraction.empty()) text += '.' + std::string(p->fraction.size(), '0');
  return text;
}

std::string RoundDownToUnit(std::string_view value, std::int64_t unit) {
  std::optional<NumberParts> p = Split(value);
  if (!p) return std::string(value);
  unit = std::max<std::int64_t>(unit, 1);
  return WithSign(p->negative, FloorDiv(p->whole, unit) * unit);
}

std::string RoundHalfUpToUnit(std::string_view value, std::int64_t unit) {
  std::optional<NumberParts> p = Split(value);
  if (!p) return std::string(value);
  unit = std::max<std::int64_t>(unit, 1);
  if (unit == 1 && p->point) {
    // A fraction of one half or more rounds up.
    std::optional<ExactDecimal> f = ExactDecimal::Parse("0." + std::string(p->fraction));
    static const ExactDecimal kHalf = *ExactDecimal::Parse("0.5");
    if (f && *f >= kHalf) return WithSign(p->negative, p->whole + 1);
  }
  // Int(I / unit + 0.5) x unit, in whole numbers.
  return WithSign(p->negative, FloorDiv(2 * p->whole + unit, 2 * unit) * unit);
}

}  // namespace kv
