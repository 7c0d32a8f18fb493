#pragma once

#include <cstdint>
#include <string>

#include "core/Grid.h"

// What every reader says where a file cannot be shown: "The data file "name" cannot be
// shown: why."
[[noreturn]] void RefuseDataFile(const std::string& name, const std::string& why);

// The words a grid too large for the memory available is refused with.
extern const char* const kTooLargeForMemory;

// Refuses a grid of columns x rows, its size known before it is read, where it has more
// points than mostPoints: saying how many it has and how many the memory holds.
void CheckGridSize(const std::string& name, uint64_t columns, uint64_t rows, int64_t mostPoints);

// The grid read whole, rows of equal length, given its ranges and its origin; refused
// where every point is a hole or a range spans more than a number can hold.
TGridData FinishGrid(TGrid grid, const std::string& name);
