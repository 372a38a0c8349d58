// Test support: a game directory in a temporary folder, filled with scripts
// written in UTF-8 (stored as Shift-JIS), and headless runs of the engine on
// it, in process or as the real program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane::test {

struct RunResult {
  int status = -1;
  std::string out;  // story text (UTF-8)
  std::string err;  // error reports and notes (UTF-8)
};

class GameDir {
 public:
  GameDir();
  ~GameDir();
  GameDir(const GameDir&) = delete;
  GameDir& operator=(const GameDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `utf8` converted to Shift-JIS.
  void Write(const std::string& name, std::string_view utf8) const;
  void WriteBytes(const std::string& name, std::string_view bytes) const;
  std::string ReadBytes(const std::string& name) const;

  // Runs the engine in process on this directory (headless, virtual clock).
  RunResult Run(uint32_t timeout_ms = 3000) const;

 private:
  std::string path_;
};

// The first two lines of an error report: its title and its message.
std::string TitleAndMessage(const RunResult& r);

// Runs the orivane program with the arguments and collects its output. The
// program gets this process's environment, with each "NAME=value" of
// `extra_env` added or put in place of the variable of that name (e.g.
// SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE=PATH to hear its sound).
RunResult RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& extra_env = {});

// A BMP screenshot as the program writes it (a 54-byte header, then 24-bit
// rows bottom-up, each padded to four bytes), read back for its pixels.
class Screenshot {
 public:
  Screenshot(std::string bytes, int width, int height);
  // True when the file holds exactly a picture of the expected size.
  bool Complete() const;
  // Pixel (x, y from the top) as 0xRRGGBB; 0 outside the file.
  uint32_t Pixel(int x, int y) const;

 private:
  std::string bytes_;
  int width_, height_;
  size_t row_;
};

}  // namespace orivane::test
