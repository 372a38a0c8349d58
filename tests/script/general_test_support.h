// Helpers for the tests of the general commands: a script body run as a
// whole game, the expected form of an error report, and an engine that a
// test can prepare before running statements (declared arrays, limits,
// aliases, the return channel), which the script could not set up itself.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "script/execute.h"
#include "support/game_fixture.h"
#include "util/sjis.h"

namespace orivane::test {

// The body (UTF-8) as the game of a minimal script.
inline std::string GameScript(std::string_view body) {
  return "*define\ngame\n*start\n" + std::string(body) + "\nend\n";
}

// Runs `body` as the game in `game` (written to 0.txt).
inline RunResult RunBody(const GameDir& game, std::string_view body) {
  game.Write("0.txt", GameScript(body));
  return game.Run();
}

inline RunResult RunBody(std::string_view body) {
  GameDir game;
  return RunBody(game, body);
}

// An error report starts with the title line and the message, then a blank line.
inline ::testing::Matcher<const std::string&> IsErrorReport(std::string_view title, std::string_view message) {
  return ::testing::StartsWith(std::string(title) + "\n" + std::string(message) + "\n\n");
}

// An engine run in process on statements given by the test, inside a game
// directory of its own.
class PreparedEngine {
 public:
  PreparedEngine() : platform_(out_, err_), engine(platform_) {}

  // Runs the statements (UTF-8) followed by `end`; returns the exit status.
  int Run(std::string_view utf8_lines) {
    std::string sjis = Utf8ToSjis(std::string(utf8_lines) + "\nend\n");
    engine.script.Assign(std::vector<uint8_t>(sjis.begin(), sjis.end()));
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(game.path());
    int status = -1;
    try {
      ExecuteScript(engine, RunMode::kGame);
    } catch (const EngineExit& exit) {
      status = exit.status;
    }
    std::filesystem::current_path(previous);
    return status;
  }

  std::string out() const { return out_.str(); }
  std::string err() const { return err_.str(); }

  GameDir game;

 private:
  std::ostringstream out_, err_;
  HeadlessPlatform platform_;

 public:
  Engine engine;
};

}  // namespace orivane::test

namespace orivane::test {

// Story text prints numbers in full-width digits: "-105" becomes "－１０５".
inline std::string Wide(std::string_view ascii_number) {
  std::string out;
  for (char c : ascii_number) {
    if (c == '-') out += "－";
    else if (c >= '0' && c <= '9') out += std::string("０１２３４５６７８９").substr((c - '0') * 3, 3);
    else out.push_back(c);
  }
  return out;
}

// Expected output: each number printed on its own line.
inline std::string WideLines(std::initializer_list<std::string_view> numbers) {
  std::string out;
  for (std::string_view n : numbers) out += Wide(n) + "\n";
  return out;
}

}  // namespace orivane::test
