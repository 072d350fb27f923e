#include "core/even_space.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace kv {
namespace {

constexpr std::string_view kWideBlank = "\x81\x40";       // 　
constexpr std::string_view kLongVowel = "\x81\x5B";       // ー
constexpr std::string_view kHalfLongVowel = "\xB0";       // ｰ
constexpr unsigned char kVoicedMark = 0xDE;               // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;           // ﾟ
constexpr std::string_view kNumberChars = "1234567890.+/*-";
constexpr size_t kMaxUnits = 30;

// The characters of a Shift-JIS text; a lead byte at the very end stands
// alone (never read past the end).
std::vector<std::string_view> Characters(std::string_view s) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < s.size();) {
    size_t n = IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

bool IsDoubleByte(std::string_view ch) { return ch.size() == 2; }

bool IsNumberChar(std::string_view ch) {
  return ch.size() == 1 && kNumberChars.find(ch[0]) != std::string_view::npos;
}

// Latin letters: "A" to "z" by code.
bool IsLatinLetter(std::string_view ch) { return ch.size() == 1 && ch[0] >= 'A' && ch[0] <= 'z'; }

std::string_view FirstChar(const std::string& unit) { return Characters(unit).front(); }
std::string_view LastChar(const std::string& unit) { return Characters(unit).back(); }

// Joins into a unit each following unit that `joins` it.
template <typename Joins>
void KeepTogether(std::vector<std::string>& units, Joins joins) {
  std::vector<std::string> out;
  for (const std::string& u : units) {
    if (!out.empty() && joins(out.back(), u)) {
      out.back() += u;
    } else {
      out.push_back(u);
    }
  }
  units = std::move(out);
}

// x / 2 rounded to the nearest whole number, halves to the even one.
int HalfRoundedEven(int x) {
  int q = x >= 0 ? x / 2 : -((-x + 1) / 2);  // floor(x / 2)
  if (x % 2 != 0 && q % 2 != 0) ++q;         // x / 2 is a half: go to the even neighbour
  return q;
}

}  // namespace

bool EvenSpaceCellText(std::string& text, int width) {
  const std::vector<std::string_view> chars = Characters(text);
  std::string compact;
  std::vector<std::string_view> compactChars;
  for (std::string_view ch : chars) {
    if (ch == " " || ch == kWideBlank) continue;
    compact += ch;
    compactChars.push_back(ch);
  }
  if (compact.empty()) return false;

  const int w = width;
  const int W = static_cast<int>(compact.size());
  if (W >= w - 3) return true;
  const std::string framed = std::string(kWideBlank) + compact + std::string(kWideBlank);
  if (W >= w - 6) {
    text = framed;
    return true;
  }

  // Units: one character each; a half-width voiced or semi-voiced mark after
  // a single-byte character stays with it.
  std::vector<std::string> units;
  bool previousSingle = false;
  for (std::string_view ch : compactChars) {
    unsigned char b = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1 && (b == kVoicedMark || b == kSemiVoicedMark) && previousSingle) {
      units.back() += ch;
    } else {
      units.emplace_back(ch);
    }
    previousSingle = ch.size() == 1;
  }
  // More pieces than the spacing handles: the text stays as it is.
  if (units.size() > kMaxUnits) return true;

  const int room = w - 4 - W;
  auto gapOf = [&]() -> int {
    if (compactChars.size() == 1) return room / 2;
    if (units.size() >= 2) return room / static_cast<int>(units.size() - 1);
    return 0;
  };

  int gap = gapOf();
  bool runsJoined = false;  // the digit and letter runs had to be joined
  if (gap == 0) {
    // A long-vowel mark stays with the character before it: "ー" after a
    // double-byte one, "ｰ" after a single-byte one.
    KeepTogether(units, [](const std::string& unit, const std::string& next) {
      return IsDoubleByte(FirstChar(unit)) ? next == kLongVowel : next == kHalfLongVowel;
    });
    gap = gapOf();
  }
  if (gap == 0) {
    runsJoined = true;
    KeepTogether(units, [](const std::string& unit, const std::string& next) {
      return !IsDoubleByte(FirstChar(unit)) && IsNumberChar(LastChar(unit)) && IsNumberChar(next);
    });
    gap = gapOf();
  }
  if (gap == 0) {
    KeepTogether(units, [](const std::string& unit, const std::string& next) {
      return !IsDoubleByte(FirstChar(unit)) && IsLatinLetter(LastChar(unit)) && IsLatinLetter(next);
    });
    gap = gapOf();
  }
  if (gap == 0) {
    text = framed;
    return true;
  }

  const std::string blanks(static_cast<size_t>(gap), ' ');
  std::string spaced;
  for (size_t i = 0; i < units.size(); ++i) {
    if (i > 0) spaced += blanks;
    spaced += units[i];
  }
  // Room left over: one more blank before the last unit (a unit is never
  // split, so a voiced mark stays with its kana).
  if (!runsJoined && static_cast<int>(spaced.size()) < w - 4)
    spaced.insert(spaced.size() - units.back().size(), " ");

  const size_t first = spaced.find_first_not_of(' ');
  if (Characters(std::string_view(spaced).substr(first)).size() == 1) {
    // A single character is centred.
    const int p = HalfRoundedEven(w - static_cast<int>(Characters(spaced).size()) - 2);
    std::string centred = std::string(static_cast<size_t>(std::max(p, 0)), ' ') + spaced + std::string(w, ' ');
    text = centred.substr(0, static_cast<size_t>(w));
    return true;
  }
  text = std::string(kWideBlank) + spaced + std::string(kWideBlank);
  return true;
}

}  // namespace kv
