// The screen filters: the negative before or after the tinted monochrome,
// exact to the byte, over the area composed only; and `monocro` / `nega` in
// whole runs, kept by a save file.
#include "graphics/screen_filters.h"

#include <gtest/gtest.h>

#include <vector>

#include "script/general_test_support.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

uint32_t Rgb(const uint8_t* px) {
  return uint32_t{px[2]} << 16 | uint32_t{px[1]} << 8 | px[0];
}

TEST(ScreenFilters, ChangeEveryPixelOfTheAreaExactly) {
  struct Case {
    const char* name;
    ScreenFilters filters;
    uint32_t from, to;  // 0xRRGGBB
  };
  // The grey of 0x5A3C1E is (0x1E + 0x3C + 0x5A) / 3 = 60; of its negative,
  // (0xE1 + 0xC3 + 0xA5) / 3 = 195.
  const std::vector<Case> cases = {
      {"off", {}, 0x5A3C1E, 0x5A3C1E},
      {"negative", {false, 0, 0, 0, 1}, 0x5A3C1E, 0xA5C3E1},
      {"negative after", {false, 0, 0, 0, 2}, 0x5A3C1E, 0xA5C3E1},
      {"an unknown negative mode does nothing", {false, 0, 0, 0, 3}, 0x5A3C1E, 0x5A3C1E},
      {"monochrome",
       {true, 0xFF, 0x80, 0x00, 0},
       0x5A3C1E,
       uint32_t(Mul(60, 255)) << 16 | uint32_t(Mul(60, 128)) << 8},
      {"the negative of the grey, tinted",
       {true, 0xFF, 0x80, 0x00, 1},
       0x5A3C1E,
       uint32_t(Mul(195, 255)) << 16 | uint32_t(Mul(195, 128)) << 8},
      {"the tinted picture, inverted",
       {true, 0xFF, 0x80, 0x00, 2},
       0x5A3C1E,
       uint32_t(255 - Mul(60, 255)) << 16 | uint32_t(255 - Mul(60, 128)) << 8 | 255},
      {"white stays white under a white tint", {true, 0xFF, 0xFF, 0xFF, 0}, 0xFFFFFF, 0xFFFFFF},
  };
  MulTable mul;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool whole : {true, false}) {
      // 5 × 4 pixels with a padded stride; the partial area is 1..3 × 1..2.
      constexpr int kW = 5, kH = 4, kStride = 16;
      std::vector<uint8_t> bytes(kStride * kH);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          uint8_t* px = &bytes[static_cast<size_t>(y * kStride + x * 3)];
          px[0] = c.from & 0xFF;
          px[1] = c.from >> 8 & 0xFF;
          px[2] = c.from >> 16;
        }
      PixelView view(bytes.data(), kW, kH, kStride);
      const PixelRect area = whole ? PixelRect{0, 0, kW - 1, kH - 1} : PixelRect{1, 1, 3, 2};
      FilterArea(c.filters, mul, view, area);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const bool inside =
              x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
          EXPECT_EQ(Rgb(view.RowFromTop(y) + x * 3), inside ? c.to : c.from) << x << "," << y;
        }
    }
  }
}

TEST(ScreenFilters, AWholeScreenWithoutPaddingIsFilteredAsOneRun) {
  MulTable mul;
  std::vector<uint8_t> bytes(4 * 3 * 3);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> want = bytes;
  for (uint8_t& b : want) b = static_cast<uint8_t>(255 - b);
  FilterArea({false, 0, 0, 0, 1}, mul, PixelView(bytes.data(), 4, 3, 12), PixelRect{0, 0, 3, 2});
  EXPECT_EQ(bytes, want);
}

// A grey background under the filters, composed and shown by `print`.
PictureRun RunFiltered(const std::string& body) {
  GameDir game;
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\nbg #805020,1\n" + body + "\nend\n");
  return RunPictures(game);
}

TEST(ScreenFilterCommands, FilterTheComposedScreen) {
  struct Case {
    const char* name;
    const char* body;
    uint32_t pixel;
  };
  const int grey = (0x80 + 0x50 + 0x20) / 3;
  const std::vector<Case> cases = {
      {"monocro", "monocro #ff0000\nprint 1", uint32_t(grey) << 16},
      {"monocro off", "monocro #ff0000\nprint 1\nmonocro off\nprint 1", 0x805020},
      {"nega", "nega 1\nprint 1", 0x7FAFDF},
      {"nega 0", "nega 1\nprint 1\nnega 0\nprint 1", 0x805020},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureRun r = RunFiltered(c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 10, 10), c.pixel);
  }
}

TEST(ScreenFilterCommands, ASaveKeepsTheFilters) {
  GameDir game;
  game.Write(
      "0.txt",
      ";mode320\n*define\nsetwindow "
      "10,200,10,2,10,10,0,2,0,0,0,#ffffff,0,190,319,239\ngame\n*start\n"
      "bg #805020,1\nmonocro #0000ff\nnega 2\n一\\\n二@\n"
      "if %300 == 1 goto *loaded\nsavegame 1\nmonocro off\nnega 0\n三\\\nmov %300,1\nloadgame 1\n"
      "end\n*loaded\nprint 1\nend\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const int grey = (0x80 + 0x50 + 0x20) / 3;
  EXPECT_EQ(PixelAt(r.scene, 10, 10), 0xFFFF00u | uint32_t(255 - grey));
}

INSTANTIATE_TEST_SUITE_P(
    ScreenFilterArguments, ScriptErrors,
    ::testing::Values(
        ErrorCase{"monocro 5", "構文エラー",
                  "monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。"},
        ErrorCase{"monocro on", "構文エラー",
                  "monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。"}));

}  // namespace
}  // namespace orivane::test
