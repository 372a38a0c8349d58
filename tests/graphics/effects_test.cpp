// Transitions: every effect type ends on the new scene (or, for the mosaic
// out and the hold, on what they leave), takes the time its frame formula
// gives on the virtual clock, and blends exactly in its frames.
#include <gtest/gtest.h>

#include "support/graphics_run.h"

namespace orivane::test {
namespace {

uint32_t OldPixel(int x, int y) {
  return 0x100000u * (x % 7) + 0x000100u * (y % 5) + 0x20;
}
uint32_t NewPixel(int x, int y) {
  return 0xF00000u - 0x100000u * (y % 9) + 0x0000F0u - (x % 11);
}

void WritePictures(GameDir& game) {
  game.WriteBytes("old.bmp", MakeBmp24(320, 240, OldPixel));
  game.WriteBytes("new.bmp", MakeBmp24(320, 240, NewPixel));
  // A 16 × 16 mask whose blue byte rises 16 per column: tiled over the screen.
  game.WriteBytes("mask.bmp",
                  MakeBmp24(16, 16, [](int x, int) { return static_cast<uint32_t>(x * 16); }));
}

void WriteGame(GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\nbg \"old.bmp\",1\n" + body +
                          "\nend\n");
}

bool ScreenIs(const DisplaySurface& d, uint32_t (*pixel)(int, int)) {
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x)
      if (PixelAt(d, x, y) != pixel(x, y)) return false;
  return true;
}

TEST(Effects, EveryTypeEndsOnTheNewSceneInItsTime) {
  struct Case {
    const char* effect;
    uint32_t ticks;  // frames × frame time + the 30 ms pause
  } cases[] = {
      {"1,0", 0},
      {"2,160", 160 + 30},
      {"3,160", 160 + 30},
      {"4,160", 160 + 30},
      {"5,160", 160 + 30},
      {"6,960", 25 * 10 + 30},  // p = 0, 24 … 576 ≤ 320·1170/640 − 1; (320·960/640)/48 ms each
      {"7,960", 25 * 10 + 30},
      {"8,840", 22 * 10 + 30},  // p = 0 … 504 ≤ 240·1010/480 − 1; (240·840/480)/42 ms each
      {"9,840", 22 * 10 + 30},
      {"10,512", 254 * 2 + 30},  // a = 1 … 254 each sleeps 512/256 ms
      {"11,1600", 40 * 10 + 30},
      {"12,1600", 40 * 10 + 30},
      {"13,1600", 40 * 10 + 30},
      {"14,1600", 40 * 10 + 30},
      {"15,512,\"mask.bmp\"", 254 * 2 + 30},
      {"17,100", 5 * 20 + 30},  // blocks 80 … 5 on a screen narrower than 640: frames doubled
      {"18,1024,\"mask.bmp\"", 511 * 2 + 30},
  };
  GameDir game;
  WritePictures(game);
  for (const Case& c : cases) {
    WriteGame(game, std::string("bg \"new.bmp\",") + c.effect);
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << c.effect << r.err;
    EXPECT_TRUE(ScreenIs(r.display, NewPixel)) << c.effect;
    EXPECT_EQ(r.end_ticks, c.ticks) << c.effect;
  }
}

TEST(Effects, MosaicOutLeavesTheOldScreenInBlocksUntilTheNextPrint) {
  GameDir game;
  WritePictures(game);
  WriteGame(game, "bg \"new.bmp\",16,100");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.end_ticks, 5u * 20 + 30);
  // The last block size on a narrow screen is 80: every block shows its top-left old pixel.
  EXPECT_EQ(PixelAt(r.display, 79, 79), OldPixel(0, 0));
  EXPECT_EQ(PixelAt(r.display, 85, 170), OldPixel(80, 160));

  WriteGame(game, "bg \"new.bmp\",16,100\nprint 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ScreenIs(r.display, NewPixel));
}

TEST(Effects, HoldKeepsTheScreenAndDirtiesEverything) {
  GameDir game;
  WritePictures(game);
  WriteGame(game, "bg \"new.bmp\",90,100");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ScreenIs(r.display, OldPixel));
  EXPECT_EQ(r.end_ticks, 100u + 30);
  WriteGame(game, "bg \"new.bmp\",90,100\nprint 1");
  r = RunPictures(game);
  EXPECT_TRUE(ScreenIs(r.display, NewPixel));
}

