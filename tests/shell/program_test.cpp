// The orivane program as a player starts it: single instance, the command
// line of the scripted player and screenshots, the temporary directory.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

constexpr const char* kGame = "*define\ngame\n*start\n頁@\nend\n";

TEST(Program, SecondStartOnTheSameGameIsRefused) {
  GameDir game;
  game.Write("0.txt", kGame);
  int fd = ::open(game.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);  // as a running copy holds it
  RunResult second = RunProgram({"--headless", game.path()});
  ::close(fd);
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "起動エラー\n同時に二つ実行しないでください\n");
  RunResult alone = RunProgram({"--headless", game.path()});
  EXPECT_EQ(alone.status, 0) << alone.err;
  EXPECT_EQ(alone.out, "頁\n");
}

TEST(Program, InputFileIsReadRelativeToTheStartDirectory) {
  GameDir game;
  game.Write("0.txt", kGame);
  GameDir elsewhere;
  elsewhere.WriteBytes("in.txt", "close\nanswer yes\n");
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path());
  RunResult r = RunProgram({"--headless", "--input", "in.txt", game.path()});
  std::filesystem::current_path(previous);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "頁\n");  // the close came at the first wait, after the text
  EXPECT_NE(r.err.find("終了しますか？ -> yes"), std::string::npos) << r.err;
}

TEST(Program, BadInputAndScreenshotNamesAreUsageErrors) {
  GameDir game;
  game.Write("0.txt", kGame);
  game.WriteBytes("bad.txt", "click 1 1\nclick here\n");
  RunResult bad = RunProgram({"--headless", "--input", game.path() + "/bad.txt", game.path()});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("bad.txt:2: "), std::string::npos) << bad.err;
  RunResult missing = RunProgram({"--headless", "--input", game.path() + "/none.txt", game.path()});
  EXPECT_EQ(missing.status, 2);
  RunResult shot = RunProgram({"--headless", "--screenshot", game.path() + "/s.gif", game.path()});
  EXPECT_EQ(shot.status, 2);
  RunResult no_name = RunProgram({"--headless", "--input"});
  EXPECT_EQ(no_name.status, 2);
}

TEST(Program, ScreenshotIsWrittenWhateverTheExitStatus) {
  struct Case {
    const char* script;
    const char* extension;
    int status;
  } cases[] = {
      {"*define\ngame\n*start\nend\n", "png", 0},
      {";mode320\n*define\ngame\n*start\nnosuchcommand\n", "bmp", 1},
      {"*define\ngame\n*start\n*loop\n頁@\n", "png", 1},  // runs off the end of the script
  };
  for (const Case& c : cases) {
    GameDir game;
    game.Write("0.txt", c.script);
    std::string shot = game.path() + "/shot." + c.extension;
    RunResult r = RunProgram({"--headless", "--screenshot", shot, game.path()});
    EXPECT_EQ(r.status, c.status) << c.script << r.err;
    std::string bytes = game.ReadBytes(std::string("shot.") + c.extension);
    ASSERT_FALSE(bytes.empty()) << c.script;
    if (std::string(c.extension) == "png") {
      EXPECT_EQ(bytes.substr(1, 3), "PNG");
    } else {
      EXPECT_EQ(bytes.substr(0, 2), "BM");
      EXPECT_EQ(static_cast<uint8_t>(bytes[18]) | static_cast<uint8_t>(bytes[19]) << 8, 320);  // ;mode320
    }
  }
}

TEST(Program, TemporaryDirectoryIsGoneAfterEveryKindOfExit) {
  const char* scripts[] = {"*define\ngame\n*start\nend\n", "*define\ngame\n*start\nbadcommand\n"};
  for (const char* script : scripts) {
    GameDir game;
    game.Write("0.txt", script);
    GameDir tmp;
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    RunResult r = RunProgram({"--headless", game.path()});
    if (old) ::setenv("TMPDIR", saved.c_str(), 1); else ::unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path())) << script << r.err;
  }
}

}  // namespace
}  // namespace orivane::test
