#pragma once

#include <string>

#include "core/DataFile.h"

// What both programs tell the user about a data file they read.

// "3 fields are not a number and read as 0, the first on line 2: "1,x,3"", or nothing
// where every field was a number.
std::string NotNumbersWarning(const TDataFileNotes& notes);

// "hills.txt: comma layout, 25 rows of 25 points, 0 holes, 0 fields read as 0": the
// file's name without its folder, then what was read.
std::string ReadSummary(const std::string& path, const TDataFileNotes& notes,
                        const TGridData& grid);
