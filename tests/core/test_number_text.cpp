#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <limits>

#include "state/errors.h"
#include "state/extended.h"
#include "state/number_text.h"

using namespace zentrova;

TEST(NumberText, GeneralFormatTable) {
  const std::pair<Real, const char*> cases[] = {
      {120.0L, "120"},
      {0.01L, "0.01"},
      {0.3L, "0.3"},
      {0.0L, "0"},
      {-0.0L, "0"},
      {1.0L, "1"},
      {-2.5L, "-2.5"},
      {0.00001L, "0.00001"},
      {0.000001L, "1E-6"},
      {1.5e20L, "1.5E20"},
      {-2.5e-10L, "-2.5E-10"},
      {123456789012345678.0L, "1.23456789012346E17"},
      {999999999999999.0L, "999999999999999"},
      {1e15L, "1E15"},
      {0.212L, "0.212"},
      {1.0L / 3.0L, "0.333333333333333"},
      {2.0L / 3.0L, "0.666666666666667"},
      {9.9999999999999999e-6L, "0.00001"},
      {1e-4932L, "1E-4932"},
      {std::numeric_limits<Real>::max(), "1.18973149535723E4932"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(formatReal(value, '.'), text);
  EXPECT_EQ(formatReal(0.5L, ','), "0,5");
  EXPECT_EQ(formatReal(-1.5e-7L, ','), "-1,5E-7");
}

TEST(NumberText, SpecialBitPatternsNeverFault) {
  EXPECT_EQ(formatReal(std::numeric_limits<Real>::quiet_NaN(), '.'), "NAN");
  EXPECT_EQ(formatReal(std::numeric_limits<Real>::infinity(), '.'), "INF");
  EXPECT_EQ(formatReal(-std::numeric_limits<Real>::infinity(), '.'), "-INF");
  const std::uint8_t unnormal[10] = {1, 2, 3, 4, 5, 6, 7, 0x00, 0x34, 0x12};
  EXPECT_EQ(formatReal(decodeExtended(unnormal), '.'), "NAN");
  const std::uint8_t pseudoDenormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00};
  EXPECT_EQ(formatReal(decodeExtended(pseudoDenormal), '.'), "3.36210314311209E-4932");
  EXPECT_EQ(formatReal(std::numeric_limits<Real>::denorm_min(), '.'), "3.64519953188247E-4951");
}

TEST(NumberText, ParsesWithTheGivenSeparator) {
  EXPECT_EQ(parseReal("0.5", '.'), 0.5L);
  EXPECT_EQ(parseReal(" -0,25 ", ','), -0.25L);
  EXPECT_EQ(parseReal("1E-6", '.'), 1e-6L);
  EXPECT_EQ(parseReal("+3.", '.'), 3.0L);
  EXPECT_EQ(parseReal(".5e+2", '.'), 50.0L);
  EXPECT_EQ(parseReal("0.212", '.'), 0.212L);
  EXPECT_EQ(parseReal("1e-5000", '.'), 0.0L);  // below the range reads as zero
  // What the listing shows reads back as the same 15 digits.
  EXPECT_EQ(formatReal(parseReal("0.333333333333333", '.'), '.'), "0.333333333333333");
}

TEST(NumberText, RejectsWithTheExactMessage) {
  const std::pair<const char*, char> bad[] = {{"", '.'},    {"-", '.'},   {"1.2.3", '.'}, {"0.5", ','},
                                              {"0,5", '.'}, {"abc", '.'}, {"1e", '.'},    {"1e5000", '.'},
                                              {"1 2", '.'}, {"0x10", '.'}, {"inf", '.'},  {"nan", '.'}};
  for (const auto& [text, sep] : bad) {
    try {
      parseReal(text, sep);
      ADD_FAILURE() << text;
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid floating point value");
    }
  }
}

TEST(NumberText, Integers) {
  EXPECT_EQ(parseInt("42"), 42);
  EXPECT_EQ(parseInt(" -7 "), -7);
  EXPECT_EQ(parseInt("+2147483647"), 2147483647);
  EXPECT_EQ(parseInt("-2147483648"), -2147483647 - 1);
  for (const char* text : {"", "x", "1.5", "2147483648", "-", "99999999999999999999"}) {
    try {
      parseInt(text);
      ADD_FAILURE() << text;
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
    }
  }
}

// The listing's digits come from a quick conversion where it can be sure of
// them: they must be the correctly rounded 15 digits wherever it answers.
TEST(NumberText, FifteenDigitsAgreeWithTheGeneralConversion) {
  std::mt19937_64 rng(15);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> power(-16, 21);
  for (int n = 0; n < 20000; ++n) {
    Real v = Real(mantissa(rng)) * std::pow(10.0L, power(rng));
    if (n % 4 == 0) v = std::nextafter(v, Real(0));  // off the decimal grid
    if (n % 5 == 0) v = std::round(v * 1e14L) / 1e14L + 5e-16L * std::abs(v);  // near a tie
    char ref[64];
    std::snprintf(ref, sizeof ref, "%.14Le", v);
    const std::string got = formatReal(v, '.');
    EXPECT_EQ(std::strtold(got.c_str(), nullptr), std::strtold(ref, nullptr)) << got << " vs " << ref;
  }
}
