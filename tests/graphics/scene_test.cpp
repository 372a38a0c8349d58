// Whole runs of small games: backgrounds, sprites in every mode, standing
// pictures and their order, checked pixel by pixel on the display surface.
#include <gtest/gtest.h>

#include "support/graphics_run.h"

namespace orivane::test {
namespace {

// A 320 × 240 game whose game phase runs `body`.
void WriteGame(GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n");
}

uint32_t Blend(uint32_t s, uint32_t d, int a) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= static_cast<uint32_t>(Mul((s >> shift) & 0xFF, a) + Mul((d >> shift) & 0xFF, 255 - a))
           << shift;
  return out;
}

// d = s·(255−m) + d·m
uint32_t MaskBlend(uint32_t s, uint32_t d, int m) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= static_cast<uint32_t>(Mul((s >> shift) & 0xFF, 255 - m) + Mul((d >> shift) & 0xFF, m))
           << shift;
  return out;
}

TEST(Scene, BackgroundColoursAndWords) {
  struct Case {
    const char* command;
    uint32_t expected;
  } cases[] = {{"bg #336699,1", 0x336699},
               {"bg white,1", 0xFFFFFF},
               {"bg \"white\",1", 0x000000},
               {"bg black,1", 0x000000}};
  for (const Case& c : cases) {
    GameDir game;
    // A quoted "white" is a file name; with noloaderror the missing file leaves black.
    WriteGame(game, std::string("bg #ff0000,1\n") + c.command, "noloaderror\n");
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 0, 0), c.expected) << c.command;
    EXPECT_EQ(PixelAt(r.display, 319, 239), c.expected) << c.command;
  }
}

TEST(Scene, SmallerBackgroundIsCentredOnBlack) {
  GameDir game;
  game.WriteBytes("small.bmp", MakeBmp24(100, 50, [](int x, int y) { return 0x010000u * x + y; }));
  WriteGame(game, "bg #ffffff,1\nbg \"small.bmp\",1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  // x0 = 160 − 50, y0 = 120 − 25
  EXPECT_EQ(PixelAt(r.display, 110, 95), 0x000000u);
  EXPECT_EQ(PixelAt(r.display, 110 + 7, 95 + 3), 0x070003u);
  EXPECT_EQ(PixelAt(r.display, 209, 144), 0x630031u);
  EXPECT_EQ(PixelAt(r.display, 109, 95), 0x000000u);
  EXPECT_EQ(PixelAt(r.display, 210, 100), 0x000000u);
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x000000u);
}

TEST(Scene, SpriteAppearsOnlyAfterPrint) {
  GameDir game;
  game.WriteBytes("red.bmp", MakeBmp24(10, 10, [](int, int) { return 0xFF0000u; }));
  WriteGame(game, "bg #0000ff,1\nlsp 5,\":c;red.bmp\",20,30");
  PictureRun before = RunPictures(game);
  ASSERT_EQ(before.status, 0) << before.err;
  EXPECT_EQ(PixelAt(before.display, 25, 35), 0x0000FFu);

  WriteGame(game, "bg #0000ff,1\nlsp 5,\":c;red.bmp\",20,30\nprint 1");
  PictureRun after = RunPictures(game);
  ASSERT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(PixelAt(after.display, 20, 30), 0xFF0000u);
  EXPECT_EQ(PixelAt(after.display, 29, 39), 0xFF0000u);
  EXPECT_EQ(PixelAt(after.display, 30, 40), 0x0000FFu);
  EXPECT_EQ(PixelAt(after.display, 19, 30), 0x0000FFu);
}

