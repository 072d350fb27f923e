#include "core/column_letter.h"

namespace kv {

int ColLetterToNum(std::string_view letter) {
  if (letter.empty()) return 0;
  char c = letter.front();
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 27;
  return 0;
}

std::string ColNumToLetter(int column) {
  if (column >= 1 && column <= 26) return std::string(1, static_cast<char>('A' + column - 1));
  if (column >= 27 && column <= 52) return std::string(1, static_cast<char>('a' + column - 27));
  return {};
}

bool IsNumericColumnType(std::string_view typeCode) {
  if (typeCode.empty()) return false;
  const char c = typeCode.front();
  return (c >= '0' && c <= '4') || c == 'A';
}

}  // namespace kv
