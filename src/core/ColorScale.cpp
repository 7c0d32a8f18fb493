#include "core/ColorScale.h"

#include <array>
#include <thread>

#include "core/Rounding.h"

namespace {

uint32_t NoSysColors(int) { return 0; }

TSysColorSource g_sysColorSource = NoSysColors;
std::thread::id g_sourceThread;
std::array<uint32_t, 256> g_snapshot{};

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
  const TRgb lo = UnpackColor(ResolveColor(colorMin));
  const TRgb hi = UnpackColor(ResolveColor(colorHigh));
  const auto mix = [t](double low, double high) { return low + t * (high - low); };
  return TColorTriple{mix(lo.R, hi.R), mix(lo.G, hi.G), mix(lo.B, hi.B)};
}

int SpectrumIndex(double t) { return TableIndex(t, 511); }

int TableIndex(double t, int last) {
  const double index = RoundHalfEven(t * last);
  if (!(index >= 0.0)) return 0;  // NaN too
  if (index > last) return last;
  return static_cast<int>(index);
}

TGLColor ColorToGL(int32_t value) {
  const TRgb c = UnpackColor(ResolveColor(value));
  return TGLColor{float(c.R / 255.0), float(c.G / 255.0), float(c.B / 255.0)};
}

void SetSysColorSource(TSysColorSource source) {
  g_sysColorSource = source ? source : NoSysColors;
  g_sourceThread = std::this_thread::get_id();
  SnapshotSysColors();
}

void SnapshotSysColors() {
  for (size_t k = 0; k < g_snapshot.size(); ++k) g_snapshot[k] = g_sysColorSource(int(k));
}

uint32_t GetSysColor(int index) {
  if (std::this_thread::get_id() == g_sourceThread) return g_sysColorSource(index);
  return g_snapshot[size_t(index) & 0xFF];
}
