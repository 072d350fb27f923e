#include "core/stored_number.h"

#include <climits>
#include <cstdint>
#include <stdexcept>

namespace kv {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Saturate(std::int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

int ReadHex(std::string_view t) {
  if (t.empty() || t == "-99" || t == "FFFF" || t == "EEEE") return kNoRecord;
  std::int64_t v = 0;
  for (char c : t) {
    int d = HexDigit(c);
    if (d < 0) break;
    v = v * 16 + d;
    if (v > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(v);
}

int ReadDecimal(std::string_view t) {
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  std::int64_t v = 0;
  for (; i < t.size() && IsDigit(t[i]); ++i)
    if (v <= INT_MAX) v = v * 10 + (t[i] - '0');
  if (i < t.size() && t[i] == '.') {
    // Round the fraction half to even, as a whole-number conversion does.
    ++i;
    int firstDigit = -1;
    bool moreNonZero = false;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
      if (firstDigit < 0)
        firstDigit = t[i] - '0';
      else if (t[i] != '0')
        moreNonZero = true;
    }
    if (firstDigit > 5 || (firstDigit == 5 && (moreNonZero || v % 2 == 1))) ++v;
  }
  return Saturate(negative ? -v : v);
}

}  // namespace

bool IsHexBase(std::string_view hLink) { return hLink == "16"; }

std::string NumToBaseStr(int value, bool hex) {
  if (!hex) return value < 0 ? std::to_string(value) : " " + std::to_string(value);
  if (value < -32768 || value > 0xFFFF)
    throw std::out_of_range("stored number out of the 16-bit range: " + std::to_string(value));
  static constexpr char kDigits[] = "0123456789ABCDEF";
  unsigned v = static_cast<unsigned>(value) & 0xFFFFu;
  char buf[4];
  int n = 0;
  do {
    buf[n++] = kDigits[v & 0xF];
    v >>= 4;
  } while (v != 0);
  std::string out;
  while (n > 0) out.push_back(buf[--n]);
  return out;
}

int BaseStrToNum(std::string_view text, bool hex) {
  std::string_view t = TrimBlanks(text);
  return hex ? ReadHex(t) : ReadDecimal(t);
}

std::string StoredNumberField(int value, bool hex) {
  if (value == kNoRecord) return std::string(kNoneField);
  // Appended to four blanks, the last four characters kept: " 9999" gives
  // "9999"; a number that loses a digit this way does not read back.
  std::string field(kStoredNumberWidth, ' ');
  field += NumToBaseStr(value, hex);
  field.erase(0, field.size() - kStoredNumberWidth);
  if (BaseStrToNum(field, hex) != value)
    throw std::out_of_range("record number cannot be stored in a 4-byte field: " + std::to_string(value));
  return field;
}

}  // namespace kv
