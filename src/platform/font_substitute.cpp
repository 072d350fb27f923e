#include "platform/font_substitute.h"

#include <array>
#include <span>

namespace kv {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

const std::string* Installed(std::string_view name, const std::vector<std::string>& installed) {
  for (const std::string& f : installed)
    if (SameName(f, name)) return &f;
  return nullptr;
}

constexpr std::array<std::string_view, 6> kMincho{
    "IPAMincho", "IPAexMincho", "Noto Serif CJK JP", "Noto Serif JP", "TakaoMincho", "IPAPMincho"};
constexpr std::array<std::string_view, 7> kGothic{
    "IPAGothic",   "IPAexGothic", "Noto Sans CJK JP", "Noto Sans JP",
    "TakaoGothic", "VL Gothic",   "IPAPGothic"};

}  // namespace

std::string DisplayFontFamily(std::string_view stored, const std::vector<std::string>& installed) {
  if (const std::string* f = Installed(stored, installed)) return *f;
  bool mincho = stored == "ＭＳ 明朝" || stored == "標準明朝";
  bool gothic = stored == "ＭＳ ゴシック" || stored == "標準ゴシック";
  if (mincho || gothic) {
    std::span<const std::string_view> candidates =
        mincho ? std::span<const std::string_view>(kMincho) : std::span<const std::string_view>(kGothic);
    for (std::string_view candidate : candidates)
      if (const std::string* f = Installed(candidate, installed)) return *f;
  }
  return std::string(stored);
}

}  // namespace kv
