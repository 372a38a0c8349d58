#include "support/movie_run.h"

#ifdef ORIVANE_TESTS_HAVE_FFMPEG

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "engine.h"
#include "graphics/window_picture.h"
#include "platform/ffmpeg/ffmpeg_movies.h"
#include "platform/headless/headless_platform.h"
#include "platform/scripted_player.h"
#include "shell/startup.h"

namespace orivane::test {
namespace {

class FramePlatform final : public HeadlessPlatform {
 public:
  FramePlatform(std::ostream& out, std::ostream& err, MovieService& movies,
                std::vector<ShownFrame>& frames)
      : HeadlessPlatform(out, err, false, nullptr, nullptr, &movies), frames_(frames) {}
  void Present(const DisplaySurface& d) override {
    frames_.push_back({Ticks(), d, engine ? CountFiles(engine->temp_dir.path()) : 0});
  }
  const Engine* engine = nullptr;

 private:
  static int CountFiles(const std::string& dir) {
    std::error_code error;
    int n = 0;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error))
      ++n;
    return n;
  }
  std::vector<ShownFrame>& frames_;
};

}  // namespace

MovieRun RunMovies(const GameDir& game, std::string_view input, uint32_t timeout_ms) {
  ScriptedPlayer player;
  std::string error;
  if (!player.Parse("input.txt", input, error)) throw std::runtime_error(error);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  // Back in the start directory however the run ends.
  struct Return {
    std::filesystem::path to;
    ~Return() { std::filesystem::current_path(to); }
  } back{previous};
  std::ostringstream out, err;
  MovieRun result;
  {
    FfmpegMovies movies;
    FramePlatform platform(out, err, movies, result.frames);
    platform.SetPlayer(std::move(player));
    Engine engine(platform);
    platform.engine = &engine;
    engine.timeout_ms = timeout_ms;
    result.status = RunEngine(engine);
    result.window = WindowPicture(engine);
    result.end_ticks = platform.Ticks();
  }
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace orivane::test

#endif  // ORIVANE_TESTS_HAVE_FFMPEG
