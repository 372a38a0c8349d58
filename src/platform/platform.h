// The one interface through which the engine reaches the machine it runs on:
// time, waiting, the player's input, message boxes, the window with its menu
// bar, and the story-text and error outputs. A real backend draws a window;
// the headless backend runs the same engine with a virtual clock and a
// scripted player.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio_service.h"
#include "platform/cursor_picture.h"
#include "platform/display_surface.h"
#include "platform/font_service.h"
#include "platform/menu.h"
#include "platform/movie_service.h"
#include "platform/player_event.h"

namespace orivane {

// What a wait for the player is waiting for; a scripted player that has run
// out of input treats click and page waits differently from the others; only
// a selection takes its `choose` lines and only a button wait its `button` lines.
enum class PlayerWait { kClick, kPage, kSelection, kButtons, kTextField, kOther };

// Where the pointer is and whether the left button is down, in game
// coordinates.
struct PointerNow {
  int32_t x = 0;
  int32_t y = 0;
  bool left_down = false;
};

// The answer to a wait for the player when nothing is pending.
struct IdleVerdict {
  enum class What { kKeepWaiting, kClickNow, kChoose, kTypeText, kEndRun };
  What what = What::kKeepWaiting;
  int status = 0;    // exit status with kEndRun
  // Why the run ends (kEndRun), naming the input file and line; with kChoose
  // the input line ("file:line"), for a note when the choice does not fit.
  std::string note;
  // kChoose: the option a scripted player picks, counted from 1 (at a
  // selection), or the button number (at a button wait).
  int choice = 0;
  // kTypeText in a text field: what a scripted player's `text` line types
  // (UTF-8); it replaces the field's text and confirms it.
  std::string text;
  // kKeepWaiting at a selection or button wait: when the scripted player's
  // next line (a `choose` or `button`) falls due, so that the wait sleeps no
  // longer than that.
  std::optional<uint32_t> due;
};

// One slider of a settings dialog.
struct QuestionSlider {
  std::string label;      // UTF-8, over the slider
  std::string low, high;  // UTF-8 words at its minimum and maximum ends (may be empty)
  int32_t min = 0, max = 100, value = 0;
  bool vertical = false;  // a vertical slider has its minimum at the top
  bool enabled = true;
};

// A modal box: a message with OK, Yes/No or OK/Cancel buttons, an input
// box, or a settings dialog (sliders, or a list to choose from, with OK and
// Cancel).
struct Question {
  enum class Buttons { kOk, kYesNo, kOkCancel, kTextInput, kSettings };
  enum class Icon { kNone, kInformation, kQuestion, kStop };
  std::string title;  // UTF-8
  std::string text;   // UTF-8: the message, or the prompt of an input box
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
  std::string initial;  // UTF-8: the initial text of an input box
  // An OK box that only tells (why an answer was refused): a scripted player
  // whose next line is not `answer ok` passes it by without taking a line.
  bool notice = false;
  // kSettings: the sliders with their values, or the entries of the list
  // (UTF-8) and the one chosen at first.
  std::vector<QuestionSlider> sliders;
  std::vector<std::string> choices;
  int chosen = 0;
  // kSettings: called with the sliders' values whenever the player moves
  // one, while the dialog is open (the volume dialog is heard at once).
  std::function<void(const std::vector<int32_t>&)> on_slide;
};

enum class Answer {
  kOk, kCancel, kYes, kNo,
  kNoPlayer,  // no player will ever answer (a scripted player out of input)
  kBadInput,  // the scripted player's next line does not answer this box
};

struct Reply {
  Answer answer = Answer::kOk;
  std::string text;  // UTF-8: the confirmed text of an input box
  std::vector<int32_t> values;  // kSettings: the sliders' values when the dialog closed
  int chosen = 0;               // kSettings: the list entry chosen
  std::string note;  // with kNoPlayer and kBadInput: why, naming the input file and line
};

// An edit field over the game picture (`textfield`): one line at a
// rectangle of game coordinates, in "ＭＳ ゴシック" of the given size.
struct TextFieldRequest {
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t font_width = 0, font_height = 0;
  std::string text;  // UTF-8: the field's text at first
};

// What the player has done with the debug window.
struct DebugWindowState {
  bool open = false;  // false once the player has closed it
  bool step = false;  // its ステップ実行 box is ticked
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Milliseconds since the engine started, on the engine clock. Never goes back.
  virtual uint32_t Ticks() = 0;

  // Sleeps until Ticks() reaches `deadline`, a player event is due or Wake()
  // is called, whichever is first. Returns at once when the deadline has
  // passed. Must not spin.
  virtual void WaitUntil(uint32_t deadline) = 0;

  // Sleeps until a player event is due or Wake() is called, with no deadline.
  // Called only after PlayerIdle answered kKeepWaiting.
  virtual void WaitForEvent() = 0;

  // Sleeps like WaitUntil (nullopt: no deadline) for something outside the
  // engine that another thread reports with Wake() (a child process that
  // ends). The sleep passes in real time even on a virtual clock, which
  // moves on by the time that went by.
  virtual void WaitForOutside(std::optional<uint32_t> deadline) = 0;

