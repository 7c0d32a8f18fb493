#include "render/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kPixels = 12;

// One row of lit pixels of a glyph, from the pen's place on the baseline.
struct TRun {
  int X, Y, Length;
};

struct TGlyph {
  int Advance = 0;
  std::vector<TRun> Runs;
};

// The glyphs of printable ASCII and Latin-1, rendered once; others show as "?".
class TFace {
 public:
  TFace() {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    if (FT_New_Face(library, kFontFile, 0, &face) == 0 &&
        FT_Set_Pixel_Sizes(face, 0, kPixels) == 0) {
      ascent_ = int(face->size->metrics.ascender >> 6);
      descent_ = int(-face->size->metrics.descender >> 6);
      for (char32_t c = 32; c < 256; ++c)
        if (c < 127 || c >= 160) Render(face, c);
    }
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
  const TGlyph* Find(char32_t c) const {
    auto it = glyphs_.find(c);
    if (it == glyphs_.end()) it = glyphs_.find(U'?');
    return it == glyphs_.end() ? nullptr : &it->second;
  }
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }

 private:
  void Render(FT_Face face, char32_t c) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return;
    const FT_GlyphSlot g = face->glyph;
    if (g->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
    TGlyph glyph;
    glyph.Advance = int(g->advance.x >> 6);
    for (int r = 0; r < int(g->bitmap.rows); ++r) {
      const unsigned char* row = g->bitmap.buffer + ptrdiff_t(r) * g->bitmap.pitch;
      for (int col = 0; col < int(g->bitmap.width);) {
        if (!(row[col >> 3] & (0x80 >> (col & 7)))) {
          ++col;
          continue;
        }
        const int start = col;
        while (col < int(g->bitmap.width) && (row[col >> 3] & (0x80 >> (col & 7)))) ++col;
        glyph.Runs.push_back({g->bitmap_left + start, g->bitmap_top - r - 1, col - start});
      }
    }
    glyphs_[c] = std::move(glyph);
  }

  std::map<char32_t, TGlyph> glyphs_;
  int ascent_ = 0, descent_ = 0;
};

const TFace& Face() {
  static const TFace face;
  return face;
}

// The code points of UTF-8 text; a byte that starts no sequence stands for itself.
std::vector<char32_t> CodePoints(std::string_view utf8) {
  std::vector<char32_t> out;
  for (size_t k = 0; k < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[k]);
    const int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = more ? b & (0x3F >> more) : b;
    size_t n = 1;
    for (; n <= size_t(more) && k + n < utf8.size(); ++n)
      c = (c << 6) | (static_cast<unsigned char>(utf8[k + n]) & 0x3F);
    out.push_back(c);
    k += n;
  }
  return out;
}

}  // namespace

TTextSize MeasureText(std::string_view utf8) {
  const TFace& face = Face();
  TTextSize size{0, face.Ascent(), face.Descent()};
  for (const char32_t c : CodePoints(utf8))
    if (const TGlyph* g = face.Find(c)) size.Width += g->Advance;
  return size;
}

void DrawText(TCornerPen& pen, std::string_view utf8, double x, double y, double alignX,
              double alignY) {
  const TTextSize size = MeasureText(utf8);
  // Whole pixels: each run covers exactly the pixels whose middles it holds.
  int penX = int(std::lround(x - alignX * size.Width));
  const int baseline = int(std::lround(y - alignY * (size.Ascent + size.Descent))) + size.Descent;
  pen.Begin(GL_QUADS);
  for (const char32_t c : CodePoints(utf8)) {
    const TGlyph* g = Face().Find(c);
    if (!g) continue;
    for (const TRun& r : g->Runs) {
      const double x0 = penX + r.X, x1 = x0 + r.Length, y0 = baseline + r.Y, y1 = y0 + 1;
      pen.Vertex(x0, y0);
      pen.Vertex(x1, y0);
      pen.Vertex(x1, y1);
      pen.Vertex(x0, y1);
    }
    penX += g->Advance;
  }
  pen.End();
}
