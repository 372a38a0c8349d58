// Text pictures (":s" tags): how large their cells are laid out, and what the
// renderer draws into them — the mask, each colour's cell, blanks, units past
// the cell, the shadow and the outlined decoration — with a font service
// whose glyphs are known to the pixel.
#include "text/text_picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "engine.h"
#include "graphics/image_tag.h"
#include "platform/headless/headless_platform.h"
#include "text/fake_fonts.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

// Every glyph but the blank is ink over the left half of its bitmap, all
// rows. At three times the cell a half-width character's ink covers exactly
// the first width/4 cell columns: with an 8-pixel glyph, "AB" inks the
// columns 0, 1 (A) and 4, 5 (B).
GlyphBitmap HalfInk(const GlyphRequest& r) {
  const bool wide = r.code_point > 0x7F;
  GlyphBitmap g = FakeFonts::Blank(wide ? 2 * r.width : r.width, r.height);
  if (r.code_point == U' ') return g;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width / 2; ++x) g.coverage[static_cast<size_t>(y) * g.width + x] = 255;
  return g;
}

class TextPictureTest : public ::testing::Test {
 protected:
  TextPictureTest()
      : platform_(out_, err_, false, &fonts_), engine_(std::make_unique<Engine>(platform_)) {
    fonts_.draw = HalfInk;
    TextWindow& w = engine_->text;
    w.font_face = "WindowFace";
    w.bold = 0;  // bold and shadow spread the ink; tests that want them say so
    w.shadow = 0;
  }
  Engine& engine() { return *engine_; }
  FakeFonts& fonts() { return fonts_; }

  ImageSurface Load(const std::string& tag_utf8) {
    ImageSurface s;
    LoadImageTag(engine(), s, Utf8ToSjis(tag_utf8));
    return s;
  }

  static uint32_t Pixel(const ImageSurface& s, int x, int y) {
    const uint8_t* p = s.RowFromTop(y) + 3 * x;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
  }

  // Checks cell `k`: the colour part shows `rgb` where `ink` holds and black
  // elsewhere; its mask is black where `mask_ink` holds and white elsewhere.
  static void ExpectCell(const ImageSurface& s, int k, uint32_t rgb,
                         const std::function<bool(int, int)>& ink,
                         const std::function<bool(int, int)>& mask_ink) {
    const int w = s.CellWidth();
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(Pixel(s, 2 * w * k + x, y), ink(x, y) ? rgb : 0u)
            << "cell " << k << " at " << x << "," << y;
        EXPECT_EQ(Pixel(s, 2 * w * k + w + x, y), mask_ink(x, y) ? 0u : 0xFFFFFFu)
            << "mask " << k << " at " << x << "," << y;
      }
  }

 private:
  std::ostringstream out_, err_;
  FakeFonts fonts_;
  HeadlessPlatform platform_;
  std::unique_ptr<Engine> engine_;
};

// ---- layout ---------------------------------------------------------------------

