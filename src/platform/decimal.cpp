#include "platform/decimal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/number_scan.h"

namespace kv {
namespace {

using U128 = unsigned __int128;
using std::uint64_t;

constexpr int kMaxDigits = ExactDecimal::kMaxDigits;
constexpr int kMaxScale = ExactDecimal::kMaxScale;

constexpr std::array<U128, kMaxDigits + 1> kPow10 = [] {
  std::array<U128, kMaxDigits + 1> p{};
  p[0] = 1;
  for (int i = 1; i <= kMaxDigits; ++i) p[i] = p[i - 1] * 10;
  return p;
}();
constexpr U128 kCoefLimit = kPow10[kMaxDigits];  // coefficients stay below this
constexpr uint64_t kPow19 = 10000000000000000000ull;

// An unsigned integer of 384 bits for the results that leave 128 bits on the
// way: products of two 38-digit coefficients (below 10^76) and dividends
// scaled for a quotient (below 10^98).
struct Wide {
  static constexpr int kLimbs = 6;
  std::array<uint64_t, kLimbs> limb{};

  static Wide From(U128 v) {
    Wide w;
    w.limb[0] = static_cast<uint64_t>(v);
    w.limb[1] = static_cast<uint64_t>(v >> 64);
    return w;
  }
  bool FitsU128() const {
    for (int i = 2; i < kLimbs; ++i)
      if (limb[i] != 0) return false;
    return true;
  }
  U128 ToU128() const { return (U128(limb[1]) << 64) | limb[0]; }
  bool IsZero() const {
    for (uint64_t l : limb)
      if (l != 0) return false;
    return true;
  }
  void MulSmall(uint64_t m) {
    U128 carry = 0;
    for (uint64_t& l : limb) {
      U128 t = U128(l) * m + carry;
      l = static_cast<uint64_t>(t);
      carry = t >> 64;
    }
  }
  // Divides in place; answers the remainder.
  uint64_t DivSmall(uint64_t d) {
    U128 rem = 0;
    for (int i = kLimbs - 1; i >= 0; --i) {
      U128 cur = (rem << 64) | limb[i];
      limb[i] = static_cast<uint64_t>(cur / d);
      rem = cur % d;
    }
    return static_cast<uint64_t>(rem);
  }
  static Wide Mul(const Wide& a, const Wide& b) {
    Wide r;
    for (int i = 0; i < kLimbs; ++i) {
      U128 carry = 0;
      for (int j = 0; i + j < kLimbs; ++j) {
        U128 t = U128(a.limb[i]) * b.limb[j] + r.limb[i + j] + carry;
        r.limb[i + j] = static_cast<uint64_t>(t);
        carry = t >> 64;
      }
    }
    return r;
  }
  void Add(const Wide& b) {
    U128 carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
      U128 t = U128(limb[i]) + b.limb[i] + carry;
      limb[i] = static_cast<uint64_t>(t);
      carry = t >> 64;
    }
  }
  void Sub(const Wide& b) {  // *this >= b
    uint64_t borrow = 0;
    for (int i = 0; i < kLimbs; ++i) {
      uint64_t x = limb[i], y = b.limb[i];
      uint64_t d = x - y - borrow;
      borrow = (x < y || (x == y && borrow)) ? 1 : 0;
      limb[i] = d;
    }
  }
  void AddSmall(uint64_t v) {
    for (int i = 0; i < kLimbs && v != 0; ++i) {
      limb[i] += v;
      v = limb[i] < v ? 1 : 0;
    }
  }
  int BitLength() const {
    for (int i = kLimbs - 1; i >= 0; --i)
      if (limb[i] != 0) return i * 64 + 64 - __builtin_clzll(limb[i]);
    return 0;
  }
  bool Bit(int n) const { return (limb[n / 64] >> (n % 64)) & 1; }
  void Shl1() {
    for (int i = kLimbs - 1; i > 0; --i) limb[i] = (limb[i] << 1) | (limb[i - 1] >> 63);
    limb[0] <<= 1;
  }
  friend int Compare(const Wide& a, const Wide& b) {
    for (int i = kLimbs - 1; i >= 0; --i)
      if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
  }
  // Binary long division; only for the rare operands beyond 128 bits.
  static void DivMod(const Wide& n, const Wide& d, Wide& q, Wide& r) {
    q = Wide{};
    r = Wide{};
    for (int i = n.BitLength() - 1; i >= 0; --i) {
      r.Shl1();
      r.limb[0] |= n.Bit(i) ? 1 : 0;
      if (Compare(r, d) >= 0) {
        r.Sub(d);
        q.limb[i / 64] |= uint64_t(1) << (i % 64);
      }
    }
  }
};

const Wide& WidePow10(int n) {
  static const std::array<Wide, 116> table = [] {
    std::array<Wide, 116> t{};
    t[0] = Wide::From(1);
    for (size_t i = 1; i < t.size(); ++i) {
      t[i] = t[i - 1];
      t[i].MulSmall(10);
    }
    return t;
  }();
  return table.at(static_cast<size_t>(n));
}

int DigitCount(U128 v) {
  int n = 1;
  while (n <= kMaxDigits && v >= kPow10[n]) ++n;
  return n;
}

int DigitCount(const Wide& v) {
  if (v.FitsU128()) return DigitCount(v.ToU128());
  int n = kMaxDigits;
  while (n < 115 && Compare(v, WidePow10(n)) >= 0) ++n;
  return n;
}

// Whether a cut value moves one unit away from zero. `half` compares the
// dropped part with one half of the unit (-1 below, 0 equal, 1 above).
bool RoundsAway(DecimalRounding mode, bool negative, bool lastOdd, int half, bool droppedNonZero) {
  switch (mode) {
    case DecimalRounding::kHalfEven:
      return half > 0 || (half == 0 && lastOdd);
    case DecimalRounding::kTruncate:
      return false;
    case DecimalRounding::kFloor:
      return negative && droppedNonZero;
    case DecimalRounding::kCeiling:
      return !negative && droppedNonZero;
  }
  return false;
}

int CompareHalf(U128 rem, U128 unit) {
  U128 other = unit - rem;
  return rem < other ? -1 : (rem == other ? 0 : 1);
}

// Drops the last k (1..38) digits of m, rounded.
U128 DropDigits(U128 m, int k, bool negative, DecimalRounding mode) {
  const U128 unit = kPow10[k];
  U128 q = m / unit, r = m % unit;
  if (RoundsAway(mode, negative, q & 1, CompareHalf(r, unit), r != 0)) ++q;
  return q;
}

Wide DropDigits(const Wide& m, int k, bool negative, DecimalRounding mode) {
  Wide q = m, r;
  int half;
  bool nonZero;
  if (k <= 19) {
    const uint64_t unit = static_cast<uint64_t>(kPow10[k]);
    uint64_t rem = q.DivSmall(unit);
    half = CompareHalf(rem, unit);
    nonZero = rem != 0;
  } else {
    Wide::DivMod(m, WidePow10(k), q, r);
    Wide twice = r;
    twice.Shl1();
    half = Compare(twice, WidePow10(k));
    nonZero = !r.IsZero();
  }
  if (RoundsAway(mode, negative, q.limb[0] & 1, half, nonZero)) q.AddSmall(1);
  return q;
}

}  // namespace

