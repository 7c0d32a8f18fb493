#pragma once

#include <array>
#include <cstdint>

// Red, green and blue on a 0..255 scale, neither rounded nor clamped.
struct TColorTriple {
  double R = 0.0, G = 0.0, B = 0.0;
  bool operator==(const TColorTriple&) const = default;
};

using TSpectrumTable = std::array<TColorTriple, 512>;
using TGLColor = std::array<float, 3>;

// The bytes of a 0x00BBGGRR colour (red in the low byte), and the colour of bytes.
struct TRgb {
  int R, G, B;
};
inline TRgb UnpackColor(uint32_t bgr) {
  return TRgb{int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)};
}
inline uint32_t PackColor(int r, int g, int b) {
  return uint32_t(r & 0xFF) | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF) << 16;
}

// Blue through green to red; both peaks are 256, not 255.
void BuildSpectrumTable(TSpectrumTable& table);

// Straight-line mix from the low colour (t = 0) to the high colour (t = 1).
TColorTriple BlendColor(double t, int32_t colorMin, int32_t colorHigh);

// t x 511 rounded halves-to-even; a t outside 0..1 (ranges that do not bound the
// data) gives the first or last entry, never a read outside the table.
int SpectrumIndex(double t);
// The same for a table whose last entry is last.
int TableIndex(double t, int last);

// The 0x00BBGGRR colour a colour value stands for: a negative value names a
// system colour by its low byte.
uint32_t ResolveColor(int32_t value);

// A colour value as 0..1 components; a negative value names a system colour by
// its low byte.
TGLColor ColorToGL(int32_t value);

// Where system colours come from: index in, 0x00BBGGRR out. Until the program
// installs its own source every system colour is black. The source is asked on the
// thread that installed it; other threads (a second list compiler) see the colours
// as they were at the last snapshot, which that thread takes before it hands them work.
using TSysColorSource = uint32_t (*)(int index);
void SetSysColorSource(TSysColorSource source);
void SnapshotSysColors();
uint32_t GetSysColor(int index);
