#include "core/NumberField.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A field that follows the grammar: where its number lies, its sign, and the
// significand and power of ten gathered on the way. 64-bit counts: a field may hold
// more digits than a 32-bit count can.
struct TNumberText {
  size_t Begin = 0, End = 0, SeparatorAt = std::string_view::npos;
  bool Negative = false;
  uint64_t Significand = 0;
  int64_t SignificantDigits = 0, Power = 0;
};

// Digits with at most one separator, from at; false without a digit.
bool ScanDigits(std::string_view f, char sep, size_t& at, TNumberText& n) {
  size_t digits = 0;
  for (; at < n.End; ++at) {
    const char c = f[at];
    if (IsDigit(c)) {
      ++digits;
      if ((n.SignificantDigits > 0 || c != '0') && ++n.SignificantDigits <= 19)
        n.Significand = n.Significand * 10 + uint64_t(c - '0');
      if (n.SeparatorAt != std::string_view::npos) --n.Power;
    } else if ((c == '.' || c == sep) && n.SeparatorAt == std::string_view::npos) {
      n.SeparatorAt = at;
    } else {
      break;
    }
  }
  return digits > 0;
}

// An exponent from at to the end, if there is anything there: E or e, a sign, digits.
bool ScanExponent(std::string_view f, size_t at, TNumberText& n) {
  if (at == n.End) return true;
  if (f[at] != 'e' && f[at] != 'E') return false;
  bool negative = false;
  if (++at < n.End && (f[at] == '+' || f[at] == '-')) negative = f[at++] == '-';
  if (at == n.End) return false;
  int64_t exponent = 0;
  for (; at < n.End; ++at) {
    if (!IsDigit(f[at])) return false;
    if (exponent < 100000) exponent = exponent * 10 + (f[at] - '0');
  }
  n.Power += negative ? -exponent : exponent;
  return true;
}

// The grammar is stricter than from_chars': no "inf", no "nan", no hexadecimal.
bool Scan(std::string_view f, char sep, TNumberText& n) {
  n.Begin = 0;
  n.End = f.size();
  while (n.Begin < n.End && f[n.Begin] == ' ') ++n.Begin;
  while (n.End > n.Begin && f[n.End - 1] == ' ') --n.End;
  if (n.Begin < n.End && (f[n.Begin] == '+' || f[n.Begin] == '-')) n.Negative = f[n.Begin++] == '-';
  size_t at = n.Begin;
  return ScanDigits(f, sep, at, n) && ScanExponent(f, at, n);
}

// The value of a scanned field; 0 for one too large for a double.
double Convert(std::string_view f, const TNumberText& n) {
  // Exact significand and exact power of ten: one correctly rounded operation gives
  // the same double as the full conversion below.
  if (n.SignificantDigits <= 15 && n.Power >= -22 && n.Power <= 22) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double m = double(n.Significand);
    const double v = n.Power < 0 ? m / kPowers[-n.Power] : m * kPowers[n.Power];
    return n.Negative ? -v : v;
  }
  std::string text(f.substr(n.Begin, n.End - n.Begin));
  if (n.SeparatorAt != std::string_view::npos)
    text[n.SeparatorAt - n.Begin] = '.';  // from_chars knows only the full stop
  double v = 0.0;
  const std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v)) return 0.0;
  return n.Negative ? -v : v;
}

}  // namespace

double ParseNumberField(std::string_view field, char localeSeparator) {
  double value = 0.0;
  ParseNumber(field, localeSeparator, value);
  return value;
}

bool ParseNumber(std::string_view field, char localeSeparator, double& value) {
  TNumberText n;
  value = 0.0;
  if (!Scan(field, localeSeparator, n)) return false;
  value = Convert(field, n);
  return true;
}

char LocaleDecimalSeparator() {
  const std::lconv* lc = std::localeconv();
  if (lc && lc->decimal_point && lc->decimal_point[0] && !lc->decimal_point[1])
    return lc->decimal_point[0];
  return '.';
}

std::string ShortestText(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

std::string ShortText(double v, int mostDigits) {
  std::string exact = ShortestText(v);
  int digits = 0;
  bool leading = true;
  for (const char c : exact.substr(0, exact.find('e'))) {
    if (c < '0' || c > '9') continue;
    leading = leading && c == '0';
    digits += !leading;
  }
  if (digits <= mostDigits) return exact;
  char text[32];
  return std::string(
      text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, mostDigits).ptr);
}

std::string DistinctText(double v, double step, int leastDigits) {
  constexpr int kMostDigits = 17;  // every double reads back exactly
  if (!(step != 0 && std::isfinite(step))) return ShortText(v, leastDigits);
  for (int digits = leastDigits; digits < kMostDigits; ++digits) {
    std::string text = ShortText(v, digits);
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    if (!(std::fabs(shown - v) > std::fabs(step) / 100)) return text;
  }
  return ShortestText(v);
}