// Builds values from magnitudes that may still need rounding.
struct ExactDecimalAccess {
  static ExactDecimal Make(bool negative, U128 coef, int scale) {
    ExactDecimal d;
    d.coef_ = coef;
    d.scale_ = scale;
    d.negative_ = negative && coef != 0;
    return d;
  }

  // At most `maxScale` decimals, then at most 38 digits (fewer decimals);
  // DecimalOverflow when the whole part alone needs more.
  static ExactDecimal Fit(bool negative, U128 mag, int scale, int maxScale, DecimalRounding mode) {
    if (scale > maxScale) {
      const int k = scale - maxScale;
      if (k > kMaxDigits) {
        // A 128-bit magnitude is below half of 10^39: only its being non-zero counts.
        mag = RoundsAway(mode, negative, false, -1, mag != 0) ? 1 : 0;
      } else {
        mag = DropDigits(mag, k, negative, mode);
      }
      scale = maxScale;
    }
    while (mag >= kCoefLimit) {
      const int k = DigitCount(mag) - kMaxDigits;
      if (k > scale) throw DecimalOverflow();
      mag = DropDigits(mag, k, negative, mode);
      scale -= k;
    }
    return Make(negative, mag, scale);
  }

  static ExactDecimal Fit(bool negative, const Wide& mag, int scale, int maxScale, DecimalRounding mode) {
    if (mag.FitsU128() && scale <= maxScale) return Fit(negative, mag.ToU128(), scale, maxScale, mode);
    Wide m = mag;
    if (scale > maxScale) {
      const int k = scale - maxScale;
      if (k > 100) {
        // Nothing of the magnitude reaches the kept decimals.
        m = Wide::From(RoundsAway(mode, negative, false, -1, !m.IsZero()) ? 1 : 0);
      } else {
        m = DropDigits(m, k, negative, mode);
      }
      scale = maxScale;
    }
    while (!m.FitsU128() || m.ToU128() >= kCoefLimit) {
      const int k = DigitCount(m) - kMaxDigits;
      if (k > scale) throw DecimalOverflow();
      m = DropDigits(m, k, negative, mode);
      scale -= k;
    }
    return Make(negative, m.ToU128(), scale);
  }

