#include "shell/input_dialog.h"

#include <algorithm>

#include "engine.h"
#include "player_waits.h"
#include "util/sjis.h"

namespace orivane {

bool AllFullWidth(std::string_view sjis) {
  for (size_t i = 0; i < sjis.size(); i += 2)
    if (!IsSjisLead(static_cast<uint8_t>(sjis[i]))) return false;
  return true;
}

std::string CutToInputBuffer(std::string text) {
  return std::string(CutAtCharacter(text, kMaxInputBytes));
}

std::optional<InputRefusal> CheckInputAnswer(const InputRequest& request, std::string_view answer) {
  if (request.max_length == kNumberInput) {
    for (size_t i = 0; i < answer.size(); ++i) {
      const char c = answer[i];
      if (!(c >= '0' && c <= '9') && !(c == '-' && i == 0)) return InputRefusal{"数値入力", "数値を入力してください。"};
    }
    return std::nullopt;
  }
  if (answer.empty()) return InputRefusal{"文字列入力", "文字列を入力してください。"};
  if (answer.size() > static_cast<size_t>(std::max<int32_t>(0, request.max_length)))
    return InputRefusal{"文字列入力", "文字列が長すぎます。"};
  if (request.full_width_only && !AllFullWidth(answer))
    return kFullWidthOnlyRefusal;
  return std::nullopt;
}

void ShowRefusal(Engine& engine, const InputRefusal& refusal) {
  Question box;
  box.title = refusal.title;
  box.text = refusal.text;
  box.notice = true;
  AskPlayer(engine, box);
}

std::string AskForInput(Engine& engine, const InputRequest& request) {
  Question dialog;
  dialog.buttons = Question::Buttons::kTextInput;
  dialog.title = request.max_length == kNumberInput ? "数値入力" : "文字列入力";
  dialog.text = SjisToUtf8(request.prompt);
  dialog.initial = SjisToUtf8(request.default_text);
  for (;;) {
    const Reply reply = AskPlayer(engine, dialog);
    if (reply.answer != Answer::kOk) {
      if (!request.default_text.empty()) return request.default_text;
      continue;  // Escape without a default leaves the dialog open
    }
    std::string answer = CutToInputBuffer(Utf8ToSjis(reply.text));
    const std::optional<InputRefusal> refusal = CheckInputAnswer(request, answer);
    if (!refusal) return answer;
    ShowRefusal(engine, *refusal);
    dialog.initial = reply.text;  // the refused answer stays in the edit box
  }
}

}  // namespace orivane
