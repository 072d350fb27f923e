#pragma once
// The running sums of the level calculation: fixed-point values with four
// decimals, as money is kept (`Currency`), held in 128 bits so that no sum of
// a sheet leaves its range; a sum too large for its column is shown by the
// column's overflow mark when it is stored.
#include <string>
#include <string_view>

#include "core/currency.h"

namespace kv {

class FixedSum {
 public:
  constexpr FixedSum() = default;
  static FixedSum FromCurrency(Currency c) { return FixedSum(c.Raw()); }
  // The number at the start of a cell text (leading blanks, sign, digits,
  // point, digits, exponent), rounded to four decimals with halves to the
  // even digit; a text that is no number (blanks, an overflow mark) reads 0.
  static FixedSum Parse(std::string_view text);

  bool IsZero() const { return raw_ == 0; }
  FixedSum& operator+=(FixedSum b) {
    raw_ += b.raw_;
    return *this;
  }
  // The product with a rate, rounded to four decimals, halves to even.
  FixedSum Times(Currency rate) const;
  // value x 100 / total to four decimals, halves to even; 0 when either is 0.
  static FixedSum Percent(FixedSum value, FixedSum total);

  // The number text with a sign position: " 1234.5", " .5", " 0", "-12".
  std::string ToSignedText() const;
  // The same without the blank in front of a value from 0 up.
  std::string ToText() const;

 private:
  constexpr explicit FixedSum(__int128 raw) : raw_(raw) {}
  __int128 raw_ = 0;
};

}  // namespace kv
