#pragma once
// Key filters of the number and date text boxes: pure functions over the box's
// text and selection and the typed character, so that every dialog filters the
// same way and the rules are tested without widgets.
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

// What a key handler sees of a text box. Text is display text (UTF-8);
// positions and lengths count characters.
struct KeyTextBox {
  std::string text;
  int selStart = 0;
  int selLength = 0;
};

// The text the box would hold when `key` (a character code) replaced its
// selection.
std::string CandidateText(const KeyTextBox& box, int key);

// The value of the number a text begins with, read as the system's Val reads
// it: blanks are skipped anywhere, then a sign, digits and one decimal point;
// reading stops at the first other character; no number reads 0.
double LeadingNumberValue(std::string_view text);

// Number box filter. `key` is the typed character code; it is set to 0 when the
// key is swallowed. Mode "NUM": digits while the number stays within
// -999999999 .. 9999999999, "-", one "." (none when `integerOnly`), Backspace.
// Mode "YMD": digits and "-" while the number stays within 1 .. 99, Backspace.
// Any other mode lets every key through.
void FilterKeyPress(const KeyTextBox& box, int& key, bool integerOnly, std::string_view mode);

// Digits-only filter: control characters (codes below 32) pass, other
// characters that are not "0".."9" are swallowed (key = 0). Mode 1 is
// overtype: a digit typed with nothing selected selects the character at the
// caret so that the digit replaces it.
void FilterDigits(KeyTextBox& box, int& key, int mode);

// The key-down hook of the print dialogs' text boxes. Every key passes.
void TextKeyDownHook(const KeyTextBox& box, int keyCode);

}  // namespace kv
