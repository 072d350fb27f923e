// The number and date box filters decide what a user can type into the option
// and print dialogs: a wrong answer lets bad values in or locks good ones out.
#include "core/key_filters.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct KeyCase {
  const char* name;
  const char* mode;
  const char* text;
  int selStart;
  int selLength;
  int key;
  bool integerOnly;
  bool passes;
};

class FilterKeyPressCases : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FilterKeyPressCases, PassesOrSwallows) {
  const KeyCase& c = GetParam();
  int key = c.key;
  FilterKeyPress({c.text, c.selStart, c.selLength}, key, c.integerOnly, c.mode);
  EXPECT_EQ(key, c.passes ? c.key : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FilterKeyPressCases,
    ::testing::Values(
        KeyCase{"NumTenthDigit", "NUM", "123456789", 9, 0, '0', false, true},
        KeyCase{"NumEleventhDigit", "NUM", "1234567890", 10, 0, '0', false, false},
        KeyCase{"NumLargestValue", "NUM", "999999999", 9, 0, '9', false, true},
        KeyCase{"NumMostNegative", "NUM", "-99999999", 9, 0, '9', false, true},
        KeyCase{"NumBelowMostNegative", "NUM", "-999999999", 10, 0, '9', false, false},
        KeyCase{"NumDigitReplacesSelection", "NUM", "12345678901", 0, 11, '5', false, true},
        KeyCase{"NumDigitBeforeText", "NUM", "999999999", 0, 0, '1', false, true},
        KeyCase{"NumDigitInsideMakesTooLarge", "NUM", "1000000000", 1, 0, '1', false, false},
        KeyCase{"NumMinusAnywhere", "NUM", "123", 3, 0, '-', false, true},
        KeyCase{"NumFirstPoint", "NUM", "15", 2, 0, '.', false, true},
        KeyCase{"NumSecondPoint", "NUM", "1.5", 3, 0, '.', false, false},
        KeyCase{"NumPointWhenIntegerOnly", "NUM", "15", 2, 0, '.', true, false},
        KeyCase{"NumBackspace", "NUM", "15", 2, 0, kKeyBackspace, false, true},
        KeyCase{"NumEnter", "NUM", "15", 2, 0, kKeyEnter, false, false},
        KeyCase{"NumLetter", "NUM", "15", 2, 0, 'a', false, false},
        KeyCase{"NumFullWidthDigit", "NUM", "15", 2, 0, 0xFF10, false, false},
        KeyCase{"YmdZeroIntoEmpty", "YMD", "", 0, 0, '0', false, false},
        KeyCase{"YmdOneIntoEmpty", "YMD", "", 0, 0, '1', false, true},
        KeyCase{"YmdThirdDigit", "YMD", "12", 2, 0, '3', false, false},
        KeyCase{"YmdNinetyNine", "YMD", "9", 1, 0, '9', false, true},
        KeyCase{"YmdLeadingZero", "YMD", "1", 0, 0, '0', false, true},
        KeyCase{"YmdMinusFirst", "YMD", "", 0, 0, '-', false, false},
        KeyCase{"YmdBackspace", "YMD", "12", 2, 0, kKeyBackspace, false, true},
        KeyCase{"YmdEnter", "YMD", "12", 2, 0, kKeyEnter, false, false},
        KeyCase{"OtherModeLetsAllThrough", "", "12", 2, 0, 'x', false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyFilters, CandidateTextCountsCharactersNotBytes) {
  EXPECT_EQ(CandidateText({"１２3", 1, 1}, '5'), "１53");
  EXPECT_EQ(CandidateText({"１２3", 3, 0}, 0x30C6), "１２3テ");
  // A selection past the end is cut to the text.
  EXPECT_EQ(CandidateText({"12", 1, 9}, '7'), "17");
}

TEST(KeyFilters, LeadingNumberReadsLikeVal) {
  EXPECT_EQ(LeadingNumberValue("12-3"), 12);
  EXPECT_EQ(LeadingNumberValue(" 1 2"), 12);
  EXPECT_EQ(LeadingNumberValue("-"), 0);
  EXPECT_EQ(LeadingNumberValue("1.5.3"), 1.5);
  EXPECT_EQ(LeadingNumberValue("-12.25x"), -12.25);
  EXPECT_EQ(LeadingNumberValue("abc"), 0);
}

TEST(KeyFilters, FilterDigitsOvertypesInModeOne) {
  KeyTextBox box{"1234", 2, 0};
  int key = '9';
  FilterDigits(box, key, 1);
  EXPECT_EQ(key, '9');
  EXPECT_EQ(box.selLength, 1);  // the "3" after the caret is replaced
  EXPECT_EQ(CandidateText(box, key), "1294");

  KeyTextBox atEnd{"1234", 4, 0};
  FilterDigits(atEnd, key, 1);
  EXPECT_EQ(atEnd.selLength, 0);  // nothing after the caret to replace

  KeyTextBox plain{"1234", 2, 0};
  FilterDigits(plain, key, 0);
  EXPECT_EQ(plain.selLength, 0);
}

TEST(KeyFilters, FilterDigitsPassesControlKeysOnly) {
  for (int passing : std::initializer_list<int>{kKeyBackspace, kKeyEnter, '0', '9'}) {
    KeyTextBox box{"12", 2, 0};
    int key = passing;
    FilterDigits(box, key, 0);
    EXPECT_EQ(key, passing);
  }
  for (int swallowed : std::initializer_list<int>{'a', '-', '.', 0xFF11}) {
    KeyTextBox box{"12", 2, 0};
    int key = swallowed;
    FilterDigits(box, key, 1);
    EXPECT_EQ(key, 0) << swallowed;
    EXPECT_EQ(box.selLength, 0);
  }
}

}  // namespace
}  // namespace kv
