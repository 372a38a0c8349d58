#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <iostream>
#include <optional>
#include <set>

#include "platform/sdl/sdl_debug_window.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_ui.h"
#include "platform/viewport.h"

namespace orivane {
namespace {

// True when the window lives on an X server without a window manager (a bare
// Xvfb, a kiosk), where nobody carries out a request for full screen.
bool WithoutWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return true;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int result = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                                  &count, &after, &data);
  bool managed = result == Success && data && count == 1;
  if (data) XFree(data);
  return !managed;
#else
  (void)window;
  return false;
#endif
}

// The pointer's position on the screen, asked of the window system. SDL's
// own answer on X is a cache that only raw device motion refreshes, and input
// injected through the X test extension (remote desktops, test drivers) has
// none, so the cache would keep the first position for ever.
void PointerOnScreen(SDL_Window* window, int& x, int& y) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    Window root = None, child = None;
    int wx = 0, wy = 0;
    unsigned int mask = 0;
    Display* display = info.info.x11.display;
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask)) return;
  }
#else
  (void)window;
#endif
  SDL_GetGlobalMouseState(&x, &y);
}

bool Reached(uint32_t now, uint32_t deadline) { return static_cast<int32_t>(now - deadline) >= 0; }

// Tries at opening the window, and the pause before the second (doubled
// before each further one): 50 + 100 + 200 + 400 ms at most in all.
constexpr int kOpenAttempts = 5;
constexpr Uint32 kFirstRetryPauseMs = 50;

// True when the renderer is OpenGL on a rasteriser that runs on the
// processor (a machine without a graphics card, a virtual X server).
bool DrawsOnTheProcessor(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
  // The renderer's context is current once it is made.
  using GetString = const unsigned char* (*)(unsigned int);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int kGlRenderer = 0x1F01;
  const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
  if (!name) return false;
  const char* n = reinterpret_cast<const char*>(name);
  return std::strstr(n, "llvmpipe") || std::strstr(n, "softpipe") || std::strstr(n, "Software Rasterizer") ||
         std::strstr(n, "swrast");
}

// Copies `utf8` into an edit buffer (the text field's, an input box's), cut
// at a character boundary when it does not fit.
void CopyIntoField(std::string_view utf8, std::array<char, 1024>& buffer) {
  size_t n = std::min(utf8.size(), buffer.size() - 1);
  if (n < utf8.size())
    while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
  utf8.copy(buffer.data(), n);
  buffer[n] = '\0';
}

// The keys that end or empty the text field on the engine's side.
bool EndsTextField(SDL_Keycode key) {
  return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_TAB;
}

class SdlPlatform final : public Platform {
 public:
  SdlPlatform(ScriptedPlayer player, FontService& fonts, AudioService& audio, MovieService& movies)
      : player_(std::move(player)), fonts_(fonts), audio_(audio), movies_(movies) {}
  ~SdlPlatform() override;

  // Opens the window, trying again a few times when it fails for a reason
  // that may pass. False with `error` set to SDL's last reason.
  bool Open(std::string& error);

  uint32_t Ticks() override { return SDL_GetTicks() - start_ticks_; }
  void WaitUntil(uint32_t deadline) override;
  void WaitForEvent() override;
  void WaitForOutside(std::optional<uint32_t> deadline) override { Sleep(deadline); }
  void Wake() override;
  bool PollEvent(PlayerEvent& event) override;
  IdleVerdict PlayerIdle(PlayerWait kind) override;
  void DiscardPendingClicks() override;
  PointerNow PeekPointer(const PointerNow& as_handled) override;
  bool KeyHeld(KeyId key) override { return held_.count(key) != 0; }
  Reply Ask(const Question& question) override;
  void EchoStoryText(std::string_view utf8) override;
  void ShowError(std::string_view title, std::string_view text) override;
  void Present(const DisplaySurface& display) override;
  void PresentChange(const DisplaySurface& display, const SurfaceRect& changed) override;
  void Note(std::string_view utf8) override;
  void SetScreenSize(int width, int height) override;
  void ShowWindow() override;
  void SetCaption(std::string_view utf8) override;
  void SetMenu(const Menu* menu) override;
  bool SetFullScreen(bool on) override;
  void Minimize() override { SDL_MinimizeWindow(window_); }
  void WarpPointer(int x, int y) override;
  void ShowDebugLog(std::string_view log_utf8) override;
  DebugWindowState DebugWindow() override { return {debug_.open, debug_.step}; }
  void OpenTextField(const TextFieldRequest& field) override;
  std::string TextFieldText() override { return field_ ? std::string(field_->text.data()) : std::string(); }
  void SetTextFieldText(std::string_view utf8) override;
  void CloseTextField() override;
  void SetCursorPicture(const CursorPicture* picture) override;
  FontService& Fonts() override { return fonts_; }
  AudioService& Audio() override { return audio_; }
  MovieService& Movies() override { return movies_; }

