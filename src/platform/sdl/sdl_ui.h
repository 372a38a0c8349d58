// The parts of a window drawn with Dear ImGui: the menu bar, the modal boxes
// (messages, questions, input) and the text field of the game window, or the
// whole of the debug window. Each window has its own ImGui context; every
// call makes this one's current. One frame is drawn over whatever the
// renderer already holds.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/platform.h"

struct ImGuiContext;
struct ImFont;

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

// The edit field over the game picture while the engine has one open.
struct TextFieldBox {
  SDL_Rect place{};          // where it lies, in the renderer's pixels
  int font_pixels = 16;      // the height of its characters, in the renderer's pixels
  std::array<char, 1024> text{};  // UTF-8
  // Set when the engine replaced the text: the field, which keeps its own
  // copy while it is being edited, takes it over in the next frame.
  bool replaced = false;
  std::string composition;   // an input method's text not yet committed (UTF-8)
  bool edited = false;       // set by a frame in which the player changed the text
  SDL_Rect caret{};          // where the caret stood in the last frame, in the renderer's pixels
};

// The debug window: the engine's log, read-only, and the step box. It is a
// window of its own, or a panel over the bottom of the game picture when no
// second window can be made; its close box closes it.
struct DebugPanel {
  bool open = false;
  bool step = false;
  std::string log;  // UTF-8
  bool log_changed = false;  // new text came: the log is scrolled to its end when next drawn
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
  // given), the text field (when `field` is given) and the box (when `box`
  // is given), and renders them. Menu commands chosen in this frame are
  // appended to `chosen`.
  void Frame(const Menu* bar, DebugPanel* debug, TextFieldBox* field, ModalBox* box, std::vector<int32_t>& chosen);

  // Draws the debug window filling the whole window, and renders it.
  void DebugWindowFrame(DebugPanel& debug);

  // Whether the key is one the text field uses for editing while it has the
  // keyboard (the field takes it; the game does not hear it).
  static bool FieldKey(SDL_Keycode key);

  // While the game has its own pointer picture, ImGui leaves the pointer
  // alone (it would put its arrow back every frame).
  void KeepGamePointer(bool keep);

 private:
  void Select() const;
  // Rebuilds the font atlas so that it holds the UI face and the text field's
  // face at `field_pixels` (between frames only).
  void BuildFonts(int field_pixels);
  void DrawTextField(TextFieldBox& field, bool modal_open);

  ImGuiContext* context_ = nullptr;
  bool ready_ = false;
  int bar_height_ = 20;
  std::string font_file_;              // the Japanese face, empty when none was found
  ImFont* field_font_ = nullptr;  // the text field's face; null until a field opened
  int field_font_pixels_ = 0;
};

}  // namespace orivane
