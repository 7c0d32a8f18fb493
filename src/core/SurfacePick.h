#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ViewCamera.h"
#include "core/ViewState.h"

// A grid point by its indices.
struct TGridIndex {
  int32_t I = 0, J = 0;
  bool operator==(const TGridIndex&) const = default;
};

// "x = 1.5  y = -2  z = 0.6286  [3, 4]" for the point at, each number as short as it
// reads back exactly with at most 7 significant digits, or with as many more as tell
// it from its neighbours on the grid; "no value" for a missing height.
std::string PointLabel(const TGridData& g, TGridIndex at);
// "x,y,z", each number exactly; empty for a missing height.
std::string PointCopyText(const TGridData& g, TGridIndex at);

// Finds the grid point under a window point without visiting the whole grid: a box
// around each block of cells, a box around each four of those, and so on up to one
// box, so that a ray passes by all that it misses in a few steps. Made for one grid and
// its ranges; every query takes the state it was made from.
class TSurfacePicker {
 public:
  explicit TSurfacePicker(const TKestoState& s);

  // The corner nearest to where the ray through window point (x, y) first meets the
  // drawn surface: the cells without a missing height, or in the flat view every cell
  // (a missing height under the pointer is found too).
  std::optional<TGridIndex> CellCorner(const TKestoState& s, const TViewCamera& camera, double x,
                                       double y) const;
  // The point whose marker shows nearest to window point (x, y), no farther than radius
  // pixels; of two as near, the one nearer to the eye.
  std::optional<TGridIndex> Marker(const TKestoState& s, const TViewCamera& camera, double x,
                                   double y, double radius) const;

  struct TBox {
    TVec3 Lo, Hi;  // x and y in unit space, heights normalised to 0..1
  };

 private:
  struct TLevel {
    int32_t Rows = 0, Cols = 0;
    std::vector<TBox> Boxes;
  };
  // The boxes around each two by two of the level below.
  static TLevel Above(const TLevel& below);
  class TRayWalk;
  class TMarkerWalk;

  int32_t highI_, highJ_;
  std::vector<TLevel> levels_;  // blocks of cells first, one box last
};