 private:
  // One try at the window; `passing` tells whether the failure may pass.
  bool TryOpen(std::string& error, bool& passing);
  // Starts SDL's video on a driver that shows windows on the display.
  bool StartVideo(std::string& error);
  // The window's renderer; sets partial_presents_.
  SDL_Renderer* CreateRenderer();
  // Undoes what a try at opening did.
  void CloseWindow();
  // Redraws and sends to the display only the window pixels that show the
  // game pixels `changed`; false when the whole window must be drawn.
  bool PresentOnly(const SurfaceRect& changed);
  // Copies the game pixels `part` of `d` into the texture.
  void Upload(const DisplaySurface& d, const SurfaceRect& part);
  bool BarShown() const { return menu_ && (!full_screen_ || !menu_rule_.hidden); }
  // Where the game picture lies in the window, in pixels.
  ViewRect PictureRect() const;
  // The window at the game's size plus the menu bar, centred.
  void FitWindowToGame();
  void Render();
  // Where the text field lies in the window, and its characters' height,
  // from its game rectangle and the picture's place and scale now.
  void PlaceTextField();
  // Tells the input method where the field's caret is, so that its
  // candidate window opens there.
  void PointInputMethodAtCaret();
  void HandleSdlEvent(const SDL_Event& e);
  // A key while the text field is open: the field takes the keys that edit
  // it and the typed text; Tab, Enter and Escape (and keys the field has no
  // use for) reach the engine.
  void HandleKeyInTextField(const SDL_Event& e);
  void HandlePointerButton(const SDL_Event& e);
  // True when the pointer stands elsewhere on the screen than when last asked:
  // a window that changes size reports motion without any.
  bool PointerMoved() {
    int x = 0, y = 0;
    PointerOnScreen(window_, x, y);
    bool moved = x != pointer_x_ || y != pointer_y_;
    pointer_x_ = x;
    pointer_y_ = y;
    return moved;
  }
  // Sends one scripted event through SDL, as the window system would.
  void SendThroughSdl(const PlayerEvent& e);
  // Sleeps until an SDL event, the next scripted line or `deadline` (when given).
  void Sleep(std::optional<uint32_t> deadline);
  void Push(PlayerEvent::Kind kind, int32_t value = 0) {
    PlayerEvent e;
    e.kind = kind;
    e.value = value;
    pending_.push_back(e);
  }

  ScriptedPlayer player_;
  FontService& fonts_;
  AudioService& audio_;
  MovieService& movies_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool texture_blank_ = true;      // nothing was uploaded since the texture was made
  bool partial_presents_ = false;  // the renderer draws into window memory sent by rectangles
  std::vector<uint32_t> upload_;   // the pixels of one upload, in the texture's format
  SDL_Cursor* game_cursor_ = nullptr;  // the game's pointer picture; null: the arrow
  SdlUi ui_;
  uint32_t start_ticks_ = 0;
  int game_w_ = 640;
  int game_h_ = 480;
  bool shown_ = false;
  bool full_screen_ = false;
  bool covered_by_hand_ = false;  // full screen as a borderless window over the screen
  std::optional<Menu> menu_;
  FullScreenMenuRule menu_rule_;
  std::deque<PlayerEvent> pending_;
  std::set<KeyId> held_;
  bool press_taken_by_ui_ = false;  // the button press went to the menu or a box
  int pointer_x_ = 0;  // the pointer's screen position when last asked
  int pointer_y_ = 0;
  bool injected_ = false;           // scripted events were pushed since the last empty poll
  int frames_owed_ = 0;             // frames to draw before sleeping (the UI reacts a frame late)
  ModalBox* box_ = nullptr;         // the box that is open
  DebugPanel debug_;
  SdlDebugWindow debug_window_;    // the debug window when it is a window of its own
  bool debug_window_failed_ = false;  // no second window could be made: the panel stands in
  TextFieldRequest field_request_;      // the open text field as the engine asked for it
  std::optional<TextFieldBox> field_;   // the open text field
  std::set<KeyId> field_keys_down_;  // keys pressed while the field is open whose press the engine heard
  bool typing_before_field_ = false;  // text input was on before the field opened
  SDL_Rect input_method_at_{};         // the caret rectangle last given to the input method
  Uint32 wake_event_ = SDL_USEREVENT;  // the event type Wake() pushes
};

SdlPlatform::~SdlPlatform() {
  debug_window_.Close();
  ui_.Shutdown();
  if (game_cursor_) {
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(game_cursor_);
  }
  CloseWindow();
  // Only what Open started: the sound service keeps SDL's audio until it is
  // destroyed after the platform.
  SDL_QuitSubSystem(SDL_INIT_TIMER | SDL_INIT_EVENTS);
  if (SDL_WasInit(0) == 0) SDL_Quit();
}

