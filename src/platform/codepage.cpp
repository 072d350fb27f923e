#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kv {
namespace {

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// One converter per direction and thread; iconv_open is far too slow per call.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can; returns the bytes consumed. Stops at the
  // first sequence it cannot convert (or an incomplete one at the end).
  size_t Run(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buf[1024];
    while (inLeft > 0) {
      char* outp = buf;
      size_t outLeft = sizeof buf;
      size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
      out.append(buf, static_cast<size_t>(outp - buf));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      break;  // EILSEQ or EINVAL: the caller deals with the bad sequence
    }
    return in.size() - inLeft;
  }

 private:
  iconv_t cd_;
};

Converter& ToSjisConverter() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromSjisConverter() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

// Length of the UTF-8 sequence that starts with c (1 for a stray byte).
size_t Utf8SeqLen(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
  if (c >= 0xC2) return 2;
  return 1;
}

// Each character's conversion, remembered per thread: iconv costs far more
// per call than a table look-up, and a text repeats few characters many
// times. An entry is 0 until known; then bit 31 is set, bits 24-27 hold the
// output length (and for FromSjis bits 28-29 the bytes consumed), and the
// low bytes the output.
constexpr uint32_t kKnown = 0x80000000u;

class CharCache {
 public:
  uint32_t& operator[](size_t key) {
    if (table_.empty()) table_.assign(0x10000, 0);
    return table_[key];
  }

 private:
  std::vector<uint32_t> table_;
};

uint32_t Pack(std::string_view bytes, size_t consumed) {
  uint32_t e = kKnown | static_cast<uint32_t>(bytes.size()) << 24 | static_cast<uint32_t>(consumed) << 28;
  for (size_t i = 0; i < bytes.size(); ++i) e |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return e;
}

void AppendPacked(uint32_t e, std::string& out) {
  const size_t n = (e >> 24) & 0xF;
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<char>((e >> (8 * i)) & 0xFF));
}

// Copies the run of bytes below 0x80 at the front of `in` (the same in
// UTF-8 and in Shift-JIS) and removes it from `in`.
void CopyAsciiRun(std::string_view& in, std::string& out) {
  size_t n = 0;
  while (n < in.size() && static_cast<unsigned char>(in[n]) < 0x80) ++n;
  out.append(in.data(), n);
  in.remove_prefix(n);
}

// The code point of a well-formed two- or three-byte UTF-8 sequence at the
// front of `s`, or -1.
int32_t Bmp(std::string_view s, size_t len) {
  auto cont = [&](size_t i) { return (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; };
  const unsigned char c = static_cast<unsigned char>(s[0]);
  if (len == 2 && s.size() >= 2 && cont(1)) return (c & 0x1F) << 6 | (s[1] & 0x3F);
  if (len != 3 || s.size() < 3 || !cont(1) || !cont(2)) return -1;
  const int32_t cp = (c & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F);
  return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? -1 : cp;
}

// One UTF-8 character at the front of `utf8` to Shift-JIS through iconv,
// as the whole-text conversion does it; returns the bytes consumed.
size_t ToSjisStep(std::string_view utf8, std::string& out) {
  const size_t len = std::min(Utf8SeqLen(static_cast<unsigned char>(utf8.front())), utf8.size());
  const size_t used = ToSjisConverter().Run(utf8.substr(0, len), out);
  if (used > 0) return used;
  out.push_back(kSjisDefaultChar);
  return len;
}

// One Shift-JIS character at the front of `sjis` to UTF-8 through iconv,
// as the whole-text conversion does it; returns the bytes consumed.
size_t FromSjisStep(std::string_view sjis, std::string& out) {
  const size_t len = IsSjisLeadByte(static_cast<unsigned char>(sjis.front())) && sjis.size() >= 2 ? 2 : 1;
  const size_t used = FromSjisConverter().Run(sjis.substr(0, len), out);
  if (used > 0) return used;
  out.append(kUtf8BrokenChar);
  // A lead byte with a bad trail byte: drop the lead byte only, so an ASCII
  // character after it is kept.
  return 1;
}

}  // namespace

std::string ToSjisByIconv(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  Converter& conv = ToSjisConverter();
  while (!utf8.empty()) {
    size_t used = conv.Run(utf8, out);
    utf8.remove_prefix(used);
    if (utf8.empty()) break;
    out.push_back(kSjisDefaultChar);
    size_t skip = Utf8SeqLen(static_cast<unsigned char>(utf8.front()));
    utf8.remove_prefix(skip < utf8.size() ? skip : utf8.size());
  }
  return out;
}

std::string FromSjisByIconv(std::string_view sjis) {
  if (IsAscii(sjis)) return std::string(sjis);
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  Converter& conv = FromSjisConverter();
  while (!sjis.empty()) {
    size_t used = conv.Run(sjis, out);
    sjis.remove_prefix(used);
    if (sjis.empty()) break;
    out.append(kUtf8BrokenChar);
    // A lead byte with a bad trail byte: drop the lead byte only, so an ASCII
    // character after it is kept.
    sjis.remove_prefix(1);
  }
  return out;
}

// Runs of ASCII are copied; every other character is converted once through
// iconv, one character at a time, and then read from the cache (keyed by
// code point). Malformed sequences and characters beyond U+FFFF (which have
// no Shift-JIS form) always take iconv. The results equal ToSjisByIconv's.
std::string ToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  thread_local CharCache cache;
  std::string one;
  while (true) {
    CopyAsciiRun(utf8, out);
    if (utf8.empty()) break;
    const size_t len = Utf8SeqLen(static_cast<unsigned char>(utf8.front()));
    const int32_t cp = Bmp(utf8, len);
    if (cp < 0) {
      utf8.remove_prefix(ToSjisStep(utf8, out));
      continue;
    }
    uint32_t& e = cache[static_cast<size_t>(cp)];
    if (e == 0) {
      one.clear();
      const size_t used = ToSjisStep(utf8.substr(0, len), one);
      e = used == len && one.size() <= 2 ? Pack(one, used) : 0;
      if (e == 0) {  // not one character (never seen): no caching
        out += one;
        utf8.remove_prefix(used);
        continue;
      }
    }
    AppendPacked(e, out);
    utf8.remove_prefix(len);
  }
  return out;
}

// As ToSjis: ASCII copied, a character (one byte, or a lead byte with the
// byte after it) converted once through iconv and then read from the cache
// keyed by its bytes. The results equal FromSjisByIconv's.
std::string FromSjis(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  thread_local CharCache cache;
  std::string one;
  while (true) {
    CopyAsciiRun(sjis, out);
    if (sjis.empty()) break;
    const unsigned char c = static_cast<unsigned char>(sjis.front());
    const bool pair = IsSjisLeadByte(c) && sjis.size() >= 2;
    const size_t key = pair ? static_cast<size_t>(c) << 8 | static_cast<unsigned char>(sjis[1]) : c;
    uint32_t& e = cache[key];
    if (e == 0) {
      one.clear();
      const size_t used = FromSjisStep(sjis.substr(0, pair ? 2 : 1), one);
      e = one.size() <= 3 ? Pack(one, used) : 0;
      if (e == 0) {
        out += one;
        sjis.remove_prefix(used);
        continue;
      }
    }
    AppendPacked(e, out);
    sjis.remove_prefix((e >> 28) & 0x3);
  }
  return out;
}

}  // namespace kv
