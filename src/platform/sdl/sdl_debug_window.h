// The debug window as a second top-level window beside the game's: its own
// SDL window and renderer and its own ImGui context, showing the engine's
// log and the step box. The game window's backend routes the events of this
// window here by window id and draws it whenever it draws its own frames.
//
//   SdlDebugWindow debug;
//   if (!debug.Open(game_window, game_height, error)) ...draw a panel instead
//   if (debug.Owns(event)) debug.ProcessEvent(event, panel);
//   debug.Frame(panel);
#pragma once

#include <SDL.h>

#include <string>

#include "platform/sdl/sdl_ui.h"

namespace orivane {

class SdlDebugWindow {
 public:
  SdlDebugWindow() = default;
  SdlDebugWindow(const SdlDebugWindow&) = delete;
  SdlDebugWindow& operator=(const SdlDebugWindow&) = delete;
  ~SdlDebugWindow() { Close(); }

  // Opens the window at the game window's left edge, `below` pixels under
  // its top. False with `error` set when the window, its renderer or its UI
  // cannot be made (nothing stays open then).
  bool Open(SDL_Window* game_window, int below, std::string& error);
  // Closes the window; nothing happens when it is not open.
  void Close();
  bool IsOpen() const { return window_ != nullptr; }

  // Whether `event` belongs to this window (its window id is this window's).
  bool Owns(const SDL_Event& event) const;
  // Hands the event to the window's UI. The window's close button closes it
  // and marks the panel closed.
  void ProcessEvent(const SDL_Event& event, DebugPanel& panel);
  // Draws the panel's log and step box into the window.
  void Frame(DebugPanel& panel);

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  Uint32 id_ = 0;
  SdlUi ui_;
};

}  // namespace orivane
