#include "core/key_filters.h"

#include <vector>

namespace kv {

namespace {

// Byte offsets of the characters of a UTF-8 text, plus its end.
std::vector<size_t> CharOffsets(std::string_view text) {
  std::vector<size_t> offsets;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) offsets.push_back(i);
  offsets.push_back(text.size());
  return offsets;
}

std::string Utf8(int code) {
  std::string out;
  auto c = static_cast<unsigned>(code);
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

int CharCount(std::string_view text) { return static_cast<int>(CharOffsets(text).size()) - 1; }

bool IsDigit(int key) { return key >= '0' && key <= '9'; }

}  // namespace

std::string CandidateText(const KeyTextBox& box, int key) {
  std::vector<size_t> at = CharOffsets(box.text);
  int count = static_cast<int>(at.size()) - 1;
  int start = box.selStart < 0 ? 0 : box.selStart > count ? count : box.selStart;
  int end = box.selLength < 0 ? start : start + box.selLength;
  if (end > count) end = count;
  std::string out = box.text.substr(0, at[start]);
  if (key > 0) out += Utf8(key);
  out += box.text.substr(at[end]);
  return out;
}

double LeadingNumberValue(std::string_view text) {
  double value = 0;
  double scale = 0;  // 0 before the decimal point, then 0.1, 0.01 ...
  bool negative = false;
  bool started = false;  // a sign, digit or point was read
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    if (!started && (c == '-' || c == '+')) {
      negative = c == '-';
      started = true;
    } else if (c >= '0' && c <= '9') {
      started = true;
      if (scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        value += (c - '0') * scale;
        scale /= 10;
      }
    } else if (c == '.' && scale == 0) {
      started = true;
      scale = 0.1;
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

void FilterKeyPress(const KeyTextBox& box, int& key, bool integerOnly, std::string_view mode) {
  if (mode == "NUM") {
    if (IsDigit(key)) {
      double v = LeadingNumberValue(CandidateText(box, key));
      if (v > 9999999999.0 || v < -999999999.0) key = 0;
    } else if (key == '-' || key == kKeyBackspace) {
      // passes
    } else if (key == '.') {
      if (integerOnly || box.text.find('.') != std::string::npos) key = 0;
    } else {
      key = 0;
    }
  } else if (mode == "YMD") {
    if (IsDigit(key) || key == '-') {
      double v = LeadingNumberValue(CandidateText(box, key));
      if (v < 1 || v > 99) key = 0;
    } else if (key != kKeyBackspace) {
      key = 0;
    }
  }
}

void FilterDigits(KeyTextBox& box, int& key, int mode) {
  if (key < 32) return;
  if (!IsDigit(key)) {
    key = 0;
    return;
  }
  if (mode == 1 && box.selLength == 0 && box.selStart >= 0 && box.selStart < CharCount(box.text))
    box.selLength = 1;
}

void TextKeyDownHook(const KeyTextBox&, int) {}

}  // namespace kv
