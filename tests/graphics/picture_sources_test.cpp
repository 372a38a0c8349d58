// Pictures kept in archives reach the screen through the file layer: SPB and
// LZSS entries decode, a stored BMP and a missing entry give their errors.
#include <gtest/gtest.h>

#include "archive/archive_fixture.h"
#include "shell/startup.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x + y) & 0xFF));
}

void WriteArchiveWith(const GameDir& game, uint8_t kind) {
  WriteArchive(game, "arc.ora", {PackEntryAs("pic\\back.bmp", AsBytes(MakeBmp24(640, 480, Pattern)), kind)});
}

TEST(ArchivedPictures, SpbAndLzssEntriesDecodeToTheSamePixels) {
  for (uint8_t kind : {uint8_t{1}, uint8_t{2}}) {
    GameDir game;
    WriteArchiveWith(game, kind);
    game.Write("0.txt", "*define\nora\ngame\n*start\nbg \"PIC/Back.bmp\",1\nend\n");
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << "kind " << int{kind} << "\n" << r.err;
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {17, 300}, {639, 479}})
      EXPECT_EQ(PixelAt(r.display, x, y), Pattern(x, y)) << "kind " << int{kind} << " at " << x << "," << y;
  }
}

TEST(ArchivedPictures, Errors) {
  struct Case {
    uint8_t kind;
    const char* picture;
    const char* report;
  } cases[] = {
      {0, "pic\\back.bmp", "エラー\nBMPが圧縮されていません"},
      {2, "pic\\gone.bmp", "エラー\nORAアーカイブからファイルpic\\gone.bmpがみつかりません"},
      {2, "pic\\gone.jpg", "エラー\nORAアーカイブからファイルpic\\gone.jpgがみつかりません"},
  };
  for (const Case& c : cases) {
    GameDir game;
    WriteArchiveWith(game, c.kind);
    game.Write("0.txt", std::string("*define\nora\ngame\n*start\nbg \"") + c.picture + "\",1\nend\n");
    PictureRun r = RunPictures(game);
    EXPECT_EQ(r.status, 1) << c.picture;
    EXPECT_EQ(r.err.substr(0, r.err.find("\n\n")), c.report) << c.picture;
  }
}

// With the file log on, every picture name the loader asks for is recorded
// by the file layer, whichever way the picture was found.
TEST(ArchivedPictures, TheFileLogRecordsEveryPictureAskedFor) {
  ArchiveGame g;
  WriteArchiveWith(g.dir(), 1);
  g.dir().WriteBytes("loose.bmp", MakeBmp24(4, 4, Pattern));
  g.dir().Write("0.txt", "*define\nora\ngame\n*start\nbg \"PIC/Back.bmp\",1\nlsp 1,\"loose.bmp\",0,0\nprint 1\nend\n");
  Engine& e = g.engine();
  e.archive.file_log_on = true;
  ASSERT_EQ(RunEngine(e), 0) << g.errors();
  EXPECT_TRUE(e.file_log.Contains("pic\\back.bmp"));
  EXPECT_TRUE(e.file_log.Contains("loose.bmp"));
  EXPECT_FALSE(e.file_log.Contains("other.bmp"));
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

// An animated sprite moves on while the game waits for the player.
TEST(Animation, CellsAdvanceDuringAClickWait) {
  const uint32_t colours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  GameDir game;
  game.WriteBytes("cells.bmp", MakeBmp24(30, 10, [&](int x, int) { return colours[x / 10]; }));
  game.Write("0.txt",
             "*define\ngame\n*start\nlsp 1,\":c/3,100,0;cells.bmp\",0,0\nprint 1\n待つ@\nend\n");
  game.WriteBytes("input.txt", "after 250 click 5 5\n");
  RunResult r = RunProgram({"--headless", "--timeout", "20000", "--input", game.path() + "/input.txt", "--screenshot",
                            game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string shot = game.ReadBytes("shot.bmp");
  ASSERT_GT(shot.size(), 54u);
  // Top-left pixel: the last row of the bottom-up file, blue-green-red.
  const size_t row = (640 * 3 + 3) & ~3u;
  const size_t at = 54 + row * 479;
  uint32_t pixel = static_cast<uint8_t>(shot[at + 2]) << 16 | static_cast<uint8_t>(shot[at + 1]) << 8 |
                   static_cast<uint8_t>(shot[at]);
  // Cells change at 100 and 200 ms; the click came at 250. The text window's
  // default tint (#999999) lies over the sprite.
  EXPECT_EQ(pixel, static_cast<uint32_t>(Mul(0xFF, 0x99)));
}

}  // namespace
}  // namespace orivane::test
