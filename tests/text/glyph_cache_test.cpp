// The glyph cache: a unit is rendered once per font, every setting of the
// font is part of the key, and the byte budget holds.
#include "text/glyph_cache.h"

#include <gtest/gtest.h>

#include "text/fake_fonts.h"

namespace orivane::test {
namespace {

class GlyphCacheTest : public ::testing::Test {
 protected:
  GlyphCacheTest() {
    // Each character draws a different dot, so a wrong cell would show.
    fonts_.draw = [](const GlyphRequest& r) {
      return FakeFonts::Dot(2 * r.width, r.height, static_cast<int>(r.code_point % (2 * r.width)),
                            r.height / 2);
    };
    font_.face = "IPAGothic";
    font_.width = font_.height = 10;
  }
  FakeFonts fonts_;
  GlyphFont font_;
};

TEST_F(GlyphCacheTest, RendersAUnitOnceAndAnswersTheSameCell) {
  GlyphCache cache;
  const std::vector<uint8_t> first = cache.Get(fonts_, font_, 0x82, 0xA0).coverage;  // あ
  cache.Get(fonts_, font_, 0x82, 0xA2);                                              // い
  const GlyphCell& again = cache.Get(fonts_, font_, 0x82, 0xA0);
  EXPECT_EQ(fonts_.requests.size(), 2u);
  EXPECT_EQ(again.coverage, first);
  EXPECT_EQ(again.coverage, RenderGlyphCell(fonts_, font_, 0x82, 0xA0).coverage);
  EXPECT_EQ(cache.size(), 2u);
}

TEST_F(GlyphCacheTest, EverySettingOfTheFontIsPartOfTheKey) {
  const std::function<void(GlyphFont&)> changes[] = {
      [](GlyphFont& f) { f.face = "IPAPGothic"; }, [](GlyphFont& f) { f.width = 12; },
      [](GlyphFont& f) { f.height = 12; },         [](GlyphFont& f) { f.bold = !f.bold; },
      [](GlyphFont& f) { f.vertical = true; },     [](GlyphFont& f) { f.smooth = false; },
  };
  for (const auto& change : changes) {
    FakeFonts fonts;
    GlyphCache cache;
    GlyphFont other = font_;
    change(other);
    cache.Get(fonts, font_, 0x82, 0xA0);
    cache.Get(fonts, other, 0x82, 0xA0);
    cache.Get(fonts, font_, 0x82, 0xA0);
    cache.Get(fonts, other, 0x82, 0xA0);
    EXPECT_EQ(fonts.requests.size(), 2u);
  }
}

TEST_F(GlyphCacheTest, TheSecondByteOfASingleByteUnitIsPartOfTheKey) {
  GlyphCache cache;
  cache.Get(fonts_, font_, 'a', 'b');
  cache.Get(fonts_, font_, 'a', 'c');
  cache.Get(fonts_, font_, 'a');
  EXPECT_EQ(fonts_.requests.size(), 5u);  // ab, ac, a
}

TEST_F(GlyphCacheTest, StaysWithinItsBudgetDroppingTheLeastRecentlyUsed) {
  GlyphCache probe;
  probe.Get(fonts_, font_, 0x82, 0xA0);
  const size_t one = probe.bytes();
  GlyphCache cache(3 * one);
  cache.Get(fonts_, font_, 0x82, 0xA0);  // あ
  cache.Get(fonts_, font_, 0x82, 0xA2);  // い
  cache.Get(fonts_, font_, 0x82, 0xA4);  // う
  cache.Get(fonts_, font_, 0x82, 0xA0);  // あ is used again, い is now the oldest
  cache.Get(fonts_, font_, 0x82, 0xA6);  // え pushes い out
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_LE(cache.bytes(), 3 * one);
  const size_t before = fonts_.requests.size();
  cache.Get(fonts_, font_, 0x82, 0xA0);
  cache.Get(fonts_, font_, 0x82, 0xA6);
  EXPECT_EQ(fonts_.requests.size(), before);
  cache.Get(fonts_, font_, 0x82, 0xA2);
  EXPECT_EQ(fonts_.requests.size(), before + 1);
}

TEST_F(GlyphCacheTest, ManyFontsAndUnitsKeepTheCacheBounded) {
  GlyphCache cache(64 << 10);
  for (int size = 1; size < 400; ++size) {
    GlyphFont f = font_;
    f.width = f.height = size % 40 + 1;
    cache.Get(fonts_, f, static_cast<uint8_t>(0x81 + size % 30),
              static_cast<uint8_t>(0x40 + size % 60));
    ASSERT_LE(cache.bytes(), size_t{64 << 10});
  }
}

TEST_F(GlyphCacheTest, AnotherFontServiceStartsAfresh) {
  GlyphCache cache;
  FakeFonts other;
  cache.Get(fonts_, font_, 0x82, 0xA0);
  cache.Get(other, font_, 0x82, 0xA0);
  EXPECT_EQ(other.requests.size(), 1u);
  cache.Clear();
  EXPECT_EQ(cache.size(), 0u);
  cache.Get(other, font_, 0x82, 0xA0);
  EXPECT_EQ(other.requests.size(), 2u);
}

}  // namespace
}  // namespace orivane::test
