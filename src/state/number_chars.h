#pragma once
// The eight numbering character sets that the series fill of cells continues
// (ｲﾛﾊ..., イロハ..., いろは..., あいう..., Ⅰ..Ⅹ, Ａ..Ｚ, ａ..ｚ, アイウ...).
#include <array>
#include <string>

namespace kv {

struct NumberCharSets {
  // [1..8], display text; filled once at start-up and never changed.
  std::array<std::string, 9> NumberChars;
};

// Fills the eight sets: 35 characters each for the iroha and a-i-u-e-o sets
// (1 to 4 and 8), 10 Roman numerals (5), 26 full-width capitals (6) and small
// letters (7).
void NumberCharsInit(NumberCharSets& sets);

}  // namespace kv
