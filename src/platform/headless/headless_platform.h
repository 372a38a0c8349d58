// A platform without window or sound device. Its clock is virtual: it starts at
// 0 and jumps forward when the engine sleeps, so a `wait 5000` costs no real
// time and every run is repeatable. With `realtime` the wall clock is used
// instead. The player is a scripted one (`--input`); without input, click and
// page waits get a click at once and any other wait for the player ends the
// run. Story text and notes go to the given streams; message boxes are
// written as notes. A wait for something outside the engine (a child
// process) or for nothing at all sleeps for real until Wake().
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <ostream>
#include <set>

#include "platform/platform.h"
#include "platform/scripted_player.h"

namespace orivane {

class HeadlessPlatform : public Platform {
 public:
  // `fonts`, `audio` and `movies` (kept, not owned) are the machine's font,
  // sound and movie services; without them the platform has no fonts, plays
  // no sound and opens no movie.
  HeadlessPlatform(std::ostream& story_out, std::ostream& error_out, bool realtime = false,
                   FontService* fonts = nullptr, AudioService* audio = nullptr,
                   MovieService* movies = nullptr);

  // The scripted player whose lines become the player's input.
  void SetPlayer(ScriptedPlayer player) { player_ = std::move(player); }

  uint32_t Ticks() override;
  void WaitUntil(uint32_t deadline) override;
  void WaitForEvent() override;
  void WaitForOutside(std::optional<uint32_t> deadline) override;
  void Wake() override;
  bool PollEvent(PlayerEvent& event) override;
  IdleVerdict PlayerIdle(PlayerWait kind) override;
  void DiscardPendingClicks() override {}
  PointerNow PeekPointer(const PointerNow& as_handled) override;
  bool KeyHeld(KeyId key) override { return held_.count(key) != 0; }
  Reply Ask(const Question& question) override;
  void EchoStoryText(std::string_view utf8) override;
  void ShowError(std::string_view title, std::string_view text) override;
  void Present(const DisplaySurface&) override {}
  void Note(std::string_view utf8) override;
  void SetScreenSize(int, int) override {}
  void ShowWindow() override {}
  void SetCaption(std::string_view) override {}
  void SetMenu(const Menu*) override {}
  bool SetFullScreen(bool) override { return true; }
  void Minimize() override {}
  void WarpPointer(int, int) override {}
  // The unseen debug window stays open, its step box never ticked.
  void ShowDebugLog(std::string_view) override { debug_open_ = true; }
  DebugWindowState DebugWindow() override { return {debug_open_, false}; }
  // Kept, so that a test can see what the window would show.
  // The field is unseen; a `text` line fills it through the wait.
  void OpenTextField(const TextFieldRequest& field) override { field_text_ = field.text; }
  std::string TextFieldText() override { return field_text_; }
  void SetTextFieldText(std::string_view utf8) override { field_text_ = std::string(utf8); }
  void CloseTextField() override { field_text_.clear(); }
  void SetCursorPicture(const CursorPicture* picture) override {
    cursor_ = picture ? std::optional<CursorPicture>(*picture) : std::nullopt;
  }
  // The last cursor picture set; nullptr while the pointer is the arrow.
  const CursorPicture* cursor_picture() const { return cursor_ ? &*cursor_ : nullptr; }
  FontService& Fonts() override { return fonts_ ? *fonts_ : no_fonts_; }
  AudioService& Audio() override { return audio_ ? *audio_ : no_audio_; }
  MovieService& Movies() override { return movies_ ? *movies_ : no_movies_; }

 private:
  // Moves the clock to `deadline` (virtual), or sleeps until it or Wake() (realtime).
  void AdvanceTo(uint32_t deadline);
  // Sleeps in real time until Wake() or, when given, `real_ms` have passed.
  // Returns the milliseconds slept.
  uint32_t SleepForWake(std::optional<uint32_t> real_ms);

  std::ostream& story_out_;
  std::ostream& error_out_;
  bool realtime_;
  uint32_t virtual_now_ = 0;
  std::chrono::steady_clock::time_point start_;
  ScriptedPlayer player_;
  std::set<KeyId> held_;
  FontService* fonts_;
  NoFonts no_fonts_;
  AudioService* audio_;
  NoAudio no_audio_;
  MovieService* movies_;
  NoMovies no_movies_;
  bool debug_open_ = false;
  std::string field_text_;  // the open text field's text (UTF-8)
  std::optional<CursorPicture> cursor_;

  std::mutex wake_mutex_;
  std::condition_variable wake_cv_;
  bool woken_ = false;  // Wake() was called since the last sleep ended
};

}  // namespace orivane