  // The magnitudes of a and b brought to the larger of their scales.
  static int Align(const ExactDecimal& a, const ExactDecimal& b, Wide& ma, Wide& mb) {
    const int scale = std::max(a.scale_, b.scale_);
    ma = Wide::From(a.coef_);
    mb = Wide::From(b.coef_);
    if (a.scale_ < scale) ma = Wide::Mul(ma, WidePow10(scale - a.scale_));
    if (b.scale_ < scale) mb = Wide::Mul(mb, WidePow10(scale - b.scale_));
    return scale;
  }

  // Both magnitudes at the larger scale within 128 bits; false when either
  // does not fit.
  static bool AlignFast(const ExactDecimal& a, const ExactDecimal& b, U128& ma, U128& mb, int& scale) {
    scale = std::max(a.scale_, b.scale_);
    ma = a.coef_;
    mb = b.coef_;
    if (a.scale_ < scale && __builtin_mul_overflow(ma, kPow10[scale - a.scale_], &ma)) return false;
    if (b.scale_ < scale && __builtin_mul_overflow(mb, kPow10[scale - b.scale_], &mb)) return false;
    return true;
  }

  static int CompareMagnitude(const ExactDecimal& a, const ExactDecimal& b) {
    U128 ma, mb;
    int scale;
    if (AlignFast(a, b, ma, mb, scale)) return ma < mb ? -1 : (ma == mb ? 0 : 1);
    Wide wa, wb;
    Align(a, b, wa, wb);
    return Compare(wa, wb);
  }

  static ExactDecimal AddSigned(const ExactDecimal& a, const ExactDecimal& b, bool bNegative) {
    const bool aNegative = a.negative_;
    U128 ma, mb;
    int scale;
    if (AlignFast(a, b, ma, mb, scale)) {
      if (aNegative == bNegative) {
        U128 sum;
        if (!__builtin_add_overflow(ma, mb, &sum))
          return Fit(aNegative, sum, scale, kMaxScale, DecimalRounding::kHalfEven);
      } else {
        return ma >= mb ? Fit(aNegative, ma - mb, scale, kMaxScale, DecimalRounding::kHalfEven)
                        : Fit(bNegative, mb - ma, scale, kMaxScale, DecimalRounding::kHalfEven);
      }
    }
    Wide wa, wb;
    scale = Align(a, b, wa, wb);
    if (aNegative == bNegative) {
      wa.Add(wb);
      return Fit(aNegative, wa, scale, kMaxScale, DecimalRounding::kHalfEven);
    }
    if (Compare(wa, wb) >= 0) {
      wa.Sub(wb);
      return Fit(aNegative, wa, scale, kMaxScale, DecimalRounding::kHalfEven);
    }
    wb.Sub(wa);
    return Fit(bNegative, wb, scale, kMaxScale, DecimalRounding::kHalfEven);
  }

