#include "core/ViewParameters.h"

double KeepInRange(const TViewParameter& p, double v) {
  // "not >=" rather than "<": a NaN takes the lower bound.
  if (p.Keep == TKeep::Wrap) {
    if (v > p.High) v -= p.High - p.Low;
    if (!(v >= p.Low)) v += p.High - p.Low;
  } else {
    if (v > p.High) v = p.High;
    if (!(v >= p.Low)) v = p.Low;
  }
  return v;
}