bool SdlPlatform::Open(std::string& error) {
  // The engine handles SIGINT and SIGTERM itself: they end the run, they are
  // not the player's close button.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
    error = SDL_GetError();
    return false;
  }
  // A display that is there but busy (an X server taking many clients at
  // once) may refuse a connection or a window now and take it a moment
  // later: such a failure is tried again after a growing pause.
  Uint32 pause_ms = kFirstRetryPauseMs;
  for (int attempt = 1;; ++attempt) {
    bool passing = false;
    std::string failed_before = error;
    if (TryOpen(error, passing)) {
      if (attempt > 1)
        Note("orivane: the window opened at try " + std::to_string(attempt) + " (before: " + failed_before + ")");
      return true;
    }
    CloseWindow();
    if (!passing || attempt == kOpenAttempts) {
      if (passing) error += " (" + std::to_string(attempt) + " tries)";
      return false;
    }
    SDL_Delay(pause_ms);
    pause_ms *= 2;
  }
}

bool SdlPlatform::TryOpen(std::string& error, bool& passing) {
  if (!StartVideo(error)) {
    passing = true;
    return false;
  }
  window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, game_w_, game_h_,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_) renderer_ = CreateRenderer();
  if (!window_ || !renderer_) {
    error = std::string(window_ ? "no renderer for the window: " : "the window could not be made: ") + SDL_GetError();
    passing = true;
    return false;
  }
  if (!ui_.Init(window_, renderer_, error)) return false;
  if (Uint32 type = SDL_RegisterEvents(1); type != static_cast<Uint32>(-1)) wake_event_ = type;
  start_ticks_ = SDL_GetTicks();
  SetScreenSize(game_w_, game_h_);
  return true;
}

bool SdlPlatform::StartVideo(std::string& error) {
  // A video driver a person chose stands. Otherwise only the drivers that
  // show a window on a display are tried: left to itself SDL falls back,
  // when the display cannot be reached, to one that draws into memory, and
  // the game would play in a window nobody sees.
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  std::vector<std::pair<const char*, const char*>> drivers;  // driver, the variable naming its display
  if (chosen && *chosen) {
    drivers.emplace_back(nullptr, nullptr);
  } else {
    if (const char* d = SDL_getenv("DISPLAY"); d && *d) drivers.emplace_back("x11", "DISPLAY");
    if (const char* d = SDL_getenv("WAYLAND_DISPLAY"); d && *d) drivers.emplace_back("wayland", "WAYLAND_DISPLAY");
  }
  if (drivers.empty()) {
    error = "no display is named (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    return false;
  }
  error.clear();
  for (const auto& [name, variable] : drivers) {
    // Over an empty SDL_VIDEODRIVER too, which SDL would read as "any".
    if (name) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, name, SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    if (!error.empty()) error += "; ";
    error += SDL_GetError();
    if (variable) error += std::string(" (") + variable + "=" + SDL_getenv(variable) + ")";
  }
  return false;
}

SDL_Renderer* SdlPlatform::CreateRenderer() {
  SDL_Renderer* renderer = SDL_CreateRenderer(window_, -1, 0);
  if (renderer && DrawsOnTheProcessor(renderer)) {
    // OpenGL computed on the processor redraws and sends the whole window
    // for every change. SDL's own software renderer draws into the window's
    // memory, from which a changed rectangle alone can be sent to the
    // display (PresentChange).
    SDL_DestroyRenderer(renderer);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer = nullptr;
  }
  if (!renderer) renderer = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  SDL_RendererInfo info;
  partial_presents_ = renderer && SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
  return renderer;
}

