#pragma once

#include <string>
#include <string_view>

// A data-file field as a number: optional spaces, an optional sign, digits with at
// most one decimal separator (at least one digit in all), an optional exponent,
// optional spaces and nothing else. The separator is a full stop or the locale's own,
// localeSeparator. False for anything else, an empty field included, which reads as
// 0; a number too large for a double reads as 0 too.
bool ParseNumber(std::string_view field, char localeSeparator, double& value);
double ParseNumberField(std::string_view field, char localeSeparator);

// The decimal separator of the user's regional settings.
char LocaleDecimalSeparator();

// The shortest text that reads back as exactly v.
std::string ShortestText(double v);
// The same where it has at most mostDigits significant digits, else v rounded to them.
std::string ShortText(double v, int mostDigits);
// v with at least leastDigits significant digits, and with more where fewer would move
// it by over a hundredth of step (the distance to the nearest other value it must be
// told from): 6717812.5 beside 6717813 is not "6717812". Exact where it is shorter.
std::string DistinctText(double v, double step, int leastDigits);
