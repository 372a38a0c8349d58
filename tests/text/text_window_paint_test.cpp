// Painting the text window: the tint, the picture and the glyphs with their
// shadow, byte for byte; and whole runs whose display shows the window where
// and how the commands put it.
#include "text/text_window_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/mul_table.h"
#include "support/graphics_run.h"
#include "text/text_window.h"
#include "text/text_window_run.h"

namespace orivane::test {
namespace {

// ---- the arithmetic, on a small picture ------------------------------------------

uint32_t Channel(uint32_t rgb, int shift) {
  return (rgb >> shift) & 0xFF;
}

uint32_t PerChannel(uint32_t a, uint32_t b, int (*f)(int, int)) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= static_cast<uint32_t>(f(Channel(a, shift), Channel(b, shift))) << shift;
  return out;
}

uint32_t Tint(uint32_t in, uint32_t colour) {
  return PerChannel(in, colour, Mul);
}

uint32_t Darken(uint32_t in, int a) {
  return Tint(in, 0x010101u * static_cast<uint32_t>(255 - a));
}

uint32_t Glyph(uint32_t in, int a, uint32_t colour) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int v = Mul(Channel(in, shift), 255 - a) + Mul(Channel(colour, shift), a);
    out |= static_cast<uint32_t>(std::min(255, v)) << shift;
  }
  return out;
}

class PaintTextWindowTest : public ::testing::Test {
 protected:
  static constexpr int kW = 8, kH = 4;

  PaintTextWindowTest() {
    canvas_.Resize(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) Put(x, y, Original(x, y));
    window_.layer.Resize(kW, kH);
    window_.frame_left = 0;
    window_.frame_top = 0;
    window_.frame_right = kW - 1;
    window_.frame_bottom = kH - 1;
    window_.frame_color = 0xFFFFFF;  // no tint unless a test sets one
    window_.shadow = 1;
  }

  // A different colour in every pixel, each channel within 0..255.
  static uint32_t Original(int x, int y) {
    return (static_cast<uint32_t>(0x20 + 0x1C * x) << 16) |
           (static_cast<uint32_t>(0x20 + 0x2A * y) << 8) |
           static_cast<uint32_t>((37 * x + 11 * y) & 0xFF);
  }
  void Put(int x, int y, uint32_t rgb) {
    uint8_t* p = canvas_.RowFromTop(y) + x * 3;
    p[0] = rgb & 0xFF;
    p[1] = (rgb >> 8) & 0xFF;
    p[2] = (rgb >> 16) & 0xFF;
  }
  void SetGlyphPixel(int x, int y, int a, uint32_t colour) {
    window_.layer.Set(x, y, static_cast<uint8_t>(a),
                      static_cast<uint8_t>(Mul(Channel(colour, 0), a)),
                      static_cast<uint8_t>(Mul(Channel(colour, 8), a)),
                      static_cast<uint8_t>(Mul(Channel(colour, 16), a)));
  }
  void Paint(PixelRect area = PixelRect{0, 0, kW - 1, kH - 1}) {
    PaintTextWindow(window_, mul_, PixelView(canvas_), area);
  }
  // Every pixel is `expected(x, y)`.
  template <class F>
  void ExpectPixels(F expected) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        EXPECT_EQ(PixelAt(canvas_, x, y), expected(x, y)) << "at " << x << "," << y;
  }

  MulTable mul_;
  DisplaySurface canvas_;
  TextWindow window_;
};

TEST_F(PaintTextWindowTest, TintMultipliesTheFrameWithinTheAreaOnly) {
  window_.frame_color = 0x996633;
  window_.frame_left = 2;
  window_.frame_top = 1;
  window_.frame_right = 5;
  window_.frame_bottom = 2;
  Paint(PixelRect{0, 0, 3, 3});
  ExpectPixels([](int x, int y) {
    const bool tinted = x >= 2 && x <= 3 && y >= 1 && y <= 2;
    return tinted ? Tint(Original(x, y), 0x996633) : Original(x, y);
  });
}

TEST_F(PaintTextWindowTest, WhiteTintPaintsNothing) {
  window_.frame_color = 0xFFFFFF;
  Paint();
  ExpectPixels(Original);
}