void SdlPlatform::CloseWindow() {
  ui_.Shutdown();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

ViewRect SdlPlatform::PictureRect() const {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  ViewRect area{0, 0, w, h};
  // In a window the bar has its own rows above the picture; in full screen
  // it is laid over the picture's top when it shows.
  if (!full_screen_ && menu_) {
    area.y = ui_.BarHeight();
    area.h -= ui_.BarHeight();
  }
  return FitPicture(game_w_, game_h_, area);
}

void SdlPlatform::FitWindowToGame() {
  if (full_screen_) return;
  SDL_SetWindowSize(window_, game_w_, game_h_ + (menu_ ? ui_.BarHeight() : 0));
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  frames_owed_ = 2;
}

void SdlPlatform::Render() {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (texture_) {
    ViewRect p = PictureRect();
    SDL_Rect dst{p.x, p.y, p.w, p.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  }
  std::vector<int32_t> chosen;
  if (field_) PlaceTextField();
  ui_.Frame(BarShown() ? &*menu_ : nullptr, debug_window_.IsOpen() ? nullptr : &debug_, field_ ? &*field_ : nullptr,
            box_, chosen);
  SDL_RenderPresent(renderer_);
  if (field_) PointInputMethodAtCaret();
  // The debug window is drawn with the game's frames, so it answers while
  // the game waits.
  debug_window_.Frame(debug_);
  for (int32_t id : chosen) Push(PlayerEvent::Kind::kMenuCommand, id);
}

void SdlPlatform::PlaceTextField() {
  ViewRect p = PictureRect();
  const TextFieldRequest& r = field_request_;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  GameToWindow(p, game_w_, game_h_, r.x, r.y, x0, y0);
  GameToWindow(p, game_w_, game_h_, r.x + r.width, r.y + r.height, x1, y1);
  field_->place = SDL_Rect{x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
  double scale = game_h_ > 0 ? static_cast<double>(p.h) / game_h_ : 1.0;
  field_->font_pixels = std::max(1, static_cast<int>(r.font_height * scale + 0.5));
}

void SdlPlatform::PointInputMethodAtCaret() {
  SDL_Rect& at = input_method_at_;
  const SDL_Rect& caret = field_->caret;
  if (at.x == caret.x && at.y == caret.y && at.w == caret.w && at.h == caret.h) return;
  at = caret;
  SDL_SetTextInputRect(&at);
}

void SdlPlatform::ShowDebugLog(std::string_view log_utf8) {
  if (debug_.log != log_utf8) {
    debug_.log = std::string(log_utf8);
    debug_.log_changed = true;
  }
  if (!debug_.open) {
    debug_.open = true;
    std::string error;
    if (!debug_window_failed_ && !debug_window_.Open(window_, game_h_ + 40, error)) {
      debug_window_failed_ = true;
      Note("the debug window cannot be opened (" + error + "): it is shown over the game picture");
    }
  }
  // Drawn when the engine next looks for events: a script that runs
  // thousands of commands between waits does not draw a frame for each.
  // The second frame scrolls the log to its new end.
  frames_owed_ = std::max(frames_owed_, 2);
}

void SdlPlatform::OpenTextField(const TextFieldRequest& field) {
  field_request_ = field;
  field_.emplace();
  CopyIntoField(field.text, field_->text);
  field_keys_down_.clear();
  PlaceTextField();
  // The input method composes only while text input is on.
  typing_before_field_ = SDL_IsTextInputActive();
  SDL_StartTextInput();
  input_method_at_ = SDL_Rect{};
  frames_owed_ = std::max(frames_owed_, 2);
}

void SdlPlatform::SetTextFieldText(std::string_view utf8) {
  if (!field_) return;
  CopyIntoField(utf8, field_->text);
  field_->replaced = true;
  frames_owed_ = std::max(frames_owed_, 2);
}

void SdlPlatform::CloseTextField() {
  if (!field_) return;
  field_.reset();
  field_keys_down_.clear();
  // Typed characters reach the engine through text input: it stays on when
  // it was on before (SDL turns it on with the window), or while a box asks.
  if (!typing_before_field_ && !box_) SDL_StopTextInput();
  frames_owed_ = std::max(frames_owed_, 2);
}

void SdlPlatform::HandleKeyInTextField(const SDL_Event& e) {
  KeyId key = KeyFromSdl(e.key.keysym.sym);
  if (key == 0) return;
  PlayerEvent ev;
  ev.key = key;
  if (e.type == SDL_KEYDOWN) {
    held_.insert(key);
    // While the input method composes, Enter and Escape are its own.
    bool composing = !field_->composition.empty();
    if (composing || (SdlUi::FieldKey(e.key.keysym.sym) && !EndsTextField(e.key.keysym.sym))) return;
    if (e.key.repeat && key == kKeyEnter && held_.count(kKeyAlt)) return;  // Alt+Enter switches once
    field_keys_down_.insert(key);
    ev.kind = PlayerEvent::Kind::kKeyDown;
  } else {
    held_.erase(key);
    // Only the release of a press the engine heard: not that of the key
    // which opened the field, nor of one the input method took.
    if (!field_keys_down_.erase(key)) return;
    ev.kind = PlayerEvent::Kind::kKeyUp;
  }
  pending_.push_back(ev);
}

void SdlPlatform::HandlePointerButton(const SDL_Event& e) {
  const SDL_MouseButtonEvent& b = e.button;
  if (b.button != SDL_BUTTON_LEFT && b.button != SDL_BUTTON_RIGHT) return;
  bool down = e.type == SDL_MOUSEBUTTONDOWN;
  if (down) {
    // The menu and the boxes take a press on themselves, or any press while
    // a menu is open (which closes it).
    // A press in the text field places its caret.
    bool in_field = field_ && b.x >= field_->place.x && b.y >= field_->place.y &&
                    b.x < field_->place.x + field_->place.w && b.y < field_->place.y + field_->place.h;
    // Draw a frame now, so that the UI sees the press before the release,
    // and ask it about this press, not about the pointer of its last frame
    // (which may still be over a drop-down that closed since).
    Render();
    press_taken_by_ui_ = box_ || in_field || ui_.WantsMouse() || (BarShown() && b.y < ui_.BarHeight());
  }
  if (press_taken_by_ui_ || box_) return;
  ViewRect p = PictureRect();
  if (b.x < p.x || b.y < p.y || b.x >= p.x + p.w || b.y >= p.y + p.h) return;
  PlayerEvent ev;
  ev.kind = down ? PlayerEvent::Kind::kButtonDown : PlayerEvent::Kind::kButtonUp;
  ev.button = b.button == SDL_BUTTON_LEFT ? PointerButton::kLeft : PointerButton::kRight;
  WindowToGame(p, game_w_, game_h_, b.x, b.y, ev.x, ev.y);
  pending_.push_back(ev);
}

void SdlPlatform::HandleSdlEvent(const SDL_Event& e) {
  frames_owed_ = 2;
  if (debug_window_.Owns(e)) {
    // Its close button closes only the debug window.
    debug_window_.ProcessEvent(e, debug_);
    return;
  }
  // The keys that end the text field are the engine's, not the field's: the
  // field would give up the keyboard on Enter, or undo the edit on Escape.
  bool field_ending_key = field_ && !box_ && (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) &&
                          EndsTextField(e.key.keysym.sym);
  if (!field_ending_key) ui_.ProcessEvent(e);
  if (box_ && e.type != SDL_WINDOWEVENT) return;  // a box is modal: the game hears nothing
  switch (e.type) {
    case SDL_QUIT:
      Push(PlayerEvent::Kind::kClose);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) held_.clear();
      // SDL reports the quit only when the last window closes: with the
      // debug window open the game window's close button comes as this.
      if (e.window.event == SDL_WINDOWEVENT_CLOSE && debug_window_.IsOpen() &&
          e.window.windowID == SDL_GetWindowID(window_))
        Push(PlayerEvent::Kind::kClose);
      break;
    case SDL_MOUSEMOTION: {
      if (full_screen_ && PointerMoved()) menu_rule_.OnPointer(e.motion.y);
      ViewRect p = PictureRect();
      if (ui_.WantsMouse() || e.motion.x < p.x || e.motion.y < p.y || e.motion.x >= p.x + p.w ||
          e.motion.y >= p.y + p.h)
        break;
      PlayerEvent ev;
      ev.kind = PlayerEvent::Kind::kPointerMove;
      WindowToGame(p, game_w_, game_h_, e.motion.x, e.motion.y, ev.x, ev.y);
      pending_.push_back(ev);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      HandlePointerButton(e);
      break;
    case SDL_MOUSEWHEEL:
      if (!ui_.WantsMouse() && e.wheel.y != 0) {
        int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        Push(PlayerEvent::Kind::kWheel, notches * 120);
      }
      break;
    case SDL_KEYDOWN: {
      if (field_) {
        HandleKeyInTextField(e);
        break;
      }
      KeyId key = KeyFromSdl(e.key.keysym.sym);
      if (key == 0) break;
      if (e.key.repeat && key == kKeyEnter && held_.count(kKeyAlt)) break;  // Alt+Enter switches once
      held_.insert(key);
      PlayerEvent ev;
      ev.kind = PlayerEvent::Kind::kKeyDown;
      ev.key = key;
      pending_.push_back(ev);
      // Keys without a text form type their control character here; the
      // others arrive as text input.
      if (int32_t ch = CharacterOfKey(key); ch != 0 && ch < 0x20) Push(PlayerEvent::Kind::kCharacter, ch);
      break;
    }
    case SDL_KEYUP: {
      if (field_) {
        HandleKeyInTextField(e);
        break;
      }
      KeyId key = KeyFromSdl(e.key.keysym.sym);
      if (key == 0) break;
      held_.erase(key);
      if (key == kKeyAlt && full_screen_) menu_rule_.OnAltReleased();
      PlayerEvent ev;
      ev.kind = PlayerEvent::Kind::kKeyUp;
      ev.key = key;
      pending_.push_back(ev);
      break;
    }
    case SDL_TEXTEDITING:
      if (field_) field_->composition = e.edit.text;
      break;
    case SDL_TEXTINPUT:
      // Typed text goes into the open field (ImGui has it); the input
      // method's composition ends with it.
      if (field_) {
        field_->composition.clear();
        break;
      }
      for (const char* c = e.text.text; *c; ++c)
        if (*c >= 0x20 && *c < 0x7F) Push(PlayerEvent::Kind::kCharacter, *c);
      break;
    default:
      break;
  }
}

void SdlPlatform::SendThroughSdl(const PlayerEvent& e) {
  using Kind = PlayerEvent::Kind;
  SDL_Event ev;
  SDL_zero(ev);
  Uint32 window_id = SDL_GetWindowID(window_);
  int wx = 0, wy = 0;
  GameToWindow(PictureRect(), game_w_, game_h_, e.x, e.y, wx, wy);
  switch (e.kind) {
    case Kind::kPointerMove:
      // The pointer really moves, so the menu bar sees it where the game does.
      SDL_WarpMouseInWindow(window_, wx, wy);
      ev.type = SDL_MOUSEMOTION;
      ev.motion.windowID = window_id;
      ev.motion.x = wx;
      ev.motion.y = wy;
      break;
    case Kind::kButtonDown:
    case Kind::kButtonUp:
      ev.type = e.kind == Kind::kButtonDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      ev.button.windowID = window_id;
      ev.button.button = e.button == PointerButton::kLeft ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
      ev.button.state = e.kind == Kind::kButtonDown ? SDL_PRESSED : SDL_RELEASED;
      ev.button.clicks = 1;
      ev.button.x = wx;
      ev.button.y = wy;
      break;
    case Kind::kWheel:
      ev.type = SDL_MOUSEWHEEL;
      ev.wheel.windowID = window_id;
      ev.wheel.y = e.value / 120;
      ev.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
      break;
    case Kind::kKeyDown:
    case Kind::kKeyUp:
      ev.type = e.kind == Kind::kKeyDown ? SDL_KEYDOWN : SDL_KEYUP;
      ev.key.windowID = window_id;
      ev.key.state = e.kind == Kind::kKeyDown ? SDL_PRESSED : SDL_RELEASED;
      ev.key.keysym.sym = SdlFromKey(e.key);
      ev.key.keysym.scancode = SDL_GetScancodeFromKey(ev.key.keysym.sym);
      break;
    case Kind::kCharacter:
      if (e.value < 0x20 || e.value >= 0x7F) return;  // typed by its key-down
      ev.type = SDL_TEXTINPUT;
      ev.text.windowID = window_id;
      ev.text.text[0] = static_cast<char>(e.value);
      break;
    case Kind::kMenuCommand:
      pending_.push_back(e);
      return;
    case Kind::kClose:
      ev.type = SDL_QUIT;
      break;
  }
  SDL_PushEvent(&ev);
  injected_ = true;
}

bool SdlPlatform::PollEvent(PlayerEvent& event) {
  for (;;) {
    if (!pending_.empty()) {
      event = pending_.front();
      pending_.pop_front();
      return true;
    }
    PlayerEvent scripted;
    if (player_.PollEvent(Ticks(), scripted)) {
      SendThroughSdl(scripted);
      continue;
    }
    SDL_Event e;
    if (SDL_PollEvent(&e)) {
      HandleSdlEvent(e);
      // The field sees a key only in a frame drawn while it is down.
      if (field_ && e.type == SDL_KEYDOWN) Render();
      continue;
    }
    if (injected_) {
      // SDL's poll stops at the marker it left at the end of the events it
      // had gathered; what was pushed after it comes with the next poll.
      injected_ = false;
      continue;
    }
    if (frames_owed_ > 0) {
      --frames_owed_;
      Render();
      continue;
    }
    return false;
  }
}

void SdlPlatform::Sleep(std::optional<uint32_t> deadline) {
  if (!pending_.empty() || frames_owed_ > 0) return;
  if (auto due = player_.NextDue(); due && (!deadline || static_cast<int32_t>(*due - *deadline) < 0)) deadline = due;
  if (!deadline) {
    SDL_WaitEvent(nullptr);
    return;
  }
  int32_t left = static_cast<int32_t>(*deadline - Ticks());
  if (left > 0) SDL_WaitEventTimeout(nullptr, left);
}

void SdlPlatform::WaitUntil(uint32_t deadline) { Sleep(deadline); }

void SdlPlatform::WaitForEvent() { Sleep(std::nullopt); }

void SdlPlatform::Wake() {
  // SDL's event queue is thread-safe, and a pushed event ends SDL's wait.
  SDL_Event e;
  SDL_zero(e);
  e.type = wake_event_;
  SDL_PushEvent(&e);
}

IdleVerdict SdlPlatform::PlayerIdle(PlayerWait kind) {
  // Once the scripted input has ended a person plays on.
  if (player_.active() && !player_.Finished()) return player_.Idle(kind, Ticks());
  return IdleVerdict{};
}

PointerNow SdlPlatform::PeekPointer(const PointerNow& as_handled) {
  PointerNow now = as_handled;
  // What the engine has not taken yet: the window's own queue first, then,
  // while an input file plays, its lines that have fallen due.
  for (const PlayerEvent& e : pending_) FoldPointerEvent(e, now);
  if (player_.active() && !player_.Finished()) {
    player_.PeekPointer(Ticks(), now);
    return now;
  }
  // A person: the pointer as the window system has it now.
  SDL_PumpEvents();
  int wx = 0, wy = 0;
  const Uint32 buttons = SDL_GetMouseState(&wx, &wy);
  const ViewRect p = PictureRect();
  if (SDL_GetMouseFocus() == window_ && wx >= p.x && wy >= p.y && wx < p.x + p.w && wy < p.y + p.h) {
    WindowToGame(p, game_w_, game_h_, wx, wy, now.x, now.y);
    now.left_down = (buttons & SDL_BUTTON_LMASK) != 0;
  }
  return now;
}

void SdlPlatform::DiscardPendingClicks() {
  // Only what the window system queued; scripted events are never dropped.
  if (player_.active() && !player_.Finished()) return;
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_MOUSEBUTTONUP);
  SDL_FlushEvent(SDL_TEXTINPUT);
  std::erase_if(pending_, [](const PlayerEvent& e) {
    return e.kind == PlayerEvent::Kind::kButtonUp || e.kind == PlayerEvent::Kind::kCharacter;
  });
}

Reply SdlPlatform::Ask(const Question& question) {
  if (!shown_) ShowWindow();
  ModalBox box;
  box.question = question;
  CopyIntoField(question.initial, box.text);
  box_ = &box;
  frames_owed_ = 3;  // the box needs a frame to open and one to size itself
  for (;;) {
    for (KeyId key : player_.TakePendingReleases(Ticks())) held_.erase(key);
    if (player_.active() && !player_.Finished() && !player_.NextIsRelease()) {
      std::optional<uint32_t> due = player_.NextDue();
      if (!player_.NextIsAnswer() || (due && Reached(Ticks(), *due))) {
        box.reply = player_.TakeAnswer(question, Ticks());
        break;
      }
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      HandleSdlEvent(e);
      // The box sees a key only in a frame drawn while it is down: a key
      // pressed and released before the next frame would be lost (on a busy
      // machine, or typed quickly). Draw one at once, as for a button press.
      if (e.type == SDL_KEYDOWN) Render();
      if (box.answered) break;
    }
    if (frames_owed_ > 0) {
      --frames_owed_;
      Render();
    }
    if (box.answered) break;
    if (StopRequested()) {
      box.reply.answer = Answer::kCancel;  // the engine ends the run as soon as the box is gone
      break;
    }
    Sleep(std::nullopt);
  }
  box_ = nullptr;
  pending_.clear();  // nothing the player did while the box was open reaches the game
  SDL_FlushEvent(SDL_TEXTINPUT);  // nor the character of the key that answered it
  frames_owed_ = 2;
  return box.reply;
}

void SdlPlatform::EchoStoryText(std::string_view utf8) {
  std::cout << utf8 << '\n';
  std::cout.flush();
}

void SdlPlatform::ShowError(std::string_view title, std::string_view text) {
  std::cerr << title << '\n' << text;
  if (text.empty() || text.back() != '\n') std::cerr << '\n';
  std::cerr.flush();
  // A scripted run is not held up by the box unless its input answers it.
  if (player_.active() && !player_.NextIsAnswer()) return;
  Question q;
  q.title = std::string(title);
  q.text = std::string(text);
  q.icon = Question::Icon::kStop;
  Ask(q);
}

void SdlPlatform::Upload(const DisplaySurface& d, const SurfaceRect& part) {
  upload_.resize(static_cast<size_t>(part.width) * part.height);
  uint32_t* out = upload_.data();
  for (int y = part.y; y < part.y + part.height; ++y) {
    const uint8_t* src = d.RowFromTop(y) + static_cast<size_t>(part.x) * 3;
    for (int x = 0; x < part.width; ++x, src += 3)
      *out++ = 0xFF000000u | (uint32_t{src[2]} << 16) | (uint32_t{src[1]} << 8) | src[0];
  }
  SDL_Rect rect{part.x, part.y, part.width, part.height};
  SDL_UpdateTexture(texture_, &rect, upload_.data(), part.width * 4);
}

void SdlPlatform::Present(const DisplaySurface& d) {
  if (!texture_ || d.width != game_w_ || d.height != game_h_) return;
  Upload(d, SurfaceRect{0, 0, d.width, d.height});
  texture_blank_ = false;
  Render();
}

void SdlPlatform::PresentChange(const DisplaySurface& d, const SurfaceRect& changed) {
  if (!texture_ || d.width != game_w_ || d.height != game_h_) return;
  const bool inside = changed.x >= 0 && changed.y >= 0 && changed.width >= 0 && changed.height >= 0 &&
                      changed.x + changed.width <= d.width && changed.y + changed.height <= d.height;
  if (texture_blank_ || !inside) {
    Present(d);
    return;
  }
  if (changed.Empty()) return;
  Upload(d, changed);
  if (!PresentOnly(changed)) Render();
}

bool SdlPlatform::PresentOnly(const SurfaceRect& c) {
  // Only while nothing but the picture covers the picture's pixels, and the
  // window holds a whole frame that is still right elsewhere.
  if (!partial_presents_ || !shown_ || frames_owed_ > 0 || box_ || field_ || ui_.WantsMouse() ||
      (debug_.open && !debug_window_.IsOpen()) || (full_screen_ && BarShown()))
    return false;
  int out_w = 0, out_h = 0, window_w = 0, window_h = 0;
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  SDL_GetWindowSize(window_, &window_w, &window_h);
  if (out_w != window_w || out_h != window_h) return false;
  // The window pixels that show the changed game pixels, with a margin of
  // one game pixel and two window pixels on every side (a smoothing scaler
  // blends neighbours), within the picture.
  const ViewRect p = PictureRect();
  if (p.w <= 0 || p.h <= 0 || game_w_ <= 0 || game_h_ <= 0) return false;
  const int margin_x = p.w / game_w_ + 2, margin_y = p.h / game_h_ + 2;
  auto to_x = [&](int64_t x) { return static_cast<int>(p.x + x * p.w / game_w_); };
  auto to_y = [&](int64_t y) { return static_cast<int>(p.y + y * p.h / game_h_); };
  const int x0 = std::max(p.x, to_x(c.x) - margin_x), y0 = std::max(p.y, to_y(c.y) - margin_y);
  const int x1 = std::min(p.x + p.w, to_x(int64_t{c.x} + c.width) + margin_x);
  const int y1 = std::min(p.y + p.h, to_y(int64_t{c.y} + c.height) + margin_y);
  if (x1 <= x0 || y1 <= y0) return true;
  SDL_Rect part{x0, y0, x1 - x0, y1 - y0};
  SDL_Rect whole{p.x, p.y, p.w, p.h};
  // The whole picture drawn through a clip: the part is scaled exactly as
  // in a full frame.
  SDL_RenderSetClipRect(renderer_, &part);
  SDL_RenderCopy(renderer_, texture_, nullptr, &whole);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderFlush(renderer_);
  return SDL_UpdateWindowSurfaceRects(window_, &part, 1) == 0;
}

void SdlPlatform::Note(std::string_view utf8) {
  std::cerr << utf8 << '\n';
  std::cerr.flush();
}

void SdlPlatform::SetScreenSize(int width, int height) {
  if (!texture_ || width != game_w_ || height != game_h_) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    texture_blank_ = true;
    game_w_ = width;
    game_h_ = height;
  }
  FitWindowToGame();
}

void SdlPlatform::ShowWindow() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  shown_ = true;
  frames_owed_ = 2;
}

