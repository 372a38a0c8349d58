// The picture tools that draw text: `createdummy` writes its labelled
// placeholder and `font2bmp` its row of test characters, as 24-bit BMP files
// inside the game directory only.
#include "graphics/font_pictures.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/text_stamp.h"
#include "script/general_test_support.h"
#include "support/script_cases.h"
#include "text/fake_fonts.h"
#include "text/text_window_run.h"

namespace orivane::test {
namespace {

// A written BMP file read back: its header's sizes and its pixels.
struct WrittenBmp {
  std::string bytes;
  uint32_t Le(size_t at, int n) const {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes.at(at + i));
    return v;
  }
  int width() const { return static_cast<int>(Le(18, 4)); }
  int height() const { return static_cast<int>(Le(22, 4)); }
  int bits() const { return static_cast<int>(Le(28, 2)); }
  uint32_t Pixel(int x, int y) const {  // 0xRRGGBB, y from the top
    const size_t stride = (static_cast<size_t>(width()) * 3 + 3) & ~size_t{3};
    return Le(Le(10, 4) + (height() - 1 - y) * stride + x * 3, 3);
  }
};

TEST(Createdummy, WritesAPlaceholderLabelledWithItsName) {
  struct Case {
    const char* name;
    int width;  // the name's width (8 a character) with margins, at least 160
  };
  const Case cases[] = {
      {"dummy.bmp", 160},
      {"a_rather_long_placeholder_name.bmp", 34 * 8 + 2 * 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFonts fonts;
    FakeFonts::DrawSolid(fonts);
    GameDir game;
    game.Write("0.txt", SmallGame("createdummy \"" + std::string(c.name) + "\"\n", ""));
    TextRun r = RunTextGame(game, {}, {}, RunWith(&fonts));
    ASSERT_EQ(r.status, 0) << r.err;
    const WrittenBmp bmp{game.ReadBytes(c.name)};
    ASSERT_GT(bmp.bytes.size(), 54u);
    EXPECT_EQ(bmp.width(), c.width);
    EXPECT_EQ(bmp.height(), kDummyHeight);
    EXPECT_EQ(bmp.bits(), 24);
    EXPECT_EQ(bmp.Pixel(0, 0), kDummyInk);  // the frame
    EXPECT_EQ(bmp.Pixel(c.width - 1, kDummyHeight - 1), kDummyInk);
    EXPECT_EQ(bmp.Pixel(1, 1), kDummyBackground);
    const int text_right =
        kDummyMargin + static_cast<int>(std::string(c.name).size()) * kDummyCharWidth;
    EXPECT_EQ(bmp.Pixel(kDummyMargin, kDummyMargin), kDummyInk);  // the name
    EXPECT_EQ(bmp.Pixel(text_right - 1, kDummyMargin + kDummyCharHeight - 1), kDummyInk);
    EXPECT_EQ(bmp.Pixel(kDummyMargin, kDummyMargin + kDummyCharHeight), kDummyBackground);
    ASSERT_FALSE(fonts.requests.empty());
    EXPECT_EQ(fonts.requests[0].face, kGothicFaceUtf8);
    EXPECT_EQ(fonts.requests[0].width, kDummyCharWidth);
    EXPECT_EQ(fonts.requests[0].height, kDummyCharHeight);
  }
}

TEST(Font2bmp, WritesTheTestRowInTheFaceAndSize) {
  FakeFonts fonts;
  fonts.draw = [](const GlyphRequest& r) {  // only the A has ink
    GlyphBitmap g = FakeFonts::Blank(r.width, r.height);
    if (r.code_point == U'A') std::fill(g.coverage.begin(), g.coverage.end(), 255);
    return g;
  };
  GameDir game;
  game.Write("0.txt", SmallGame("", "font2bmp \"ＭＳ 明朝\",10,20"));
  TextRun r = RunTextGame(game, {}, {}, RunWith(&fonts));
  ASSERT_EQ(r.status, 0) << r.err;
  const WrittenBmp bmp{game.ReadBytes("testfont.bmp")};
  ASSERT_GT(bmp.bytes.size(), 54u);
  EXPECT_EQ(bmp.width(), 57 * 10);
  EXPECT_EQ(bmp.height(), 20);
  EXPECT_EQ(bmp.bits(), 24);
  const int a = 11 * 10;  // after the space and the ten digits
  EXPECT_EQ(bmp.Pixel(a, 0), 0xFFFFFFu);
  EXPECT_EQ(bmp.Pixel(a + 9, 19), 0xFFFFFFu);
  EXPECT_EQ(bmp.Pixel(a - 1, 0), 0u);
  EXPECT_EQ(bmp.Pixel(a + 10, 0), 0u);
  std::u32string asked;
  for (const RecordedRequest& q : fonts.requests) {
    asked.push_back(q.code_point);
    EXPECT_EQ(q.face, "ＭＳ 明朝");
    EXPECT_EQ(q.width, 10);
    EXPECT_EQ(q.height, 20);
  }
  EXPECT_EQ(asked, U" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ'.?!+-=*/<>()^\\%&$\":");
}

TEST(Font2bmp, WritesNothingForSizesTheFontsRefuse) {
  for (const char* size : {"0,20", "10,-1", "10,2000"}) {
    GameDir game;
    game.Write("0.txt", SmallGame("", std::string("font2bmp \"ＭＳ 明朝\",") + size));
    TextRun r = RunTextGame(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(game.ReadBytes("testfont.bmp").empty()) << size;
  }
}

INSTANTIATE_TEST_SUITE_P(
    CreatedummyNames, DefineErrors,
    ::testing::Values(
        ErrorCase{"createdummy \"../outside.bmp\"", "エラー",
                  "createdummyのファイル名../outside.bmpはゲームのフォルダの外を指しています。"},
        ErrorCase{
            "createdummy \"/tmp/outside.bmp\"", "エラー",
            "createdummyのファイル名/tmp/outside.bmpはゲームのフォルダの外を指しています。"}));

}  // namespace
}  // namespace orivane::test
