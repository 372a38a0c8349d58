#include "support/game_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"
#include "util/sjis.h"

extern char** environ;

namespace orivane::test {

GameDir::GameDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "orivane-test-XXXXXX").string();
  if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
}

GameDir::~GameDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void GameDir::Write(const std::string& name, std::string_view utf8) const {
  WriteBytes(name, Utf8ToSjis(utf8));
}

void GameDir::WriteBytes(const std::string& name, std::string_view bytes) const {
  std::filesystem::path p = std::filesystem::path(path_) / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string GameDir::ReadBytes(const std::string& name) const {
  std::ifstream f(std::filesystem::path(path_) / name, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

RunResult GameDir::Run(uint32_t timeout_ms) const {
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(path_);
  std::ostringstream out, err;
  RunResult result;
  {
    HeadlessPlatform platform(out, err);
    Engine engine(platform);
    engine.timeout_ms = timeout_ms;
    result.status = RunEngine(engine);
  }
  std::filesystem::current_path(previous);
  result.out = out.str();
  result.err = err.str();
  return result;
}

std::string TitleAndMessage(const RunResult& r) {
  size_t second = r.err.find('\n', r.err.find('\n') + 1);
  return r.err.substr(0, second);
}

namespace {

std::string ReadAll(int fd) {
  std::string s;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<size_t>(n));
  return s;
}

// This process's environment with `extra` laid over it.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& extra) {
  auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extra) replaced = replaced || name_of(x) == name_of(entry);
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

}  // namespace

RunResult RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& extra_env) {
  char out_name[] = "/tmp/orivane-out-XXXXXX";
  char err_name[] = "/tmp/orivane-err-XXXXXX";
  int out_fd = ::mkstemp(out_name);
  int err_fd = ::mkstemp(err_name);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
  posix_spawn_file_actions_adddup2(&actions, err_fd, 2);
  std::vector<std::string> all{ORIVANE_BINARY};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = EnvironmentWith(extra_env);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  RunResult result;
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  ::lseek(out_fd, 0, SEEK_SET);
  ::lseek(err_fd, 0, SEEK_SET);
  result.out = ReadAll(out_fd);
  result.err = ReadAll(err_fd);
  ::close(out_fd);
  ::close(err_fd);
  ::unlink(out_name);
  ::unlink(err_name);
  return result;
}

Screenshot::Screenshot(std::string bytes, int width, int height)
    : bytes_(std::move(bytes)), width_(width), height_(height), row_((static_cast<size_t>(width) * 3 + 3) & ~size_t{3}) {}

bool Screenshot::Complete() const { return bytes_.size() == 54 + row_ * static_cast<size_t>(height_); }

uint32_t Screenshot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const size_t at = 54 + row_ * static_cast<size_t>(height_ - 1 - y) + 3 * static_cast<size_t>(x);
  if (at + 3 > bytes_.size()) return 0;
  return static_cast<uint32_t>(static_cast<uint8_t>(bytes_[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes_[at + 1])) << 8 | static_cast<uint8_t>(bytes_[at]);
}

}  // namespace orivane::test
