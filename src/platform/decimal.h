#pragma once
// An exact decimal number for the calculations: a coefficient of up to 38
// decimal digits and a scale of 0..kMaxScale decimals. Addition, subtraction
// and multiplication are exact while the result keeps within 38 digits; a
// result that needs more loses decimals (halves to the even digit) and one
// whose whole part needs more than 38 digits throws DecimalOverflow. No binary
// floating point takes part in any of it.
//
// `Currency` (four decimals in 64 bits) stays the type of stored sums; an
// ExactDecimal converts to and from it.
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/currency.h"

namespace kv {

// A result beyond the range of ExactDecimal (or of the type it is converted to).
class DecimalOverflow : public std::overflow_error {
 public:
  DecimalOverflow() : std::overflow_error("decimal value out of range") {}
};

// How a value is brought to fewer decimals.
enum class DecimalRounding {
  kHalfEven,  // to the nearest, a half to the even digit
  kTruncate,  // towards zero (cut)
  kFloor,     // towards minus infinity
  kCeiling,   // towards plus infinity
};

class ExactDecimal {
 public:
  static constexpr int kMaxDigits = 38;
  static constexpr int kMaxScale = 30;

  constexpr ExactDecimal() = default;
  static ExactDecimal FromInt(std::int64_t value);
  static ExactDecimal FromCurrency(Currency value);

  // The number a text begins with, read as number texts are read everywhere in
  // the calculation: blanks are skipped anywhere before and inside the number,
  // then a sign, digits, one ".", digits and an exponent ("E", a sign,
  // digits); reading stops at the first character that cannot continue the
  // number; a text without a number reads 0. More than kMaxScale decimals are
  // rounded (halves to even). Empty when the value lies beyond the range.
  static std::optional<ExactDecimal> Parse(std::string_view text);

  // A binary floating-point value (a power with a fractional exponent, a
  // logarithm) rounded to `significantDigits` significant digits. Empty for a
  // value that is not finite or lies beyond the range.
  static std::optional<ExactDecimal> FromLongDouble(long double value, int significantDigits = 15);
  long double ToLongDouble() const;

  // Rounded to four decimals, halves to the even digit; empty beyond the range
  // of Currency.
  std::optional<Currency> ToCurrency() const;

  bool IsZero() const { return coef_ == 0; }
  bool IsNegative() const { return negative_ && coef_ != 0; }
  bool IsWhole() const;
  int Sign() const { return coef_ == 0 ? 0 : (negative_ ? -1 : 1); }
  ExactDecimal Abs() const;
  ExactDecimal operator-() const;

  // The value with at most `decimals` decimals (0..kMaxScale).
  ExactDecimal Rounded(int decimals, DecimalRounding mode) const;

  // Shortest text: no trailing zeros, no "0" before the point of a value
  // between -1 and 1, "-" in front of a negative value: 1234.5, .5, -.25, 0.
  std::string ToText() const;
  // Exactly `decimals` decimals (rounded halves to even), "0" before the point
  // of a value between -1 and 1, "-" in front of a negative one (never of a
  // value that rounds to zero): 1250.000000, 0.500000, -12.500000.
  std::string ToFixedText(int decimals) const;
  // The digits of the magnitude: the whole part ("" for a magnitude below 1)
  // and exactly `decimals` digits of the fraction, cut.
  std::string WholeDigits() const;
  std::string FractionDigits(int decimals) const;

  // Exact, or rounded to kMaxDigits digits as said above; DecimalOverflow when
  // the whole part does not fit.
  friend ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b);
  friend ExactDecimal operator-(const ExactDecimal& a, const ExactDecimal& b);
  friend ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b);
  // a x b with at most `decimals` decimals (0..kMaxScale), rounded once by
  // `mode`.
  static ExactDecimal Multiply(const ExactDecimal& a, const ExactDecimal& b, int decimals,
                               DecimalRounding mode);
  // a / b with `decimals` decimals (0..kMaxScale) rounded by `mode`;
  // std::domain_error when b is zero.
  static ExactDecimal Divide(const ExactDecimal& a, const ExactDecimal& b, int decimals, DecimalRounding mode);

  ExactDecimal& operator+=(const ExactDecimal& b) { return *this = *this + b; }
  ExactDecimal& operator-=(const ExactDecimal& b) { return *this = *this - b; }
  ExactDecimal& operator*=(const ExactDecimal& b) { return *this = *this * b; }

  // Compared by value (1.50 equals 1.5).
  friend std::strong_ordering operator<=>(const ExactDecimal& a, const ExactDecimal& b);
  friend bool operator==(const ExactDecimal& a, const ExactDecimal& b) { return (a <=> b) == 0; }

 private:
  friend struct ExactDecimalAccess;
  unsigned __int128 coef_ = 0;  // magnitude x 10^scale_, below 10^38
  int scale_ = 0;
  bool negative_ = false;
};

}  // namespace kv
