#pragma once

#include <string_view>

// A data-file field as a number: optional spaces, an optional sign, digits with at
// most one decimal separator (at least one digit in all), an optional exponent,
// optional spaces and nothing else. Anything else, an empty field, and a value too
// large for a double read as 0.
double ParseNumberField(std::string_view field, char decimalSeparator);

// The decimal separator of the user's regional settings.
char LocaleDecimalSeparator();
