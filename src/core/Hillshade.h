#pragma once

#include <cstdint>

#include "core/ColorScale.h"
#include "core/Grid.h"

// A light from azimuth degrees clockwise from +y and altitude degrees above the
// horizon, as the unit vector toward it.
struct TLight {
  double X, Y, Z;
};
TLight LightFrom(double azimuth, double altitude);

// How the grid's coordinates are stretched before the light falls on them: the 3-D
// graph's own proportions, or x and y as they are and heights times a z-factor.
struct TShadeScale {
  double X = 1, Y = 1, Z = 1;
};

// How much of the light falls on grid point (i, j) of the rectangle 0..highI x 0..highJ,
// 0 to 1: the cosine between the light and the surface's normal, which comes from
// Horn's 3 x 3 differences: along each grid direction the mean of the three
// neighbouring rows' differences, weighted 1, 2, 1. A neighbour that is a hole or off
// the grid is left out (a difference then taken from the point itself); where none is
// left along a direction, the surface counts as flat.
double Hillshade(const TGrid& grid, int32_t highI, int32_t highJ, int32_t i, int32_t j,
                 const TLight& light, const TShadeScale& scale);

// Colour c (0..255 components) under shade (0..1): blended soft-light, or multiplied.
TColorTriple ShadeColor(const TColorTriple& c, double shade, bool multiply);
