// The cursor file parser: pictures of every depth with their AND masks and
// hot spots, PNG pictures, the choice among several, and the files it must
// refuse (cut short, or with sizes and offsets that lie).
#include "graphics/cursor_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/cursor_files.h"
#include "support/png_files.h"

namespace orivane::test {
namespace {

bool Parse(const std::string& file, CursorPicture& out) {
  return ParseCursorFile(reinterpret_cast<const uint8_t*>(file.data()), file.size(), out);
}

// 0xAARRGGBB of a parsed pixel.
uint32_t Argb(const CursorPicture& p, int x, int y) {
  const uint8_t* px = &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
  return uint32_t{px[3]} << 24 | uint32_t{px[0]} << 16 | uint32_t{px[1]} << 8 | px[2];
}

// A colour that differs in each channel from pixel to pixel.
uint32_t Rgb(int x, int y) {
  return uint32_t(0x10 + x) << 16 | uint32_t(0x40 + y) << 8 | (0x80 + x + y);
}

TEST(CursorFile, ReadsEveryDepthWithItsMaskAndHotSpot) {
  struct Case {
    const char* name;
    int bits;
    std::vector<uint32_t> palette;
    std::function<uint32_t(int, int)> value;  // as BmpBody takes it
    std::function<bool(int, int)> masked;
    std::function<uint32_t(int, int)> want;  // 0xAARRGGBB
  };
  const auto corner = [](int x, int y) { return x == 0 && y == 0; };
  const std::vector<uint32_t> grey16 = [] {
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < 16; ++i) p.push_back(i * 0x111111);
    return p;
  }();
  const std::vector<Case> cases = {
      // Clear pixels are black in the colour rows, as cursor editors write them.
      {"24-bit: the AND bit makes a pixel clear",
       24,
       {},
       [&](int x, int y) { return corner(x, y) ? 0u : Rgb(x, y); },
       corner,
       [&](int x, int y) { return corner(x, y) ? 0u : 0xFF000000u | Rgb(x, y); }},
      {"32-bit: the alpha decides, not the mask",
       32,
       {},
       [](int x, int y) { return uint32_t(x * 40) << 24 | Rgb(x, y); },
       corner,
       [](int x, int y) { return uint32_t(x * 40) << 24 | Rgb(x, y); }},
      {"32-bit without any alpha: the mask decides",
       32,
       {},
       [&](int x, int y) { return corner(x, y) ? 0u : Rgb(x, y); },
       corner,
       [&](int x, int y) { return corner(x, y) ? 0u : 0xFF000000u | Rgb(x, y); }},
      // A set AND bit over white inverts the screen: shown opaque black.
      {"1-bit: clear, inverting, black and white",
       1,
       {0x000000, 0xFFFFFF},
       [](int x, int) { return static_cast<uint32_t>(x & 1); },
       [](int x, int y) { return y == 0 && x < 2; },
       [](int x, int y) {
         if (y == 0 && x == 0) return 0u;
         if (y == 0 && x == 1) return 0xFF000000u;
         return (x & 1) ? 0xFFFFFFFFu : 0xFF000000u;
       }},
      {"4-bit through its colour table", 4, grey16,
       [](int x, int y) { return static_cast<uint32_t>((x + y) % 16); },
       [](int, int) { return false; },
       [](int x, int y) { return 0xFF000000u | ((x + y) % 16) * 0x111111u; }},
      {"8-bit: an index past the table is black",
       8,
       {0x123456, 0xABCDEF},
       [](int x, int) { return static_cast<uint32_t>(x % 3); },
       [](int, int) { return false; },
       [](int x, int) {
         return 0xFF000000u | (x % 3 == 0 ? 0x123456u : x % 3 == 1 ? 0xABCDEFu : 0u);
       }},
  };
  // 5 × 3 pixels: every row of every depth is padded.
  constexpr int kW = 5, kH = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file =
        CursorFile({{kW, kH, 3, 2, BmpBody(kW, kH, c.bits, c.palette, c.value, c.masked)}});
    CursorPicture p;
    ASSERT_TRUE(Parse(file, p));
    ASSERT_EQ(p.width, kW);
    ASSERT_EQ(p.height, kH);
    ASSERT_EQ(p.rgba.size(), size_t{kW * kH * 4});
    EXPECT_EQ(p.hot_x, 3);
    EXPECT_EQ(p.hot_y, 2);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) EXPECT_EQ(Argb(p, x, y), c.want(x, y)) << x << "," << y;
  }
}

TEST(CursorFile, ReadsAPngPictureWithItsAlpha) {
  const auto argb = [](int x, int y) { return uint32_t(60 * y + 20 * x) << 24 | Rgb(x, y); };
  CursorPicture p;
  ASSERT_TRUE(Parse(CursorFile({{4, 3, 1, 2, MakePng(4, 3, argb)}}), p));
  ASSERT_EQ(p.width, 4);
  ASSERT_EQ(p.height, 3);
  EXPECT_EQ(p.hot_x, 1);
  EXPECT_EQ(p.hot_y, 2);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Argb(p, x, y), argb(x, y)) << x << "," << y;
}

