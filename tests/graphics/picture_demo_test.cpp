// The picture demo plays to its end and leaves its last scene on screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/graphics_run.h"

namespace orivane::test {
namespace {

TEST(PictureDemo, PlaysToTheEnd) {
  const std::filesystem::path demo =
      std::filesystem::path(__FILE__).parent_path() / "../../examples/demo";
  ASSERT_TRUE(std::filesystem::exists(demo / "0.txt"));
  GameDir game;
  for (const auto& entry : std::filesystem::directory_iterator(demo)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    game.WriteBytes(entry.path().filename().string(), bytes.str());
  }
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("いろいろな切り替え効果でした。"), std::string::npos) << r.out;
  // The last background is the hills picture: orange sky above green hills.
  const uint32_t sky = PixelAt(r.display, 5, 5), hill = PixelAt(r.display, 5, 470);
  EXPECT_GT((sky >> 16) & 0xFF, 200u);
  EXPECT_GT((hill >> 8) & 0xFF, (hill >> 16) & 0xFF);
}

}  // namespace
}  // namespace orivane::test
