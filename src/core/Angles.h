#pragma once

// The program's value of pi, everywhere: it is 3.14, deliberately, so that pictures
// and the sample surface come out as they always have. The sample surface works in
// extended precision.
inline constexpr long double kPiExtended = 3.14L;
inline constexpr double kPi = static_cast<double>(kPiExtended);

// Degrees as radians, the program's way: divided by 180 first, then times pi.
inline double Radians(double degrees) { return degrees / 180 * kPi; }
