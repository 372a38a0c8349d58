#include "sound/movie_player.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine.h"
#include "engine_wait.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "script/error.h"
#include "sound/sound_files.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Real time a synchronous movie waits for its decoder at once before it
// looks at the player's input again.
constexpr uint32_t kDecoderWaitMs = 20;
// An async movie waits less for its decoder: the script is waiting too.
constexpr uint32_t kAsyncDecoderWaitMs = 5;
// The shortest time a looping movie's last frame stays (a movie of one frame).
constexpr uint32_t kMinLoopGapMs = 10;

// Draws the movie's current frame at its rectangle, clipped to the screen,
// over the picture the window is about to show. The game screen itself is
// never written: it comes back as it is when the movie ends.
void DrawCurrentFrame(Engine& engine, DisplaySurface& window) {
  const MovieState& m = engine.movie;
  if (!m.movie || !m.has_current) return;
  const int x0 = std::max(0, m.rect.x);
  const int y0 = std::max(0, m.rect.y);
  const int x1 = std::min(window.width, m.rect.x + m.current.width);
  const int y1 = std::min(window.height, m.rect.y + m.current.height);
  for (int y = y0; y < y1; ++y) {
    const uint8_t* from = m.current.RowFromTop(y - m.rect.y) + static_cast<size_t>(x0 - m.rect.x) * 3;
    std::memcpy(window.RowFromTop(y) + static_cast<size_t>(x0) * 3, from,
                static_cast<size_t>(x1 - x0) * 3);
  }
}

// Makes the frame waiting in the state the current one and shows it.
void ShowNextFrame(Engine& engine) {
  MovieState& m = engine.movie;
  std::swap(m.current, m.next);
  m.has_current = true;
  m.has_next = false;
  ShowOnWindow(engine, engine.display);
}

// Takes the next frame from the decoder into the state. At the movie's end
// a looping movie starts again from its first frame. False when there is no
// frame now (`ended` tells whether one will come).
bool TakeNext(Engine& engine, uint32_t wait_ms, bool& ended) {
  MovieState& m = engine.movie;
  ended = false;
  for (int rewinds = 0; rewinds < 2; ++rewinds) {
    switch (m.movie->TakeFrame(m.next, m.next_time, wait_ms)) {
      case MovieTake::kFrame:
        m.has_next = true;
        if (m.next_time > m.last_time) m.frame_gap = m.next_time - m.last_time;
        m.last_time = m.next_time;
        return true;
      case MovieTake::kNotYet:
        return false;
      case MovieTake::kEnded:
        if (!m.loop) {
          ended = true;
          return false;
        }
        m.movie->Rewind();
        m.started_at += m.last_time + std::max(m.frame_gap, kMinLoopGapMs);
        m.last_time = 0;
        break;
    }
  }
  // A looping movie that ends before its first frame has nothing to show.
  ended = true;
  return false;
}

// The wake list's view of an async movie: due when its next frame is; at
// once when it has none waiting (the decoder is asked again).
std::optional<uint32_t> NextAsyncFrame(Engine& engine) {
  const MovieState& m = engine.movie;
  if (!m.movie || !m.async || m.ended) return std::nullopt;
  if (!m.has_next) return engine.platform.Ticks();
  return m.started_at + m.next_time;
}

void RunAsyncFrame(Engine& engine) {
  MovieState& m = engine.movie;
  if (!m.movie || !m.async || m.ended) return;
  if (!m.has_next) {
    bool ended = false;
    if (!TakeNext(engine, kAsyncDecoderWaitMs, ended)) {
      m.ended = ended;
      return;
    }
  }
  if (TimeReached(engine.platform.Ticks(), m.started_at + m.next_time)) ShowNextFrame(engine);
}

// Whether the player or the run ends a synchronous movie now.
bool Interrupted(Engine& engine) {
  const MovieState& m = engine.movie;
  return (m.clickable && engine.input.left_clicked) || engine.interp.reset_request ||
         engine.interp.quit_request;
}

// Plays the open movie to its end, or until it is interrupted.
void PlayToEnd(Engine& engine) {
  MovieState& m = engine.movie;
  for (;;) {
    PumpAll(engine);
    if (Interrupted(engine)) return;
    if (!m.has_next) {
      bool ended = false;
      if (!TakeNext(engine, kDecoderWaitMs, ended)) {
        if (ended) return;
        continue;
      }
    }
    const uint32_t due = m.started_at + m.next_time;
    if (TimeReached(engine.platform.Ticks(), due)) {
      ShowNextFrame(engine);
    } else {
      SleepUntil(engine, due);
    }
  }
}

}  // namespace

void AttachMovies(Engine& engine) {
  engine.graphics.hooks.window_overlay = DrawCurrentFrame;
  engine.graphics.hooks.window_overlay_shown = [](const Engine& e) { return e.movie.movie && e.movie.has_current; };
  AddWakeSource(engine, WakeSource{NextAsyncFrame, RunAsyncFrame});
}

bool MovieActive(const Engine& engine) {
  return engine.movie.movie != nullptr;
}

void StopMovie(Engine& engine) {
  MovieState& m = engine.movie;
  const bool was_open = m.movie != nullptr;
  m.movie.reset();
  DeleteTemporary(m.temporary);
  m.covering = m.async = m.loop = m.ended = m.has_next = m.has_current = false;
  if (was_open && engine.display.width > 0) ShowOnWindow(engine, engine.display);
}

bool PlayMovie(Engine& engine, std::string_view name, const MovieRequest& request,
               MovieOpenFailure failure) {
  StopMovie(engine);
  std::optional<SoundFile> file = FindSoundFile(engine, name, SoundUse::kMusic);
  if (!file) return false;
  MovieState& m = engine.movie;
  m.temporary = file->temporary;
  m.rect = request.rect;
  if (m.rect.width <= 0 || m.rect.height <= 0)
    m.rect = MovieRect{0, 0, engine.screen_width, engine.screen_height};
  std::string why;
  m.movie = engine.platform.Movies().Open(file->path, m.rect.width, m.rect.height,
                                          engine.platform.Audio(),
                                          AudioLevel{engine.sound.music.base_attenuation}, why);
  if (!m.movie) {
    DeleteTemporary(m.temporary);
    if (failure == MovieOpenFailure::kAviReport)
      ReportError(engine, "%s", "AVI Error 1", {std::string_view(why)});
    engine.platform.Note("orivane: cannot play the movie " + SjisToUtf8(name) + ": " + why);
    return false;
  }
  m.clickable = request.clickable;
  m.loop = request.loop;
  m.async = request.async;
  m.started_at = engine.platform.Ticks();
  m.last_time = m.frame_gap = 0;
  if (m.async) return true;
  m.covering = true;
  // A click from before the movie does not end it.
  engine.input.left_clicked = false;
  engine.platform.DiscardPendingClicks();
  PlayToEnd(engine);
  StopMovie(engine);
  return true;
}

}  // namespace orivane
