#include "core/path_shorten.h"

#include <vector>

namespace kv {
namespace {

// The characters of a UTF-8 text; a malformed byte counts as one character.
std::vector<std::string_view> Characters(std::string_view s) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (i + n > s.size()) n = 1;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) n = 1;
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

bool IsSeparator(std::string_view ch) { return ch == "/" || ch == "\\"; }

// Characters [from, to) joined.
std::string Join(const std::vector<std::string_view>& chars, size_t from, size_t to) {
  std::string s;
  for (size_t i = from; i < to && i < chars.size(); ++i) s += chars[i];
  return s;
}

}  // namespace

std::string PathShorten(std::string_view path, int n) {
  const std::vector<std::string_view> chars = Characters(path);
  const long length = static_cast<long>(chars.size());
  if (length <= n) return std::string(path);

  // The head runs up to and including the last separator, the file part from
  // that separator on; the extension is the file name's from its last "."
  // (a "." in a folder name is no extension).
  long lastSep = -1;
  for (long i = length - 1; i >= 0 && lastSep < 0; --i)
    if (IsSeparator(chars[i])) lastSep = i;
  long dot = -1;
  for (long i = length - 1; i > lastSep && dot < 0; --i)
    if (chars[i] == ".") dot = i;
  const std::string extension = dot < 0 ? std::string() : Join(chars, dot, length);
  const long extLength = dot < 0 ? 0 : length - dot;
  const long headLength = lastSep + 1;
  const std::string head = Join(chars, 0, headLength);
  const std::string filePart = lastSep < 0 ? std::string() : Join(chars, lastSep, length);
  const long filePartLength = lastSep < 0 ? 0 : length - lastSep;

  // Inner folders give way to "...", from the innermost outwards.
  std::string lastTrial;
  long lastTrialLength = -1;
  for (long i = lastSep - 1; i >= 0; --i) {
    if (!IsSeparator(chars[i])) continue;
    lastTrial = Join(chars, 0, i + 1) + "..." + filePart;
    lastTrialLength = i + 1 + 3 + filePartLength;
    if (lastTrialLength <= n) return lastTrial;
  }

  if (lastTrialLength >= 0) {
    // The shortest trial, cut before its end to make room for the extension.
    const long keep = n - extLength - 3;
    if (keep < 0) return "";
    return Join(Characters(lastTrial), 0, keep) + "..." + extension;
  }
  // No inner folder: the name itself is cut.
  const long keep = n - headLength - extLength - 3;
  if (keep < 0) return "";
  return head + Join(chars, headLength, headLength + keep) + "..." + extension;
}

}  // namespace kv