TEST_F(PaintTextWindowTest, AWindowOffThePicturePaintsNoGlyphEither) {
  window_.frame_color = 0x000000;
  window_.frame_left = 100;
  window_.frame_top = 100;
  window_.frame_right = 200;
  window_.frame_bottom = 200;
  SetGlyphPixel(1, 1, 255, 0xFFFFFF);
  Paint();
  ExpectPixels(Original);
}

TEST_F(PaintTextWindowTest, GlyphsBlendAndShadowTheirRightNeighbour) {
  SetGlyphPixel(2, 1, 200, 0xFF2010);
  SetGlyphPixel(3, 1, 100, 0x30FF40);
  Paint();
  ExpectPixels([](int x, int y) {
    const uint32_t in = Original(x, y);
    if (y != 1) return in;
    if (x == 2) return Glyph(in, 200, 0xFF2010);
    if (x == 3) return Glyph(Darken(in, 200), 100, 0x30FF40);  // shadow first, then its own glyph
    if (x == 4) return Darken(in, 100);
    return in;
  });
}

TEST_F(PaintTextWindowTest, ShadedistanceMovesTheShadow) {
  window_.shadow_offset_set = true;
  window_.shadow_dx = 2;
  window_.shadow_dy = 1;
  SetGlyphPixel(2, 1, 200, 0xFF2010);
  SetGlyphPixel(4, 2, 90, 0x0000FF);
  Paint();
  ExpectPixels([](int x, int y) {
    const uint32_t in = Original(x, y);
    if (x == 2 && y == 1) return Glyph(in, 200, 0xFF2010);
    if (x == 4 && y == 2) return Glyph(Darken(in, 200), 90, 0x0000FF);
    if (x == 6 && y == 3) return Darken(in, 90);
    return in;
  });
}

TEST_F(PaintTextWindowTest, NoShadowWhenItIsOff) {
  window_.shadow = 0;
  SetGlyphPixel(2, 1, 200, 0xFF2010);
  Paint();
  ExpectPixels([](int x, int y) {
    return x == 2 && y == 1 ? Glyph(Original(x, y), 200, 0xFF2010) : Original(x, y);
  });
}

TEST_F(PaintTextWindowTest, GlyphsGoOverTheTintAndStayInTheArea) {
  window_.frame_color = 0x808080;
  SetGlyphPixel(2, 1, 255, 0xFFFFFF);
  SetGlyphPixel(5, 1, 255, 0xFFFFFF);
  Paint(PixelRect{0, 0, 3, kH - 1});
  ExpectPixels([](int x, int y) {
    const uint32_t in = Original(x, y);
    if (x > 3) return in;
    const uint32_t tinted = Tint(in, 0x808080);
    if (x == 2 && y == 1) return Glyph(tinted, 255, 0xFFFFFF);
    if (x == 3 && y == 1) return Darken(tinted, 255);
    return tinted;
  });
}

TEST_F(PaintTextWindowTest, PictureIsDrawnAtTheFrameAndClippedToIt) {
  ImageSurface& pic = window_.frame_image;
  ASSERT_TRUE(pic.CreateBlank(3, 2, 24));
  pic.mode = kModeCopy;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      uint8_t* p = pic.RowFromTop(y) + x * 3;
      p[0] = static_cast<uint8_t>(10 * x + y);
      p[1] = 0x55;
      p[2] = 0xAA;
    }
  window_.frame_color = kFramePicture;
  window_.frame_left = 1;
  window_.frame_top = 1;
  window_.frame_right = 2;  // narrower and lower than the picture
  window_.frame_bottom = 1;
  Paint();
  ExpectPixels([](int x, int y) {
    if (y == 1 && (x == 1 || x == 2)) return 0xAA5500u + static_cast<uint32_t>(10 * (x - 1));
    return Original(x, y);
  });
}

// ---- whole runs: what the player sees -------------------------------------------

constexpr uint32_t kBackground = 0x4080C0;

uint32_t Gradient(int x, int y) {
  return (static_cast<uint32_t>(x * 7 & 0xFF) << 16) | (static_cast<uint32_t>(y * 5 & 0xFF) << 8) |
         static_cast<uint32_t>((x + y) & 0xFF);
}

