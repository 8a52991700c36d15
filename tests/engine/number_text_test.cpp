#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace bosquell {
namespace {

TEST(TextIsNumeric, AcceptsDecimalNumbersWithBlanksAround) {
  for (const char* text :
       {"0", "20", "-5", "+7", " 12 ", "1.5", ".5", "5.", "-.5", "1e3", "1E+3", "2.5e-2", "007"}) {
    EXPECT_TRUE(TextIsNumeric(text)) << '"' << text << '"';
  }
}

TEST(TextIsNumeric, RejectsEverythingElse) {
  for (const char* text :
       {"",    "   ", "-",     "+",   ".",   "-.",   "e5",    "1e",  "1e+", "1 2",
        "12a", "a12", "1.2.3", "--1", "1,5", "&H10", "1e5.5", "\n5", "\t3", "3\t"}) {
    EXPECT_FALSE(TextIsNumeric(text)) << '"' << text << '"';
  }
}

TEST(TextValue, ReadsTheLeadingNumber) {
  EXPECT_EQ(TextValue("57"), 57);
  EXPECT_EQ(TextValue(" 57 trees"), 57);
  EXPECT_EQ(TextValue("-3.25"), -3.25);
  EXPECT_EQ(TextValue(".5"), 0.5);
  EXPECT_EQ(TextValue("2.5e2"), 250);
  EXPECT_EQ(TextValue("4E-1"), 0.4);
  EXPECT_EQ(TextValue("12abc34"), 12);
  EXPECT_EQ(TextValue("1.2.3"), 1.2);
}

TEST(TextValue, SkipsBlanksTabsAndLineFeedsEverywhere) {
  EXPECT_EQ(TextValue("1 2"), 12);
  EXPECT_EQ(TextValue("\t- 1\n0 . 5"), -10.5);
  EXPECT_EQ(TextValue("1 e 2"), 100);
  EXPECT_EQ(TextValue(" 9\r8"), 9);  // a CR is no blank
}

TEST(TextValue, ReadsZeroWithoutANumber) {
  for (const char* text : {"", "   ", "abc", "-", "+", ".", "e5", "--1", "_5"}) {
    EXPECT_EQ(TextValue(text), 0) << '"' << text << '"';
  }
}

TEST(TextValue, IgnoresAnExponentLetterWithoutDigits) {
  EXPECT_EQ(TextValue("3e"), 3);
  EXPECT_EQ(TextValue("3e+"), 3);
  EXPECT_EQ(TextValue("3E-x"), 3);
}

TEST(TextValue, ValuesBeyondADoubleBecomeInfinityOrZero) {
  EXPECT_EQ(TextValue("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextValue("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextValue("1e-999"), 0);
  EXPECT_EQ(TextValue(std::string(400, '9')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextValue("0e99999999999999999999"), 0);
}

TEST(NumberText, WritesPlainDecimal) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(32), "32");
  EXPECT_EQ(NumberText(-262144), "-262144");
  EXPECT_EQ(NumberText(1000000), "1000000");
  EXPECT_EQ(NumberText(0.256), "0.256");
  EXPECT_EQ(NumberText(-127.744), "-127.744");
  EXPECT_EQ(NumberText(359.0f), "359");
  EXPECT_EQ(NumberText(1e15), "1000000000000000");
}

TEST(NumberText, UsesAnExponentOnlyBeyondExactIntegers) {
  EXPECT_EQ(NumberText(1e20), "1e+20");
  EXPECT_EQ(TextValue(NumberText(123456789e10)), 123456789e10);
  // Tiny fractions stay plain decimal with the shortest digits that read back the same.
  const struct {
    double value;
    const char* text;
  } tiny[] = {{1e-9, "0.000000001"},
              {2.56e-7, "0.000000256"},
              {-1.25e-7, "-0.000000125"},
              {1e-7 / 3, "0.000000033333333333333334"},
              {1e-6, "0.000001"}};
  for (const auto& c : tiny) {
    EXPECT_EQ(NumberText(c.value), c.text);
    EXPECT_EQ(TextValue(c.text), c.value) << c.text;
  }
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
  EXPECT_EQ(RoundHalfEven(7), 7);
}

}  // namespace
}  // namespace bosquell
