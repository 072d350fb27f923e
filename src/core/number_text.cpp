#include "core/number_text.h"

#include <algorithm>
#include <array>

#include "core/number_scan.h"

namespace kv {

namespace {

// A decimal value as digit texts: integer digits without leading zeros and
// fraction digits without trailing zeros (both empty for 0).
struct Decimal {
  bool negative = false;
  std::string whole;
  std::string fraction;
  bool IsZero() const { return whole.empty() && fraction.empty(); }
};

// Digits kept at most on either side of the point; a value that reaches the
// bound is beyond every column (whole) or below every decimal step (fraction).
constexpr long kMaxDigits = 400;

void Normalize(Decimal& d) {
  size_t lead = d.whole.find_first_not_of('0');
  d.whole.erase(0, lead == std::string::npos ? d.whole.size() : lead);
  while (!d.fraction.empty() && d.fraction.back() == '0') d.fraction.pop_back();
  if (d.IsZero()) d.negative = false;
}

Decimal ToDecimal(const ScannedNumber& n) {
  Decimal d;
  if (n.IsZero()) return d;
  d.negative = n.negative;
  const long size = static_cast<long>(n.digits.size());
  const long point = size + n.exponent;  // digits before the point
  if (point >= size) {
    const long zeros = std::max(0L, std::min(point, kMaxDigits) - size);
    d.whole = n.digits + std::string(static_cast<size_t>(zeros), '0');
  } else if (point > 0) {
    d.whole = n.digits.substr(0, point);
    d.fraction = n.digits.substr(point);
  } else {
    d.fraction = std::string(std::min(-point, kMaxDigits), '0') + n.digits;
  }
  return d;
}

// Compares magnitudes given by their digit texts (as in Decimal).
int CompareMagnitude(std::string_view aWhole, std::string_view aFraction, const Decimal& b) {
  if (aWhole.size() != b.whole.size()) return aWhole.size() < b.whole.size() ? -1 : 1;
  if (int c = aWhole.compare(b.whole); c != 0) return c < 0 ? -1 : 1;
  size_t n = std::max(aFraction.size(), b.fraction.size());
  for (size_t i = 0; i < n; ++i) {
    char x = i < aFraction.size() ? aFraction[i] : '0';
    char y = i < b.fraction.size() ? b.fraction[i] : '0';
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

int CompareMagnitude(const Decimal& a, const Decimal& b) { return CompareMagnitude(a.whole, a.fraction, b); }

// Adds one unit of the last digit of `digits` (a digit text); returns true
// when the carry runs out of the front.
bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// Keeps `keep` fraction digits; `up` decides from the dropped digits whether
// the magnitude goes up by one unit of the last kept digit.
void CutFraction(Decimal& d, size_t keep, bool up) {
  if (d.fraction.size() <= keep) return;
  d.fraction.resize(keep);
  if (up) {
    std::string digits = d.whole + d.fraction;
    if (Increment(digits)) digits.insert(digits.begin(), '1');
    d.whole = digits.substr(0, digits.size() - keep);
    d.fraction = digits.substr(digits.size() - keep);
  }
  Normalize(d);
}

// Rounds to `places` decimals, halves to the even digit.
void RoundHalfEven(Decimal& d, size_t places) {
  if (d.fraction.size() <= places) return;
  char first = d.fraction[places];
  bool restNonZero = d.fraction.size() > places + 1;  // no trailing zeros are kept
  char last = places > 0 ? d.fraction[places - 1] : (d.whole.empty() ? '0' : d.whole.back());
  bool up = first > '5' || (first == '5' && (restNonZero || (last - '0') % 2 == 1));
  CutFraction(d, places, up);
}

// Rounds to 15 significant digits, halves away from zero.
void RoundSignificant(Decimal& d) {
  constexpr size_t kSignificant = 15;
  size_t lead = 0;  // zeros after the point before the first digit
  if (d.whole.empty()) {
    while (lead < d.fraction.size() && d.fraction[lead] == '0') ++lead;
  }
  size_t digits = d.whole.size() + d.fraction.size() - lead;
  if (digits <= kSignificant) return;
  if (d.whole.size() > kSignificant) {
    // The cut falls in the integer digits.
    size_t cut = kSignificant;
    bool up = d.whole[cut] >= '5';
    std::string kept = d.whole.substr(0, cut);
    if (up && Increment(kept)) kept.insert(kept.begin(), '1');
    d.whole = kept + std::string(d.whole.size() - cut, '0');
    d.fraction.clear();
    Normalize(d);
    return;
  }
  size_t keep = d.whole.empty() ? lead + kSignificant : kSignificant - d.whole.size();
  CutFraction(d, keep, d.fraction[keep] >= '5');
}

std::string Repeat(char c, int n) { return std::string(static_cast<size_t>(std::max(n, 0)), c); }

std::string RightAlign(const std::string& s, int width) { return Repeat(' ', width - static_cast<int>(s.size())) + s; }

bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

// The largest and the most negative value the column holds: the limit text is
// width nines with "." at position width - decimals; the negative limit is
// "-" and the limit text without its first character.
struct Limits {
  Decimal high;
  Decimal low;  // magnitude of the negative limit
};

Limits BuildLimits(const NumColumn& col) {
  std::string limit(static_cast<size_t>(std::max(col.width, 0)), '9');
  if (col.decimals > 0 && col.width > 0) limit[static_cast<size_t>(std::max(col.width - col.decimals, 1) - 1)] = '.';
  Limits l;
  l.high = ToDecimal(ScanNumber(limit));
  l.low = ToDecimal(ScanNumber(limit.empty() ? limit : limit.substr(1)));
  return l;
}

// Every value fitted or totalled is classified against its column's limits,
// thousands of times in one calculation of a sheet over a handful of column
// shapes: the limits of the last shapes are kept rather than built anew. The
// reference holds until the next call on the same thread.
const Limits& LimitsOf(const NumColumn& col) {
  struct Entry {
    int width = 0;
    int decimals = 0;
    bool filled = false;
    Limits limits;
  };
  thread_local std::array<Entry, 8> cache;
  thread_local size_t next = 0;
  for (Entry& e : cache)
    if (e.filled && e.width == col.width && e.decimals == col.decimals) return e.limits;
  Entry& e = cache[next];
  next = (next + 1) % cache.size();
  e = {col.width, col.decimals, true, BuildLimits(col)};
  return e.limits;
}

enum class Fit { Zero, Over, Under, Value };

// A value by its sign and digit texts (as in Decimal) against the column.
Fit Classify(bool negative, std::string_view whole, std::string_view fraction, const NumColumn& col) {
  if (whole.empty() && fraction.empty()) return Fit::Zero;
  const Limits& l = LimitsOf(col);
  if (!negative && CompareMagnitude(whole, fraction, l.high) > 0) return Fit::Over;
  if (negative && CompareMagnitude(whole, fraction, l.low) > 0) return Fit::Under;
  return Fit::Value;
}

Fit Classify(const Decimal& v, const NumColumn& col) { return Classify(v.negative, v.whole, v.fraction, col); }

std::string SignedWhole(const Decimal& v) { return (v.negative ? "-" : "") + v.whole; }

// A whole number followed by the column's empty decimals.
std::string WithEmptyDecimals(const Decimal& v, const NumColumn& col) {
  if (col.zero == '0') return SignedWhole(v) + '.' + Repeat('0', col.decimals);
  return SignedWhole(v) + Repeat(' ', col.decimals + 1);
}

// No bare point in a right-aligned value: a blank before it becomes "0", a
// "-" before it "-0".
void NoBarePoint(std::string& s) {
  const size_t point = s.find('.');
  if (point > 0 && s[point - 1] == ' ') {
    s[point - 1] = '0';
  } else if (point > 1 && s[point - 1] == '-' && s[point - 2] == ' ') {
    s[point - 2] = '-';
    s[point - 1] = '0';
  }
}

std::string FitValue(std::string_view text, const Decimal& value, const NumColumn& col) {
  const int w = col.width;
  if (col.decimals <= 0) {
    // Whole numbers: 0 <= v < 1 shows blanks; otherwise v cut toward zero
    // (so -0.4 shows "0").
    if (!value.negative && value.whole.empty()) return Repeat(' ', w);
    return RightAlign(value.whole.empty() ? "0" : SignedWhole(value), w);
  }
  const bool exponentForm = Contains(text, 'E') || Contains(text, 'e');
  if (!Contains(text, '.') && !exponentForm) return RightAlign(WithEmptyDecimals(value, col), w);

  Decimal v = value;
  Decimal step;
  step.fraction = Repeat('0', col.decimals - 1) + '1';
  if (col.decimals <= 4 && CompareMagnitude(v, step) < 0) return Repeat(' ', w);
  if (exponentForm) RoundHalfEven(v, 4);
  RoundSignificant(v);
  if (v.fraction.empty()) return RightAlign(WithEmptyDecimals(v, col), w);

  std::string decimals = v.fraction.substr(0, static_cast<size_t>(col.decimals));
  decimals += Repeat(col.zero, col.decimals - static_cast<int>(decimals.size()));
  std::string s = RightAlign(SignedWhole(v) + '.' + decimals, w);
  NoBarePoint(s);
  return s;
}

}  // namespace

namespace {

NumColumn BuildNumColumn(int width, std::string_view type, std::string_view zeroSetting) {
  NumColumn col;
  col.width = width;
  std::string_view digits = type;
  if (!type.empty() && Contains("SAQI", type[0])) digits.remove_prefix(1);
  Decimal d = ToDecimal(ScanNumber(digits));
  // A negative number or one of more than two digits is no count of decimals.
  const bool usable = !d.negative && !d.whole.empty() && d.whole.size() <= 2;
  col.decimals = usable ? std::stoi(d.whole) : 0;
  col.wholeNumber = !type.empty() && type[0] == '0';
  col.zero = zeroSetting == "0" ? '0' : ' ';
  return col;
}

}  // namespace

NumColumn NumColumnFor(int width, std::string_view type, std::string_view zeroSetting) {
  // Every number painted or fitted asks for its column's properties, which
  // reading the type code's decimals makes costly; a sheet has only a few
  // numeric columns, so the last ones read are kept (per thread).
  struct Entry {
    int width = 0;
    std::string type;
    bool zeroFill = false;
    bool filled = false;
    NumColumn col;
  };
  thread_local std::array<Entry, 8> cache;
  thread_local size_t next = 0;
  thread_local size_t last = 0;  // the entry found last, looked at first
  const bool zeroFill = zeroSetting == "0";
  auto matches = [&](const Entry& e) {
    return e.filled && e.width == width && e.zeroFill == zeroFill && e.type == type;
  };
  if (matches(cache[last])) return cache[last].col;
  for (size_t i = 0; i < cache.size(); ++i) {
    if (matches(cache[i])) {
      last = i;
      return cache[i].col;
    }
  }
  last = next;
  Entry& e = cache[next];
  next = (next + 1) % cache.size();
  e.width = width;
  e.type.assign(type);
  e.zeroFill = zeroFill;
  e.filled = true;
  e.col = BuildNumColumn(width, type, zeroSetting);
  return e.col;
}

namespace {

// The parts of a plain number text: an optional "-", digits, an optional "."
// and digits, at least one digit, nothing else.
struct PlainParts {
  bool negative = false;
  bool point = false;
  std::string_view whole;     // without leading zeros
  std::string_view fraction;  // without trailing zeros
};

bool SplitPlain(std::string_view text, PlainParts& parts) {
  size_t i = 0;
  parts.negative = !text.empty() && text[0] == '-';
  if (parts.negative) ++i;
  const size_t wholeStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const size_t wholeEnd = i;
  size_t fractionStart = i, fractionEnd = i;
  parts.point = i < text.size() && text[i] == '.';
  if (parts.point) {
    fractionStart = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    fractionEnd = i;
  }
  if (i != text.size() || (wholeEnd == wholeStart && fractionEnd == fractionStart)) return false;
  size_t lead = wholeStart;
  while (lead < wholeEnd && text[lead] == '0') ++lead;
  while (fractionEnd > fractionStart && text[fractionEnd - 1] == '0') --fractionEnd;
  parts.whole = text.substr(lead, wholeEnd - lead);
  parts.fraction = text.substr(fractionStart, fractionEnd - fractionStart);
  return true;
}

// NumFitColumn for a plain number text of at most 15 significant digits in a
// column of at most four decimals, where neither the exponent rounding nor
// the rounding to 15 significant digits applies: the same text, built in
// place. False, with `text` untouched, for any other text.
// `text` may be a view of `out`: it is read whole before `out` is written.
bool FitPlain(std::string_view text, std::string& out, const NumColumn& col) {
  constexpr size_t kSignificant = 15;
  PlainParts p;
  if (col.decimals > 4 || !SplitPlain(text, p) || p.whole.size() + p.fraction.size() > kSignificant) return false;
  const int w = std::max(col.width, 0);
  struct {
    bool negative;
    std::string_view whole, fraction;
  } v{p.negative && !(p.whole.empty() && p.fraction.empty()), p.whole, p.fraction};
  switch (Classify(v.negative, v.whole, v.fraction, col)) {
    case Fit::Zero: out.assign(static_cast<size_t>(w), ' '); return true;
    case Fit::Over: out.assign(static_cast<size_t>(w), '+'); return true;
    case Fit::Under: out.assign(static_cast<size_t>(w), '-'); return true;
    case Fit::Value: break;
  }
  const size_t d = static_cast<size_t>(col.decimals);
  char buf[64];
  size_t n = 0;
  auto put = [&](std::string_view part) {
    part.copy(buf + n, part.size());
    n += part.size();
  };
  auto signedWhole = [&] {
    if (v.negative) buf[n++] = '-';
    put(v.whole);
  };
  auto emptyDecimals = [&] {
    signedWhole();
    buf[n++] = col.zero == '0' ? '.' : ' ';
    for (size_t i = 0; i < d; ++i) buf[n++] = col.zero == '0' ? '0' : ' ';
  };
  bool barePointFix = false;
  if (d == 0) {
    if (!v.negative && v.whole.empty()) {
      out.assign(static_cast<size_t>(w), ' ');
      return true;
    }
    if (v.whole.empty()) {
      buf[n++] = '0';
    } else {
      signedWhole();
    }
  } else if (!p.point || v.fraction.empty()) {
    emptyDecimals();  // a whole number (not 0: its whole part has digits)
  } else {
    // Below the column's step: blanks (the fraction holds a digit other than 0).
    if (v.whole.empty() && v.fraction.find_first_not_of('0') >= d) {
      out.assign(static_cast<size_t>(w), ' ');
      return true;
    }
    signedWhole();
    buf[n++] = '.';
    const size_t taken = std::min(d, v.fraction.size());
    put(v.fraction.substr(0, taken));
    for (size_t i = taken; i < d; ++i) buf[n++] = col.zero;
    barePointFix = true;
  }
  if (n > static_cast<size_t>(w)) {
    out.assign(static_cast<size_t>(w), v.negative ? '-' : '+');
    return true;
  }
  out.assign(static_cast<size_t>(w) - n, ' ');
  out.append(buf, n);
  if (barePointFix) NoBarePoint(out);
  return true;
}

}  // namespace

void NumFitColumn(std::string& text, const NumColumn& col) {
  if (FitPlain(text, text, col)) return;
  const Decimal v = ToDecimal(ScanNumber(text));
  const int w = col.width;
  switch (Classify(v, col)) {
    case Fit::Zero: text = Repeat(' ', w); return;
    case Fit::Over: text = Repeat('+', w); return;
    case Fit::Under: text = Repeat('-', w); return;
    case Fit::Value: break;
  }
  std::string fitted = FitValue(text, v, col);
  // A value the limits let through whose text still needs more room (a
  // column too narrow for its own decimals) shows the overflow marks rather
  // than a cut number.
  if (static_cast<int>(fitted.size()) > w) fitted = Repeat(v.negative ? '-' : '+', w);
  text = std::move(fitted);
}

char* ShortestNumberText(Currency value, char* end) {
  const std::int64_t raw = value.Raw();
  char* p = end;
  if (raw == 0) {
    *--p = '0';
    return p;
  }
  std::uint64_t magnitude = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
  std::uint64_t fraction = magnitude % Currency::kScale;
  std::uint64_t whole = magnitude / Currency::kScale;
  if (fraction != 0) {
    int digits = 4;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    for (; digits > 0; --digits, fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
    *--p = '.';
  }
  for (; whole != 0; whole /= 10) *--p = static_cast<char>('0' + whole % 10);
  if (raw < 0) *--p = '-';
  return p;
}

void NumFitValue(std::string& out, Currency value, const NumColumn& col) {
  char buf[kShortestNumberChars];
  char* end = buf + sizeof buf;
  const char* begin = ShortestNumberText(value, end);
  const std::string_view text(begin, static_cast<size_t>(end - begin));
  if (FitPlain(text, out, col)) return;
  out.assign(text);
  NumFitColumn(out, col);
}

void NumCommaFormat(std::string& text, const NumColumn& col) {
  if (!text.empty() && text[0] == '.') return;
  if (IsOverflowMarkText(text)) return;
  size_t point = text.find('.');
  std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : text.substr(point);
  size_t first = whole.find_first_not_of(' ');
  whole = first == std::string::npos ? std::string() : whole.substr(first, whole.find_last_not_of(' ') - first + 1);
  std::string sign;
  if (!whole.empty() && whole[0] == '-') {
    sign = "-";
    whole.erase(0, 1);
  }
  if (whole.size() >= 4 && whole.size() <= 15) {
    for (size_t i = whole.size() - 3; i > 0; i -= std::min<size_t>(i, 3)) whole.insert(i, ",");
  }
  if (col.wholeNumber) {
    text = sign + whole;
    return;
  }
  const size_t length = static_cast<size_t>(std::max(col.decimals, 0)) + 1;
  fraction.resize(length, ' ');
  text = sign + whole + fraction;
  // The blanks after a value as long as the field allows are not shown: the
  // column is only as wide as its mask.
  while (text.size() > ShownWidth(col) && text.back() == ' ') text.pop_back();
}

void TotalFitColumn(std::string& text, const NumColumn& col) {
  switch (Classify(ToDecimal(ScanNumber(text)), col)) {
    case Fit::Zero: text = Repeat(' ', col.width); return;
    case Fit::Over: text = Repeat('+', col.width); return;
    case Fit::Under: text = Repeat('-', col.width); return;
    case Fit::Value: NumCommaFormat(text, col); return;
  }
}

bool IsOverflowMarkText(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const char c = text[first];
  const size_t last = text.find_last_not_of(' ');
  return (c == '+' || c == '-') && last > first && text.substr(first, last - first + 1).find_first_not_of(c) == std::string_view::npos;
}

size_t ShownWidth(const NumColumn& col) {
  // As MakeColumnMask lays out its mask: b digit positions take
  // b + floor((b - 1) / 3) characters (at most the 19 of the template).
  auto digits = [](int b) { return std::clamp(b + (b >= 1 ? (b - 1) / 3 : -((3 - b) / 3)), 0, 19); };
  if (col.decimals < 1) return static_cast<size_t>(digits(col.width));
  return static_cast<size_t>(digits(col.width - col.decimals - 1) + std::min(col.decimals + 1, 5));
}

std::string MakeColumnMask(int width, std::string_view typeCode) {
  static constexpr std::string_view kDigits = "###,###,###,###,###";
  static constexpr std::string_view kDecimals = ".0000";
  size_t at = !typeCode.empty() && typeCode[0] == 'A' ? 1 : 0;
  int decimals = at < typeCode.size() && typeCode[at] >= '0' && typeCode[at] <= '9' ? typeCode[at] - '0' : 0;
  // The last n characters of the digits template, n = b + floor((b - 1) / 3)
  // for b digit positions.
  auto digitsPart = [](int b) {
    int n = b + (b >= 1 ? (b - 1) / 3 : -((3 - b) / 3));
    n = std::clamp(n, 0, static_cast<int>(kDigits.size()));
    return std::string(kDigits.substr(kDigits.size() - static_cast<size_t>(n)));
  };
  if (decimals < 1) return digitsPart(width);
  return digitsPart(width - decimals - 1) +
         std::string(kDecimals.substr(0, std::min<size_t>(static_cast<size_t>(decimals) + 1, kDecimals.size())));
}

Currency DecimalStep(int decimals) {
  switch (decimals) {
    case 1: return Currency::FromRaw(1000);
    case 2: return Currency::FromRaw(100);
    case 3: return Currency::FromRaw(10);
    case 4: return Currency::FromRaw(1);
    default: return Currency{};
  }
}

}  // namespace kv