void SdlPlatform::SetCaption(std::string_view utf8) { SDL_SetWindowTitle(window_, std::string(utf8).c_str()); }

void SdlPlatform::SetMenu(const Menu* menu) {
  bool had = menu_.has_value();
  if (menu) {
    menu_ = *menu;
  } else {
    menu_.reset();
  }
  if (had != menu_.has_value()) FitWindowToGame();
  frames_owed_ = 2;
}

bool SdlPlatform::SetFullScreen(bool on) {
  if (on && WithoutWindowManager(window_)) {
    // Nobody would carry the request out: cover the screen with a borderless
    // window instead.
    SDL_Rect screen;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &screen) != 0) return false;
    SDL_SetWindowBordered(window_, SDL_FALSE);
    SDL_SetWindowSize(window_, screen.w, screen.h);
    SDL_SetWindowPosition(window_, screen.x, screen.y);
    covered_by_hand_ = true;
  } else if (on) {
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  } else if (covered_by_hand_) {
    SDL_SetWindowBordered(window_, SDL_TRUE);
    covered_by_hand_ = false;
  } else if (SDL_SetWindowFullscreen(window_, 0) != 0) {
    return false;
  }
  full_screen_ = on;
  // As if the pointer stood in the top row: the bar shows until it moves.
  menu_rule_.hidden = false;
  PointerMoved();
  if (!on) FitWindowToGame();
  frames_owed_ = 2;
  return true;
}