TEST(Scene, SpritesInEveryModeWithAndWithoutOpacity) {
  GameDir game;
  const uint32_t bg = 0x405060;
  // key.bmp: magenta border pixel at the top-left, green elsewhere.
  game.WriteBytes("key.bmp", MakeBmp24(4, 4, [](int x, int y) {
                    return (x == 0 && y == 0) ? 0xFF00FFu : 0x00C000u;
                  }));
  // alpha.bmp: colour half then mask half; mask 0 left column, 100 elsewhere.
  game.WriteBytes("alpha.bmp", MakeBmp24(8, 4, [](int x, int) {
                    if (x < 4) return 0xE0A020u;
                    return x == 4 ? 0u : 100u * 0x010101u;
                  }));
  game.WriteBytes("given.bmp",
                  MakeBmp24(2, 1, [](int x, int) { return x == 0 ? 0x123456u : 0xABCDEFu; }));
  WriteGame(game,
            "bg #405060,1\n"
            "lsp 1,\":l;key.bmp\",0,0\n"
            "lsp 2,\":l;key.bmp\",10,0,100\n"
            "lsp 3,\":a;alpha.bmp\",20,0\n"
            "lsp 4,\":a;alpha.bmp\",30,0,128\n"
            "lsp 5,\":#123456;given.bmp\",40,0\n"
            "lsp 6,\":c;given.bmp\",50,0,0\n"
            "lsp 7,\":c;given.bmp\",60,0\n"
            "print 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const DisplaySurface& d = r.display;
  EXPECT_EQ(PixelAt(d, 0, 0), bg);
  EXPECT_EQ(PixelAt(d, 1, 0), 0x00C000u);
  EXPECT_EQ(PixelAt(d, 10, 0), bg);
  EXPECT_EQ(PixelAt(d, 11, 1), Blend(0x00C000, bg, 100));
  EXPECT_EQ(PixelAt(d, 20, 0), 0xE0A020u);
  EXPECT_EQ(PixelAt(d, 21, 0), MaskBlend(0xE0A020, bg, 100));
  EXPECT_EQ(PixelAt(d, 30, 0), Blend(0xE0A020, bg, Mul(255, 128)));
  EXPECT_EQ(PixelAt(d, 31, 0), Blend(0xE0A020, bg, Mul(155, 128)));
  EXPECT_EQ(PixelAt(d, 40, 0), bg);
  EXPECT_EQ(PixelAt(d, 41, 0), 0xABCDEFu);
  EXPECT_EQ(PixelAt(d, 50, 0), bg);  // opacity 0
  EXPECT_EQ(PixelAt(d, 60, 0), 0x123456u);
  EXPECT_EQ(PixelAt(d, 61, 0), 0xABCDEFu);
}

TEST(Scene, MoveHideAndClearSprites) {
  GameDir game;
  game.WriteBytes("w.bmp", MakeBmp24(4, 4, [](int, int) { return 0xFFFFFFu; }));
  WriteGame(game,
            "bg black,1\n"
            "lsp 1,\":c;w.bmp\",0,0\nlsp 2,\":c;w.bmp\",10,0\nlsp 3,\":c;w.bmp\",20,0\nprint 1\n"
            "msp 1,100,100,-55\n"  // opacity never set counts as 255: now 200
            "vsp 2,0\n"
            "csp 3\n"
            "amsp 4,0,0\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("定義されていないスプライト4を使おうとしました。"), std::string::npos)
      << r.err;

  WriteGame(game,
            "bg black,1\n"
            "lsp 1,\":c;w.bmp\",0,0\nlsp 2,\":c;w.bmp\",10,0\nlsp 3,\":c;w.bmp\",20,0\nprint 1\n"
            "msp 1,100,100,-55\nvsp 2,0\ncsp 3\nprint 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0u);
  EXPECT_EQ(PixelAt(r.display, 101, 101), 200u * 0x010101u);
  EXPECT_EQ(PixelAt(r.display, 11, 1), 0u);
  EXPECT_EQ(PixelAt(r.display, 21, 1), 0u);
}

TEST(Scene, HiddenFullScreenSpriteDoesNotHideTheBackground) {
  GameDir game;
  game.WriteBytes("full.bmp", MakeBmp24(320, 240, [](int, int) { return 0x00FF00u; }));
  // With every sprite hidden the opaque cover is not drawn, so the
  // background must be: the screen turns red again.
  WriteGame(game, "bg #ff0000,1\nlsp 0,\":c;full.bmp\",0,0,255\nprint 1\nallsphide\nprint 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 160, 120), 0xFF0000u);
  WriteGame(game, "bg #ff0000,1\nlsp 0,\":c;full.bmp\",0,0,255\nprint 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 160, 120), 0x00FF00u);
}

TEST(Scene, StandingPicturesHumanzAndOrder) {
  GameDir game;
  // Three 100 × 100 standing pictures at the centres 80, 160, 240 overlap.
  game.WriteBytes("l.bmp", MakeBmp24(100, 100, [](int, int) { return 0xFF0000u; }));
  game.WriteBytes("c.bmp", MakeBmp24(100, 100, [](int, int) { return 0x00FF00u; }));
  game.WriteBytes("r.bmp", MakeBmp24(100, 100, [](int, int) { return 0x0000FFu; }));
  game.WriteBytes("s.bmp", MakeBmp24(10, 10, [](int, int) { return 0xFFFFFFu; }));
  const std::string load =
      "bg black,1\nld l,\":c;l.bmp\",0\nld c,\":c;c.bmp\",0\nld r,\":c;r.bmp\",1\n";
  struct Case {
    const char* name;
    std::string body;
    uint32_t at_120;  // where l and c overlap
    uint32_t at_200;  // where c and r overlap
  } cases[] = {
      {"DefaultOrder", load, 0x00FF00, 0x0000FF},
      {"OrderRCL", load + "humanorder \"rcl\",1", 0x00FF00, 0x0000FF},
      {"OrderLCR", load + "humanorder \"lcr\",1", 0xFF0000, 0x00FF00},
  };
  for (const Case& c : cases) {
    WriteGame(game, c.body);
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << r.err;
    // Baseline 240: pictures occupy rows 140..239.
    EXPECT_EQ(PixelAt(r.display, 120, 200), c.at_120) << c.name;
    EXPECT_EQ(PixelAt(r.display, 200, 200), c.at_200) << c.name;
    EXPECT_EQ(PixelAt(r.display, 120, 139), 0u) << c.name;
  }

  // Sprite 10 is behind the pictures with humanz 5, in front with humanz 10.
  for (int z : {5, 10}) {
    WriteGame(game, load + "lsp 10,\":c;s.bmp\",155,195\nprint 1",
              "humanz " + std::to_string(z) + "\n");
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 160, 200), z >= 10 ? 0xFFFFFFu : 0x00FF00u) << z;
  }

  WriteGame(game, "bg black,1", "humanz 1000\n");
  PictureRun bad = RunPictures(game);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("humanz指定が範囲外です。"), std::string::npos) << bad.err;
}

TEST(Scene, BackgroundRemovesStandingPicturesAndClRemovesOne) {
  GameDir game;
  game.WriteBytes("c.bmp", MakeBmp24(100, 100, [](int, int) { return 0x00FF00u; }));
  WriteGame(game, "bg black,1\nld c,\":c;c.bmp\",1\nbg #101010,1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 160, 200), 0x101010u);

  WriteGame(game, "bg black,1\nld c,\":c;c.bmp\",1\ncl a,0");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 160, 200), 0x00FF00u);  // effect 0: nothing shown yet

  WriteGame(game, "bg black,1\nld c,\":c;c.bmp\",1\ncl c,1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 160, 200), 0u);
}

TEST(Scene, MissingPicturesAndTheirSwitches) {
  GameDir game;
  WriteGame(game, "lsp 1,\"nothing.bmp\",0,0");
  PictureRun r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ファイルnothing.bmpを開けません。"), std::string::npos) << r.err;

  WriteGame(game, "lsp 1,\"nothing.bmp\",0,0\nprint 1", "noloaderror\n");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 0) << r.err;

  game.WriteBytes("broken.bmp", "BM");
  WriteGame(game, "lsp 1,\"broken.bmp\",0,0", "noloaderror\n");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ロード失敗!"), std::string::npos) << r.err;

  WriteGame(game, "lsp 1,\":q/2;x.bmp\",0,0");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("タグの指定がおかしいです。"), std::string::npos) << r.err;
}