  static bool Negative(const ExactDecimal& d) { return d.negative_; }
};

namespace {

using Access = ExactDecimalAccess;

std::string U128ToDigits(U128 v) {
  if (v == 0) return "0";
  std::string out;
  while (v != 0) {
    uint64_t chunk = static_cast<uint64_t>(v % kPow19);
    v /= kPow19;
    std::string part = std::to_string(chunk);
    if (v != 0) part.insert(0, 19 - part.size(), '0');
    out.insert(0, part);
  }
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a text begins with, without its blanks: sign, digits, ".",
// digits, and an exponent when digits follow the "E".
std::string CompactNumber(std::string_view text) {
  std::string out;
  size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
  bool digits = false, point = false;
  for (;; ++i) {
    skip();
    if (i >= text.size()) break;
    const char c = text[i];
    if (IsDigit(c)) {
      out += c;
      digits = true;
    } else if (c == '.' && !point) {
      out += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return {};
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    std::string exponent = "e";
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    bool expDigits = false;
    for (; j < text.size(); ++j) {
      if (IsBlank(text[j])) continue;
      if (!IsDigit(text[j])) break;
      exponent += text[j];
      expDigits = true;
    }
    if (expDigits) out += exponent;
  }
  return out;
}

// A value from its significant digits (no leading or trailing zeros) and a
// power of ten.
std::optional<ExactDecimal> FromScanned(const ScannedNumber& n) {
  if (n.IsZero()) return ExactDecimal{};
  const long count = static_cast<long>(n.digits.size());
  const long exponent = n.exponent;
  if (exponent >= 0) {
    if (count + exponent > kMaxDigits) return std::nullopt;
    U128 coef = 0;
    for (char c : n.digits) coef = coef * 10 + static_cast<unsigned>(c - '0');
    return Access::Make(n.negative, coef * kPow10[exponent], 0);
  }
  const long scale = -exponent;
  // Digits dropped: beyond the largest scale, and beyond 38 digits.
  long drop = std::max<long>(0, scale - kMaxScale);
  drop = std::max(drop, count - kMaxDigits);
  if (drop > scale) return std::nullopt;  // the whole part alone exceeds 38 digits
  const long kept = count - drop;
  U128 coef = 0;
  for (long i = 0; i < kept; ++i) coef = coef * 10 + static_cast<unsigned>(n.digits[i] - '0');
  if (drop > 0 && kept >= 0 && kept < count) {
    // The first dropped digit and whether any other follows (no trailing zeros).
    const char first = n.digits[kept];
    const bool more = kept + 1 < count;
    if (first > '5' || (first == '5' && (more || (coef & 1)))) ++coef;
  }
  long finalScale = scale - drop;
  if (coef >= kCoefLimit) {
    if (finalScale == 0) return std::nullopt;
    coef /= 10;  // 10^38 exactly
    --finalScale;
  }
  return Access::Make(n.negative, coef, static_cast<int>(finalScale));
}

}  // namespace

ExactDecimal ExactDecimal::FromInt(std::int64_t value) {
  const bool negative = value < 0;
  const U128 mag = negative ? U128(-(value + 1)) + 1 : U128(value);
  return Access::Make(negative, mag, 0);
}

ExactDecimal ExactDecimal::FromCurrency(Currency value) {
  const std::int64_t raw = value.Raw();
  const bool negative = raw < 0;
  const U128 mag = negative ? U128(-(raw + 1)) + 1 : U128(raw);
  return Access::Make(negative, mag, 4);
}

namespace {

// A short plain number ("+", "-", digits and at most one "."), read
// straight into the coefficient.
ExactDecimal PlainNumber(std::string_view compact) {
  size_t i = 0;
  bool negative = false;
  if (compact[0] == '+' || compact[0] == '-') {
    negative = compact[0] == '-';
    ++i;
  }
  // Up to 19 digits fit 64 bits, where the arithmetic is cheaper.
  std::uint64_t small = 0;
  U128 coef = 0;
  const bool fitsSmall = compact.size() <= 19;
  int scale = 0;
  bool point = false;
  for (; i < compact.size(); ++i) {
    if (compact[i] == '.') {
      point = true;
      continue;
    }
    const unsigned digit = static_cast<unsigned>(compact[i] - '0');
    if (fitsSmall)
      small = small * 10 + digit;
    else
      coef = coef * 10 + digit;
    if (point) ++scale;
  }
  return Access::Make(negative, fitsSmall ? U128(small) : coef, scale);
}

// `text` without its outer blanks when that is a sign, digits and at most
// one ".", with a digit, in at most 30 characters: exactly what
// CompactNumber would make of it. Empty otherwise.
std::string_view AlreadyCompact(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 30) return {};
  size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return {};
    }
  }
  return digits ? text : std::string_view();
}