void SdlPlatform::WarpPointer(int x, int y) {
  int wx = 0, wy = 0;
  GameToWindow(PictureRect(), game_w_, game_h_, x, y, wx, wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlPlatform::SetCursorPicture(const CursorPicture* picture) {
  SDL_Cursor* made = nullptr;
  if (picture && picture->width > 0 && picture->height > 0 &&
      picture->rgba.size() == static_cast<size_t>(picture->width) * picture->height * 4) {
    // SDL reads the pixels only while it makes the cursor.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(picture->rgba.data()), picture->width, picture->height, 32,
        picture->width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface) {
      made = SDL_CreateColorCursor(surface, picture->hot_x, picture->hot_y);
      SDL_FreeSurface(surface);
    }
    if (!made) Note(std::string("the pointer picture cannot be made: ") + SDL_GetError());
  }
  // The old cursor may be freed only once it is no longer the current one.
  SDL_SetCursor(made ? made : SDL_GetDefaultCursor());
  if (game_cursor_) SDL_FreeCursor(game_cursor_);
  game_cursor_ = made;
  ui_.KeepGamePointer(made != nullptr);
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(ScriptedPlayer player, FontService& fonts, AudioService& audio,
                                            MovieService& movies, std::string& error) {
  auto platform = std::make_unique<SdlPlatform>(std::move(player), fonts, audio, movies);
  if (!platform->Open(error)) return nullptr;
  return platform;
}

}  // namespace orivane
