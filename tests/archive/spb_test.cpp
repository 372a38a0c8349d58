// The SPB picture decoder: serpentine order, sample codes, odd shapes, short
// and hostile streams, and the encoder of the archive tool against it.
#include <gtest/gtest.h>

#include <random>

#include "archive/bit_writer.h"
#include "archive/spb.h"
#include "archive/spb_encoder.h"

namespace orivane {
namespace {

// Blue, green, red of the pixel at (x, y from the top).
std::array<int, 3> Pixel(const DisplaySurface& p, int x, int y) {
  const uint8_t* px = p.RowFromTop(y) + x * 3;
  return {px[0], px[1], px[2]};
}

TEST(Spb, FlatPictureFromCodeZero) {
  BitWriter w;
  w.Write(16, 5);
  w.Write(16, 3);
  const uint32_t first[3] = {10, 20, 30};
  for (uint32_t f : first) {
    w.Write(8, f);
    for (int g = 0; g < 4; ++g) w.Write(3, 0);  // 14 samples: 4 groups, 2 surplus
  }
  auto in = w.Finish();
  DisplaySurface pic;
  ASSERT_EQ(DecodeSpb(in.data(), in.size(), pic), SpbResult::kOk);
  ASSERT_EQ(pic.width, 5);
  ASSERT_EQ(pic.height, 3);
  EXPECT_EQ(pic.stride, 16u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(pic, x, y), (std::array<int, 3>{10, 20, 30}));
}

TEST(Spb, SerpentineOrderAndSampleCodes) {
  // A 3 x 2 picture: samples after the first run (1,0) (2,0) (2,1) (1,1) (0,1),
  // then 3 surplus samples in the second group.
  BitWriter w;
  w.Write(16, 3);
  w.Write(16, 2);
  // Blue: first 100; group 1 with n = 3 (code 1): v = 1 (+1), 2 (-1), 7 (+4), 4 (-2)
  w.Write(8, 100);
  w.Write(3, 1);
  for (uint32_t v : {1, 2, 7, 4}) w.Write(3, v);
  // group 2 with n = 8 (code 6): raw samples 200, then surplus 1, 2, 3
  w.Write(3, 6);
  for (uint32_t v : {200, 1, 2, 3}) w.Write(8, v);
  // Green: first 50; group with n = 1 (code 7, extra bit 0): 1, 1, 0, 1 -> +1 +1 +0 +1
  w.Write(8, 50);
  w.Write(3, 7);
  w.Write(1, 0);
  for (uint32_t v : {1, 1, 0, 1}) w.Write(1, v);
  // group with n = 2 (code 7, extra bit 1): 2 (-1), then 0s
  w.Write(3, 7);
  w.Write(1, 1);
  for (uint32_t v : {2, 0, 0, 0}) w.Write(2, v);
  // Red: first 0; two groups of code 0
  w.Write(8, 0);
  w.Write(3, 0);
  w.Write(3, 0);
  auto in = w.Finish();
  DisplaySurface pic;
  ASSERT_EQ(DecodeSpb(in.data(), in.size(), pic), SpbResult::kOk);
  EXPECT_EQ(Pixel(pic, 0, 0), (std::array<int, 3>{100, 50, 0}));
  EXPECT_EQ(Pixel(pic, 1, 0), (std::array<int, 3>{101, 51, 0}));
  EXPECT_EQ(Pixel(pic, 2, 0), (std::array<int, 3>{100, 52, 0}));
  EXPECT_EQ(Pixel(pic, 2, 1), (std::array<int, 3>{104, 52, 0}));
  EXPECT_EQ(Pixel(pic, 1, 1), (std::array<int, 3>{102, 53, 0}));
  EXPECT_EQ(Pixel(pic, 0, 1), (std::array<int, 3>{200, 52, 0}));
  // Rows are stored bottom-up: the top row is the last one in memory.
  EXPECT_EQ(pic.pixels[pic.stride * 1 + 0], 100);
}

TEST(Spb, ShortAndHostileStreams) {
  DisplaySurface pic;
  // Too short for even the size.
  uint8_t two[] = {0, 1};
  EXPECT_EQ(DecodeSpb(two, sizeof two, pic), SpbResult::kRejected);
  // A huge claimed size with a few bytes is refused before allocating.
  uint8_t huge[16] = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
  EXPECT_EQ(DecodeSpb(huge, sizeof huge, pic), SpbResult::kRejected);
  EXPECT_TRUE(pic.pixels.empty());
  // A stream that ends in the middle keeps what it decoded; the rest is black.
  BitWriter w;
  w.Write(16, 4);
  w.Write(16, 4);
  w.Write(8, 9);
  for (int g = 0; g < 4; ++g) {
    w.Write(3, 6);
    for (int s = 0; s < 4; ++s) w.Write(8, 77);
  }
  auto in = w.Finish();  // blue complete, green and red missing
  ASSERT_EQ(DecodeSpb(in.data(), in.size(), pic), SpbResult::kTruncated);
  EXPECT_EQ(Pixel(pic, 0, 0), (std::array<int, 3>{9, 0, 0}));
  EXPECT_EQ(Pixel(pic, 3, 3), (std::array<int, 3>{77, 0, 0}));
  // A picture 0 pixels wide but several rows high has nowhere to store its
  // samples; it is read through without touching any row.
  BitWriter zero;
  zero.Write(16, 0);
  zero.Write(16, 3);
  for (int channel = 0; channel < 3; ++channel) {
    zero.Write(8, 1);
    for (int g = 0; g < 3; ++g) zero.Write(3, 0);
  }
  auto empty = zero.Finish();
  EXPECT_NE(DecodeSpb(empty.data(), empty.size(), pic), SpbResult::kRejected);
  EXPECT_TRUE(pic.pixels.empty());
}

DisplaySurface RandomPicture(std::mt19937& rng, int w, int h, bool smooth) {
  DisplaySurface p;
  p.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x)
      p.RowFromTop(y)[x] = smooth ? static_cast<uint8_t>((x * 3 + y * 5) + rng() % 4) : static_cast<uint8_t>(rng());
  return p;
}

TEST(SpbEncoder, RoundTripsEveryShape) {
  std::mt19937 rng(3);
  const int shapes[][2] = {{1, 1}, {1, 7}, {2, 1}, {2, 2}, {3, 5}, {5, 3}, {17, 9}, {64, 48}, {257, 3}};
  for (auto [w, h] : shapes) {
    for (bool smooth : {false, true}) {
      DisplaySurface pic = RandomPicture(rng, w, h, smooth);
      auto packed = EncodeSpb(pic);
      DisplaySurface back;
      ASSERT_EQ(DecodeSpb(packed.data(), packed.size(), back), SpbResult::kOk) << w << "x" << h;
      EXPECT_EQ(back.width, w);
      EXPECT_EQ(back.height, h);
      for (int y = 0; y < h; ++y)  // padding bytes are not part of the picture
        EXPECT_TRUE(std::equal(pic.RowFromTop(y), pic.RowFromTop(y) + w * 3, back.RowFromTop(y)))
            << w << "x" << h << " row " << y;
    }
  }
}

}  // namespace
}  // namespace orivane
