// Arrays, integer limits and aliases declared in the *define block.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

RunResult RunGame(const std::string& define, const std::string& body, uint32_t timeout_ms = 3000) {
  GameDir game;
  game.Write("0.txt", "*define\n" + define + "game\n*start\n" + body);
  return game.Run(timeout_ms);
}

TEST(Variables, Programs) {
  struct Case {
    const char* name;
    const char* define;
    const char* body;
    const char* out;
  } cases[] = {
      {"one-dimensional array has max+1 elements", "dim ?0[3]\n", "movl ?0, 1, 2, 3, 4\n?0[0]?0[3]\nend\n", "１４\n"},
      {"row-major element order", "dim ?1[2][3]\n",
       "movl ?1[1], 10, 11, 12, 13\n?1[1][2] ?1[0][2] ?1[2][3]\nend\n", "１２００\n"},
      {"array number and index from expressions", "dim ?%0[2]\nnumalias two, 2\n",
       "movl ?0, 5, 6, 7\n?0[two] ?0[(1+1)*1-1]\nend\n", "７６\n"},
      {"limit clamps after a clamping command", "intlimit 10, 0, 100\n",
       "for %10 = 150 to 150\n%10\nbreak\nnext\nend\n", "１００\n"},
      {"lower limit", "intlimit 10, 5, 100\n", "for %10 = -3 to 9\n%10\nbreak\nnext\nend\n", "５\n"},
      {"an upper limit of -1 means none", "intlimit 10, -5, -1\n",
       "for %10 = 150 to 150\n%10\nnext\nend\n", "１５０\n"},
      {"alias from an earlier alias", "numalias a, 3\nnumalias b, a*2+1\nstralias s, \"x\"+\"y\"\n",
       "for %1 = b to b\n%1$0\nnext\nif \"xy\" == s end\n", "７\n"},
      {"numeric and string alias may share a name", "numalias n, 4\nstralias n, \"四\"\n",
       "for %1 = n to n\n%1\nnext\nif \"四\" == n end\n", "４\n"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.define, c.body);
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

TEST(Variables, Errors) {
  struct Case {
    const char* define;
    const char* body;
    const char* report;
  } cases[] = {
      {"dim ?0[3]\n", "?0[4]\n", "エラー\n配列の添字が宣言された範囲を超えています（第1次元 最大値3 指定値4）"},
      {"dim ?0[3][2]\n", "?0[1][3]\n", "エラー\n配列の添字が宣言された範囲を超えています（第2次元 最大値2 指定値3）"},
      {"dim ?0[3]\n", "?0[-1]\n", "エラー\n配列の添字が宣言された範囲を超えています（第1次元 最大値3 指定値-1）"},
      {"dim ?0[3]\n", "?0[1][1]\n", "エラー\n配列の添字指定が間違っています。"},
      {"dim ?0[3][3]\n", "?0[1]\n", "エラー\n配列の添字指定が間違っています。"},
      {"", "?9[0]\n", "エラー\n配列の添字指定が間違っています。"},
      {"dim ?0[3]\n", "?0[1\n", "エラー\n配列変数指定が間違っています。"},
      {"dim ?0[3]\ndim ?0[2]\n", "", "エラー\n配列変数の二重宣言です。"},
      {"dim 0[3]\n", "", "エラー\nDim文の第一引数は~数字です。"},
      {"dim ?0[-2]\n", "", "エラー\n配列の添字指定が間違っています。"},
      {"dim ?0[100000][100000]\n", "", "エラー\n配列の添字指定が間違っています。"},
      {"dim ?0[1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1][1]\n", "",
       "エラー\n配列の添字指定が間違っています。"},
      {"dim ?0[3]\n", "movl 0, 1\n", "エラー\nmovlの第一引数は?数字です。"},
      {"dim ?0[2]\n", "movl ?0, 1, 2\n", "構文エラー\nコンマが必要なところにコンマが有りません。"},
      {"numalias x, 1\nnumalias X, 2\n", "", "エラー\n数字エイリアスxが二重定義されています。"},
      {"stralias y, \"a\"\nstralias y, \"b\"\n", "", "エラー\n文字列エイリアスyが二重定義されています。"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.define, c.body);
    EXPECT_EQ(r.status, 1) << c.define << c.body;
    EXPECT_EQ(TitleAndMessage(r), c.report) << c.define << c.body;
  }
}

// All arrays together hold at most 64M elements: four of the largest size
// fill the budget exactly, and any further element is reported before memory
// runs out.
TEST(Variables, ArraysShareOneBudget) {
  const std::string four_largest = "dim ?0[16777215]\ndim ?1[16777215]\ndim ?2[4095][4095]\ndim ?3[16777215]\n";
  // The text line takes a save point, which copies the 256 MB of arrays: on
  // a loaded machine with the sanitizers that takes seconds of wall time.
  RunResult full = RunGame(four_largest, "mov ?3[16777215], 9\n?3[16777215]?2[4095][4095]\nend\n", 60000);
  EXPECT_EQ(full.status, 0) << full.err;
  EXPECT_EQ(full.out, "９０\n");

  RunResult over = RunGame(four_largest + "dim ?4[0]\n", "end\n");
  EXPECT_EQ(over.status, 1);
  EXPECT_EQ(TitleAndMessage(over), "エラー\n配列変数が多すぎます。配列の要素は合わせて67108864個までです。");
  EXPECT_NE(over.err.find("\n>dim ?4[0]"), std::string::npos) << over.err;  // reported at the declaration
}

// AddressSanitizer reserves far more address space than a limit for this
// test allows, and aborts where memory runs out instead of throwing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Runs the program headless on `dir` with its address space limited to
// `bytes`: the exit status (128 + the signal when one ended it) and what it
// wrote to standard error.
RunResult RunProgramWithin(uint64_t bytes, const std::string& dir) {
  char err_name[] = "/tmp/orivane-err-XXXXXX";
  int err_fd = ::mkstemp(err_name);
  RunResult result;
  pid_t pid = ::fork();
  if (pid == 0) {
    rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
    ::dup2(err_fd, 2);
    ::dup2(::open("/dev/null", O_WRONLY), 1);
    ::execl(ORIVANE_BINARY, ORIVANE_BINARY, "--headless", dir.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int wstatus = 0;
  if (pid > 0 && ::waitpid(pid, &wstatus, 0) == pid)
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  std::ifstream f(err_name, std::ios::binary);
  std::ostringstream err;
  err << f.rdbuf();
  result.err = err.str();
  ::close(err_fd);
  ::unlink(err_name);
  return result;
}

// Arrays within the budget that do not fit the memory the process may have
// end the run with a report, not with an abort: the program is given far
// less than the 256 MB they ask for.
TEST(Variables, ArraysBeyondTheMemoryOfTheProcessAreReported) {
  if (kAddressSanitizer) GTEST_SKIP() << "needs a build without AddressSanitizer";
  GameDir game;
  game.Write("0.txt", "*define\ndim ?0[16777215]\ndim ?1[16777215]\ndim ?2[16777215]\ndim ?3[16777215]\n"
                      "game\n*start\nend\n");
  RunResult r = RunProgramWithin(uint64_t{160} << 20, game.path());
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(TitleAndMessage(r), "エラー\nメモリが足りません。");
}

// The arrays of a define block that runs again are counted afresh.
TEST(Variables, DefineresetGivesTheArrayBudgetBack) {
  // Six arrays of 64 MB each are made and cleared: on a loaded machine with
  // the sanitizers that takes seconds of wall time, which the run's time
  // limit must not mistake for a loop that never waits.
  RunResult r = RunGame("dim ?0[16777215]\ndim ?1[16777215]\ndim ?2[16777215]\n",
                        "if lchk *again goto *fin\n*again\ndefinereset\n*fin\n済\nend\n", 60000);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "済\n");
}

TEST(Variables, TooManyAliases) {
  std::string define;
  for (int i = 0; i <= 10000; ++i) define += "numalias a" + std::to_string(i) + ", 1\n";
  RunResult r = RunGame(define, "end\n");
  EXPECT_EQ(TitleAndMessage(r), "エラー\n数字エイリアスが多すぎます。");
}

}  // namespace
}  // namespace orivane::test
