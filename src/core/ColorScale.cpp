#include "core/ColorScale.h"

#include "core/Rounding.h"

namespace {

uint32_t NoSysColors(int) { return 0; }

TSysColorSource g_sysColorSource = NoSysColors;

}  // namespace

uint32_t ResolveColor(int32_t value) {
  if (value < 0) return GetSysColor(value & 0xFF);
  return static_cast<uint32_t>(value);
}

void BuildSpectrumTable(TSpectrumTable& table) {
  for (int i = 0; i < 512; ++i) {
    if (i <= 255)
      table[i] = TColorTriple{0.0, double(i), double(256 - i)};
    else
      table[i] = TColorTriple{double(i - 256), double(512 - i), 0.0};
  }
}

TColorTriple BlendColor(double t, int32_t colorMin, int32_t colorHigh) {
  const uint32_t lo = ResolveColor(colorMin);
  const uint32_t hi = ResolveColor(colorHigh);
  const double rl = lo & 0xFF, gl = (lo >> 8) & 0xFF, bl = (lo >> 16) & 0xFF;
  const double rh = hi & 0xFF, gh = (hi >> 8) & 0xFF, bh = (hi >> 16) & 0xFF;
  return TColorTriple{rl + t * (rh - rl), gl + t * (gh - gl), bl + t * (bh - bl)};
}

int SpectrumIndex(double t) {
  const double index = RoundHalfEven(t * 511.0);
  if (!(index >= 0.0)) return 0;  // NaN too
  if (index > 511.0) return 511;
  return static_cast<int>(index);
}

TGLColor ColorToGL(int32_t value) {
  const uint32_t c = ResolveColor(value);
  return TGLColor{float((c & 0xFF) / 255.0), float(((c >> 8) & 0xFF) / 255.0),
                  float(((c >> 16) & 0xFF) / 255.0)};
}

void SetSysColorSource(TSysColorSource source) { g_sysColorSource = source ? source : NoSysColors; }

uint32_t GetSysColor(int index) { return g_sysColorSource(index); }