// The usual stored cell, a sign, at most 18 digits and at most one "."
// between blanks, read in one pass as PlainNumber reads it: true with its
// value; false for anything else (read as below).
bool StoredCell(std::string_view text, ExactDecimal& value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative || (i < text.size() && text[i] == '+')) ++i;
  std::uint64_t coef = 0;
  int digits = 0, scale = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (++digits > 18) return false;
      coef = coef * 10 + static_cast<unsigned>(c - '0');
      scale += point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  for (; i < text.size(); ++i)
    if (!IsBlank(text[i])) return false;
  value = Access::Make(negative, U128(coef), scale);
  return true;
}

}  // namespace

std::optional<ExactDecimal> ExactDecimal::Parse(std::string_view text) {
  if (ExactDecimal value; StoredCell(text, value)) return value;
  // Most texts (stored cells, variables) are a plain number between blanks:
  // read without building the compacted copy.
  if (const std::string_view plain = AlreadyCompact(text); !plain.empty()) return PlainNumber(plain);
  const std::string compact = CompactNumber(text);
  if (compact.empty()) return ExactDecimal{};
  // The usual case: a short plain number read straight into the coefficient.
  if (compact.find('e') == std::string::npos && compact.size() <= 30) return PlainNumber(compact);
  return FromScanned(ScanNumber(compact));
}

std::optional<ExactDecimal> ExactDecimal::FromLongDouble(long double value, int significantDigits) {
  if (!std::isfinite(value)) return std::nullopt;
  if (significantDigits < 1) significantDigits = 1;
  if (significantDigits > kMaxDigits) significantDigits = kMaxDigits;
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%.*Le", significantDigits - 1, value);
  return Parse(buffer);
}

long double ExactDecimal::ToLongDouble() const { return std::strtold(ToText().c_str(), nullptr); }

std::optional<Currency> ExactDecimal::ToCurrency() const {
  const ExactDecimal r = Rounded(4, DecimalRounding::kHalfEven);
  U128 raw = r.coef_;
  if (__builtin_mul_overflow(raw, kPow10[4 - r.scale_], &raw)) return std::nullopt;
  const U128 limit = U128(std::numeric_limits<std::int64_t>::max()) + (r.negative_ ? 1 : 0);
  if (raw > limit) return std::nullopt;
  if (r.negative_) return Currency::FromRaw(static_cast<std::int64_t>(-static_cast<__int128>(raw)));
  return Currency::FromRaw(static_cast<std::int64_t>(raw));
}

bool ExactDecimal::IsWhole() const { return scale_ == 0 || coef_ % kPow10[scale_] == 0; }

ExactDecimal ExactDecimal::Abs() const { return Access::Make(false, coef_, scale_); }

ExactDecimal ExactDecimal::operator-() const { return Access::Make(!negative_, coef_, scale_); }

ExactDecimal ExactDecimal::Rounded(int decimals, DecimalRounding mode) const {
  decimals = std::clamp(decimals, 0, kMaxScale);
  if (scale_ <= decimals) return *this;
  return Access::Make(negative_, DropDigits(coef_, scale_ - decimals, negative_, mode), decimals);
}

std::string ExactDecimal::WholeDigits() const {
  if (coef_ < kPow10[scale_]) return {};
  return U128ToDigits(coef_ / kPow10[scale_]);
}

