// The picture tools: the files they write (names, sizes, pixels), the bw2a
// mask arithmetic, the colour count of grptest, the background of convgif,
// the panorama of panoramatest, and the names and sizes they refuse.
#include "graphics/picture_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/bmp_read.h"
#include "graphics/panorama.h"
#include "script/general_test_support.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

// A picture file the tool wrote, decoded; empty when there is none.
ImageSurface ReadPicture(const GameDir& game, const std::string& name) {
  const std::string bytes = game.ReadBytes(name);
  ImageSurface s;
  if (!bytes.empty()) DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), s);
  return s;
}

uint32_t PixelOf(const ImageSurface& s, int x, int y) {
  const uint8_t* p = s.RowFromTop(y) + x * 3;
  return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

// A colour of its own for every pixel of a small picture.
uint32_t Unique(int x, int y) {
  return uint32_t(0x20 + x) << 16 | uint32_t(0x40 + y) << 8 | 0x99;
}

TEST(PictureTools, BmpcutWritesEveryPieceOfTheFirstCell) {
  GameDir game;
  // 7 × 5 cut into 3 × 2: pieces of 2 × 2; the last column and row are left over.
  game.WriteBytes("p.bmp", MakeBmp24(7, 5, Unique));
  RunResult r = RunBody(game, "bmpcut \"p.bmp\",3,2");
  ASSERT_EQ(r.status, 0) << r.err;
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 3; ++column) {
      const std::string name = "_p.bmp" + std::to_string(column) + std::to_string(row) + ".bmp";
      SCOPED_TRACE(name);
      ImageSurface piece = ReadPicture(game, name);
      ASSERT_TRUE(piece.loaded);
      ASSERT_EQ(piece.bit_count, 24);
      ASSERT_EQ(piece.width, 2);
      ASSERT_EQ(piece.height, 2);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
          EXPECT_EQ(PixelOf(piece, x, y), Unique(column * 2 + x, row * 2 + y));
    }
}

TEST(PictureTools, ChainbmpStartsOutBmpThenAppendsToTheRight) {
  GameDir game;
  game.WriteBytes("a.bmp", MakeBmp24(3, 2, Unique));
  game.WriteBytes("b.bmp", MakeBmp24(2, 4, [](int x, int y) { return 0x0000F0u + x + 4 * y; }));
  RunResult r = RunBody(game, "chainbmp \"a.bmp\"");
  ASSERT_EQ(r.status, 0) << r.err;
  ImageSurface out = ReadPicture(game, "out.bmp");
  ASSERT_EQ(out.width, 3);
  ASSERT_EQ(out.height, 2);
  EXPECT_EQ(PixelOf(out, 2, 1), Unique(2, 1));

  r = RunBody(game, "chainbmp \"b.bmp\"");
  ASSERT_EQ(r.status, 0) << r.err;
  out = ReadPicture(game, "out.bmp");
  ASSERT_EQ(out.width, 5);
  ASSERT_EQ(out.height, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t want = x >= 3 ? 0x0000F0u + (x - 3) + 4 * y : y < 2 ? Unique(x, y) : 0;
      EXPECT_EQ(PixelOf(out, x, y), want) << x << "," << y;
    }
}

// Pixel pairs of the two renderings (0xRRGGBB) and the mask they give.
struct MaskCase {
  uint32_t on_black, on_white;
  int mask;
};
const std::vector<MaskCase> kMaskCases = {
    {0x46321E, 0x46321E, 0},      // equal colours: opaque, whatever they are
    {0x000000, 0xFFFFFF, 255},    // nothing drawn: clear
    {0x1E140A, 0x786E64, 90},     // (100 + 110 + 120 − (10 + 20 + 30)) / 3
    {0x000000, 0x040404 + 1, 4},  // 13 / 3, truncated
    {0xC8C8C8, 0x646464, 0},      // darker on white: no negative mask
};

