// The shell's small pieces: config.txt, the temporary directory, the font
// menu, screenshots, and the window procedure's handling of clicks.
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "engine.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "platform/headless/headless_platform.h"
#include "shell/config_file.h"
#include "shell/screenshot.h"
#include "util/temp_directory.h"
#include "shell/window_events.h"
#include "support/game_fixture.h"

namespace orivane {
namespace {

TEST(ShellConfig, OnlyALineStartingWithTheLowerCaseKeySwitchesTheFadeOff) {
  struct Case {
    const char* line;
    bool off;
  } cases[] = {
      {"cdfadeoff", true},  {"cdfadeoff and more", true}, {"cdfadeoff\r", true}, {"CDFADEOFF", false},
      {" cdfadeoff", false}, {"cdfadeof", false},         {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ConfigLineSetsCdFadeOff(c.line), c.off) << c.line;
}

TEST(ShellConfig, ReadsConfigAndProbeFromTheGameDirectory) {
  test::GameDir game;
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  ShellState plain;
  ReadShellConfig(plain);
  EXPECT_FALSE(plain.cd_fade_off);
  EXPECT_FALSE(plain.debug_mode);
  game.WriteBytes("config.txt", "other\ncdfadeoff please\n");
  game.WriteBytes("probe.527", "");
  ShellState configured;
  ReadShellConfig(configured);
  std::filesystem::current_path(previous);
  EXPECT_TRUE(configured.cd_fade_off);
  EXPECT_TRUE(configured.debug_mode);
}

TEST(TemporaryDirectoryTest, IsPrivateUnderTmpdirAndGoesWithItsContents) {
  test::GameDir base;
  const char* old = std::getenv("TMPDIR");
  std::string saved = old ? old : "";
  ::setenv("TMPDIR", base.path().c_str(), 1);
  std::string path;
  {
    TempDirectory dir;
    ASSERT_TRUE(dir.Create());
    path = dir.path();
    EXPECT_EQ(path.rfind(base.path() + "/", 0), 0u) << path;
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    std::ofstream(path + "/Orvntmp.wav") << "data";
  }
  if (old) ::setenv("TMPDIR", saved.c_str(), 1); else ::unsetenv("TMPDIR");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FontMenu, ListsOnlyFixedPitchFacesWithoutVerticalOnes) {
  std::vector<FontMenuEntry> fonts = FontconfigFonts().ListMenuFonts(180);
  EXPECT_LE(fonts.size(), 180u);
  int last = -1;
  std::set<std::string> names;
  for (const FontMenuEntry& f : fonts) {
    EXPECT_GT(f.number, last);
    EXPECT_LT(f.number, 180);
    last = f.number;
    ASSERT_FALSE(f.name.empty());
    EXPECT_NE(f.name[0], '@');
    names.insert(f.name);
  }
  // The install script brings the IPA gothic faces: the fixed-pitch one is
  // listed, its proportional twin is not.
  EXPECT_TRUE(names.count("IPAゴシック"));
  EXPECT_FALSE(names.count("IPA Pゴシック"));
  // A small limit cuts the report, counting every family reported.
  for (const FontMenuEntry& f : FontconfigFonts().ListMenuFonts(1)) EXPECT_EQ(f.number, 0);
}

DisplaySurface Gradient(int w, int h) {
  DisplaySurface d;
  d.Resize(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = d.RowFromTop(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x + 0] = static_cast<uint8_t>(x);        // blue
      row[3 * x + 1] = static_cast<uint8_t>(y);        // green
      row[3 * x + 2] = static_cast<uint8_t>(x + y);    // red
    }
  }
  return d;
}

TEST(Screenshot, PngHasTheSurfacesPixelsTopRowFirst) {
  test::GameDir dir;
  DisplaySurface d = Gradient(5, 3);  // a row of 15 bytes is padded to 16
  std::string path = dir.path() + "/shot.PNG";
  std::string error;
  ASSERT_TRUE(WriteScreenshot(d, path, error)) << error;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  image.format = PNG_FORMAT_RGB;
  ASSERT_EQ(image.width, 5u);
  ASSERT_EQ(image.height, 3u);
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint8_t* p = &rgb[(y * 5 + x) * 3];
      EXPECT_EQ(p[0], x + y);
      EXPECT_EQ(p[1], y);
      EXPECT_EQ(p[2], x);
    }
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(Screenshot, BmpIsTheSurfaceAsItIsAndOtherNamesAreRefused) {
  test::GameDir dir;
  DisplaySurface d = Gradient(5, 3);
  std::string error;
  ASSERT_TRUE(WriteScreenshot(d, dir.path() + "/shot.bmp", error)) << error;
  std::string bytes = dir.ReadBytes("shot.bmp");
  ASSERT_EQ(bytes.size(), 54u + d.pixels.size());
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(std::memcmp(bytes.data() + 54, d.pixels.data(), d.pixels.size()), 0);
  EXPECT_FALSE(WriteScreenshot(d, dir.path() + "/shot.jpg", error));
  EXPECT_EQ(ScreenshotFormatOf("a.Bmp"), ScreenshotFormat::kBmp);
  EXPECT_EQ(ScreenshotFormatOf("png"), ScreenshotFormat::kNone);
}

class WindowProcedure : public ::testing::Test {
 protected:
  std::ostringstream out_, err_;
  HeadlessPlatform platform_{out_, err_};
  Engine engine_{platform_};

