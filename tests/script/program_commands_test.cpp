// Starting programs and reading the return channel.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "script/general_test_support.h"
#include "script/program_commands.h"

namespace orivane::test {
namespace {

TEST(SplitCommandLine, SplitsAsWindowsProgramsDo) {
  struct Case {
    std::string line;
    std::vector<std::string> args;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog \t a  ", {"prog", "a"}},
      {"prog \"two words\" x\"y z\"", {"prog", "two words", "xy z"}},
      {"prog \"\"", {"prog", ""}},
      {"prog a\\b c:\\dir\\", {"prog", "a\\b", "c:\\dir\\"}},
      {"prog \\\"q\\\" \\\\\"a b\"", {"prog", "\"q\"", "\\a b"}},
      {"prog \x83\x5C\"x y\"", {"prog", "\x83\x5Cx y"}},  // ソ then a quoted part
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

// With a wait the script goes on only after the program has ended.
TEST(WinExec, WaitsForTheProgramToEnd) {
  GameDir game;
  game.WriteBytes("tools/make.sh", "sleep 0.2\necho done > \"$1\"\n");
  RunResult r = RunBody(game,
                        "winexec \"sh tools/make.sh made.txt\",1\n"
                        "fileexist %0,\"made.txt\"\n%0");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1"}));
  EXPECT_EQ(game.ReadBytes("made.txt"), "done\n");
}

TEST(WinExec, ProgramThatCannotStartIsNotedAndTheGameGoesOn) {
  RunResult r = RunBody("winexec \"no-such-program-orivane-test\",1\nwinexec \"\",0\nmov %0,1\n%0");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1"}));
  EXPECT_THAT(r.err, ::testing::HasSubstr("no-such-program-orivane-test"));
}

// Puts a stand-in for xdg-open first on PATH for the life of the object.
class FakeOpener {
 public:
  explicit FakeOpener(const GameDir& dir) : old_path_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    dir.WriteBytes("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened.tmp\"\n"
                                   "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"\n");
    ::chmod((dir.path() + "/bin/xdg-open").c_str(), 0755);
    ::setenv("PATH", (dir.path() + "/bin:" + old_path_).c_str(), 1);
  }
  ~FakeOpener() { ::setenv("PATH", old_path_.c_str(), 1); }

 private:
  std::string old_path_;
};

// The opener runs on its own; wait (bounded) for what it recorded.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream f(path);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(Shell, HandsFilesAndAddressesToTheOpener) {
  struct Case {
    const char* statement;
    std::string opened;
  } cases[] = {
      {"shell \"https://example.org/a?b=c\"", "https://example.org/a?b=c"},
      {"shell \"Docs\\ReadMe.txt\"", "docs/readme.txt"},
  };
  for (const Case& c : cases) {
    GameDir tools;
    FakeOpener opener(tools);
    GameDir game;
    game.WriteBytes("docs/readme.txt", "hello");
    RunResult r = RunBody(game, c.statement);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(WaitForFile(tools.path() + "/bin/opened"), c.opened) << c.statement;
  }
}

TEST(GetRet, ReadsTheReturnChannel) {
  PreparedEngine p;
  p.engine.ret.value = -42;
  p.engine.ret.text = Utf8ToSjis("結果");
  p.engine.vars.SetLimit(3, -10, 10);
  ASSERT_EQ(p.Run("getret %0\ngetret $0\ngetret %3"), 0) << p.err();
  EXPECT_EQ(p.engine.vars.Num(0), -42);
  EXPECT_EQ(p.engine.vars.Str(0), Utf8ToSjis("結果"));
  EXPECT_EQ(p.engine.vars.Num(3), -10);  // clamped right after getret
}

}  // namespace
}  // namespace orivane::test
