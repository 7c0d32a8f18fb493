// The committed reference pictures: what each is of, and how a picture is compared
// with one.
#pragma once

#include <QImage>
#include <cstdlib>
#include <ostream>

struct TCase {
  const char* Name;
  const char* Data;      // in data/
  const char* Settings;  // the [KestoF] and [Form] keys of a settings file, or nothing
  const char* Options;
};
inline void PrintTo(const TCase& c, std::ostream* os) { *os << c.Name; }

inline const TCase kCases[] = {
    {"3d-mesh", "ridge.txt", nullptr, ""},
    {"3d-fill-spectrum", "ridge.txt", nullptr, "--surface fill --spectrum --size 500x320"},
    {"3d-points-spectrum2", "ridge.txt",
     "[KestoF]\nSpec=2\nSurfaceMode=2\n[Form]\nCmbB_LineWidth=4\n", "--size 360x480"},
    {"3d-fill-spectrum2", "basin.txt", "[KestoF]\nSpec=2\nSurfaceMode=1\n", ""},
    {"3d-eye-axes", "basin.txt",
     "[KestoF]\nAngle2=70\nAngle3=300\nColor_Axis_X=255\nColor_Axis_Y=65280\n"
     "Color_Axis_Z=16711680\n[Form]\nCmbB_AxisWidth=2\n",
     "--distance 7"},
    {"3d-coarse", "basin.txt", "[KestoF]\nColor_Axis_X=255\nColor_Axis_Y=65535\n", "--coarse"},
    {"3d-no-axes", "ridge.txt", "[KestoF]\nAxisMode=-1\n", "--height-scale 1.5 --turn 40"},
    {"2d-mesh", "basin.txt", nullptr, "--view 2d"},
    {"2d-fill", "ridge.txt", nullptr,
     "--view 2d --surface fill --low #204080 --high #ffe000 --background #ffffff --size 640x400"},
    {"2d-points-spectrum", "ridge.txt", nullptr,
     "--view 2d --surface points --spectrum --line-width 6"},
    {"2d-coarse-axes3", "ridge.txt",
     "[KestoF]\nColor_Axis_X=255\nColor_Axis_Y=16776960\n[Form]\nCmbB_AxisWidth=2\n",
     "--view 2d --coarse --size 480x480"},
    {"2d-no-axes-spectrum2", "basin.txt", "[KestoF]\nSpec=2\nSurfaceMode=1\nDrawMode=0\n",
     "--no-axes --distance 8"},
    // Missing heights: the cells around each hole stay undrawn, the markers there too.
    {"2d-fill-holes", "holes.asc", nullptr, "--view 2d --surface fill --size 480x360"},
    // The text twin of a GeoTIFF the window tests write (they draw the same pixels).
    {"2d-fill-raster", "terrain.txt", nullptr, "--view 2d --surface fill --size 480x360"},
    {"3d-mesh-holes", "holes.asc", nullptr, "--spectrum --turn 30 --size 480x360"},
    {"2d-points-holes", "holes.asc", nullptr, "--view 2d --surface points --line-width 8"},
    // Colour maps: the bar shows the map, low heights on the left, reversed or not.
    {"2d-fill-viridis", "ridge.txt", nullptr,
     "--view 2d --surface fill --palette viridis --size 480x360"},
    {"3d-fill-plasma-reversed", "basin.txt", "[KestoF]\nPalette=5\nReversePalette=1\n",
     "--surface fill --size 480x360"},
    // Numbers: round values on each axis, the titles, the heights along the bar.
    {"3d-mesh-labels", "ridge.txt", nullptr, "--labels --size 560x420"},
    {"2d-fill-labels-cividis", "basin.txt", "[KestoF]\nLabels=1\n",
     "--view 2d --surface fill --palette cividis --background #ffffff"},
    // Contour lines: in the map, on the filled surface, on the mesh and its base, where a
    // hole cuts them short.
    {"2d-fill-contours", "ridge.txt", nullptr,
     "--view 2d --surface fill --contours --labels --size 480x360"},
    {"3d-fill-contours", "basin.txt", "[KestoF]\nContours=1\nContourLevels=6\n",
     "--surface fill --size 480x360"},
    {"3d-mesh-contour-base-holes", "holes.asc", nullptr,
     "--contour-base --contour-interval 10,5 --contour-coloured --spectrum --size 480x360"},
    // Colours of the user's choosing: a relief map, a clipped range, steps on a log scale.
    {"2d-fill-hillshade-viridis", "holes.asc", nullptr,
     "--view 2d --surface fill --palette viridis --hillshade --size 480x360"},
    {"3d-fill-clipped-range", "ridge.txt", "[KestoF]\nColorLow=-0.5\nOutOfRange=1\n",
     "--surface fill --range auto,1.2 --size 480x360"},
    {"2d-fill-log-steps-bar", "basin.txt", nullptr,
     "--view 2d --surface fill --spectrum --log --steps 6 --range 2,auto --out-of-range "
     "#ffffff,#000000 --labels --size 480x360"},
};

// Large enough for the last bit of a blend to differ between processors, far too
// small to pass a pixel of another colour.
inline constexpr int kTolerance = 3;

// The pixels that differ beyond the tolerance, white on a dimmed copy of the reference.
inline int Compare(const QImage& actual, const QImage& reference, QImage& difference) {
  difference = reference.convertToFormat(QImage::Format_RGB888);
  int wrong = 0;
  for (int y = 0; y < reference.height(); ++y) {
    for (int x = 0; x < reference.width(); ++x) {
      const QRgb a = actual.pixel(x, y), r = reference.pixel(x, y);
      const bool same = std::abs(qRed(a) - qRed(r)) <= kTolerance &&
                        std::abs(qGreen(a) - qGreen(r)) <= kTolerance &&
                        std::abs(qBlue(a) - qBlue(r)) <= kTolerance;
      wrong += !same;
      difference.setPixel(
          x, y, same ? qRgb(qRed(r) / 4, qGreen(r) / 4, qBlue(r) / 4) : qRgb(255, 255, 255));
    }
  }
  return wrong;
}
