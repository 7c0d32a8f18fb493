#pragma once

#include <string>

#include "core/Grid.h"

// What every reader says where a file cannot be shown: "The data file "name" cannot be
// shown: why."
[[noreturn]] void RefuseDataFile(const std::string& name, const std::string& why);

// The words a grid too large for the memory available is refused with.
extern const char* const kTooLargeForMemory;

// The grid read whole, rows of equal length, given its ranges and its origin; refused
// where every point is a hole or a range spans more than a number can hold.
TGridData FinishGrid(TGrid grid, const std::string& name);
