#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

ExactDecimal D(std::string_view text) {
  std::optional<ExactDecimal> d = ExactDecimal::Parse(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(ExactDecimal{});
}

std::string Nines(int n) { return std::string(static_cast<size_t>(n), '9'); }

TEST(ExactDecimal, ReadsNumberTextsAsTheCalculationReadsThem) {
  struct Case {
    std::string text;
    std::string shortest;
  };
  const Case cases[] = {
      {"12.5", "12.5"},
      {"  -0.250", "-.25"},
      {"+7", "7"},
      {".5", ".5"},
      {"5.", "5"},
      {"1 2 3", "123"},      // blanks inside the number are skipped
      {"- 1 . 5x", "-1.5"},  // reading stops at the first other character
      {"2.5.3", "2.5"},
      {"1.5E3", "1500"},
      {"25e-1", "2.5"},
      {"3E", "3"},  // no exponent digits: the "E" is not part of the number
      {"abc", "0"},
      {"", "0"},
      {"+++", "0"},  // an overflow mark of a column
      {"-", "0"},
      {"-0.000", "0"},
      {"0.1234567890123456789012345678901234", ".12345678901234567890123456789"},  // 30 decimals, halves even
      {"0.0000000000000000000000000000005", "0"},
      {"0.0000000000000000000000000000015", ".000000000000000000000000000002"},
      {"12345678901234567890123456789012345678", "12345678901234567890123456789012345678"},
      {"1234567890123456789012345678901234567.85", "1234567890123456789012345678901234567.8"},
  };
  for (const Case& c : cases) EXPECT_EQ(D(c.text).ToText(), c.shortest) << c.text;
}

// Stored cells (blanks, a sign, digits, a point) read the same value as the
// same number with a blank inside it, which only the general reader takes.
TEST(ExactDecimal, StoredCellsReadAsTheGeneralReaderReadsThem) {
  const char* cells[] = {"        1234", "  -12.50  ", "+7", "\t.5", "5.", "0012.3400", "-0",
                         "123456789012345678", "1234567890123456789", "99999999.9999999999", "37.00 ",
                         "12 ", "1.2.3", "-.25"};
  for (const char* cell : cells) {
    const std::string text = cell;
    const size_t digit = text.find_first_of("0123456789");
    std::string spaced = text;
    spaced.insert(digit + 1, " ");
    const ExactDecimal read = D(text);
    EXPECT_EQ(read, D(spaced)) << '"' << cell << '"';
    EXPECT_EQ(read.ToFixedText(10), D(spaced).ToFixedText(10)) << '"' << cell << '"';
  }
}

TEST(ExactDecimal, RefusesNumbersBeyondItsRange) {
  for (std::string text : {std::string("1E400"), Nines(39), std::string("123456789012345678901234567890123456789.5"),
                           std::string(100000, '7')})
    EXPECT_FALSE(ExactDecimal::Parse(text).has_value()) << text.substr(0, 50);
  EXPECT_EQ(D("1E-400").ToText(), "0");
  EXPECT_EQ(D("0." + std::string(100000, '0') + "1").ToText(), "0");
}

TEST(ExactDecimal, AddsSubtractsAndMultipliesExactly) {
  EXPECT_EQ((D("0.1") + D("0.2")).ToText(), ".3");
  EXPECT_EQ((D("1250") - D("1250.0001")).ToText(), "-.0001");
  EXPECT_EQ((D("13000") - D("-12840")).ToText(), "25840");
  EXPECT_EQ((D("1.05") * D("1234.5")).ToText(), "1296.225");
  EXPECT_EQ((D("-0.5") * D("0.5")).ToText(), "-.25");
  // 28 significant digits and more stay exact.
  EXPECT_EQ((D("1234567890123456.789012345678") + D("0.000000000001")).ToText(), "1234567890123456.789012345679");
  EXPECT_EQ((D(Nines(19)) * D(Nines(19))).ToText(), "99999999999999999980000000000000000001");
  // Decimals that no longer fit 38 digits are rounded, halves to even.
  EXPECT_EQ((D("1" + std::string(35, '0')) + D("0.125")).ToText(), "100000000000000000000000000000000000.12");
  EXPECT_EQ(ExactDecimal::Multiply(D("0.33333333333333"), D("0.33333333333333"), 20, DecimalRounding::kHalfEven)
                .ToText(),
            ".11111111111110888889");
}

TEST(ExactDecimal, ReportsAnOverflowInsteadOfAWrongValue) {
  EXPECT_THROW(D(Nines(20)) * D(Nines(20)), DecimalOverflow);
  EXPECT_THROW(D(Nines(38)) + D("1"), DecimalOverflow);
  EXPECT_THROW(D("-" + Nines(38)) - D("1"), DecimalOverflow);
  EXPECT_THROW(ExactDecimal::Divide(D(Nines(35)), D("0.000001"), 0, DecimalRounding::kHalfEven), DecimalOverflow);
  EXPECT_THROW(ExactDecimal::Divide(D("1"), D("0"), 20, DecimalRounding::kHalfEven), std::domain_error);
}

TEST(ExactDecimal, DividesToTheDecimalsAskedWithTheRoundingAsked) {
  struct Case {
    std::string a, b;
    int decimals;
    DecimalRounding mode;
    std::string quotient;
  };
  const Case cases[] = {
      {"10", "3", 14, DecimalRounding::kTruncate, "3.33333333333333"},
      {"2", "3", 14, DecimalRounding::kTruncate, ".66666666666666"},
      {"2", "3", 20, DecimalRounding::kHalfEven, ".66666666666666666667"},
      {"-2", "3", 4, DecimalRounding::kFloor, "-.6667"},
      {"-2", "3", 4, DecimalRounding::kCeiling, "-.6666"},
      {"1", "8", 2, DecimalRounding::kHalfEven, ".12"},  // a half to the even digit
      {"3", "8", 2, DecimalRounding::kHalfEven, ".38"},
      {"1", "-20", 14, DecimalRounding::kTruncate, "-.05"},
      {"0.000001", "7", 30, DecimalRounding::kTruncate, ".000000142857142857142857142857"},
      // Dividends beyond 128 bits once scaled.
      {Nines(38), "7", 20, DecimalRounding::kTruncate, "14285714285714285714285714285714285714"},
      {"1" + std::string(20, '0'), "3", 20, DecimalRounding::kHalfEven, "33333333333333333333.333333333333333333"},
      {"1", "3" + std::string(37, '0'), 30, DecimalRounding::kHalfEven, "0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExactDecimal::Divide(D(c.a), D(c.b), c.decimals, c.mode).ToText(), c.quotient)
        << c.a << " / " << c.b;
}

TEST(ExactDecimal, RoundsAndWritesFixedDecimals) {
  EXPECT_EQ(D("2.5").Rounded(0, DecimalRounding::kHalfEven).ToText(), "2");
  EXPECT_EQ(D("3.5").Rounded(0, DecimalRounding::kHalfEven).ToText(), "4");
  EXPECT_EQ(D("-2.1").Rounded(0, DecimalRounding::kFloor).ToText(), "-3");
  EXPECT_EQ(D("-2.9").Rounded(0, DecimalRounding::kCeiling).ToText(), "-2");
  EXPECT_EQ(D("2.99").Rounded(1, DecimalRounding::kTruncate).ToText(), "2.9");
  EXPECT_EQ(D("1250").ToFixedText(6), "1250.000000");
  EXPECT_EQ(D("-12.5").ToFixedText(6), "-12.500000");
  EXPECT_EQ(D(".5").ToFixedText(6), "0.500000");
  EXPECT_EQ(D("-0.0000004").ToFixedText(6), "0.000000");
  EXPECT_EQ(D("0.0000025").ToFixedText(6), "0.000002");
  EXPECT_EQ(D("0.25").WholeDigits(), "");
  EXPECT_EQ(D("-0.25").FractionDigits(14), "25000000000000");
  EXPECT_EQ(D("12.123456789012345678").FractionDigits(14), "12345678901234");
}

TEST(ExactDecimal, ComparesByValue) {
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_LT(D("-2"), D("-1.9999"));
  EXPECT_GT(D(Nines(38)), D("0." + Nines(30)));
  EXPECT_EQ(D("-0"), D("0"));
  EXPECT_TRUE(D("12.000").IsWhole());
  EXPECT_FALSE(D("12.001").IsWhole());
}

TEST(ExactDecimal, ConvertsToAndFromCurrency) {
  EXPECT_EQ(ExactDecimal::FromCurrency(Currency::FromRaw(-25)).ToText(), "-.0025");
  EXPECT_EQ(D("2.00005").ToCurrency(), Currency::FromRaw(20000));  // a half to the even digit
  EXPECT_EQ(D("2.00015").ToCurrency(), Currency::FromRaw(20002));
  EXPECT_EQ(D("-922337203685477.5808").ToCurrency(), Currency::FromRaw(INT64_MIN));
  EXPECT_FALSE(D("922337203685477.5808").ToCurrency().has_value());
  EXPECT_EQ(ExactDecimal::FromInt(INT64_MIN).ToText(), "-9223372036854775808");
}

TEST(ExactDecimal, TakesBinaryValuesRoundedToSignificantDigits) {
  EXPECT_EQ(ExactDecimal::FromLongDouble(0.1L)->ToText(), ".1");
  EXPECT_EQ(ExactDecimal::FromLongDouble(2.0L / 3.0L)->ToText(), ".666666666666667");
  EXPECT_EQ(ExactDecimal::FromLongDouble(1e20L)->ToText(), "100000000000000000000");
  EXPECT_FALSE(ExactDecimal::FromLongDouble(1e50L).has_value());
  EXPECT_FALSE(ExactDecimal::FromLongDouble(std::numeric_limits<long double>::infinity()).has_value());
  EXPECT_FALSE(ExactDecimal::FromLongDouble(std::numeric_limits<long double>::quiet_NaN()).has_value());
}

}  // namespace
}  // namespace kv
