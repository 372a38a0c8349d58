// `strsp` and `strsph`: a text laid out on a grid of its own becomes an alpha
// sprite tagged "bklg"; the text window keeps its own settings.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_fonts.h"
#include "support/script_cases.h"
#include "text_window_run.h"

namespace orivane::test {
namespace {

// Mask byte of the picture at (x, y): 0 opaque, 255 clear.
int MaskAt(const ImageSurface& s, int x, int y) { return s.RowFromTop(y)[(s.CellWidth() + x) * 3]; }
int BlueAt(const ImageSurface& s, int x, int y) { return s.RowFromTop(y)[x * 3]; }

TEST(StringSprite, TextOnItsOwnGridBecomesAnAlphaSprite) {
  GameDir game;
  // Two columns of 10 × 10 cells: 三 wraps to the second line. The second
  // sprite casts the plain shadow, one pixel to the right.
  game.Write("0.txt", SmallGame("", "strsp 5,\"#00ff00一二三\",30,40,2,2,10,10,0,0,0,0\n"
                                    "strsph 6,\"一\",0,0,2,2,10,10,0,0,0,1"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        const SpriteSlot& s5 = e.graphics.sprites[5];
        EXPECT_EQ(s5.tag, "bklg");
        EXPECT_TRUE(s5.visible);
        EXPECT_EQ(s5.x, 30);
        EXPECT_EQ(s5.y, 40);
        ASSERT_EQ(s5.surface.CellWidth(), 20);
        ASSERT_EQ(s5.surface.height, 20);
        EXPECT_EQ(MaskAt(s5.surface, 5, 5), 0);     // 一
        EXPECT_EQ(MaskAt(s5.surface, 15, 5), 0);    // 二
        EXPECT_EQ(MaskAt(s5.surface, 5, 15), 0);    // 三, on the second line
        EXPECT_EQ(MaskAt(s5.surface, 15, 15), 255); // nothing
        EXPECT_EQ(BlueAt(s5.surface, 5, 5), 0);     // in the colour the text set
        EXPECT_EQ(s5.surface.RowFromTop(5)[5 * 3 + 1], 255);

        const SpriteSlot& s6 = e.graphics.sprites[6];
        EXPECT_FALSE(s6.visible);
        ASSERT_EQ(s6.surface.CellWidth(), 21);  // the shadow's column
        EXPECT_EQ(MaskAt(s6.surface, 10, 5), 0);  // shadow: opaque black
        EXPECT_EQ(BlueAt(s6.surface, 10, 5), 0);
        EXPECT_EQ(BlueAt(s6.surface, 5, 5), 255);  // white glyph over it

        // The text window is as it was: its grid, its colour, an empty page.
        EXPECT_EQ(e.text.columns, 23);
        EXPECT_EQ(e.text.glyph_width, 26);
        EXPECT_EQ(e.text.text_color, 0xFFFFFFu);
        EXPECT_TRUE(e.text.layer.used.empty());
      },
      {}, RunWith(&fonts));
  EXPECT_EQ(r.status, 0) << r.err;
}

// Bad grids and sprite numbers past the table.
INSTANTIATE_TEST_SUITE_P(
    StringSpriteCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"strsp 1,\"一\",0,0,0,2,10,10,0,0,0,0", "エラー", "strspの文字の枠の指定が間違っています。"},
                      ErrorCase{"strsp 1,\"一\",0,0,2,2,9000,10,0,0,0,0", "エラー", "strspの文字の枠の指定が間違っています。"},
                      ErrorCase{"strsp 1000,\"一\",0,0,2,2,10,10,0,0,0,0", "エラー",
                                "定義されていないスプライト1000を使おうとしました。"}));

}  // namespace
}  // namespace orivane::test
