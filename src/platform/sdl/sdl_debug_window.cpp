#include "platform/sdl/sdl_debug_window.h"

namespace orivane {
namespace {

// The window's size when it opens; the player may resize it.
constexpr int kWidth = 420;
constexpr int kHeight = 240;

// The id of the window an event is for; 0 for events of no window.
Uint32 WindowIdOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return e.key.windowID;
    case SDL_TEXTEDITING:
      return e.edit.windowID;
    case SDL_TEXTINPUT:
      return e.text.windowID;
    case SDL_MOUSEMOTION:
      return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return e.button.windowID;
    case SDL_MOUSEWHEEL:
      return e.wheel.windowID;
    default:
      return 0;
  }
}

}  // namespace

bool SdlDebugWindow::Open(SDL_Window* game_window, int below, std::string& error) {
  if (window_) return true;
  int x = SDL_WINDOWPOS_UNDEFINED, y = SDL_WINDOWPOS_UNDEFINED;
  if (game_window) {
    SDL_GetWindowPosition(game_window, &x, &y);
    y += below;
  }
  window_ = SDL_CreateWindow("デバッグウィンドウ", x, y, kWidth, kHeight,
                             SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (window_ && !renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!window_ || !renderer_) {
    error = SDL_GetError();
    Close();
    return false;
  }
  if (!ui_.Init(window_, renderer_, error)) {
    Close();
    return false;
  }
  // SDL has one pointer for all windows: the game window's UI sets it (the
  // game's own picture, or ImGui's shapes), this one leaves it alone.
  ui_.KeepGamePointer(true);
  id_ = SDL_GetWindowID(window_);
  return true;
}

void SdlDebugWindow::Close() {
  ui_.Shutdown();  // before the renderer goes: the UI holds its font texture
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  renderer_ = nullptr;
  window_ = nullptr;
  id_ = 0;
}

bool SdlDebugWindow::Owns(const SDL_Event& event) const {
  return window_ && id_ != 0 && WindowIdOf(event) == id_;
}

void SdlDebugWindow::ProcessEvent(const SDL_Event& event, DebugPanel& panel) {
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
    Close();
    panel.open = false;
    return;
  }
  ui_.ProcessEvent(event);
}

void SdlDebugWindow::Frame(DebugPanel& panel) {
  if (!window_) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  ui_.DebugWindowFrame(panel);
  SDL_RenderPresent(renderer_);
}

}  // namespace orivane
