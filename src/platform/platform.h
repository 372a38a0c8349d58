// The one interface through which the engine reaches the machine it runs on:
// time, waiting, the player's messages, and the story-text and error outputs.
// A real backend draws a window; the headless backend runs the same engine
// with a virtual clock and writes text to standard output.
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/display_surface.h"

namespace orivane {

class Platform {
 public:
  virtual ~Platform() = default;

  // Milliseconds since the engine started, on the engine clock. Never goes back.
  virtual uint32_t Ticks() = 0;

  // Sleeps until Ticks() reaches `deadline` or a player event arrives, whichever
  // is first. Returns at once when the deadline has passed. Must not spin.
  virtual void WaitUntil(uint32_t deadline) = 0;

  // One line of story text as text output prints it (UTF-8, no inline controls).
  // A windowed backend may ignore it: it sees the text drawn in the window.
  virtual void EchoStoryText(std::string_view utf8) = 0;

  // Shows a script error: a modal box with title and report text (both UTF-8)
  // that the player acknowledges. Returns when it has been closed.
  virtual void ShowError(std::string_view title, std::string_view text) = 0;

  // Shows the display surface in the window. Called after every change of
  // the screen (transition frames included). The headless backend keeps
  // nothing: a screenshot is taken from the engine's surface.
  virtual void Present(const DisplaySurface& display) = 0;

  // A note for the person running the engine (standard error when headless).
  virtual void Note(std::string_view utf8) = 0;
};

}  // namespace orivane
