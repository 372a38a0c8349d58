// The input dialog of `input`, `inputstr` and `inputnum`: a prompt, an edit
// box and 決定. An answer the dialog's rules refuse brings up a message box
// saying why, and the dialog stays open for another answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orivane {

struct Engine;

// `max_length` of the number mode (`inputnum`).
inline constexpr int32_t kNumberInput = -1;
// The dialog's answer buffer holds this many bytes of Shift-JIS; a longer
// answer is cut there, at a character's start.
inline constexpr size_t kMaxInputBytes = 255;

struct InputRequest {
  std::string prompt;        // Shift-JIS
  std::string default_text;  // Shift-JIS; empty for `inputstr` and `inputnum`
  int32_t max_length = 0;    // bytes; kNumberInput for the number mode
  bool full_width_only = false;
};

// Why an answer is refused: the message box's title and text (UTF-8).
struct InputRefusal {
  std::string title;
  std::string text;
};

// The dialog's check of an answer (Shift-JIS); nullopt when it is accepted.
std::optional<InputRefusal> CheckInputAnswer(const InputRequest& request, std::string_view answer);

// The message box that says why an answer was refused; the dialog (or the
// text field) then takes another answer.
void ShowRefusal(Engine& engine, const InputRefusal& refusal);

// The refusal of an answer with a half-width character where only
// full-width ones are allowed.
inline const InputRefusal kFullWidthOnlyRefusal{"文字列入力", "全て全角文字で入力してください。"};

// True when every character of the Shift-JIS text, taken two bytes at a
// time, begins with a lead byte (the full-width-only rule of the dialog and
// of `textfield`).
bool AllFullWidth(std::string_view sjis);

// `text` cut to kMaxInputBytes without splitting a two-byte character.
std::string CutToInputBuffer(std::string text);

// Shows the dialog until it closes with an answer, and returns it
// (Shift-JIS). Escape or the close box closes it with the default text when
// there is one and does nothing otherwise.
std::string AskForInput(Engine& engine, const InputRequest& request);

}  // namespace orivane
