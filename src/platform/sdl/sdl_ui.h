// The parts of the window drawn with Dear ImGui: the menu bar and the modal
// boxes (messages, questions, input). One frame is drawn over whatever the
// renderer already holds.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/platform.h"

namespace orivane {

// A box that is open: the question and, once the player chose, the reply.
struct ModalBox {
  Question question;
  bool answered = false;
  Reply reply;
  std::array<char, 1024> text{};  // the input box's edit buffer (UTF-8)
  std::vector<int> values;        // a settings dialog's sliders as they stand
  int chosen = 0;                 // a settings dialog's list entry
};

// The debug window, drawn as a panel over the bottom of the game picture:
// the engine's log, read-only, and the step box. Its close box closes it.
struct DebugPanel {
  bool open = false;
  bool step = false;
  std::string log;  // UTF-8
};

class SdlUi {
 public:
  SdlUi() = default;
  SdlUi(const SdlUi&) = delete;
  SdlUi& operator=(const SdlUi&) = delete;
  ~SdlUi();

  // Sets up Dear ImGui on the window with a Japanese face when one is
  // installed. False with `error` set when that fails.
  bool Init(SDL_Window* window, SDL_Renderer* renderer, std::string& error);

  // Takes Dear ImGui down; called before the renderer goes.
  void Shutdown();

  // Height of the menu bar in pixels.
  int BarHeight() const { return bar_height_; }

  void ProcessEvent(const SDL_Event& event);

  // True while a menu is open or the pointer is over something ImGui draws,
  // judged by the last frame.
  bool WantsMouse() const;

  // Draws the menu bar (when `bar` is given), the debug panel (when it is
  // open) and the box (when `box` is given), and renders them. Menu commands
  // chosen in this frame are appended to `chosen`.
  void Frame(const Menu* bar, DebugPanel& debug, ModalBox* box, std::vector<int32_t>& chosen);

  // While the game has its own pointer picture, ImGui leaves the pointer
  // alone (it would put its arrow back every frame).
  void KeepGamePointer(bool keep);

 private:
  bool ready_ = false;
  int bar_height_ = 20;
};

}  // namespace orivane
