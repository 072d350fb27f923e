#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "state/column_numbers.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

NumColumn Col(int width, int decimals, char zero = '0', bool wholeNumber = false) {
  return NumColumn{width, decimals, wholeNumber, zero};
}

struct FitCase {
  int width;
  int decimals;
  char zero;
  const char* text;
  const char* fitted;
};

void ExpectFits(const FitCase* begin, const FitCase* end) {
  for (const FitCase* c = begin; c != end; ++c) {
    std::string t = c->text;
    NumFitColumn(t, Col(c->width, c->decimals, c->zero));
    EXPECT_EQ(t, c->fitted) << "w" << c->width << " d" << c->decimals << " zero '" << c->zero << "' text \""
                            << c->text << '"';
  }
}

TEST(NumFitColumn, WithDecimals) {
  const FitCase cases[] = {
      {6, 2, '0', "123.4", "123.40"},
      {6, 2, ' ', "123.4", "123.4 "},
      {6, 2, '0', "1000", "++++++"},    // above 999.99
      {6, 2, '0', "-100", "------"},    // below -99.99
      {6, 2, '0', "999.99", "999.99"},
      {6, 2, '0', "-99.99", "-99.99"},
      {6, 2, '0', "999.994", "++++++"},
      {6, 2, '0', "123.456", "123.45"},  // cut, not rounded
      {6, 2, '0', "-12.349", "-12.34"},
      {6, 2, '0', "0.456", "  0.45"},    // no bare point
      {6, 2, '0', "-0.456", " -0.45"},
      {6, 2, '0', ".5", "  0.50"},
      {6, 2, '0', "0.009", "      "},   // below the column's step
      {6, 2, '0', "-0.009", "      "},
      {6, 2, '0', "123", "123.00"},
      {6, 2, ' ', "123", "123   "},
      {6, 2, ' ', "12.0", " 12   "},
      {6, 2, '0', "12.0", " 12.00"},
      {6, 2, '0', "-5", " -5.00"},
      {6, 2, '0', "  42.1", " 42.10"},
      {6, 2, '0', "", "      "},
      {6, 2, '0', "0.00", "      "},
      {6, 2, '0', "abc", "      "},
      {6, 2, '0', "++++++", "      "},
      {4, 2, '0', "-0.45", "-.45"},      // no room for the "0"
  };
  ExpectFits(std::begin(cases), std::end(cases));
}

TEST(NumFitColumn, WholeNumbers) {
  const FitCase cases[] = {
      {5, 0, '0', "123.9", "  123"},
      {5, 0, '0', "0.4", "     "},
      {5, 0, '0', "-0.4", "    0"},  // the whole part rounded down is -1, so the value shows
      {5, 0, '0', "-1.5", "   -1"},
      {5, 0, '0', "99999", "99999"},
      {5, 0, '0', "99999.9", "+++++"},  // above the limit 99999 before any cut
      {5, 0, '0', "100000", "+++++"},
      {5, 0, '0', "-9999", "-9999"},
      {5, 0, '0', "-10000", "-----"},
      {5, 0, ' ', "   42", "   42"},
      {5, 0, '0', "1.5E3", " 1500"},
  };
  ExpectFits(std::begin(cases), std::end(cases));
}

TEST(NumFitColumn, ExponentFormIsRoundedToFourDecimalsFirst) {
  const FitCase cases[] = {
      {8, 4, '0', "1.00015E+0", "  1.0002"},  // halves to the even digit
      {8, 4, '0', "1.00025E+0", "  1.0002"},
      {8, 4, '0', "1.00015", "  1.0001"},     // without exponent: cut
      {6, 2, '0', "1.99995E0", "  2.00"},
      {6, 2, '0', "1.5E-5", "      "},
      {6, 2, '0', "2E-2", "  0.02"},         // exponent form without a point: by its value
      {6, 2, '0', "1E2", "100.00"},
      {6, 2, ' ', "1E2", "100   "},
  };
  ExpectFits(std::begin(cases), std::end(cases));
}

TEST(NumFitColumn, PlainTextHasFifteenSignificantDigits) {
  const FitCase cases[] = {
      {16, 4, '0', "12345678901.99999999", "12345678902.0000"},
      {16, 4, '0', "12345678901.9999", "12345678901.9999"},
      {20, 4, '0', "0.99999999999999999", "              1.0000"},
      {8, 4, '0', "1.23456789012345678", "  1.2345"},
  };
  ExpectFits(std::begin(cases), std::end(cases));
}

