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
  FramePlatform(std::ostream& out, std::ostream& err, MovieService& movies, std::vector<ShownFrame>& frames)
      : HeadlessPlatform(out, err, false, nullptr, nullptr, &movies), frames_(frames) {}
  void Present(const DisplaySurface& d) override {
    frames_.push_back({Ticks(), d});
  }

 private:
  std::vector<ShownFrame>& frames_;
};

}  // namespace

MovieRun RunMovies(const GameDir& game, std::string_view input, const std::function<void(Engine&)>& inspect,
                   uint32_t timeout_ms) {
  ScriptedPlayer player;
  std::string error;
  if (!player.Parse("input.txt", input, error)) throw std::runtime_error(error);
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  std::ostringstream out, err;
  MovieRun result;
  {
    FfmpegMovies movies;
    FramePlatform platform(out, err, movies, result.frames);
    platform.SetPlayer(std::move(player));
    Engine engine(platform);
    engine.timeout_ms = timeout_ms;
    result.status = RunEngine(engine);
    result.window = WindowPicture(engine);
    if (inspect) inspect(engine);
    result.end_ticks = platform.Ticks();
  }
  std::filesystem::current_path(previous);
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace orivane::test

#endif  // ORIVANE_TESTS_HAVE_FFMPEG
