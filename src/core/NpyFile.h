#pragma once

#include <cstdint>
#include <string>

#include "core/DataFile.h"
#include "core/DataSource.h"

// Whether a file's first bytes are those of a NumPy .npy array.
bool IsNpy(std::string_view head);

// The 2-D array of a .npy file as a grid: the point of row r and column c at x = c,
// y = r, a NaN a hole; any float or integer type of either byte order, C or Fortran
// order. Nothing in the header is ever run or unpickled: an array of objects is
// refused, as are other shapes and types, a header that cannot be read and data that
// ends early, each with the reason.
TGridData ReadNpy(TDataSource& in, const std::string& name, const TReadPump& pump,
                  int64_t mostPoints, TDataFileNotes* notes);