  void Send(PlayerEvent::Kind kind, int32_t value = 0, PointerButton button = PointerButton::kLeft) {
    PlayerEvent e;
    e.kind = kind;
    e.value = value;
    e.button = button;
    e.x = 30;
    e.y = 40;
    HandlePlayerEvent(engine_, e);
  }
};

TEST_F(WindowProcedure, ReleasesSpaceAndEnterCountAsClicks) {
  Send(PlayerEvent::Kind::kButtonDown);
  EXPECT_FALSE(engine_.input.left_clicked);
  EXPECT_EQ(engine_.input.click_x, 30);
  Send(PlayerEvent::Kind::kButtonUp);
  EXPECT_TRUE(engine_.input.left_clicked);
  engine_.input.left_clicked = false;
  Send(PlayerEvent::Kind::kCharacter, ' ');
  EXPECT_TRUE(engine_.input.left_clicked);
  engine_.input.left_clicked = false;
  Send(PlayerEvent::Kind::kCharacter, '\r');
  EXPECT_TRUE(engine_.input.left_clicked);
  EXPECT_EQ(engine_.input.last_value, 13);
  engine_.input.left_clicked = false;
  Send(PlayerEvent::Kind::kCharacter, 'x');
  EXPECT_FALSE(engine_.input.left_clicked);
  Send(PlayerEvent::Kind::kButtonUp, 0, PointerButton::kRight);
  EXPECT_TRUE(engine_.input.right_clicked);
  Send(PlayerEvent::Kind::kWheel, -120);
  EXPECT_EQ(engine_.input.last_value, -120);
}

TEST_F(WindowProcedure, AClickDuringSkipOrAutoModeOnlyStopsTheMode) {
  for (bool skip : {true, false}) {
    engine_.read_flags.skip_mode = skip;
    engine_.shell.settings.auto_mode = !skip;
    Send(PlayerEvent::Kind::kButtonUp);
    EXPECT_FALSE(engine_.input.left_clicked);
    EXPECT_FALSE(engine_.read_flags.skip_mode);
    EXPECT_FALSE(engine_.shell.settings.auto_mode);
  }
  Send(PlayerEvent::Kind::kButtonUp);
  EXPECT_TRUE(engine_.input.left_clicked);
}

TEST_F(WindowProcedure, TypingNPostsTheSkipCommand) {
  Send(PlayerEvent::Kind::kCharacter, 'n');
  ASSERT_EQ(engine_.shell.posted_commands.size(), 1u);
  EXPECT_EQ(engine_.shell.posted_commands.front(), menu_id::kSkip);
}

}  // namespace
}  // namespace orivane
