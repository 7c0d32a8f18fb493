#include "core/NumberField.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

TEST(NumberField, AcceptsTheGrammar) {
  struct {
    const char* text;
    double value;
  } cases[] = {
      {"5", 5},       {"+7", 7},  {"-2.5E-1", -0.25}, {"1e3", 1000},
      {"  12  ", 12}, {"5.", 5},  {".5", 0.5},        {"-0", 0},
      {"1E+2", 100},  {"007", 7}, {"3.25e0", 3.25},   {"-.125", -0.125},
  };
  for (auto c : cases) EXPECT_EQ(ParseNumberField(c.text, '.'), c.value) << c.text;
}

TEST(NumberField, EverythingElseIsZero) {
  for (const char* text :
       {"",      " ",    ".",   "+",    "-",     "e5",     "1e",  "1e+",   "1..2",
        "1.2.3", "nan",  "inf", "-inf", "0x10",  "1,5",    "3,4", "1 2",   "\t1",
        "1\t",   "1e5x", "++1", "+-1",  "1e999", "-1e999", "a",   "1e2.5", "١"}) {
    EXPECT_EQ(ParseNumberField(text, '.'), 0.0) << text;
  }
}

TEST(NumberField, TakesAFullStopAndTheLocalesSeparator) {
  EXPECT_EQ(ParseNumberField("2,5", ','), 2.5);
  EXPECT_EQ(ParseNumberField("-0,25e1", ','), -2.5);
  EXPECT_EQ(ParseNumberField("2.5", ','), 2.5);
  EXPECT_EQ(ParseNumberField("2,5,1", ','), 0.0);
  EXPECT_EQ(ParseNumberField("2,5.1", ','), 0.0);
}

TEST(NumberField, SameDoubleAsAFullConversion) {
  std::mt19937_64 rng(42);
  char text[64];
  for (int k = 0; k < 200000; ++k) {
    const int intDigits = int(rng() % 12), fracDigits = int(rng() % 12);
    std::string s = (rng() % 2) ? "-" : "";
    for (int d = 0; d < intDigits; ++d) s += char('0' + rng() % 10);
    if (fracDigits || intDigits == 0) s += '.';
    for (int d = 0; d < fracDigits || (intDigits == 0 && d == 0); ++d) s += char('0' + rng() % 10);
    if (rng() % 4 == 0) s.append("e").append(std::to_string(int(rng() % 80) - 40));
    std::snprintf(text, sizeof text, "%s", s.c_str());
    ASSERT_EQ(ParseNumberField(s, '.'), std::strtod(text, nullptr)) << s;
  }
}

}  // namespace