TEST(NumFitColumn, NeverWiderThanTheColumn) {
  // Width 3 with 2 decimals: the limits let -5 through, but "-5.00" does not
  // fit; it shows the overflow marks rather than a cut number.
  const FitCase cases[] = {
      {3, 2, '0', "-5", "---"},
      {3, 2, '0', "0.5", ".50"},
      {1, 0, '0', "-1", "-"},
  };
  ExpectFits(std::begin(cases), std::end(cases));
}

// A plain number text ("-", digits, ".") is fitted as the same text after a
// blank, which no shortcut takes: across widths, decimals and zero fills.
TEST(NumFitColumn, PlainTextsFitAsTheGeneralReaderFitsThem) {
  const char* texts[] = {"0",      "-0",        "5",         "-5",           "0.5",       "-0.5",
                         ".5",     "-.5",       "5.",        "-5.",          "123.456",   "-123.456",
                         "999.99", "999.994",   "1000",      "-99.99",       "-100",      "0.009",
                         "0.0001", "00012.340", "12.0",      "99999999",     "-9999999",  "0.00",
                         "4.25",   "-0.0049",   "100000000", "123456789012345", "1234567.8901", "0.01"};
  for (int width : {1, 2, 3, 4, 6, 8, 12, 14}) {
    for (int decimals = 0; decimals <= 4; ++decimals) {
      for (char zero : {'0', ' '}) {
        for (const char* text : texts) {
          std::string plain = text;
          std::string general = std::string(" ") + text;
          NumFitColumn(plain, Col(width, decimals, zero));
          NumFitColumn(general, Col(width, decimals, zero));
          EXPECT_EQ(plain, general) << "w" << width << " d" << decimals << " zero '" << zero << "' text \"" << text
                                    << '"';
        }
      }
    }
  }
}

// A value fitted straight from its digits takes the form its shortest text
// takes: zero, signs, decimals cut, values wider than the column, values of
// more than 15 digits, whole-number columns, the blank fill of decimals.
TEST(NumFitValue, AsTheShortestTextFits) {
  const std::int64_t raws[] = {0,          1,          -1,         5000,          -5000,      10000,     -10000,
                               12345,      -12345,     99999999,   1234567890123, -999999,    4999,      50000000,
                               9999990000, 123456789012345678, -123456789012345678, INT64_MAX, INT64_MIN + 1, 100,
                               7};
  for (int width : {1, 2, 4, 6, 8, 12, 14, 20}) {
    for (int decimals = 0; decimals <= 5; ++decimals) {
      for (char zero : {'0', ' '}) {
        for (bool wholeNumber : {false, true}) {
          for (std::int64_t raw : raws) {
            const Currency value = Currency::FromRaw(raw);
            const NumColumn col = Col(width, decimals, zero, wholeNumber);
            char buf[kShortestNumberChars];
            char* end = buf + sizeof buf;
            const char* begin = ShortestNumberText(value, end);
            std::string text(begin, static_cast<size_t>(end - begin));
            EXPECT_EQ(text, value.ToText()) << raw;
            std::string fitted = "left over";
            NumFitValue(fitted, value, col);
            NumFitColumn(text, col);
            EXPECT_EQ(fitted, text) << "w" << width << " d" << decimals << " zero '" << zero << "' raw " << raw;
          }
        }
      }
    }
  }
}

TEST(NumCommaFormat, SeparatorsAndDecimals) {
  struct Case {
    const char* text;
    NumColumn col;
    const char* shown;
  };
  const Case cases[] = {
      {"-1234.567", Col(10, 2), "-1,234.56"},
      {"1234", Col(10, 2), "1,234   "},
      {"1234.5", Col(10, 0, '0', true), "1,234"},
      {"123", Col(10, 0), "123 "},
      {"1234567.1", Col(12, 1), "1,234,567.1"},
      {"  1234.5", Col(10, 2), "1,234.5 "},
      {"123456789012345", Col(20, 0, '0', true), "123,456,789,012,345"},
      {"1234567890123456", Col(20, 0, '0', true), "1234567890123456"},
      {"-123456", Col(10, 0, '0', true), "-123,456"},
      {".5", Col(10, 2), ".5"},
      {"", Col(10, 2), "   "},
      {"      ", Col(6, 2), "   "},
      // A value as long as its field: all of it shows within the mask.
      {"10000115862200", Col(14, 0), "10,000,115,862,200"},
      {"++++++++++++", Col(12, 0), "++++++++++++"},
      {"------", Col(6, 2), "------"},
  };
  for (const Case& c : cases) {
    std::string t = c.text;
    NumCommaFormat(t, c.col);
    EXPECT_EQ(t, c.shown) << '"' << c.text << '"';
  }
}

