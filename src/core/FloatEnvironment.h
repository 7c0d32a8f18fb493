#pragma once

// Masks every floating-point exception and rounds to nearest, ties to even, so a
// division by zero while drawing yields an infinity or NaN and never a trap.
void SetFloatingPointEnvironment();
