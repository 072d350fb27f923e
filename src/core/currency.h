#pragma once
// Money and every other fixed-point value the program computes with (amounts,
// sums, rates): a whole number of ten-thousandths in 64 bits, so four
// decimals and a range of about +-9.2 x 10^14. No binary floating point.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// A result outside the range of Currency.
class CurrencyOverflow : public std::overflow_error {
 public:
  CurrencyOverflow() : std::overflow_error("currency value out of range") {}
};

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  // raw / 10000.
  static constexpr Currency FromRaw(std::int64_t raw) {
    Currency c;
    c.raw_ = raw;
    return c;
  }
  // A whole number; CurrencyOverflow beyond the range.
  static Currency FromInt(std::int64_t whole);
  // The number at the start of a number text (leading blanks, sign, digits,
  // ".", digits, exponent; reading stops at the first character that cannot
  // continue the number; no digits reads as 0), rounded to four decimals with
  // halves to the even digit. Empty when the value lies beyond the range.
  static std::optional<Currency> Parse(std::string_view text);

  constexpr std::int64_t Raw() const { return raw_; }
  constexpr bool IsZero() const { return raw_ == 0; }

  // Shortest decimal text: no trailing zeros, no "0" before the point of a
  // value between -1 and 1, "-" in front of a negative value: 1234.5, .5,
  // -.25, 0.
  std::string ToText() const;
  // The same with a sign position: a blank in front of a value from 0 up
  // (" 1234.5", " .5", " 0"), "-" in front of a negative one.
  std::string ToSignedText() const;

  // Exact arithmetic; products and quotients are rounded to four decimals,
  // halves to the even digit. A result beyond the range throws
  // CurrencyOverflow; division by zero throws std::domain_error.
  friend Currency operator+(Currency a, Currency b);
  friend Currency operator-(Currency a, Currency b);
  friend Currency operator*(Currency a, Currency b);
  friend Currency operator/(Currency a, Currency b);
  Currency operator-() const;
  Currency& operator+=(Currency b) { return *this = *this + b; }
  Currency& operator-=(Currency b) { return *this = *this - b; }
  Currency& operator*=(Currency b) { return *this = *this * b; }
  Currency& operator/=(Currency b) { return *this = *this / b; }

  friend constexpr bool operator==(const Currency&, const Currency&) = default;
  friend constexpr auto operator<=>(const Currency&, const Currency&) = default;

 private:
  std::int64_t raw_ = 0;
};

}  // namespace kv
