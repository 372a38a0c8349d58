// Storing a glyph cell on the page's text layer, against the plain rule
// pixel by pixel: an inked pixel takes the glyph's coverage and colour, a
// blank one keeps what the page had, nothing off the layer is touched, and
// the page's used box grows by exactly the inked pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "graphics/mul_table.h"
#include "text/text_draw.h"
#include "text/text_window.h"

namespace orivane::test {
namespace {

// The rule, one pixel at a time through TextLayer::Set.
void PutByTheRule(TextLayer& layer, const MulTable& mul, int32_t x, int32_t y, const GlyphCell& cell,
                  uint32_t rgb) {
  for (int j = 0; j < cell.height; ++j)
    for (int i = 0; i < cell.width; ++i) {
      const uint8_t a = cell.coverage[static_cast<size_t>(j) * cell.width + i];
      const int64_t px = int64_t{x} + i, py = int64_t{y} + j;
      if (a == 0 || px < 0 || py < 0 || px >= layer.width || py >= layer.height) continue;
      layer.Set(static_cast<int>(px), static_cast<int>(py), a, mul(rgb & 0xFF, a), mul((rgb >> 8) & 0xFF, a),
                mul((rgb >> 16) & 0xFF, a));
    }
}

GlyphCell RaggedCell(std::mt19937& random, int width, int height) {
  GlyphCell cell;
  cell.width = width;
  cell.height = height;
  cell.coverage.resize(static_cast<size_t>(width) * height);
  // Mostly blank, with runs and holes; some rows wholly blank.
  for (uint8_t& a : cell.coverage) a = random() % 3 == 0 ? static_cast<uint8_t>(1 + random() % 255) : 0;
  for (int j = 0; j < height; j += 4)
    for (int i = 0; i < width; ++i) cell.coverage[static_cast<size_t>(j) * width + i] = 0;
  return cell;
}

TEST(PutGlyphOnPage, StoresWhatThePixelRuleStoresAndGrowsTheUsedBoxAlike) {
  std::mt19937 random(20260);
  const MulTable mul;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    TextWindow page;
    page.layer.Resize(40, 30);
    TextLayer expected;
    expected.Resize(40, 30);
    // Earlier glyphs on the page, to be kept under blank pixels.
    const GlyphCell before = RaggedCell(random, 12, 9);
    const int32_t bx = static_cast<int32_t>(random() % 30), by = static_cast<int32_t>(random() % 22);
    if (round % 3 != 0) {
      PutByTheRule(expected, mul, bx, by, before, 0x336699);
      PutGlyphOnPage(page, mul, bx, by, before, 0x336699);
    }
    // Anywhere, partly or wholly off the layer too.
    const GlyphCell cell = RaggedCell(random, 1 + random() % 16, 1 + random() % 16);
    const int32_t x = static_cast<int32_t>(random() % 70) - 20, y = static_cast<int32_t>(random() % 60) - 20;
    const uint32_t rgb = random() & 0xFFFFFF;
    PutByTheRule(expected, mul, x, y, cell, rgb);
    PutGlyphOnPage(page, mul, x, y, cell, rgb);
    EXPECT_EQ(page.layer.coverage, expected.coverage);
    EXPECT_EQ(page.layer.colour, expected.colour);
    EXPECT_EQ(page.layer.used.empty(), expected.used.empty());
    if (!expected.used.empty()) {
      EXPECT_EQ(page.layer.used.left, expected.used.left);
      EXPECT_EQ(page.layer.used.top, expected.used.top);
      EXPECT_EQ(page.layer.used.right, expected.used.right);
      EXPECT_EQ(page.layer.used.bottom, expected.used.bottom);
    }
  }
}

TEST(PutGlyphOnPage, ACellFarOffTheLayerChangesNothing) {
  const MulTable mul;
  GlyphCell cell;
  cell.width = cell.height = 8;
  cell.coverage.assign(64, 200);
  for (const auto& [x, y] : {std::pair{INT32_MIN, 0}, {INT32_MAX, 0}, {0, INT32_MIN}, {0, INT32_MAX}, {-8, -8}, {40, 30}}) {
    TextWindow page;
    page.layer.Resize(40, 30);
    PutGlyphOnPage(page, mul, x, y, cell, 0xFFFFFF);
    EXPECT_TRUE(page.layer.used.empty()) << x << "," << y;
    EXPECT_EQ(page.layer.coverage, std::vector<uint8_t>(40 * 30, 0)) << x << "," << y;
  }
}

}  // namespace
}  // namespace orivane::test
