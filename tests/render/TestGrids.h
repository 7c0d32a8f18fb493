#pragma once

#include <functional>

#include "core/ViewState.h"

// Replaces the state's grid by rows x cols points with x = i, y = j and the given
// height, and sets the ranges from them.
inline void SetGrid(TKestoState& s, int rows, int cols,
                    const std::function<double(int, int)>& height) {
  s.Grid.assign(rows, TGridRow(cols));
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) s.Grid[i][j] = {double(i), double(j), height(i, j)};
  s.GridHighI = rows - 1;
  s.GridHighJ = cols - 1;
  ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
  s.NormalizeView();
}
