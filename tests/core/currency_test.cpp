#include "core/currency.h"

#include <gtest/gtest.h>

#include <limits>

namespace kv {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

Currency C(std::int64_t raw) { return Currency::FromRaw(raw); }

TEST(Currency, ParseReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    std::int64_t raw;
  };
  const Case cases[] = {
      {"  123.45", 1234500},  {"-0.5", -5000},      {".5", 5000},        {"-.25", -2500},
      {"  +7", 70000},        {"12abc", 120000},    {"1,234", 10000},    {"abc", 0},
      {"", 0},                {"-", 0},             {".", 0},            {"5.", 50000},
      {"1.5E3", 15000000},    {"1e2", 1000000},     {"1E", 10000},       {"2.5E+1x", 250000},
      {"   1234 ", 12340000}, {"0000.0001", 1},     {"-0", 0},
  };
  for (const Case& c : cases) {
    std::optional<Currency> v = Currency::Parse(c.text);
    ASSERT_TRUE(v.has_value()) << c.text;
    EXPECT_EQ(v->Raw(), c.raw) << c.text;
  }
}

TEST(Currency, ParseRoundsToFourDecimalsHalvesToEven) {
  struct Case {
    const char* text;
    std::int64_t raw;
  };
  const Case cases[] = {
      {"1.23455", 12346},  // tie, odd last digit goes up
      {"1.23445", 12344},  // tie, even last digit stays
      {"1.234451", 12345}, // above the half
      {"1.23449999", 12345},
      {"-1.23455", -12346},
      {"0.00005", 0},      // tie to the even 0
      {"0.00015", 2},
      {"2.5E-5", 0},
      {"1.5E-4", 2},
      {"9.99995", 100000},  // the carry runs into the whole part
      {"1E-300", 0},
  };
  for (const Case& c : cases) {
    std::optional<Currency> v = Currency::Parse(c.text);
    ASSERT_TRUE(v.has_value()) << c.text;
    EXPECT_EQ(v->Raw(), c.raw) << c.text;
  }
}

TEST(Currency, ParseBeyondTheRangeIsEmpty) {
  EXPECT_EQ(Currency::Parse("922337203685477.5807")->Raw(), kMax);
  EXPECT_EQ(Currency::Parse("-922337203685477.5808")->Raw(), kMin);
  EXPECT_FALSE(Currency::Parse("922337203685477.5808").has_value());
  EXPECT_FALSE(Currency::Parse("922337203685477.58075").has_value());  // rounds past the top
  EXPECT_FALSE(Currency::Parse("1E15").has_value());
  EXPECT_FALSE(Currency::Parse("99999999999999999999").has_value());
  EXPECT_FALSE(Currency::Parse("-1E99999").has_value());
}

TEST(Currency, Texts) {
  struct Case {
    std::int64_t raw;
    const char* text;
    const char* signedText;
  };
  const Case cases[] = {
      {12345000, "1234.5", " 1234.5"}, {5000, ".5", " .5"},   {-2500, "-.25", "-.25"},
      {0, "0", " 0"},                  {-10000, "-1", "-1"},  {12340001, "1234.0001", " 1234.0001"},
      {kMin, "-922337203685477.5808", "-922337203685477.5808"},
      {kMax, "922337203685477.5807", " 922337203685477.5807"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(C(c.raw).ToText(), c.text);
    EXPECT_EQ(C(c.raw).ToSignedText(), c.signedText);
    EXPECT_EQ(Currency::Parse(c.text), C(c.raw));  // the text reads back
  }
}

TEST(Currency, SumsAndDifferencesAreExact) {
  EXPECT_EQ(*Currency::Parse("0.1") + *Currency::Parse("0.2"), *Currency::Parse("0.3"));
  EXPECT_EQ(C(10000) - C(12500), C(-2500));
  Currency s;
  for (int i = 0; i < 1000; ++i) s += *Currency::Parse("0.0001");
  EXPECT_EQ(s, *Currency::Parse(".1"));
  EXPECT_THROW(C(kMax) + C(1), CurrencyOverflow);
  EXPECT_THROW(C(kMin) - C(1), CurrencyOverflow);
  EXPECT_THROW(-C(kMin), CurrencyOverflow);
  EXPECT_EQ(Currency::FromInt(-12), C(-120000));
  EXPECT_THROW(Currency::FromInt(1000000000000000), CurrencyOverflow);
}

TEST(Currency, ProductsAndQuotientsRoundHalvesToEven) {
  struct Case {
    const char* a;
    char op;
    const char* b;
    const char* result;
  };
  const Case cases[] = {
      {"12345", '*', ".08", "987.6"},       // consumption tax
      {".0001", '*', ".5", "0"},            // .00005: tie to the even 0
      {".0003", '*', ".5", ".0002"},        // .00015: tie to the even 2
      {"-.0003", '*', ".5", "-.0002"},
      {"1.2345", '*', "1.2345", "1.524"},   // 1.52399025
      {"1", '/', "3", ".3333"},
      {"2", '/', "3", ".6667"},
      {"-2", '/', "3", "-.6667"},
      {".0001", '/', "2", "0"},
      {".0003", '/', "2", ".0002"},
      {"1234.5", '/', "-.5", "-2469"},
  };
  for (const Case& c : cases) {
    Currency a = *Currency::Parse(c.a), b = *Currency::Parse(c.b);
    Currency r = c.op == '*' ? a * b : a / b;
    EXPECT_EQ(r.ToText(), c.result) << c.a << c.op << c.b;
  }
  EXPECT_THROW(C(10000) / Currency{}, std::domain_error);
  EXPECT_THROW(Currency::FromInt(100000000) * Currency::FromInt(100000000), CurrencyOverflow);
  EXPECT_THROW(C(kMax) / C(1), CurrencyOverflow);
}

TEST(Currency, Comparisons) {
  EXPECT_LT(C(-1), C(0));
  EXPECT_GT(*Currency::Parse("1.0001"), *Currency::Parse("1"));
  EXPECT_EQ(*Currency::Parse("1.50"), *Currency::Parse("1.5"));
  EXPECT_NE(C(1), C(2));
  EXPECT_TRUE(Currency{}.IsZero());
}

}  // namespace
}  // namespace kv