// Expects the display to be the gradient background, tinted with `colour`
// inside (l, t)-(r, b) unless `colour` is 0xFFFFFF.
void ExpectTintedWindow(const DisplaySurface& d, int l, int t, int r, int b, uint32_t colour) {
  int wrong = 0;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      const bool inside = x >= l && x <= r && y >= t && y <= b;
      const uint32_t expected = inside ? Tint(Gradient(x, y), colour) : Gradient(x, y);
      if (PixelAt(d, x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << PixelAt(d, x, y) << " not "
                      << expected;
    }
  EXPECT_EQ(wrong, 0);
}

void WriteGradientGame(GameDir& game, const std::string& define, const std::string& body) {
  game.WriteBytes("bg.bmp", MakeBmp24(320, 240, Gradient));
  game.Write("0.txt", SmallGame(define, "bg \"bg.bmp\",1\n" + body));
}

const char* const kWindow = "setwindow 8,16,20,10,24,22,2,4,0,1,1,#996633,100,50,300,200\n";

TEST(TextWindowScreen, TintCoversTheSetwindowRectangle) {
  GameDir game;
  WriteGradientGame(game, "", std::string(kWindow) + "texton");
  TextRun r = RunTextGame(game);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectTintedWindow(r.display, 100, 50, 300, 200, 0x996633);
}

TEST(TextWindowScreen, FrameBeyondTheScreenIsClipped) {
  GameDir game;
  WriteGradientGame(game, "",
                    "setwindow 8,16,20,10,24,22,2,4,0,1,1,#336699,-20,200,400,900\ntexton");
  TextRun r = RunTextGame(game);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectTintedWindow(r.display, 0, 200, 319, 239, 0x336699);
}

TEST(TextWindowScreen, PictureTakesItsOwnSizeAndTransparency) {
  GameDir game;
  constexpr uint32_t kKey = 0xFF00FF;
  auto picture = [](int x, int y) { return (x < 5 && y < 4) ? kKey : 0x102030u + x + 256u * y; };
  game.WriteBytes("win.bmp", MakeBmp24(40, 20, picture));
  game.Write("0.txt", SmallGame("",
                                "bg #4080c0,1\n"
                                "setwindow 8,16,20,10,24,22,2,4,0,1,1,\":l;win.bmp\",50,60\n"
                                "texton"));
  TextRun r = RunTextGame(game);
  ASSERT_EQ(r.status, 0) << r.err;
  int wrong = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      const bool inside = x >= 50 && x < 90 && y >= 60 && y < 80;
      uint32_t expected = kBackground;
      if (inside && picture(x - 50, y - 60) != kKey) expected = picture(x - 50, y - 60);
      if (PixelAt(r.display, x, y) != expected) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

struct ShowCase {
  const char* name;
  const char* body;  // after the window is set up
  uint32_t tint;     // the window's colour on screen; 0xFFFFFF: no window
};

void PrintTo(const ShowCase& c, std::ostream* os) {
  *os << c.name;
}

class TextWindowShows : public ::testing::TestWithParam<ShowCase> {};

TEST_P(TextWindowShows, DisplayHasTheWindowOrNot) {
  GameDir game;
  WriteGradientGame(game, "", std::string(kWindow) + GetParam().body);
  TextRun r = RunTextGame(game);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectTintedWindow(r.display, 100, 50, 300, 200, GetParam().tint);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TextWindowShows,
    ::testing::Values(
        ShowCase{"NotShownBeforeTexton", "", 0xFFFFFF},
        ShowCase{"Textoff", "texton\ntextoff", 0xFFFFFF},
        ShowCase{"TextonAgain", "texton\ntextoff\ntexton", 0x996633},
        ShowCase{"Texthide", "texton\ntexthide", 0xFFFFFF},
        ShowCase{"Textshow", "texton\ntexthide\ntextshow", 0x996633},
        ShowCase{"TextshowWhileOff", "texthide\ntextshow", 0xFFFFFF},
        ShowCase{"SetwindowTakesItOff",
                 "texton\nsetwindow 8,16,20,10,24,22,2,4,0,1,1,#996633,100,50,300,200", 0xFFFFFF},
        ShowCase{"Setwindow2RepaintsAtOnce", "texton\nsetwindow2 #336699", 0x336699},
        ShowCase{"Setwindow2WhileOffShowsNothing", "setwindow2 #336699", 0xFFFFFF},
        ShowCase{"TextmodeTakesItOff", "texton\ntextmode 0", 0xFFFFFF},
        ShowCase{"PrintKeepsIt", "texton\nprint 1", 0x996633}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// The picture commands take the window off first, as `erasetextwindow` says.
struct EraseCase {
  int mode;
  const char* command;
  bool stays;
};

TEST(TextWindowScreen, PictureCommandsEraseTheWindowAsErasetextwindowSays) {
  const EraseCase cases[] = {
      {1, "lsp 5,\":c;p.bmp\",0,0", false},
      {0, "lsp 5,\":c;p.bmp\",0,0", true},
      {2, "lsp 5,\":c;p.bmp\",0,0", false},
      {1, "ld l,\":c;p.bmp\",1", false},
      {2, "ld l,\":c;p.bmp\",1", true},
      {0, "bg \"bg.bmp\",1", true},
      {1, "bg \"bg.bmp\",1", false},
      {1, "tal l,128,1", false},
      {2, "tal l,128,1", true},
  };
  for (const EraseCase& c : cases) {
    GameDir game;
    // The sprite and the standing picture (10 × 10) lie outside the window.
    game.WriteBytes("p.bmp", MakeBmp24(10, 10, [](int, int) { return 0x00FF00u; }));
    WriteGradientGame(game, "",
                      "ld l,\":c;p.bmp\",1\nerasetextwindow " + std::to_string(c.mode) + "\n" +
                          kWindow + "texton\n" + c.command);
    bool shown = !c.stays;
    TextRun r = RunTextGame(game, [&](Engine& e) { shown = e.text.shown; });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(shown, c.stays) << c.mode << " " << c.command;
    const uint32_t inside = PixelAt(r.display, 200, 120);
    EXPECT_EQ(inside, c.stays ? Tint(Gradient(200, 120), 0x996633) : Gradient(200, 120))
        << c.mode << " " << c.command;
  }
}

TEST(TextWindowScreen, TalFadesTheStandingPicture) {
  GameDir game;
  game.WriteBytes("p.bmp", MakeBmp24(10, 10, [](int, int) { return 0x00FF00u; }));
  // Standing picture l stands centred on 80 at the bottom: x 75..84, y 230..239.
  WriteGradientGame(game, "", "ld l,\":c;p.bmp\",1\ntal l,128,1");
  TextRun r = RunTextGame(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const uint32_t under = Gradient(80, 235);
  const uint32_t expected =
      PerChannel(0x00FF00, under, [](int s, int d) { return Mul(s, 128) + Mul(d, 127); });
  EXPECT_EQ(PixelAt(r.display, 80, 235), expected);
}

TEST(TextWindowScreen, WindowchipSpritesComeAndGoWithTheWindow) {
  GameDir game;
  game.WriteBytes("p.bmp", MakeBmp24(10, 10, [](int, int) { return 0x00FF00u; }));
  struct Case {
    const char* body;
    bool chip_visible;
  } cases[] = {{"texton", true}, {"texton\ntextoff", false}, {"texton\ntextoff\ntexton", true}};
  for (const Case& c : cases) {
    WriteGradientGame(game, "windowchip 5\n",
                      std::string("lsp 5,\":c;p.bmp\",10,10\nprint 1\n") + kWindow + c.body);
    TextRun r = RunTextGame(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 12, 12), c.chip_visible ? 0x00FF00u : Gradient(12, 12)) << c.body;
  }
}

TEST(TextWindowScreen, WindoweffectFadesTheWindowIn) {
  GameDir game;
  WriteGradientGame(game, "", std::string(kWindow) + "windoweffect 10,1000\ntexton");
  const uint32_t before = Gradient(200, 120), after = Tint(before, 0x996633);
  int between = 0, frames = 0;
  TextRun r = RunTextGame(game, {}, [&](const DisplaySurface& d) {
    ++frames;
    const uint32_t p = PixelAt(d, 200, 120);
    if (p != before && p != after) ++between;
  });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_GT(between, 10) << "of " << frames << " frames";
  EXPECT_EQ(PixelAt(r.display, 200, 120), after);
}

}  // namespace
}  // namespace orivane::test