TEST(CursorFile, TakesThePictureWithTheMostPixels) {
  const auto none = [](int, int) { return false; };
  const std::string small = BmpBody(
      2, 2, 24, {}, [](int, int) { return 0x0000FFu; }, none);
  const std::string large = BmpBody(
      4, 3, 24, {}, [](int, int) { return 0x00FF00u; }, none);
  CursorPicture p;
  ASSERT_TRUE(
      Parse(CursorFile({{2, 2, 1, 1, small}, {4, 3, 3, 0, large}, {3, 2, 0, 0, small}}), p));
  EXPECT_EQ(p.width, 4);
  EXPECT_EQ(p.hot_x, 3);
  EXPECT_EQ(Argb(p, 0, 0), 0xFF00FF00u);
}

TEST(CursorFile, AThirtyTwoBitPictureMayLeaveOutItsMask) {
  const auto argb = [](int x, int y) { return 0x80000000u | Rgb(x, y); };
  const auto none = [](int, int) { return false; };
  CursorPicture p;
  ASSERT_TRUE(Parse(CursorFile({{3, 2, 0, 0, BmpBody(3, 2, 32, {}, argb, none, false)}}), p));
  EXPECT_EQ(Argb(p, 2, 1), argb(2, 1));
  // Without alpha there is nothing to say what is clear: refused.
  EXPECT_FALSE(Parse(CursorFile({{3, 2, 0, 0, BmpBody(3, 2, 32, {}, Rgb, none, false)}}), p));
}

// A good file, and the same file with one field overwritten.
TEST(CursorFile, RefusesFilesThatLieOrAreCutShort) {
  const auto none = [](int, int) { return false; };
  const std::string good = CursorFile({{5, 3, 4, 2, BmpBody(5, 3, 24, {}, Rgb, none)}});
  constexpr size_t kBody = 6 + 16;  // the picture's info header starts here
  struct Patch {
    const char* name;
    size_t at;
    std::string bytes;
  };
  const std::vector<Patch> patches = {
      {"reserved field set", 0, Le16(1)},
      {"an icon, not a cursor", 2, Le16(1)},
      {"no pictures", 4, Le16(0)},
      {"more pictures than the directory holds", 4, Le16(2)},
      {"hot spot right of the picture", 6 + 4, Le16(5)},
      {"hot spot below the picture", 6 + 6, Le16(3)},
      {"picture longer than the file", 6 + 8, Le32(static_cast<uint32_t>(good.size()))},
      {"picture of no bytes", 6 + 8, Le32(0)},
      {"picture offset past the end", 6 + 12, Le32(0xFFFFFFF0u)},
      {"info header too short", kBody, Le32(12)},
      {"info header longer than the picture", kBody, Le32(0x10000)},
      {"width 0", kBody + 4, Le32(0)},
      {"width beyond a cursor", kBody + 4, Le32(257)},
      {"negative width", kBody + 4, Le32(0xFFFFFFFBu)},
      {"height 0", kBody + 8, Le32(0)},
      {"height counting more rows than there are", kBody + 8, Le32(8)},
      {"top-down height", kBody + 8, Le32(0xFFFFFFFAu)},
      {"16 bits per pixel", kBody + 14, Le16(16)},
      {"compressed", kBody + 16, Le32(1)},
      {"colour table larger than its depth allows", kBody + 32, Le32(300)},
  };
  CursorPicture p;
  ASSERT_TRUE(Parse(good, p));
  for (const Patch& patch : patches) {
    SCOPED_TRACE(patch.name);
    std::string bad = good;
    bad.replace(patch.at, patch.bytes.size(), patch.bytes);
    CursorPicture untouched;
    untouched.width = 7;
    EXPECT_FALSE(Parse(bad, untouched));
    EXPECT_EQ(untouched.width, 7);  // a refused file leaves the result alone
  }
  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(Parse(good.substr(0, cut), p)) << "cut to " << cut << " bytes";
  // A PNG picture cut short, with a directory that agrees with the cut.
  const std::string png = MakePng(4, 3, [](int, int) { return 0xFF000000u; });
  ASSERT_TRUE(Parse(CursorFile({{4, 3, 0, 0, png}}), p));
  for (size_t cut : {size_t{8}, size_t{30}, png.size() / 2})
    EXPECT_FALSE(Parse(CursorFile({{4, 3, 0, 0, png.substr(0, cut)}}), p)) << "PNG cut to " << cut;
  EXPECT_FALSE(ParseCursorFile(nullptr, 0, p));
}

}  // namespace
}  // namespace orivane::test
