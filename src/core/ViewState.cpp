#include "core/ViewState.h"

#include <cmath>

#include "core/DisplayOptions.h"
#include "core/SampleSurface.h"

namespace {

// Equal bounds, or bounds that do not compare, get 0.1 on each side.
void WidenIfFlat(double& low, double& high) {
  if (!(high < low || high > low)) {
    high += 0.1;
    low -= 0.1;
  }
}

}  // namespace

double TurnInRange(double degrees) {
  if (degrees > 360.0) {
    const double r = std::fmod(degrees, 360.0);
    return r == 0.0 ? 360.0 : r;
  }
  if (degrees < 0.0) {
    const double r = std::fmod(degrees, 360.0) + 360.0;
    return r == 360.0 ? 0.0 : r;
  }
  return degrees;
}

TKestoState::TKestoState() {
  for (const TDisplayOption& o : kDisplayOptions) SetOptionValue(o, *this, o.Default);
  MakeSampleData(*this);
  BuildSpectrumTable(SpectrumTable);
}

void TKestoState::NormalizeView() {
  for (const TDisplayOption& o : kDisplayOptions)
    if (!o.List) SetOptionValue(o, *this, KeepInRange(o, o.Real ? this->*o.Real : this->*o.Whole));
  if (!(OriginX >= XMin)) OriginX = XMin;
  if (OriginX > XMax) OriginX = XMax;
  if (!(OriginY >= YMin)) OriginY = YMin;
  if (OriginY > YMax) OriginY = YMax;
  WidenIfFlat(ZMin, ZMax);
  // A colour range the wrong way round (a hand-edited file) is the heights' own again.
  if (!(RangeLow < RangeHigh)) RangeLow = kAutoLow, RangeHigh = kAutoHigh;
  // One step is no steps: kept as such, the file would say otherwise than the picture.
  if (ColorSteps == 1) ColorSteps = 0;
  // A flat x or y range would make every normalised coordinate a division by zero.
  WidenIfFlat(XMin, XMax);
  WidenIfFlat(YMin, YMax);
}
