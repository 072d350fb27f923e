#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

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

}  // namespace

std::string ToSjis(std::string_view utf8) {
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

std::string FromSjis(std::string_view sjis) {
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

}  // namespace kv
