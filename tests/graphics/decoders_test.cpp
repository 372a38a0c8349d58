// JPEG and PNG pictures in whole runs: sizes, colours, the PNG alpha channel
// as mask in alpha mode, and broken files.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <cstring>

#include "graphics/jpeg_decode.h"
#include "graphics/png_decode.h"
#include "support/graphics_run.h"
#include "support/png_files.h"

namespace orivane::test {
namespace {

void WriteGame(GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n");
}

// A JPEG of flat colour quarters (so decoding is near exact).
std::string MakeJpeg(int w, int h) {
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = x < w / 2 ? 200 : 20;
      p[1] = y < h / 2 ? 180 : 40;
      p[2] = 90;
    }
  tjhandle t = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  tjCompress2(t, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_444, 95, 0);
  std::string bytes(reinterpret_cast<char*>(out), size);
  tjFree(out);
  tjDestroy(t);
  return bytes;
}

TEST(Decoders, JpegBackgroundAtItsOwnSize) {
  GameDir game;
  const std::string jpeg = MakeJpeg(320, 240);
  game.WriteBytes("full.jpg", jpeg);
  game.WriteBytes("small.JPEG", MakeJpeg(64, 32));
  WriteGame(game, "bg \"full.jpg\",1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  ImageSurface decoded;
  ASSERT_TRUE(DecodeJpeg(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), decoded));
  for (int y : {0, 100, 239})
    for (int x : {0, 170, 319})
      EXPECT_EQ(std::memcmp(r.display.RowFromTop(y) + x * 3, decoded.RowFromTop(y) + x * 3, 3), 0)
          << x << "," << y;
  const uint32_t top_left = PixelAt(r.display, 10, 10);
  EXPECT_NEAR(static_cast<int>((top_left >> 16) & 0xFF), 200, 3);
  EXPECT_NEAR(static_cast<int>((top_left >> 8) & 0xFF), 180, 3);
  EXPECT_NEAR(static_cast<int>(top_left & 0xFF), 90, 3);

  // The extension "jpeg" in any case is a JPEG; a smaller one is centred.
  WriteGame(game, "bg \"small.JPEG\",1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 127, 103), 0u);
  EXPECT_NEAR(static_cast<int>((PixelAt(r.display, 130, 106) >> 16) & 0xFF), 200, 3);
}

TEST(Decoders, BrokenJpegIsReported) {
  GameDir game;
  std::string jpeg = MakeJpeg(32, 32);
  game.WriteBytes("bad.jpg", "\xFF\xD8\xFF garbage");
  game.WriteBytes("cut.jpg", jpeg.substr(0, jpeg.size() - 4));
  WriteGame(game, "bg \"bad.jpg\",1");
  PictureRun r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("JPEGがロード出来ません。OLEが使えません"), std::string::npos) << r.err;
  // A JPEG cut in the middle of its scan keeps what decodes.
  WriteGame(game, "bg \"cut.jpg\",1");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(Decoders, PngAlphaChannelIsTheMaskInAlphaMode) {
  GameDir game;
  // Column 0 opaque red, column 1 half-transparent green, column 2 clear blue.
  game.WriteBytes("p.png", MakePng(3, 2, [](int x, int) {
                    const uint32_t colours[3] = {0xFFFF0000u, 0x8000FF00u, 0x000000FFu};
                    return colours[x];
                  }));
  WriteGame(game, "bg #404040,1\nlsp 1,\":a;p.png\",0,0\nlsp 2,\":c;p.png\",0,10\nprint 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const int m = 255 - 0x80;  // mask = 255 − alpha
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(r.display, 1, 0),
            (static_cast<uint32_t>(Mul(0x40, m)) << 16) |
                (static_cast<uint32_t>(Mul(0xFF, 255 - m) + Mul(0x40, m)) << 8) |
                static_cast<uint32_t>(Mul(0x40, m)));
  EXPECT_EQ(PixelAt(r.display, 2, 0), 0x404040u);
  EXPECT_EQ(PixelAt(r.display, 3, 0), 0x404040u);  // the picture is 3 pixels wide, not 6
  // In copy mode the colours are drawn as they are.
  EXPECT_EQ(PixelAt(r.display, 1, 10), 0x00FF00u);
  EXPECT_EQ(PixelAt(r.display, 2, 10), 0x0000FFu);
}

TEST(Decoders, PngCellsKeepTheirOwnMasks) {
  GameDir game;
  // Two cells of 2 pixels: cell 0 opaque white, cell 1 opaque red then clear.
  game.WriteBytes("c.png", MakePng(4, 1, [](int x, int) {
                    return x < 2 ? 0xFFFFFFFFu : (x == 2 ? 0xFFFF0000u : 0x00000000u);
                  }));
  WriteGame(game, "bg black,1\nlsp 1,\":a/2,0,3;c.png\",0,0\ncell 1,1\nprint 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(r.display, 1, 0), 0u);
}

TEST(Decoders, BrokenPngFailsToLoad) {
  GameDir game;
  std::string png = MakePng(8, 8, [](int, int) { return 0xFF123456u; });
  game.WriteBytes("cut.png", png.substr(0, png.size() - 20));
  game.WriteBytes("junk.png", "\x89PNG\r\n\x1a\nrubbish");
  for (const char* name : {"cut.png", "junk.png"}) {
    WriteGame(game, std::string("lsp 1,\"") + name + "\",0,0");
    PictureRun r = RunPictures(game);
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_NE(r.err.find("ロード失敗!"), std::string::npos) << r.err;
  }
}


// A chunk's claimed length sizes libpng's buffer before the chunk is read; one
// that claims more than the file holds is refused, while chunks that fit and
// bytes after IEND still load.
TEST(Decoders, PngChunkLongerThanTheFileIsRefused) {
  const std::string png = MakePng(2, 2, [](int, int) { return 0xFF00FF00u; });
  const size_t after_header = 8 + 25;  // signature, IHDR
  auto with_chunk = [&](uint32_t length, const std::string& body) {
    std::string chunk;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<char>(length >> shift));
    chunk += "sPLT" + body + std::string(4, '\0');
    return png.substr(0, after_header) + chunk + png.substr(after_header);
  };
  ImageSurface out;
  const std::string huge = with_chunk(0x73737373u, "");
  EXPECT_FALSE(DecodePng(reinterpret_cast<const uint8_t*>(huge.data()), huge.size(), false, 1, out));
  EXPECT_TRUE(out.pixels.empty());
  const std::string trailing = png + "trailing bytes";
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(trailing.data()), trailing.size(), false, 1, out));
  EXPECT_EQ(out.width, 2);
}

}  // namespace
}  // namespace orivane::test