TEST(Effects, CrossFadeBlendsAlternateBytesPerFrame) {
  GameDir game;
  WritePictures(game);
  WriteGame(game, "bg \"new.bmp\",10,512");
  std::vector<DisplaySurface> frames;
  PictureRun r = RunPictures(game, [&](const DisplaySurface& d, uint32_t) {
    // Frames shown before the old picture (the window's first, black one) are not the effect's.
    if (frames.empty() && !ScreenIs(d, OldPixel)) return;
    if (frames.size() < 3) frames.push_back(d);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(frames.size(), 3u);  // the instant old picture, then fade frames a = 1 and a = 2
  auto byte = [](const DisplaySurface& d, int x, int y, int c) {
    return d.RowFromTop(y)[x * 3 + c];
  };
  auto channel = [](uint32_t rgb, int c) { return static_cast<int>((rgb >> (8 * c)) & 0xFF); };
  const int x = 3, y = 4;
  const uint32_t o = OldPixel(x, y), n = NewPixel(x, y);
  // Pixel 3 starts at byte 9 of the row. Frame a = 1 recomputes the bytes at
  // even offsets (green, byte 10); blue (byte 9) still shows the old screen.
  EXPECT_EQ(byte(frames[1], x, y, 1), Mul(channel(n, 1), 1) + Mul(channel(o, 1), 254));
  EXPECT_EQ(byte(frames[1], x, y, 0), channel(o, 0));
  // Frame a = 2 recomputes the odd offsets; the even ones keep a = 1.
  EXPECT_EQ(byte(frames[2], x, y, 1), byte(frames[1], x, y, 1));
  EXPECT_EQ(byte(frames[2], x, y, 0), Mul(channel(n, 0), 2) + Mul(channel(o, 0), 253));
}

TEST(Effects, MaskWipeFollowsTheTiledMask) {
  GameDir game;
  WritePictures(game);
  WriteGame(game, "bg \"new.bmp\",15,512,\"mask.bmp\"");
  std::vector<DisplaySurface> frames;
  PictureRun r = RunPictures(game, [&](const DisplaySurface& d, uint32_t) {
    if (frames.empty() && !ScreenIs(d, OldPixel)) return;
    if (frames.size() < 18) frames.push_back(d);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_GE(frames.size(), 18u);
  // Frame with threshold t shows the new pixel wherever the mask (x % 16)·16 ≤ t.
  EXPECT_EQ(PixelAt(frames[1], 16, 5), NewPixel(16, 5));   // t = 1: mask 0
  EXPECT_EQ(PixelAt(frames[1], 17, 5), OldPixel(17, 5));   // mask 16
  EXPECT_EQ(PixelAt(frames[16], 17, 5), NewPixel(17, 5));  // t = 16
  EXPECT_EQ(PixelAt(frames[16], 18, 5), OldPixel(18, 5));  // mask 32
}

TEST(Effects, SlotsSpeedAndErrors) {
  GameDir game;
  WritePictures(game);
  struct Case {
    const char* define;
    const char* body;
    int status;
    uint32_t ticks;
    const char* message;
  } cases[] = {
      {"effect 5,10,512\n", "bg \"new.bmp\",5", 0, 254 * 2 + 30, nullptr},
      {"effect 5,10,512\n", "seteffectspeed 1\nbg \"new.bmp\",5", 0, 254 * 1 + 30, nullptr},
      {"effect 5,10,512\n", "seteffectspeed 2\nbg \"new.bmp\",5", 0, 0, nullptr},
      {"effectblank 0\n", "bg \"new.bmp\",2,160", 0, 160, nullptr},
      {"effect 1,10,100\n", "", 1, 0, "effect命令の第一パラメータは2～255です。"},
      {"", "bg \"new.bmp\",7", 1, 0, "未定義のエフェクトを使いました"},
      {"", "bg \"new.bmp\",300", 1, 0, "未定義のエフェクトを使いました"},
      {"", "bg \"new.bmp\",19,100", 1, 0,
       "不正なエフェクト番号です。EFFECT命令をチェックしてください。"},
      {"", "bg \"new.bmp\",99,100,\"noeffect.dll\"", 1, 0, "エフェクトに指定したDLLが不正です"},
  };
  for (const Case& c : cases) {
    WriteGame(game, c.body, c.define);
    PictureRun r = RunPictures(game);
    EXPECT_EQ(r.status, c.status) << c.body << r.err;
    if (c.message) {
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    } else {
      EXPECT_EQ(r.end_ticks, c.ticks) << c.define << c.body;
      EXPECT_TRUE(ScreenIs(r.display, NewPixel)) << c.body;
    }
  }
}

TEST(Effects, PrintZeroComposesNothing) {
  GameDir game;
  WritePictures(game);
  game.WriteBytes("w.bmp", MakeBmp24(4, 4, [](int, int) { return 0xFFFFFFu; }));
  WriteGame(game, "lsp 1,\":c;w.bmp\",0,0\nprint 0");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.scene, 0, 0), OldPixel(0, 0));
  EXPECT_EQ(PixelAt(r.display, 0, 0), OldPixel(0, 0));
}

}  // namespace
}  // namespace orivane::test
