// Picture plug-ins (`spi`, GetPicture) and effect plug-ins (type 99, Effect)
// as real shared objects, built from C sources by the system compiler.
#include <gtest/gtest.h>

#include "support/graphics_run.h"
#include "support/plugin_build.h"

namespace orivane::test {
namespace {

// A picture plug-in for ".pat": a 2 × 1 24-bit picture whose colours are
// the first six bytes of the file.
constexpr const char* kPicturePlugin = R"(
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
int GetPicture(const char* buf, long len, unsigned int flag, void** info, void** bits, void* progress, long data) {
  unsigned char colours[8] = {0};
  FILE* f = fopen(buf, "rb");
  if (!f) return 1;
  size_t n = fread(colours, 1, 6, f);
  fclose(f);
  if (n < 6) return 2;
  unsigned char* header = calloc(40, 1);
  header[0] = 40; header[4] = 2; header[8] = 1; header[12] = 1; header[14] = 24;
  unsigned char* pixels = calloc(8, 1);
  memcpy(pixels, colours, 6);
  *info = header;
  *bits = pixels;
  return 0;
}
)";

// An effect plug-in that paints the display grey and writes what it was given.
constexpr const char* kEffectPlugin = R"(
#include <stdio.h>
#include <string.h>
void Effect(void* window_dc, void* display_dc, void* scene_dc, unsigned char* display, unsigned char* scene,
            int* rect, const char* parameters, int duration) {
  FILE* f = fopen("effect.log", "w");
  fprintf(f, "%d %d %d %d [%s] %d %d", rect[0], rect[1], rect[2], rect[3], parameters, duration, scene[0]);
  fclose(f);
  memset(display, 0x80, 16);
}
)";

void WriteGame(GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n");
}

TEST(Plugins, PicturePluginDecodesItsExtension) {
  GameDir game;
  if (!BuildPluginInto(game, "patdec", kPicturePlugin)) GTEST_SKIP() << "no C compiler";
  game.WriteBytes("two.pat", std::string("\x10\x20\x30\x40\x50\x60", 6));
  game.WriteBytes("short.pat", "ab");
  WriteGame(game, "bg black,1\nlsp 1,\":c;two.pat\",5,5\nprint 1", "spi \"PatDec.dll|PAT\"\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 5, 5), 0x302010u);
  EXPECT_EQ(PixelAt(r.display, 6, 5), 0x605040u);

  // A plug-in that reports failure leaves nothing: the load fails.
  WriteGame(game, "lsp 1,\"short.pat\",5,5", "spi \"patdec.dll|pat\"\n");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ロード失敗!"), std::string::npos) << r.err;

  // No plug-in for the extension.
  WriteGame(game, "lsp 1,\"two.pat\",5,5");
  r = RunPictures(game);
  EXPECT_NE(r.err.find("ファイルtwo.patを開けません。"), std::string::npos) << r.err;
}

TEST(Plugins, AtMostFiftyPictureEntries) {
  GameDir game;
  std::string define;
  for (int i = 0; i < 51; ++i) define += "spi \"a.dll|x" + std::to_string(i) + "\"\n";
  WriteGame(game, "", define);
  PictureRun r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("SPI設定が多すぎます。"), std::string::npos) << r.err;
}

TEST(Plugins, EffectPluginRunsAndTheSceneIsShownAfterwards) {
  GameDir game;
  if (!BuildPluginInto(game, "fx", kEffectPlugin)) GTEST_SKIP() << "no C compiler";
  WriteGame(game, "bg #0a0b0c,1\nbg #112233,99,750,\"fx.dll/wave,3\"");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("effect.log"), "0 0 319 239 [/wave,3] 750 51");
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x112233u);
  EXPECT_EQ(r.end_ticks, 30u);  // the effectblank pause

  // With every effect instant the plug-in is not called.
  WriteGame(game, "seteffectspeed 2\nbg #112233,99,750,\"fx.dll\"");
  std::remove((game.path() + "/effect.log").c_str());
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("effect.log"), "");
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x112233u);
}

}  // namespace
}  // namespace orivane::test