TEST(TotalFitColumn, OverflowMarksOrDisplayForm) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"1000", "++++++"},
      {"123456", "++++++"},  // no separators in the marks
      {"-100", "------"},
      {"0", "      "},
      {"", "      "},
      {"999.5", "999.5 "},
      {"-12.3456", "-12.34"},
  };
  for (const Case& c : cases) {
    std::string t = c.text;
    TotalFitColumn(t, Col(6, 2));
    EXPECT_EQ(t, c.shown) << '"' << c.text << '"';
  }
  std::string big = "  123456.78";
  TotalFitColumn(big, Col(12, 2));
  EXPECT_EQ(big, "123,456.78");  // not right-aligned, not padded
}

TEST(MakeColumnMasks, FromWidthAndTypeCode) {
  struct Case {
    int width;
    const char* type;
    const char* mask;
  };
  const Case cases[] = {
      {10, "0", "#,###,###,###"},
      {8, "2", "##,###.00"},
      {8, "A2", "##,###.00"},
      {5, "A", "##,###"},
      {3, "1", "#.0"},
      {25, "0", "###,###,###,###,###"},
      {2, "2", ".00"},
      {8, "A", "##,###,###"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeColumnMask(c.width, c.type), c.mask) << c.width << ' ' << c.type;
}

TEST(MakeColumnMasks, EveryNumericColumnOfTheLevel) {
  ColumnTables t;
  t.ColCount[2] = 4;
  const char* types[] = {"", "C", "0", "A2", "", "3"};
  const int widths[] = {0, 20, 10, 8, 6, 6};
  for (int c = 1; c <= 5; ++c) {
    t.ColType[2][c] = types[c];
    t.ColWidth[2][c] = widths[c];
  }
  std::array<std::string, 53> masks = MakeColumnMasks(t, 2);
  EXPECT_EQ(masks[1], "");  // text column
  EXPECT_EQ(masks[2], "#,###,###,###");
  EXPECT_EQ(masks[3], "##,###.00");
  EXPECT_EQ(masks[4], "");  // no type code: not a defined column
  EXPECT_EQ(masks[5], "");  // beyond the level's column count
}

TEST(DecimalStep, ByDecimals) {
  EXPECT_EQ(DecimalStep(0), Currency{});
  EXPECT_EQ(DecimalStep(1).ToText(), ".1");
  EXPECT_EQ(DecimalStep(2).ToText(), ".01");
  EXPECT_EQ(DecimalStep(3).ToText(), ".001");
  EXPECT_EQ(DecimalStep(4).ToText(), ".0001");
  EXPECT_EQ(DecimalStep(5), Currency{});
}

class NumberTextState : public ::testing::Test {
 protected:
  test::ScriptedUi ui;
  ProgramState st{ui};

  void Define(int level, int column, const char* type, int width) {
    st.ColType[level][column] = type;
    st.ColWidth[level][column] = width;
  }
};

TEST_F(NumberTextState, ColumnPropertiesComeFromTheTables) {
  struct Case {
    const char* type;
    int decimals;
    bool wholeNumber;
  };
  const Case cases[] = {{"2", 2, false}, {"A2", 2, false}, {"A", 0, false}, {"0", 0, true},
                        {"3", 3, false}, {"S", 0, false},  {"C", 0, false}, {"D1", 0, false}};
  for (const Case& c : cases) {
    Define(3, 7, c.type, 9);
    NumColumn col = NumColumnOf(st, 3, 7);
    EXPECT_EQ(col.width, 9) << c.type;
    EXPECT_EQ(col.decimals, c.decimals) << c.type;
    EXPECT_EQ(col.wholeNumber, c.wholeNumber) << c.type;
  }
}

TEST_F(NumberTextState, OperationsReadLevelAndColumn) {
  Define(2, 4, "2", 6);
  Define(1, 4, "0", 8);
  st.Zero = " ";
  std::string t = "123.4";
  NumFitColumn(st, 2, t, 4);
  EXPECT_EQ(t, "123.4 ");
  st.Zero = "0";
  t = "123.4";
  NumFitColumn(st, 2, t, 4);
  EXPECT_EQ(t, "123.40");
  t = "1234.5";
  NumCommaFormat(st, 1, t, 4);
  EXPECT_EQ(t, "1,234");
  t = "1000";
  TotalFitColumn(st, 2, t, 4);
  EXPECT_EQ(t, "++++++");
  EXPECT_EQ(DecimalStep(st, 2, 4).ToText(), ".01");
}

}  // namespace
}  // namespace kv
