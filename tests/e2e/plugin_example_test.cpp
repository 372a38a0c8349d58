// The example plug-in (examples/plugin) in a game run by the real program:
// a layer drawn by a "*0" sprite and recoloured by `layermessage`, and a
// command plug-in that fills a rectangle of the display surface, with the
// values both leave for `getret`.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

TEST(PluginExample, LayerAndCommandPluginInAGame) {
  GameDir game;
  std::filesystem::copy_file(ORIVANE_EXAMPLE_PLUGIN, game.path() + "/example_plugin.so");
  game.Write("0.txt",
             ";mode320\n*define\n"
             "setlayer 0,0,\"example_plugin.dll/100 50 20 10 00ff00\"\n"
             "game\n*start\n"
             "lsp 10,\"*0\"\nprint 1\n"
             "layermessage 0,\"0000ff\"\ngetret %2\ngetret $2\n"
             "exec_dll \"example_plugin.dll/10 10 5 4 ff0000\"\ngetret %1\ngetret $1\n"
             "%1 $1 %2 $2\n"
             "textoff\n"
             "exec_dll \"example_plugin.dll/10 10 5 4 ff0000\"\ndraw\nend\n");
  RunResult r = RunProgram({"--headless", "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 0) << r.err;
  // 5 × 4 pixels filled; the layer's colour before the message.
  EXPECT_NE(r.out.find("２０filled１00ff00"), std::string::npos) << r.out;

  const Screenshot shot(game.ReadBytes("shot.bmp"), 320, 240);
  ASSERT_TRUE(shot.Complete());
  const auto pixel = [&](int x, int y) { return shot.Pixel(x, y); };
  struct Probe {
    int x, y;
    uint32_t rgb;
  };
  const Probe probes[] = {
      {10, 10, 0xFF0000},  {14, 13, 0xFF0000},
      {15, 13, 0x000000},  {14, 14, 0x000000},  // the fill
      {100, 50, 0x0000FF}, {119, 59, 0x0000FF},
      {120, 59, 0x000000}, {99, 50, 0x000000},  // the layer
      {0, 0, 0x000000},
  };
  for (const Probe& p : probes) EXPECT_EQ(pixel(p.x, p.y), p.rgb) << p.x << "," << p.y;
}

}  // namespace
}  // namespace orivane::test
