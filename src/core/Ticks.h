#pragma once

#include <vector>

// Round values from low to high for the numbers along an axis: every multiple of one
// step of 1, 2 or 5 times a power of ten in the range, 4 to 8 of them where such a step
// exists (else the count nearest to that, the fewer of two as near).
std::vector<double> RoundTicks(double low, double high);
