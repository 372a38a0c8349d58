// Test support: a font service that draws what the test tells it to and
// records every request, so that the glyph method's arithmetic and the
// cache's calls can be checked exactly.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/font_service.h"

namespace orivane::test {

struct RecordedRequest {
  std::string face;
  char32_t code_point;
  int width, height, weight;
  bool vertical, monochrome;
};

class FakeFonts final : public FontService {
 public:
  // Draws the answer to a request; by default a blank full-width cell.
  std::function<GlyphBitmap(const GlyphRequest&)> draw = [](const GlyphRequest& r) {
    return Blank(2 * r.width, r.height);
  };
  std::vector<RecordedRequest> requests;

  std::vector<FontMenuEntry> ListMenuFonts(int) override { return {}; }
  GlyphBitmap RasterizeGlyph(const GlyphRequest& r) override {
    requests.push_back(
        {std::string(r.face), r.code_point, r.width, r.height, r.weight, r.vertical, r.monochrome});
    return draw(r);
  }

  static GlyphBitmap Blank(int width, int height) {
    GlyphBitmap g;
    g.width = g.advance = width;
    g.height = height;
    g.coverage.assign(static_cast<size_t>(width) * height, 0);
    return g;
  }
  // Every glyph a solid block, full-width characters twice as wide as ASCII:
  // a cell is then either full or empty, in the colour it was drawn in.
  static void DrawSolid(FakeFonts& fonts) {
    fonts.draw = [](const GlyphRequest& r) {
      GlyphBitmap g = Blank(r.code_point < 0x80 ? r.width : 2 * r.width, r.height);
      std::fill(g.coverage.begin(), g.coverage.end(), 255);
      return g;
    };
  }

  // A blank cell with one pixel of the given coverage.
  static GlyphBitmap Dot(int width, int height, int x, int y, uint8_t value = 255) {
    GlyphBitmap g = Blank(width, height);
    g.coverage[static_cast<size_t>(y) * width + x] = value;
    return g;
  }
};

}  // namespace orivane::test
