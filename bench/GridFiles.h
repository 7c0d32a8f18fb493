#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

// Writes an n x n grid as "i,j,z" lines with z to 6 decimals and a blank line between
// rows, streamed so that the writer itself needs no memory to speak of. separator and
// rowBreaks give the other layouts of the same grid: "i j z" without blank lines, say.
// noisy: heights at random instead, whose contour lines are millions of short loops.
inline bool WriteGridFile(const std::string& path, int n, char separator = ',',
                          bool rowBreaks = true, bool noisy = false) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  for (int i = 0; i < n; ++i) {
    if (i && rowBreaks) std::fputc('\n', f);
    for (int j = 0; j < n; ++j) {
      const double x = i / double(n - 1), y = j / double(n - 1);
      std::fprintf(f, "%d%c%d%c%.6f\n", i, separator, j, separator,
                   noisy ? std::rand() / double(RAND_MAX) : std::sin(6 * x) * std::cos(4 * y));
    }
  }
  return std::fclose(f) == 0;
}