  // Ends the sleep in progress, or the next one, early. Safe to call from
  // any thread.
  virtual void Wake() = 0;

  // Asks the run to end because the process received `signal_number`, and
  // wakes the engine. Safe to call from any thread. The engine looks at
  // StopRequested in every wait and every thousand statements.
  void RequestStop(int signal_number) {
    stop_signal_.store(signal_number);
    Wake();
  }
  // The signal that asked the run to end; 0 when none did.
  int StopRequested() const { return stop_signal_.load(); }

  // Takes the next player event that is due, without waiting; false when none.
  virtual bool PollEvent(PlayerEvent& event) = 0;

  // Asked by a wait for the player when PollEvent has nothing. A person at a
  // window keeps waiting; a scripted player decides by its remaining input.
  // At a selection a `choose` line that has fallen due is taken (kChoose),
  // at a button wait a `button` line.
  // kEndRun comes with a note already written.
  virtual IdleVerdict PlayerIdle(PlayerWait kind) = 0;

  // Drops button releases and typed characters that the window system has
  // queued but the engine has not taken yet (a timed wait starts clean).
  // Scripted input is never dropped.
  virtual void DiscardPendingClicks() = 0;

  // The pointer as it is now, without taking any event: `as_handled` is what
  // the events the engine took so far said; what the player did since then
  // is folded in. A command that reads the pointer without waiting uses it,
  // so that the clicks meant for the next wait stay queued for it.
  virtual PointerNow PeekPointer(const PointerNow& as_handled) = 0;

  // Whether the key is held down now, and only while the window has the
  // keyboard focus.
  virtual bool KeyHeld(KeyId key) = 0;

  // Shows a modal box and returns the player's choice; other input waits
  // meanwhile. A scripted player takes its next `answer` or `text` line (an
  // input box also takes `key escape`, as kCancel; a settings dialog takes
  // `text` with its slider values separated by blanks, or with the text of
  // a list entry).
  virtual Reply Ask(const Question& question) = 0;

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

  // Shows the display surface when it differs from the one handed over last
  // (by Present or PresentChange) only within `changed` (an empty rectangle:
  // not at all). A window updates and redraws that part alone; by default
  // the whole surface is shown.
  virtual void PresentChange(const DisplaySurface& display, const SurfaceRect& changed) {
    (void)changed;
    Present(display);
  }

  // A note for the person running the engine (standard error).
  virtual void Note(std::string_view utf8) = 0;

  // The game's screen size: the window shows a surface of this size (at the
  // start and again after a script header chose another mode).
  virtual void SetScreenSize(int width, int height) = 0;

  // Makes the window visible (after the *define block has run).
  virtual void ShowWindow() = 0;

  // The window caption (UTF-8).
  virtual void SetCaption(std::string_view utf8) = 0;

  // The menu bar to show from now on (a copy is kept); nullptr: no menu bar.
  virtual void SetMenu(const Menu* menu) = 0;

  // Full screen on the desktop resolution, or back to a window. Returns false
  // when the switch failed and nothing changed.
  virtual bool SetFullScreen(bool on) = 0;

  // Minimises the window (leaving full screen is the backend's business).
  virtual void Minimize() = 0;

  // Puts the pointer at game coordinates x, y.
  virtual void WarpPointer(int x, int y) = 0;

  // Opens the debug window when it is not open, with `log_utf8` in its
  // read-only log field, or replaces the log text of the open one. The window
  // is modeless and answers while the game waits; the headless backend keeps
  // it unseen.
  virtual void ShowDebugLog(std::string_view log_utf8) = 0;

  // Whether the debug window is open (the player may close it) and whether
  // its step box is ticked.
  virtual DebugWindowState DebugWindow() = 0;

  // Opens the edit field over the game picture with the keyboard focus:
  // typed text, and an input method's composition (shown in the field where
  // the player types), go into the field and no longer reach the engine as
  // characters. Tab, Enter and Escape still come as kKeyDown events, the
  // pointer as usual. A scripted player's `text` line is taken by the wait
  // for the field (PlayerWait::kTextField).
  virtual void OpenTextField(const TextFieldRequest& field) = 0;
  // The open field's text now (UTF-8).
  virtual std::string TextFieldText() = 0;
  // Replaces the open field's text.
  virtual void SetTextFieldText(std::string_view utf8) = 0;
  // Closes the field; typed characters reach the engine again.
  virtual void CloseTextField() = 0;

  // The pointer's picture over the window from now on: `picture` (copied;
  // its sizes and hot spot are already checked), or the standard arrow for
  // nullptr.
  virtual void SetCursorPicture(const CursorPicture* picture) = 0;

  // The machine's fonts. Lives as long as the platform.
  virtual FontService& Fonts() = 0;

  // The machine's sound output. Lives as long as the platform.
  virtual AudioService& Audio() = 0;

  // The machine's movie player. Lives as long as the platform.
  virtual MovieService& Movies() = 0;

 private:
  std::atomic<int> stop_signal_{0};
};

}  // namespace orivane
