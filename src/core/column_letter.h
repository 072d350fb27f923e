#pragma once
// Column letters as formulas and column definitions write them: columns 1..26
// are "A".."Z", columns 27..52 are "a".."z"; and the numeric-column test.
#include <string>
#include <string_view>

namespace kv {

// The column number of the letter that begins the text; 0 for an empty text
// or any character other than "A".."Z" and "a".."z".
int ColLetterToNum(std::string_view letter);

// The letter of column 1..52; "" for any other number.
std::string ColNumToLetter(int column);

// True when a column type code marks a numeric column: it begins with one of
// "0", "1", "2", "3", "4", "A". An empty code (an undefined column) is not
// numeric.
bool IsNumericColumnType(std::string_view typeCode);

}  // namespace kv