TEST_F(TextPictureTest, CellsAreLaidOutFromTheFontInEffect) {
  struct Case {
    const char* name;
    std::function<void(Engine&)> setup;
    const char* tag;
    int cell_width, height, cells;
  } cases[] = {
      {"size group", {}, ":s/24,24,0;#ffffff#ffff00AB", 24, 24, 2},
      {"pitch", {}, ":s/10,12,4;#ffffffABCD", 4 * 14 / 2, 12, 1},
      {"narrow advance makes up the last glyph",
       {},
       ":s/20,20,-4;#ff0000ABCD",
       4 * 16 / 2 + 4,
       20,
       1},
      {"blanks count in the width", {}, ":s/10,10,0;#ffffffA B", 3 * 10 / 2, 10, 1},
      {"outlined", {}, ":s/24,24,0,2;#ffffffAB", 24 + 2, 24 + 2, 1},
      {"text window's font", {}, ":s#ffffffあい", 4 * 26 / 2, 26, 1},
      {"text window's font after setwindow",
       [](Engine& e) {
         e.text.glyph_width = 20;
         e.text.glyph_height = 22;
         e.text.advance_x = 24;
       },
       ":s#ffffff#000000ABC", 3 * 24 / 2, 22, 2},
      {"spfont",
       [](Engine& e) {
         e.text.sprite_font.width = 16;
         e.text.sprite_font.height = 18;
         e.text.sprite_font.advance_x = 18;
       },
       ":s#ffffffABC", 3 * 18 / 2, 18, 1},
      {"size group over spfont", [](Engine& e) { e.text.sprite_font.width = 16; },
       ":s/10,10,0;#ffffffAB", 10, 10, 1},
      {"shadow", [](Engine& e) { e.text.shadow = 1; }, ":s/24,24,0;#ffffffAB", 24 + 1, 24, 1},
      {"shadow at an offset",
       [](Engine& e) {
         e.text.shadow = 1;
         e.text.shadow_offset_set = true;
         e.text.shadow_dx = 3;
         e.text.shadow_dy = 2;
       },
       ":s/24,24,0;#ffffffAB", 24 + 3, 24 + 2, 1},
      {"offset without shadow",
       [](Engine& e) {
         e.text.shadow_offset_set = true;
         e.text.shadow_dx = 3;
         e.text.shadow_dy = 2;
       },
       ":s/24,24,0;#ffffffAB", 24, 24, 1},
      {"shadow and outline", [](Engine& e) { e.text.shadow = 1; }, ":s/24,24,0,2;#ffffffAB",
       24 + 1 + 2, 24 + 2, 1},
      {"string variable", [](Engine& e) { e.vars.SetStr(3, "ABCDEF"); }, ":s/8,8,0;#ffffff$3",
       6 * 8 / 2, 8, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Engine& e = engine();
    const TextWindow saved = e.text;
    if (c.setup) c.setup(e);
    const ImageSurface s = Load(c.tag);
    e.text = saved;
    ASSERT_TRUE(s.loaded);
    EXPECT_TRUE(s.is_text);
    EXPECT_EQ(s.mode, kModeAlpha);
    EXPECT_EQ(s.cells, c.cells);
    EXPECT_EQ(s.CellWidth(), c.cell_width);
    EXPECT_EQ(s.width, 2 * c.cell_width * c.cells);
    EXPECT_EQ(s.height, c.height);
  }
}

TEST_F(TextPictureTest, NoAreaMeansNoPicture) {
  // An empty text, or a shadow offset that eats the whole width.
  EXPECT_FALSE(Load(":s/8,8,0;#ffffff").loaded);
  engine().text.shadow = 1;
  engine().text.shadow_offset_set = true;
  engine().text.shadow_dx = -8;
  EXPECT_FALSE(Load(":s/8,8,0;#ffffffAB").loaded);
}

// ---- the mask and the colours ------------------------------------------------------

TEST_F(TextPictureTest, MaskIsWhiteWithTheTextInBlackAndCellKIsColourK) {
  const ImageSurface s = Load(":s/8,6,0;#ff0000#00ff00#0000ffAB");
  ASSERT_EQ(s.CellWidth(), 8);
  ASSERT_EQ(s.cells, 3);
  const auto ink = [](int x, int) { return x == 0 || x == 1 || x == 4 || x == 5; };
  ExpectCell(s, 0, 0xFF0000, ink, ink);
  ExpectCell(s, 1, 0x00FF00, ink, ink);
  ExpectCell(s, 2, 0x0000FF, ink, ink);
}

TEST_F(TextPictureTest, TextOfAStringVariableIsDrawn) {
  engine().vars.SetStr(5, "AB");
  const ImageSurface s = Load(":s/8,6,0;#ffff00$5");
  ASSERT_EQ(s.CellWidth(), 8);
  const auto ink = [](int x, int) { return x == 0 || x == 1 || x == 4 || x == 5; };
  ExpectCell(s, 0, 0xFFFF00, ink, ink);
}

TEST_F(TextPictureTest, BlanksAndTabsTakeNoPlace) {
  // "AB" at pen 0, the blank passed over, "CD" at pen 8 (one advance), not 12.
  for (const char* tag : {":s/8,6,0;#ffffffAB CD", ":s/8,6,0;#ffffffAB\tCD"}) {
    SCOPED_TRACE(tag);
    const ImageSurface s = Load(tag);
    ASSERT_EQ(s.CellWidth(), 5 * 8 / 2);
    const auto ink = [](int x, int) {
      return x == 0 || x == 1 || x == 4 || x == 5 || x == 8 || x == 9 || x == 12 || x == 13;
    };
    ExpectCell(s, 0, 0xFFFFFF, ink, ink);
  }
}

TEST_F(TextPictureTest, UnitsWhosePenIsPastTheCellAreNotDrawn) {
  // A shadow offset to the left narrows the cell to 7: the unit "CD" at pen 8
  // lies past it. Its shadow would fall inside, so it must not be drawn at all.
  TextWindow& w = engine().text;
  w.shadow = 1;
  w.shadow_offset_set = true;
  w.shadow_dx = -9;
  w.shadow_dy = 0;
  const ImageSurface s = Load(":s/8,6,0;#ffffffABCD");
  ASSERT_EQ(s.CellWidth(), 16 - 9);
  std::set<char32_t> asked;
  for (const RecordedRequest& r : fonts().requests) asked.insert(r.code_point);
  EXPECT_EQ(asked, (std::set<char32_t>{U'A', U'B'}));
}

TEST_F(TextPictureTest, ShadowDarkensTheMaskBesideTheText) {
  struct Case {
    const char* name;
    bool offset;
    int dx, dy;
    std::function<bool(int, int)> shade;  // mask pixels the shadow darkens
  } cases[] = {
      {"plain: one to the right", false, 0, 0, [](int x, int) { return x == 2 || x == 6; }},
      {"shadedistance 1,1", true, 1, 1,
       [](int x, int y) { return y >= 1 && y <= 6 && (x == 1 || x == 2 || x == 5 || x == 6); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextWindow& w = engine().text;
    w.shadow = 1;
    w.shadow_offset_set = c.offset;
    w.shadow_dx = c.dx;
    w.shadow_dy = c.dy;
    const ImageSurface s = Load(":s/8,6,0;#ff0000AB");
    const auto ink = [&](int x, int y) { return y < 6 && (x == 0 || x == 1 || x == 4 || x == 5); };
    // The shadow is black on black in the colour part: only the mask shows it.
    const auto shade = c.shade;
    ExpectCell(s, 0, 0xFF0000, ink, [&](int x, int y) { return ink(x, y) || shade(x, y); });
  }
}

TEST_F(TextPictureTest, FaceAndWeightComeFromSpfontWhenSet) {
  struct Case {
    bool spfont;
    int window_bold, sprite_bold;
    const char* face;
    int weight;
  } cases[] = {
      {false, 1, 0, "WindowFace", 700},
      {false, 0, 1, "WindowFace", 400},
      {true, 0, 1, "SpriteFace", 700},
      {true, 1, 0, "SpriteFace", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face + std::to_string(c.weight));
    TextWindow& w = engine().text;
    w.bold = c.window_bold;
    w.sprite_font = SpriteFont{};
    if (c.spfont) {
      w.sprite_font = SpriteFont{"SpriteFace", 8, 6, 8, 8, c.sprite_bold, 0};
    }
    fonts().requests.clear();
    engine().glyphs.Clear();
    Load(":s/8,6,0;#ffffffA");
    ASSERT_FALSE(fonts().requests.empty());
    for (const RecordedRequest& r : fonts().requests) {
      EXPECT_EQ(r.face, c.face);
      EXPECT_EQ(r.weight, c.weight);
      EXPECT_FALSE(r.monochrome);
      EXPECT_EQ(r.height, 3 * 6);  // the glyph method's three times the cell
    }
  }
}

// ---- the plain and outlined decorations ------------------------------------------

TEST_F(TextPictureTest, PlainDecorationDrawsTheFontAtGlyphSize) {
  engine().text.shadow = 1;  // no shadow with decorations 1 and 2
  const ImageSurface s = Load(":s/8,6,0,1;#00ffffAB");
  ASSERT_EQ(s.CellWidth(), 8 + 1);
  for (const RecordedRequest& r : fonts().requests) {
    EXPECT_TRUE(r.monochrome);
    EXPECT_EQ(r.width, 8 / 2);
    EXPECT_EQ(r.height, 6);
  }
  // At the glyph size "A" inks columns 0, 1 and "B" 4, 5.
  const auto ink = [](int x, int) { return x == 0 || x == 1 || x == 4 || x == 5; };
  ExpectCell(s, 0, 0x00FFFF, ink, ink);
}

TEST_F(TextPictureTest, OutlinedDecorationRingsTheGlyphInBlack) {
  // "A" alone: a cell of 1 × 8 / 2 + 2 = 6 by 6 + 2 = 8. The glyph (columns
  // 0, 1, rows 0..5) is drawn black at (1,0), (0,1), (2,1), (1,2) and in the
  // colour at (1,1).
  const ImageSurface s = Load(":s/8,6,0,2;#ffff00A");
  ASSERT_EQ(s.CellWidth(), 6);
  ASSERT_EQ(s.height, 8);
  const auto glyph_at = [](int gx, int gy) {
    return [gx, gy](int x, int y) { return x >= gx && x <= gx + 1 && y >= gy && y <= gy + 5; };
  };
  const auto colour = glyph_at(1, 1);
  const auto outlined = [&](int x, int y) {
    return glyph_at(1, 0)(x, y) || glyph_at(0, 1)(x, y) || glyph_at(2, 1)(x, y) ||
           glyph_at(1, 2)(x, y) || colour(x, y);
  };
  ExpectCell(s, 0, 0xFFFF00, colour, outlined);
  // Outline pixels: opaque in the mask, black in the picture.
  EXPECT_EQ(Pixel(s, 0, 1), 0u);
  EXPECT_EQ(Pixel(s, 6 + 0, 1), 0u);
  EXPECT_EQ(Pixel(s, 3, 6), 0u);
  EXPECT_EQ(Pixel(s, 6 + 3, 6), 0u);
  EXPECT_EQ(Pixel(s, 6 + 0, 0), 0xFFFFFFu);  // the corner stays clear
}

}  // namespace
}  // namespace orivane::test