std::string ExactDecimal::FractionDigits(int decimals) const {
  std::string fraction;
  if (scale_ > 0) {
    fraction = U128ToDigits(coef_ % kPow10[scale_]);
    fraction.insert(0, static_cast<size_t>(scale_) - fraction.size(), '0');
  }
  fraction.resize(static_cast<size_t>(std::max(decimals, 0)), '0');
  return fraction;
}

std::string ExactDecimal::ToText() const {
  if (coef_ == 0) return "0";
  std::string fraction = FractionDigits(scale_);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = negative_ ? "-" : "";
  text += WholeDigits();
  if (!fraction.empty()) text += '.' + fraction;
  return text;
}

std::string ExactDecimal::ToFixedText(int decimals) const {
  decimals = std::clamp(decimals, 0, kMaxScale);
  const ExactDecimal r = Rounded(decimals, DecimalRounding::kHalfEven);
  std::string whole = r.WholeDigits();
  std::string text = r.IsNegative() ? "-" : "";
  text += whole.empty() ? "0" : whole;
  if (decimals > 0) text += '.' + r.FractionDigits(decimals);
  return text;
}

ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal& b) {
  return Access::AddSigned(a, b, Access::Negative(b));
}

ExactDecimal operator-(const ExactDecimal& a, const ExactDecimal& b) {
  return Access::AddSigned(a, b, !Access::Negative(b) && !b.IsZero());
}

ExactDecimal ExactDecimal::Multiply(const ExactDecimal& a, const ExactDecimal& b, int decimals,
                                    DecimalRounding mode) {
  decimals = std::clamp(decimals, 0, kMaxScale);
  const bool negative = a.negative_ != b.negative_;
  const int scale = a.scale_ + b.scale_;
  U128 product;
  if (!__builtin_mul_overflow(a.coef_, b.coef_, &product))
    return Access::Fit(negative, product, scale, decimals, mode);
  return Access::Fit(negative, Wide::Mul(Wide::From(a.coef_), Wide::From(b.coef_)), scale, decimals, mode);
}

ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal& b) {
  return ExactDecimal::Multiply(a, b, ExactDecimal::kMaxScale, DecimalRounding::kHalfEven);
}

ExactDecimal ExactDecimal::Divide(const ExactDecimal& a, const ExactDecimal& b, int decimals,
                                  DecimalRounding mode) {
  if (b.coef_ == 0) throw std::domain_error("decimal division by zero");
  decimals = std::clamp(decimals, 0, kMaxScale);
  const bool negative = a.negative_ != b.negative_;
  // a / b x 10^decimals = (ca x 10^e) / cb, or ca / (cb x 10^-e).
  const int e = b.scale_ + decimals - a.scale_;
  U128 num = a.coef_, den = b.coef_;
  bool fast = true;
  if (e >= 0) {
    fast = e <= kMaxDigits && !__builtin_mul_overflow(num, kPow10[e], &num);
  } else {
    fast = -e <= kMaxDigits && !__builtin_mul_overflow(den, kPow10[-e], &den);
  }
  if (fast) {
    U128 q = num / den, r = num % den;
    if (RoundsAway(mode, negative, q & 1, CompareHalf(r, den), r != 0)) ++q;
    return Access::Fit(negative, q, decimals, decimals, mode);
  }
  Wide wn = Wide::From(a.coef_), wd = Wide::From(b.coef_);
  if (e >= 0) {
    wn = Wide::Mul(wn, WidePow10(e));
  } else {
    wd = Wide::Mul(wd, WidePow10(-e));
  }
  Wide q, r;
  Wide::DivMod(wn, wd, q, r);
  Wide twice = r;
  twice.Shl1();
  if (RoundsAway(mode, negative, q.limb[0] & 1, Compare(twice, wd), !r.IsZero())) q.AddSmall(1);
  return Access::Fit(negative, q, decimals, decimals, mode);
}

std::strong_ordering operator<=>(const ExactDecimal& a, const ExactDecimal& b) {
  const int sa = a.Sign(), sb = b.Sign();
  if (sa != sb) return sa <=> sb;
  if (sa == 0) return std::strong_ordering::equal;
  const int m = Access::CompareMagnitude(a, b);
  const int c = sa > 0 ? m : -m;
  return c <=> 0;
}

}  // namespace kv
