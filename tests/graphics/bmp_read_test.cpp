// The BMP reader on honest and on lying files (colour tables, compression,
// truncation, sizes that do not fit) and the surface writer's round trip.
#include "graphics/bmp_read.h"

#include <gtest/gtest.h>

#include <string>

#include "graphics/surface_bmp_write.h"
#include "support/graphics_run.h"
#include "util/file_io.h"

namespace orivane::test {
namespace {

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool Decode(const std::string& bytes, ImageSurface& out) {
  return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

TEST(BmpRead, TrueColourPictureKeepsItsRows) {
  std::string bmp =
      MakeBmp24(3, 2, [](int x, int y) { return static_cast<uint32_t>(0x100000 * (y + 1) + x); });
  ImageSurface s;
  ASSERT_TRUE(Decode(bmp, s));
  EXPECT_EQ(s.width, 3);
  EXPECT_EQ(s.height, 2);
  EXPECT_EQ(s.stride, 12);
  EXPECT_EQ(s.color_count, 0);
  const uint8_t* p = s.RowFromTop(1) + 2 * 3;
  EXPECT_EQ(p[2], 0x20);
  EXPECT_EQ(p[0], 2);
}

TEST(BmpRead, EightBitColourTableFollowsColoursUsed) {
  // colours used 0: 256 entries are read and the pixels follow them.
  std::vector<uint32_t> full(256);
  for (int i = 0; i < 256; ++i) full[i] = static_cast<uint32_t>(i) * 0x010101;
  std::string all = MakeBmp8(2, 1, full, [](int x, int) { return static_cast<uint32_t>(200 + x); });
  Put32(all, 46, 0);
  ImageSurface a;
  ASSERT_TRUE(Decode(all, a));
  EXPECT_EQ(a.color_count, 256);
  EXPECT_EQ(a.RowFromTop(0)[1], 201);
  EXPECT_EQ(a.palette[201 * 4], 201);

  // colours used 16: 16 entries are read, the picture still counts 256 colours.
  std::vector<uint32_t> sixteen(16, 0x0A0B0C);
  std::string few =
      MakeBmp8(2, 1, sixteen, [](int x, int) { return static_cast<uint32_t>(x + 3); });
  ImageSurface f;
  ASSERT_TRUE(Decode(few, f));
  EXPECT_EQ(f.color_count, 256);
  EXPECT_EQ(f.colors_used, 16);
  EXPECT_EQ(f.RowFromTop(0)[0], 3);
  EXPECT_EQ(f.palette[15 * 4], 0x0C);
  EXPECT_EQ(f.palette[16 * 4], 0);
}

TEST(BmpRead, CompressedPictureIsBlackOfTheRightSize) {
  std::string bmp = MakeBmp24(5, 4, [](int, int) { return 0xFFFFFFu; });
  Put32(bmp, 30, 1);  // RLE8
  ImageSurface s;
  ASSERT_TRUE(Decode(bmp, s));
  EXPECT_EQ(s.width, 5);
  EXPECT_EQ(s.height, 4);
  for (uint8_t b : s.pixels) ASSERT_EQ(b, 0);
}

TEST(BmpRead, TruncatedPixelsStayBlack) {
  std::string bmp = MakeBmp24(4, 4, [](int, int) { return 0xFFFFFFu; });
  bmp.resize(54 + 12 + 5);  // the bottom row and five bytes of the next
  ImageSurface s;
  ASSERT_TRUE(Decode(bmp, s));
  EXPECT_EQ(s.RowFromTop(3)[0], 0xFF);
  EXPECT_EQ(s.RowFromTop(2)[4], 0xFF);
  EXPECT_EQ(s.RowFromTop(2)[5], 0);
  EXPECT_EQ(s.RowFromTop(0)[0], 0);
}

TEST(BmpRead, LyingHeadersAreRefusedOrBounded) {
  const std::string good = MakeBmp24(2, 2, [](int, int) { return 0x123456u; });
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    bool loads;
  } cases[] = {
      {"ZeroWidth", 18, 0, false},
      {"NegativeWidth", 18, 0xFFFFFFF0u, false},
      {"HugeWidth", 18, 0x7FFFFFFFu, false},
      {"HugeArea", 18, 30000, false},  // 30000 × 30000 pixels: beyond the limit
      {"UnknownBitCount", 28, 7, false},
      {"ColoursUsedBeyondFile", 46, 0x40000000u, true},  // pixels not in the file: black
      {"TopDown", 22, static_cast<uint32_t>(-2), true},
  };
  for (const Case& c : cases) {
    std::string bmp = good;
    if (c.at == 28) {
      bmp[28] = static_cast<char>(c.value);
    } else {
      Put32(bmp, c.at, c.value);
      if (std::string(c.name) == "HugeArea") Put32(bmp, 22, 30000);
    }
    ImageSurface s;
    EXPECT_EQ(Decode(bmp, s), c.loads) << c.name;
  }
}

TEST(BmpRead, HeaderCutShortIsRefused) {
  const std::string good = MakeBmp24(2, 2, [](int, int) { return 0x123456u; });
  for (size_t n : {size_t{0}, size_t{10}, size_t{20}, size_t{27}}) {  // no bit count yet
    ImageSurface s;
    EXPECT_FALSE(Decode(good.substr(0, n), s)) << n;
  }
}

TEST(BmpRead, TopDownPictureIsTurnedOver) {
  std::string bmp = MakeBmp24(1, 2, [](int, int y) { return y == 0 ? 0x0000FFu : 0x00FF00u; });
  Put32(bmp, 22, static_cast<uint32_t>(-2));
  ImageSurface s;
  ASSERT_TRUE(Decode(bmp, s));
  // The file's first row is now the top row.
  EXPECT_EQ(s.RowFromTop(0)[1], 0xFF);
  EXPECT_EQ(s.RowFromTop(1)[0], 0xFF);
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST(BmpWrite, SurfacesRoundTripWithTheirColourTables) {
  GameDir dir;
  std::vector<uint32_t> palette(16);
  for (int i = 0; i < 16; ++i) palette[i] = static_cast<uint32_t>(i) * 0x0F0F0F;
  const std::string sources[2] = {
      MakeBmp24(5, 3, [](int x, int y) { return static_cast<uint32_t>(x * 0x102030 + y); }),
      MakeBmp8(5, 3, palette, [](int x, int y) { return static_cast<uint32_t>((x + y) % 16); })};
  for (const std::string& bmp : sources) {
    ImageSurface original;
    ASSERT_TRUE(DecodeBmp(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), original));
    const std::string path = dir.path() + "/saved.bmp";
    ASSERT_TRUE(SaveSurfaceBmp(path, original));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    ImageSurface again;
    ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), again));
    EXPECT_EQ(again.bit_count, original.bit_count);
    EXPECT_EQ(again.pixels, original.pixels);
    EXPECT_EQ(again.palette, original.palette);
    // The file header's offset points at the pixels for other readers too.
    const uint32_t offset = bytes[10] | (bytes[11] << 8);
    EXPECT_EQ(offset, original.bit_count == 8 ? 54u + 16 * 4 : 54u);
  }
}

}  // namespace
}  // namespace orivane::test
