// The debug window's traces: each command and each variable read while the
// window is open, the log file of `debuglog`, the log's size rule, closing
// the window and the step box.
#include "script/debug_trace.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "platform/headless/headless_platform.h"
#include "shell/startup.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "platform/scripted_player.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

TEST(DebugTrace, DebuglogWritesEveryTracedCommandAndRead) {
  GameDir game;
  game.Write("0.txt",
             "*define\nnumalias ten,10\ncreatedebugwindow\ngame\n*start\ndebuglog 1\nmov %1,5\nadd %1,%1\n"
             "mov $2,\"あ\"\nmov %3,ten\nlen %4,$2\ndebuglog 0\nmov %5,%1\nend\n");
  RunResult r = RunScripted(game, "");
  ASSERT_EQ(r.status, 0) << r.err;
  // `debuglog 1` is traced before it runs, `debuglog 0` still written; the
  // commands after it are not.
  EXPECT_EQ(SjisToUtf8(game.ReadBytes("debuglog.txt")),
            "0.txt line:7 命令:mov\r\n> %1,5\r\n"
            "0.txt line:8 命令:add\r\n> %1,%1\r\n"
            "数字変数%1へアクセス：値5\r\n"
            "0.txt line:9 命令:mov\r\n> $2,\"あ\"\r\n"
            "0.txt line:10 命令:mov\r\n> %3,ten\r\n"
            "エイリアスtenへアクセス：値10\r\n"
            "0.txt line:11 命令:len\r\n> %4,$2\r\n"
            "文字列変数$2へアクセス：値\"あ\"\r\n"
            "0.txt line:12 命令:debuglog\r\n> 0\r\n");
}

TEST(DebugTrace, ALongLogKeepsItsBeginningBeforeTheNewLine) {
  EngineFixture f;
  Engine& engine = f.engine();
  OpenDebugWindow(engine);
  engine.interp.debug.log = std::string(998, 'a') + "\x82\xa0";  // あ would end at byte 1000
  TraceVariable(engine, "x");
  EXPECT_EQ(engine.interp.debug.log, std::string(998, 'a') + "\r\nx");
  TraceVariable(engine, "y");
  // Cut at 999 bytes, the kept text ends inside the earlier line break.
  EXPECT_EQ(engine.interp.debug.log, std::string(998, 'a') + "\r" + "\r\ny");
}

// A window the player can close and whose step box can be ticked.
class DebugWindowPlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  void ShowDebugLog(std::string_view log) override {
    if (!state.open) ++openings;
    state.open = true;
    logs += std::string(log) + "\n----\n";
  }
  // The player closes the window once the clock passes `close_at`.
  DebugWindowState DebugWindow() override {
    if (close_at && Ticks() >= *close_at) {
      state.open = false;
      close_at.reset();
    }
    return state;
  }
  DebugWindowState state;
  std::optional<uint32_t> close_at;
  int openings = 0;
  std::string logs;  // every log shown, in order
};

struct WindowRun {
  int status = -1;
  std::string err;
  int openings = 0;  // of the window
  std::string logs;  // every log the window showed
};

WindowRun RunWithWindow(const GameDir& game, const std::string& input,
                        const std::function<void(DebugWindowPlatform&)>& before = {}) {
  ScriptedPlayer player;
  std::string error;
  EXPECT_TRUE(player.Parse("input.txt", input, error)) << error;
  ScopedCurrentDir dir(game.path());
  std::ostringstream out, err;
  DebugWindowPlatform platform(out, err);
  platform.SetPlayer(std::move(player));
  if (before) before(platform);
  WindowRun r;
  {
    Engine engine(platform);
    r.status = RunEngine(engine);
  }
  r.err = err.str();
  r.openings = platform.openings;
  r.logs = platform.logs;
  return r;
}

TEST(DebugTrace, StepBoxFollowsEachCommandWhileTicked) {
  GameDir game;
  game.Write("0.txt", "*define\ncreatedebugwindow\ngame\n*start\nmov %1,1\nend\n");
  WindowRun r = RunWithWindow(game, "answer ok\nanswer ok\nanswer ok\n",
                              [](DebugWindowPlatform& w) { w.state.step = true; });
  ASSERT_EQ(r.status, 0) << r.err;
  // After createdebugwindow, game and mov; `end` ends the run before its box.
  size_t boxes = 0;
  for (size_t at = r.err.find("[ステップ実行] ステップ実行中 -> ok"); at != std::string::npos;
       at = r.err.find("[ステップ実行]", at + 1))
    ++boxes;
  EXPECT_EQ(boxes, 3u) << r.err;
}

TEST(DebugTrace, ClosingTheWindowEndsTracingAndCreateOpensItAgain) {
  GameDir game;
  // The player closes the window during the first wait and opens it again
  // with the "d" key during the second.
  game.Write("0.txt",
             "*define\ncreatedebugwindow\ngame\n*start\nmov %1,1\nwait 100\nmov %2,%1\n"
             "wait 100\nmov %3,%1\nend\n");
  WindowRun r = RunWithWindow(game, "after 150 key d\n", [](DebugWindowPlatform& w) { w.close_at = 50; });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.openings, 2);
  const std::string& shown = r.logs;
  EXPECT_NE(shown.find("line:5 命令:mov"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("line:7"), std::string::npos) << shown;  // closed meanwhile
  EXPECT_NE(shown.find("line:9 命令:mov\r\n> %3,%1\r\n数字変数%1へアクセス：値1"), std::string::npos) << shown;
  EXPECT_NE(shown.find("line:10 命令:end"), std::string::npos) << shown;
}

}  // namespace
}  // namespace orivane::test
