#include "core/NumberField.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ParseNumberField(std::string_view field, char localeSeparator) {
  double value = 0.0;
  ParseNumber(field, localeSeparator, value);
  return value;
}

bool ParseNumber(std::string_view f, char sep, double& value) {
  value = 0.0;
  size_t b = 0, e = f.size();
  while (b < e && f[b] == ' ') ++b;
  while (e > b && f[e - 1] == ' ') --e;
  bool negative = false;
  if (b < e && (f[b] == '+' || f[b] == '-')) negative = f[b++] == '-';

  // Check the grammar, which is stricter than from_chars (no "inf", "nan", hex),
  // and gather the significand and the power of ten on the way.
  // 64-bit counts: a field may hold more digits than a 32-bit count can.
  size_t k = b, digits = 0, sepAt = std::string_view::npos;
  uint64_t significand = 0;
  int64_t significantDigits = 0, power = 0;
  for (; k < e; ++k) {
    const char c = f[k];
    if (IsDigit(c)) {
      ++digits;
      if (significantDigits > 0 || c != '0') {
        if (++significantDigits <= 19) significand = significand * 10 + uint64_t(c - '0');
      }
      if (sepAt != std::string_view::npos) --power;
    } else if ((c == '.' || c == sep) && sepAt == std::string_view::npos) {
      sepAt = k;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (k < e) {
    if (f[k] != 'e' && f[k] != 'E') return false;
    size_t x = k + 1;
    bool negativeExponent = false;
    if (x < e && (f[x] == '+' || f[x] == '-')) negativeExponent = f[x++] == '-';
    if (x == e) return false;
    int64_t exponent = 0;
    for (; x < e; ++x) {
      if (!IsDigit(f[x])) return false;
      if (exponent < 100000) exponent = exponent * 10 + (f[x] - '0');
    }
    power += negativeExponent ? -exponent : exponent;
  }

  // Exact significand and exact power of ten: one correctly rounded operation
  // gives the same double as the full conversion below.
  if (significantDigits <= 15 && power >= -22 && power <= 22) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double m = double(significand);
    const double v = power < 0 ? m / kPowers[-power] : m * kPowers[power];
    value = negative ? -v : v;
    return true;
  }

  const char* first = f.data() + b;
  const char* last = f.data() + e;
  std::string copy;  // from_chars knows only the full stop
  if (sepAt != std::string_view::npos && f[sepAt] != '.') {
    copy.assign(first, last);
    copy[sepAt - b] = '.';
    first = copy.data();
    last = first + copy.size();
  }
  double v = 0.0;
  const std::from_chars_result r = std::from_chars(first, last, v);
  // Too large for a double: a number all the same, which reads as 0.
  if (r.ec == std::errc() && r.ptr == last && std::isfinite(v)) value = negative ? -v : v;
  return true;
}

char LocaleDecimalSeparator() {
  const std::lconv* lc = std::localeconv();
  if (lc && lc->decimal_point && lc->decimal_point[0] && !lc->decimal_point[1])
    return lc->decimal_point[0];
  return '.';
}
