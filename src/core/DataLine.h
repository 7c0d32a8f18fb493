#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pieces of one line of a data file, shared by the layouts that read them.

// The line without the codes <= 32 at both ends.
std::string_view TrimLine(std::string_view s);

// The line as a message quotes it: control characters shown as "?", cut at 60
// characters.
std::string Excerpt(std::string_view line);

// The fields of a line: separated by runs of spaces and tabs (separator ' '), or by
// each separator (';' or ','), each trimmed.
void SplitFields(std::string_view line, char separator, std::vector<std::string_view>& fields);

// The text a file writes for a missing height: "nan" in any letter case, or, where
// others is set, "-", "?" or nothing.
bool IsMissingText(std::string_view field, bool others);

// True where the line's fields are separated by semicolons or blanks and each comma
// in it stands between two digits, one in a field at most: decimal separators.
bool HasDecimalCommas(std::string_view line);

// True when some field of the line, cut at blanks, commas and semicolons, is a number.
bool HoldsNumber(std::string_view line, char localeSeparator);

// "line 7 "1 2 x"": where a message points.
std::string LineAt(int64_t number, std::string_view line);

// "1 point", "3 points".
std::string Count(size_t n, const char* one, const char* many);
