#include "core/sjis_text.h"

#include <utility>

#include "platform/codepage.h"

namespace kv {
namespace {

constexpr char kBlank = ' ';

constexpr bool IsSjisTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

unsigned char Byte(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

// Bytes of the Shift-JIS character at i: 2 for a lead byte with its trail
// byte, 1 for anything else (a broken lead byte stands alone).
size_t SjisCharLen(std::string_view b, size_t i) {
  if (IsSjisLeadByte(Byte(b, i)) && i + 1 < b.size() && IsSjisTrailByte(Byte(b, i + 1))) return 2;
  return 1;
}

// The furthest character boundary at or before `limit`, walking from `from`
// (a boundary). A lead byte is never left as the last byte before the cut: a
// broken one (no trail byte after it) is dropped as well.
size_t SjisCutPoint(std::string_view b, size_t from, size_t limit) {
  if (limit > b.size()) limit = b.size();
  size_t i = from;
  size_t lastStart = from;
  while (i < limit) {
    size_t len = SjisCharLen(b, i);
    if (i + len > limit) break;
    lastStart = i;
    i += len;
  }
  if (i > from && i - lastStart == 1 && IsSjisLeadByte(Byte(b, lastStart))) i = lastStart;
  return i;
}

// Bytes of the UTF-8 character at i; a byte that does not begin a
// well-formed sequence counts as a character of its own.
size_t Utf8CharLen(std::string_view s, size_t i) {
  unsigned char c = Byte(s, i);
  size_t len = c < 0x80 ? 1 : c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 1;
  if (i + len > s.size()) return 1;
  for (size_t k = 1; k < len; ++k)
    if ((Byte(s, i + k) & 0xC0) != 0x80) return 1;
  return len;
}

// Width in Shift-JIS bytes of one display character: 2 when its code page
// 932 form is a double-byte character, 1 otherwise (half-width katakana, and
// characters without a Shift-JIS form, which are written as "?").
int DisplayCharWidth(std::string_view ch) {
  if (ch.size() == 1) return 1;
  std::string b = ToSjis(ch);
  return b.size() == 2 && IsSjisLeadByte(static_cast<unsigned char>(b[0])) ? 2 : 1;
}

std::string_view TrimBlanks(std::string_view s) {
  size_t a = s.find_first_not_of(kBlank);
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(kBlank);
  return s.substr(a, b - a + 1);
}

std::string_view TrimRightBlanks(std::string_view s) {
  size_t b = s.find_last_not_of(kBlank);
  return b == std::string_view::npos ? std::string_view{} : s.substr(0, b + 1);
}

// Non-negative int -> size_t for byte counts.
size_t Count(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

using CharLenFn = size_t (*)(std::string_view, size_t);

std::string Squeeze(std::string_view text, int n, CharLenFn charLen) {
  std::string_view t = TrimBlanks(text);
  int chars = 0;
  for (size_t i = 0; i < t.size(); i += charLen(t, i)) ++chars;
  if (chars <= n) return std::string(t);
  std::string out;
  int taken = 0;
  for (size_t i = 0; i < t.size();) {
    size_t len = charLen(t, i);
    if (!(len == 1 && t[i] == kBlank)) {
      if (taken + 1 > n) return out + "_";  // only when n is 0 or less
      out.append(t.substr(i, len));
      if (++taken == n) return out;
    }
    i += len;
  }
  return out;
}

}  // namespace

// ---- Conversions and measures ----

std::string ToAnsiBytes(std::string_view text) { return ToSjis(text); }
std::string ToAnsiStr(std::string_view text) { return ToSjis(text); }
std::string ToUnicodeStr(std::string_view bytes) { return FromSjis(bytes); }

int AnsiByteLen(std::string_view text) { return static_cast<int>(ToSjis(text).size()); }
int LenBSjis(Utf8 text) { return AnsiByteLen(text.text); }
int LenBSjis(std::string_view bytes) { return static_cast<int>(bytes.size()); }

std::string MidAnsi(std::string_view bytes, int start) {
  if (start < 1 || Count(start) > bytes.size()) return {};
  return FromSjis(bytes.substr(Count(start) - 1));
}

std::string MidAnsi(std::string_view bytes, int start, int length) {
  if (start < 1 || length < 1 || Count(start) > bytes.size()) return {};
  return FromSjis(bytes.substr(Count(start) - 1, Count(length)));
}

// ---- Cutting and fitting ----

std::string LeftByBytes(std::string_view text, int n) {
  int width = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t len = Utf8CharLen(text, i);
    width += DisplayCharWidth(text.substr(i, len));
    if (width > n) break;
    i += len;
  }
  return std::string(text.substr(0, i));
}

std::string LeftByBytesAnsi(std::string_view bytes, int n) {
  return std::string(bytes.substr(0, SjisCutPoint(bytes, 0, Count(n))));
}

std::string CutToBytes(std::string_view bytes, int n) {
  size_t width = Count(n);
  if (bytes.size() <= width && n >= 0) return std::string(bytes);
  std::string out(bytes.substr(0, SjisCutPoint(bytes, 0, width)));
  out.resize(width, kBlank);
  return out;
}

std::string CutToBytes(Utf8 text, int n) {
  std::string bytes = ToSjis(text.text);
  if (bytes.size() <= Count(n) && n >= 0) return std::string(text.text);
  return FromSjis(CutToBytes(std::string_view(bytes), n));
}

namespace {

// MidBSjis on the byte form; the rest, when it is due, goes to *rest and
// *restDue is set.
std::string MidBytes(std::string_view bytes, int start, int* length, std::string* rest, bool* restDue) {
  int len = length ? *length : static_cast<int>(bytes.size()) - start + 1;
  if (len < 1 || start < 1 || Count(start) > bytes.size()) return {};
  size_t from = Count(start) - 1;
  size_t want = Count(len);
  size_t end = from + want < bytes.size() ? from + want : bytes.size();

  std::string piece;
  bool halfAtEnd = SjisCutPoint(bytes, from, end) != end;
  bool textEnded = end - from < want;
  bool nulAtEnd = bytes[end - 1] == '\0';
  if (halfAtEnd || textEnded || nulAtEnd) {
    // The piece ends one byte early with a blank: a cut character moves
    // whole into the next piece.
    size_t keep = end - from < want - 1 ? end - from : want - 1;
    piece.assign(bytes.substr(from, SjisCutPoint(bytes, from, from + keep) - from));
    piece.push_back(kBlank);
    if (length) --*length;
  } else {
    piece.assign(bytes.substr(from, end - from));
  }

  if (piece.size() != bytes.size()) {
    // The rest follows the piece without its trailing blanks.
    size_t next = from + TrimRightBlanks(piece).size();
    rest->assign(next < bytes.size() ? bytes.substr(next) : std::string_view{});
    *restDue = true;
  }
  return piece;
}

}  // namespace

std::string MidBSjis(std::string_view bytes, int start, int* length, std::string* rest) {
  std::string restBytes;
  bool restDue = false;
  std::string piece = MidBytes(bytes, start, length, &restBytes, &restDue);
  if (rest && restDue) *rest = std::move(restBytes);
  return piece;
}

std::string MidBSjis(Utf8 text, int start, int* length, std::string* rest) {
  std::string bytes = ToSjis(text.text);
  std::string restBytes;
  bool restDue = false;
  std::string piece = MidBytes(bytes, start, length, &restBytes, &restDue);
  if (rest && restDue) *rest = FromSjis(restBytes);
  return FromSjis(piece);
}

std::string SqueezeFitChars(Utf8 text, int n) { return Squeeze(text.text, n, Utf8CharLen); }
std::string SqueezeFitChars(std::string_view bytes, int n) { return Squeeze(bytes, n, SjisCharLen); }

std::string CutAtNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

void CutAtNulInPlace(std::string& text) {
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
}

// ---- Two-line cell texts ----

DanLines Text2DanSplit(std::string_view bytes, int mode) {
  DanLines out;
  if ((mode != kDanJoin && mode != kDanSplit) || TrimBlanks(bytes).empty()) return out;
  constexpr std::string_view kCrLf = "\r\n";
  size_t first = bytes.find(kCrLf);
  if (first == std::string_view::npos) {
    out.line1.assign(bytes);
    return out;
  }
  out.position = static_cast<int>(first) + 1;
  size_t secondStart = first + kCrLf.size();
  size_t second = bytes.find(kCrLf, first + 1);
  std::string_view line1 = bytes.substr(0, first);
  std::string_view line2 = bytes.substr(
      secondStart, second == std::string_view::npos ? std::string_view::npos : second - secondStart);
  out.line1.assign(line1);
  if (mode == kDanJoin)
    out.line1.append(line2);
  else
    out.line2.assign(line2);
  return out;
}

DanLines Text2DanSplit(Utf8 text, int mode) {
  DanLines out = Text2DanSplit(std::string_view(ToSjis(text.text)), mode);
  out.line1 = FromSjis(out.line1);
  out.line2 = FromSjis(out.line2);
  return out;
}

}  // namespace kv