TEST(PictureTools, Bw2aFamilyWritesColoursAndMaskIntoOut) {
  const auto black = [](int x, int) { return kMaskCases[x].on_black; };
  const auto white = [](int x, int) { return kMaskCases[x].on_white; };
  const int n = static_cast<int>(kMaskCases.size());
  struct Case {
    const char* body;
    std::vector<std::string> black_files, white_files;
  };
  const std::vector<Case> cases = {
      {"bw2a \"pic\"", {"pic_b.bmp"}, {"pic_w.bmp"}},
      {"bw2a \"pic.BMP\"", {"pic_b.bmp"}, {"pic_w.bmp"}},
      {"bw2a3 \"pic.bmp\"", {"b/pic.bmp"}, {"w/pic.bmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    GameDir game;
    for (const std::string& f : c.black_files) game.WriteBytes(f, MakeBmp24(n, 2, black));
    for (const std::string& f : c.white_files) game.WriteBytes(f, MakeBmp24(n, 2, white));
    RunResult r = RunBody(game, c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    ImageSurface out = ReadPicture(game, "out/pic.bmp");
    ASSERT_EQ(out.width, 2 * n);
    ASSERT_EQ(out.height, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < n; ++x) {
        EXPECT_EQ(PixelOf(out, x, y), kMaskCases[x].on_black) << x;
        EXPECT_EQ(PixelOf(out, n + x, y), 0x010101u * kMaskCases[x].mask) << x;
      }
  }
}

TEST(PictureTools, Bw2a2TakesWhiteAsTheWhiteRendering) {
  GameDir game;
  const std::vector<uint32_t> colours = {0xFFFFFF, 0x1E140A, 0x000000};
  game.WriteBytes("pic_b.bmp", MakeBmp24(3, 1, [&](int x, int) { return colours[x]; }));
  RunResult r = RunBody(game, "bw2a2 \"pic\"");
  ASSERT_EQ(r.status, 0) << r.err;
  ImageSurface out = ReadPicture(game, "out/pic.bmp");
  ASSERT_EQ(out.width, 6);
  EXPECT_EQ(PixelOf(out, 3, 0), 0u);               // white on white: opaque
  EXPECT_EQ(PixelOf(out, 4, 0), 0x010101u * 235);  // (765 − 60) / 3
  EXPECT_EQ(PixelOf(out, 5, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(out, 1, 0), 0x1E140Au);
}

TEST(PictureTools, GrptestCountsTheColoursIntoOutTxt) {
  GameDir game;
  // Three of 0x102030, two of 0xABCDEF, one of 0x000001.
  const std::vector<uint32_t> colours = {0xABCDEF, 0x102030, 0x000001,
                                         0x102030, 0xABCDEF, 0x102030};
  game.WriteBytes("g.bmp", MakeBmp24(3, 2, [&](int x, int y) { return colours[y * 3 + x]; }));
  RunResult r = RunBody(game, "grptest \"g.bmp\"");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("out.txt"),
            "g.bmp\r\nwidth 3\r\nheight 2\r\ncolours 3\r\n#102030 3\r\n#abcdef 2\r\n#000001 1\r\n");
}

TEST(PictureTools, ConvgifMakesThePictureTheBackground) {
  GameDir game;
  game.WriteBytes("g.bmp",
                  MakeBmp24(320, 240, [](int x, int) { return x < 160 ? 0x112233u : 0x445566u; }));
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\nconvgif \"g.bmp\"\nprint 1\nend\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 10, 10), 0x112233u);
  EXPECT_EQ(PixelAt(r.display, 300, 200), 0x445566u);
}

TEST(Panorama, ScalesEachColumnAboutTheMiddleRow) {
  constexpr int kW = 16, kH = 12;
  DisplaySurface scene;
  scene.Resize(kW, kH);
  // Every pixel tells its own column and row; none is black.
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = scene.RowFromTop(y) + x * 3;
      p[0] = static_cast<uint8_t>(x + 1);
      p[1] = static_cast<uint8_t>(y + 1);
      p[2] = 0x80;
    }
  DisplaySurface out;
  PanoramaPicture(scene, out);
  ASSERT_EQ(out.width, kW);
  ASSERT_EQ(out.height, kH);
  for (int x = 0; x < kW; ++x) {
    SCOPED_TRACE(x);
    const int want_h = static_cast<int>(kH * (1.0 - std::cos((x - kW / 2) * 3.14 / kW)));
    int shown = 0, first = -1, last_row = -1;
    for (int y = 0; y < kH; ++y) {
      const uint8_t* p = out.RowFromTop(y) + x * 3;
      if (p[2] == 0) continue;  // black
      if (first < 0) {
        first = y;
        EXPECT_EQ(p[1], 1);  // the column starts with the scene's top row
      }
      ++shown;
      EXPECT_EQ(p[0], x + 1);         // the same column of the scene
      EXPECT_GE(p[1] - 1, last_row);  // rows keep their order
      last_row = p[1] - 1;
    }
    EXPECT_EQ(shown, want_h);                            // none at all in the middle column
    if (shown > 0) {
      EXPECT_EQ(first, (kH - want_h) / 2);  // centred
    }
  }
}

TEST(Panorama, ShowsThePanoramaUntilAClickThenTheScreenAgain) {
  GameDir game;
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\nbg #336699,1\npanoramatest\nend\n");
  std::vector<DisplaySurface> frames;
  PictureRun r = RunPictures(game, [&](const DisplaySurface& s, uint32_t) { frames.push_back(s); });
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_GE(frames.size(), 2u);
  const DisplaySurface& panorama = frames[frames.size() - 2];
  EXPECT_EQ(PixelAt(panorama, 160, 120), 0u);         // the middle column
  EXPECT_EQ(PixelAt(panorama, 2, 120), 0x336699u);    // near the edge, the middle row
  EXPECT_EQ(PixelAt(panorama, 2, 0), 0u);             // shrunk away from the top
  EXPECT_EQ(frames.back().pixels, r.display.pixels);  // then the screen as it was
  EXPECT_EQ(PixelAt(r.display, 160, 0), 0x336699u);
}

// Errors of the tools: each body with the files it needs.
struct ToolError {
  const char* body;
  const char* message;
};

TEST(PictureTools, RefuseNamesOutsideTheGameAndSizesBeyondThePicture) {
  const std::vector<ToolError> cases = {
      {"bmpcut \"p.bmp\",0,1", "bmpcutの分割数0×1はこの絵には使えません（4×3）。"},
      {"bmpcut \"p.bmp\",5,1", "bmpcutの分割数5×1はこの絵には使えません（4×3）。"},
      {"bmpcut \"p.bmp\",1,4", "bmpcutの分割数1×4はこの絵には使えません（4×3）。"},
      {"bmpcut \"p.bmp\",1,-2", "bmpcutの分割数1×-2はこの絵には使えません（4×3）。"},
      {"bmpcut \":a;p.bmp\",1,1",
       "bmpcutのファイル名_:a;p.bmp00.bmpはゲームのフォルダの外を指しています。"},
      {"bmpcut \"..\\p.bmp\",1,1",
       "bmpcutのファイル名..\\p.bmpはゲームのフォルダの外を指しています。"},
      {"chainbmp \"/p.bmp\"",
       "chainbmpのファイル名/p.bmpはゲームのフォルダの外を指しています。"},
      {"bw2a3 \"..\\p.bmp\"",
       "bw2a3のファイル名b\\..\\p.bmpはゲームのフォルダの外を指しています。"},
      {"bw2a \"c:p\"", "bw2aのファイル名c:p_b.bmpはゲームのフォルダの外を指しています。"},
      {"grptest \"..\\..\\p.bmp\"",
       "grptestのファイル名..\\..\\p.bmpはゲームのフォルダの外を指しています。"},
      {"convgif \"..\\p.bmp\"",
       "convgifのファイル名..\\p.bmpはゲームのフォルダの外を指しています。"},
      {"bw2a \"odd\"", "bw2aの黒背景の絵(4×3)と白背景の絵(3×3)の大きさが合いません。"},
      {"chainbmp \"p.bmp\"", "chainbmpはout.bmpを読めません。"},
  };
  for (const ToolError& c : cases) {
    SCOPED_TRACE(c.body);
    GameDir game;
    game.WriteBytes("p.bmp", MakeBmp24(4, 3, Unique));
    game.WriteBytes("odd_b.bmp", MakeBmp24(4, 3, Unique));
    game.WriteBytes("odd_w.bmp", MakeBmp24(3, 3, Unique));
    game.WriteBytes("out.bmp", "BM not a picture");
    RunResult r = RunBody(game, c.body);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, IsErrorReport("エラー", c.message));
  }
}

}  // namespace
}  // namespace orivane::test
