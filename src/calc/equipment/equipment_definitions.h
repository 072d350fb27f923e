#pragma once
// The equipment definitions file VEZ_SIKI.DAT and the small services the
// equipment calculation shares: unit letters, character tests, the
// classification-file test.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Sets the six counts and the column set to 0.
void SbClearDefinitions(ProgramState& st);

// Reads the definitions file into the tables and builds the equipment column
// set. A line is trimmed, empty and ";" lines are skipped, a comment after
// ";" is cut, every half- and full-width space is removed; the keyword lines
// SIKI, ZOKU, AUTO, KEIHI (one value line) and SZATU, SKEIHI (five) are
// matched whole and without letter case. A file that cannot be read gives
// one warning and empty tables. Entries that break the format (a column
// letter that is no letter "A".."Z"/"a".."z" where one is read, a SIKI rule
// without "=>", with "=>" before character 6 or with more than 10 "[#",
// value lines past the end) and lines beyond the limits (200 definition
// lines, 100 entries of a keyword) are left out, and one warning lists their
// line numbers. Warnings go through `WarnMsgBox`.
void SbLoadDefinitions(ProgramState& st, const std::string& path);

// J 10, H 100, S 1000, M 10000, T 100000, O 1000000 by the first character
// (upper-cased); 1 otherwise and for an empty text.
std::int64_t UnitLetterFactor(std::string_view unit);

bool IsAsciiLetter(std::string_view ch);
// "ｱ" .. "ﾝ" (Shift-JIS 0xB1 .. 0xDD).
bool IsHalfKana(std::string_view ch);
bool IsDigitOrMinus(std::string_view ch);

// True when [VEZ_File] FileType of workBase + ".INI" is exactly
// "SetubiSiwakeFile".
bool IsEquipmentSiwakeFile(const std::string& workBase);

// The column of the letter after the first "[[" of a definition line; 0
// when it holds none.
int ParseDoubleBracketNumber(std::string_view line);

}  // namespace kv