TEST(Scene, JpegModeRetriesWithTheJpegName) {
  GameDir game;
  game.WriteBytes("pic.bmp", "not a picture");
  WriteGame(game, "lsp 1,\":c;pic.bmp\",0,0", "jpegmode\n");
  PictureRun r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ロードエラー(JPEGMODE)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(":c;pic.jpg"), std::string::npos) << r.err;
}

TEST(Scene, FiltersAndMaskFiles) {
  GameDir game;
  game.WriteBytes("two.bmp", MakeBmp24(4, 1, [](int, int) { return 0xC8C8C8u; }));
  game.WriteBytes("mask.bmp", MakeBmp24(4, 1, [](int x, int) { return x < 2 ? 0u : 0xFFFFFFu; }));
  game.WriteBytes("pic.bmp", MakeBmp24(4, 1, [](int, int) { return 0x204060u; }));
  WriteGame(game,
            "bg #000080,1\n"
            "lsp 1,\"<b128>:c/2,0,3;two.bmp\",0,0\n"  // halves the first cell's columns only
            "lsp 2,\"<rgb255,0,128>:c;pic.bmp\",0,10\n"
            "lsp 3,\":mmask.bmp;pic.bmp\",0,20\n"
            "cell 1,1\nprint 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0xC8C8C8u);  // cell 1 is unfiltered
  EXPECT_EQ(PixelAt(r.display, 0, 10), (0x20u << 16) | (0u << 8) | (0x60u * 128 / 255));
  EXPECT_EQ(PixelAt(r.display, 1, 20), 0x204060u);  // mask 0: opaque
  EXPECT_EQ(PixelAt(r.display, 2, 20), 0x000080u);  // mask 255: clear

  WriteGame(game, "lsp 1,\"<b128>:c/2,0,3;two.bmp\",0,0\ncell 1,0\nprint 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x646464u);
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST(Scene, AnchorsHidingAndRepaint) {
  GameDir game;
  game.WriteBytes("c.bmp", MakeBmp24(20, 10, [](int, int) { return 0x00FF00u; }));
  game.WriteBytes("s.bmp", MakeBmp24(4, 4, [](int, int) { return 0xFF0000u; }));
  struct Case {
    const char* name;
    std::string define;
    std::string body;
    int x, y;
    uint32_t expected;
  } cases[] = {
      // humanpos moves the centre anchor to 100, underline the baseline to 50:
      // the picture covers 90..109 × 40..49.
      {"Anchors", "humanpos 10,100,300\nunderline 50\n", "ld c,\":c;c.bmp\",1", 90, 40, 0x00FF00},
      {"AnchorsEdge", "humanpos 10,100,300\nunderline 50\n", "ld c,\":c;c.bmp\",1", 110, 49, 0},
      // allsphide hides sprites and, without noteraseman, standing pictures.
      {"HideAll", "", "ld c,\":c;c.bmp\",1\nallsphide\nprint 1", 160, 235, 0},
      {"HideKeepsPictures", "noteraseman\n", "ld c,\":c;c.bmp\",1\nallsphide\nprint 1", 160, 235,
       0x00FF00},
      {"Resume", "", "lsp 1,\":c;s.bmp\",0,0\nallsphide\nprint 1\nallspresume\nprint 1", 0, 0,
       0xFF0000},
      // repaint recomposes the whole screen even when nothing was dirtied.
      {"Repaint", "", "lsp 1,\":c;s.bmp\",0,0\nrepaint", 0, 0, 0xFF0000},
  };
  for (const Case& c : cases) {
    game.Write("0.txt", ";mode320\n*define\n" + c.define + "game\n*start\nbg black,1\n" + c.body +
                            "\nend\n");
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << c.name << r.err;
    EXPECT_EQ(PixelAt(r.display, c.x, c.y), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace orivane::test
