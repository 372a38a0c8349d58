#include "platform/scripted_player.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "util/text_format.h"

namespace orivane {
namespace {

// A `key escape` line: what closes an input box without an answer.
bool IsEscapeKey(const ScriptedLine& line) {
  if (line.kind != ScriptedLine::Kind::kEvents || line.events.empty()) return false;
  for (const PlayerEvent& e : line.events) {
    const bool escape = e.kind == PlayerEvent::Kind::kCharacter ? e.value == 27 : e.key == kKeyEscape;
    if (!escape) return false;
  }
  return true;
}

// A `text` line as the answer to a settings dialog: the text of a list
// entry, or one number for each slider (kept within the slider's range).
// Fills `r` and returns true when the line fits the dialog.
bool SettingsAnswer(const Question& dialog, const std::string& text, Reply& r) {
  r.answer = Answer::kOk;
  if (!dialog.choices.empty()) {
    for (size_t i = 0; i < dialog.choices.size(); ++i)
      if (dialog.choices[i] == text) {
        r.chosen = static_cast<int>(i);
        return true;
      }
    return false;
  }
  std::istringstream in(text);
  for (const QuestionSlider& s : dialog.sliders) {
    long long v = 0;
    if (!(in >> v)) return false;
    r.values.push_back(static_cast<int32_t>(std::clamp<long long>(v, s.min, s.max)));
  }
  std::string more;
  return !(in >> more);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits off the first word; `rest` is what follows, trimmed.
std::string_view NextWord(std::string_view s, std::string_view& rest) {
  s = Trim(s);
  size_t end = 0;
  while (end < s.size() && s[end] != ' ' && s[end] != '\t') ++end;
  rest = Trim(s.substr(end));
  return s.substr(0, end);
}

bool ParseInt(std::string_view word, int64_t lo, int64_t hi, int64_t& out) {
  if (word.empty() || word.size() > 11) return false;
  std::string text(word);
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ParseKeyName(std::string_view name, KeyId& key) {
  static constexpr struct {
    std::string_view name;
    KeyId key;
  } kNames[] = {
      {"enter", kKeyEnter},   {"space", kKeySpace},     {"escape", kKeyEscape}, {"tab", kKeyTab},
      {"up", kKeyArrowUp},         {"down", kKeyArrowDown},       {"left", kKeyArrowLeft},     {"right", kKeyArrowRight},
      {"pageup", kKeyPageUp}, {"pagedown", kKeyPageDown}, {"ctrl", kKeyCtrl},   {"alt", kKeyAlt},
      {"shift", kKeyShift},   {"backspace", kKeyBackspace}, {"insert", kKeyInsert},
  };
  for (const auto& n : kNames) {
    if (n.name == name) {
      key = n.key;
      return true;
    }
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
    int64_t n = 0;
    if (ParseInt(name.substr(1), 1, 12, n)) {
      key = kKeyF1 + static_cast<KeyId>(n - 1);
      return true;
    }
  }
  if (name.size() == 1 && name[0] > 0x20 && name[0] < 0x7F) {
    char c = name[0];
    key = (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
    return true;
  }
  return false;
}

PlayerEvent MakeEvent(PlayerEvent::Kind kind) {
  PlayerEvent e;
  e.kind = kind;
  return e;
}

}  // namespace

bool ParseScriptedLine(std::string_view line, ScriptedLine& out, bool& skip, std::string& error) {
  using Kind = PlayerEvent::Kind;
  skip = false;
  std::string_view rest;
  std::string_view word = NextWord(line, rest);
  if (word.empty() || word[0] == '#') {
    skip = true;
    return true;
  }
  out = ScriptedLine{};
  if (word == "after") {
    int64_t ms = 0;
    std::string_view after_rest;
    std::string_view number = NextWord(rest, after_rest);
    if (!ParseInt(number, 0, 0x7FFFFFFF, ms)) {
      error = "`after` needs a number of milliseconds";
      return false;
    }
    out.delay_ms = static_cast<uint32_t>(ms);
    word = NextWord(after_rest, rest);
    if (word.empty()) {
      error = "`after` needs an event";
      return false;
    }
  }
  auto read_point = [&](int32_t& x, int32_t& y) {
    std::string_view r2, r3;
    std::string_view xs = NextWord(rest, r2);
    std::string_view ys = NextWord(r2, r3);
    int64_t vx = 0, vy = 0;
    if (!ParseInt(xs, -100000, 100000, vx) || !ParseInt(ys, -100000, 100000, vy) || !r3.empty()) {
      error = FormatBytes("`%s` needs two numbers X Y", {word});
      return false;
    }
    x = static_cast<int32_t>(vx);
    y = static_cast<int32_t>(vy);
    return true;
  };
  if (word == "click" || word == "rclick") {
    PlayerEvent e;
    if (!read_point(e.x, e.y)) return false;
    e.button = word == "click" ? PointerButton::kLeft : PointerButton::kRight;
    e.kind = Kind::kPointerMove;
    out.events.push_back(e);
    e.kind = Kind::kButtonDown;
    out.events.push_back(e);
    e.kind = Kind::kButtonUp;
    out.events.push_back(e);
  } else if (word == "move") {
    PlayerEvent e = MakeEvent(Kind::kPointerMove);
    if (!read_point(e.x, e.y)) return false;
    out.events.push_back(e);
  } else if (word == "wheel") {
    int64_t n = 0;
    if (!ParseInt(rest, -1000, 1000, n) || n == 0) {
      error = "`wheel` needs a non-zero number of notches";
      return false;
    }
    PlayerEvent e = MakeEvent(Kind::kWheel);
    e.value = static_cast<int32_t>(n * 120);
    out.events.push_back(e);
  } else if (word == "key" || word == "keydown" || word == "keyup") {
    KeyId key = 0;
    if (!ParseKeyName(rest, key)) {
      error = "unknown key name `" + std::string(rest) + "`";
      return false;
    }
    PlayerEvent e;
    e.key = key;
    if (word != "keyup") {
      e.kind = Kind::kKeyDown;
      out.events.push_back(e);
      // A typed letter keeps the case it was given in.
      int32_t ch = rest.size() == 1 ? static_cast<uint8_t>(rest[0]) : CharacterOfKey(key);
      if (ch != 0) {
        PlayerEvent c = MakeEvent(Kind::kCharacter);
        c.value = ch;
        out.events.push_back(c);
      }
    }
    if (word != "keydown") {
      e.kind = Kind::kKeyUp;
      out.events.push_back(e);
    }
  } else if (word == "menu") {
    int64_t id = 0;
    if (!ParseInt(rest, 0, 65535, id)) {
      error = "`menu` needs a command identifier";
      return false;
    }
    PlayerEvent e = MakeEvent(Kind::kMenuCommand);
    e.value = static_cast<int32_t>(id);
    out.events.push_back(e);
  } else if (word == "close") {
    if (!rest.empty()) {
      error = "`close` takes nothing after it";
      return false;
    }
    out.events.push_back(MakeEvent(Kind::kClose));
  } else if (word == "answer") {
    out.kind = ScriptedLine::Kind::kAnswer;
    if (rest == "yes") out.answer = Answer::kYes;
    else if (rest == "no") out.answer = Answer::kNo;
    else if (rest == "ok") out.answer = Answer::kOk;
    else if (rest == "cancel") out.answer = Answer::kCancel;
    else {
      error = "`answer` needs yes, no, ok or cancel";
      return false;
    }
  } else if (word == "choose") {
    int64_t n = 0;
    if (!ParseInt(rest, 1, kMaxScriptedChoice, n)) {
      error = "`choose` needs an option number from 1 to " + std::to_string(kMaxScriptedChoice);
      return false;
    }
    out.kind = ScriptedLine::Kind::kChoice;
    out.choice = static_cast<int>(n);
  } else if (word == "button") {
    int64_t n = 0;
    if (!ParseInt(rest, INT32_MIN, INT32_MAX, n)) {
      error = "`button` needs a button number";
      return false;
    }
    out.kind = ScriptedLine::Kind::kButton;
    out.choice = static_cast<int>(n);
  } else if (word == "text") {
    out.kind = ScriptedLine::Kind::kText;
    out.text = std::string(rest);
  } else {
    error = "unknown event `" + std::string(word) + "`";
    return false;
  }
  return true;
}

bool ScriptedPlayer::Load(const std::string& path, std::string& error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    error = "cannot read the input file " + path;
    return false;
  }
  std::ostringstream s;
  s << f.rdbuf();
  return Parse(path, s.str(), error);
}

bool ScriptedPlayer::Parse(const std::string& name, std::string_view text, std::string& error) {
  name_ = name;
  lines_.clear();
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    ScriptedLine parsed;
    bool skip = false;
    std::string problem;
    if (!ParseScriptedLine(line, parsed, skip, problem)) {
      error = LineName(number) + ": " + problem;
      return false;
    }
    if (skip) continue;
    parsed.line_number = number;
    lines_.push_back(std::move(parsed));
  }
  active_ = true;
  next_ = 0;
  last_time_ = 0;
  last_line_ = 0;
  pending_.clear();
  return true;
}

std::string ScriptedPlayer::LineName(int line_number) const {
  return name_ + ":" + std::to_string(line_number);
}

std::string ScriptedPlayer::EndOfInput() const {
  return "orivane: " + name_ + ": no more input after line " + std::to_string(last_line_);
}

std::optional<uint32_t> ScriptedPlayer::NextDue() const {
  if (!pending_.empty() || next_ >= lines_.size()) return std::nullopt;
  return last_time_ + lines_[next_].delay_ms;
}

bool ScriptedPlayer::PollEvent(uint32_t now, PlayerEvent& event) {
  if (pending_.empty()) {
    if (next_ >= lines_.size()) return false;
    const ScriptedLine& line = lines_[next_];
    if (line.kind != ScriptedLine::Kind::kEvents) return false;
    if (static_cast<int32_t>(now - (last_time_ + line.delay_ms)) < 0) return false;
    pending_.assign(line.events.begin(), line.events.end());
    last_time_ = now;
    last_line_ = line.line_number;
    ++next_;
  }
  event = pending_.front();
  pending_.pop_front();
  return true;
}

void ScriptedPlayer::PeekPointer(uint32_t now, PointerNow& pointer) const {
  for (const PlayerEvent& e : pending_) FoldPointerEvent(e, pointer);
  uint32_t line_time = last_time_;
  for (size_t i = next_; i < lines_.size(); ++i) {
    const ScriptedLine& line = lines_[i];
    if (line.kind != ScriptedLine::Kind::kEvents) break;
    if (static_cast<int32_t>(now - (line_time + line.delay_ms)) < 0) break;
    line_time = now;  // a line takes effect when it is polled, at `now`
    for (const PlayerEvent& e : line.events) FoldPointerEvent(e, pointer);
  }
}

namespace {

bool IsRelease(const PlayerEvent& e) {
  return e.kind == PlayerEvent::Kind::kKeyUp || e.kind == PlayerEvent::Kind::kButtonUp;
}

}  // namespace

bool ScriptedPlayer::NextIsRelease() const {
  if (!pending_.empty() || next_ >= lines_.size()) return false;
  const ScriptedLine& line = lines_[next_];
  return line.kind == ScriptedLine::Kind::kEvents && !line.events.empty() &&
         std::all_of(line.events.begin(), line.events.end(), IsRelease);
}

std::vector<KeyId> ScriptedPlayer::TakePendingReleases(uint32_t now) {
  std::vector<KeyId> keys;
  auto take = [&keys](const PlayerEvent& e) {
    if (e.kind == PlayerEvent::Kind::kKeyUp) keys.push_back(e.key);
  };
  while (!pending_.empty() && IsRelease(pending_.front())) {
    take(pending_.front());
    pending_.pop_front();
  }
  while (NextIsRelease() && static_cast<int32_t>(now - (last_time_ + lines_[next_].delay_ms)) >= 0) {
    for (const PlayerEvent& e : lines_[next_].events) take(e);
    last_time_ = now;
    last_line_ = lines_[next_].line_number;
    ++next_;
  }
  return keys;
}

IdleVerdict ScriptedPlayer::Idle(PlayerWait kind, uint32_t now) {
  IdleVerdict v;
  if (!pending_.empty()) return v;
  if (next_ < lines_.size()) {
    const ScriptedLine& line = lines_[next_];
    if (line.kind == ScriptedLine::Kind::kEvents) return v;
    const bool choice = line.kind == ScriptedLine::Kind::kChoice;
    const bool button = line.kind == ScriptedLine::Kind::kButton;
    const bool typing = line.kind == ScriptedLine::Kind::kText && kind == PlayerWait::kTextField;
    // A `choose` or `button` line is a decision for a later wait: the click
    // and page waits before it are clicked through.
    if ((choice || button) && (kind == PlayerWait::kClick || kind == PlayerWait::kPage)) {
      v.what = IdleVerdict::What::kClickNow;
      return v;
    }
    // The line this wait takes, once it is due: a choice at a selection, a
    // button at a button wait, a `text` line in a text field.
    if ((choice && kind == PlayerWait::kSelection) || (button && kind == PlayerWait::kButtons) ||
        typing) {
      const uint32_t due = last_time_ + line.delay_ms;
      if (static_cast<int32_t>(now - due) < 0) {
        v.due = due;
        return v;
      }
      v.what = typing ? IdleVerdict::What::kTypeText : IdleVerdict::What::kChoose;
      v.choice = line.choice;
      v.text = line.text;
      v.note = LineName(line.line_number);
      last_time_ = now;
      last_line_ = line.line_number;
      ++next_;
      return v;
    }
    v.what = IdleVerdict::What::kEndRun;
    v.status = 2;
    v.note = "orivane: " + LineName(line.line_number) +
             (choice   ? ": this line picks a choice, but no selection is open"
              : button ? ": this line picks a button, but no button wait is open"
                       : ": this line answers a message box, but none is open");
    return v;
  }
  if (kind == PlayerWait::kClick || kind == PlayerWait::kPage) {
    v.what = IdleVerdict::What::kClickNow;
    return v;
  }
  v.what = IdleVerdict::What::kEndRun;
  v.note = EndOfInput() + "; ending the run at a wait for the player";
  return v;
}

Reply ScriptedPlayer::TakeAnswer(const Question& question, uint32_t now) {
  Reply r;
  if (!pending_.empty() || next_ >= lines_.size()) {
    r.answer = Answer::kNoPlayer;
    r.note = EndOfInput() + "; the box \"" + question.title + "\" is left unanswered, ending the run";
    return r;
  }
  const ScriptedLine& line = lines_[next_];
  const bool answers_ok_or_cancel =
      line.kind == ScriptedLine::Kind::kAnswer && (line.answer == Answer::kOk || line.answer == Answer::kCancel);
  bool fits = false;
  switch (question.buttons) {
    case Question::Buttons::kOk:
      fits = line.kind == ScriptedLine::Kind::kAnswer && line.answer == Answer::kOk;
      break;
    case Question::Buttons::kYesNo:
      fits = line.kind == ScriptedLine::Kind::kAnswer && (line.answer == Answer::kYes || line.answer == Answer::kNo);
      break;
    case Question::Buttons::kOkCancel:
      fits = answers_ok_or_cancel;
      break;
    case Question::Buttons::kTextInput:
      fits = line.kind == ScriptedLine::Kind::kText || answers_ok_or_cancel || IsEscapeKey(line);
      break;
    case Question::Buttons::kSettings:
      fits = answers_ok_or_cancel || (line.kind == ScriptedLine::Kind::kText && SettingsAnswer(question, line.text, r));
      break;
  }
  if (!fits && question.notice) {
    r.answer = Answer::kOk;  // passed by; the line is left for what comes next
    return r;
  }
  if (!fits) {
    r.answer = Answer::kBadInput;
    r.note = "orivane: " + LineName(line.line_number) + ": this line does not answer the box \"" + question.title + "\"";
    return r;
  }
  if (question.buttons == Question::Buttons::kSettings) {
    if (line.kind == ScriptedLine::Kind::kAnswer) {
      r.answer = line.answer;
      for (const QuestionSlider& s : question.sliders) r.values.push_back(s.value);
      r.chosen = question.chosen;
    }
  } else if (line.kind == ScriptedLine::Kind::kText) {
    r.answer = Answer::kOk;
    r.text = line.text;
  } else if (IsEscapeKey(line)) {
    r.answer = Answer::kCancel;
  } else {
    r.answer = line.answer;
    if (r.answer == Answer::kOk && question.buttons == Question::Buttons::kTextInput) r.text = question.initial;
  }
  last_time_ = now;
  last_line_ = line.line_number;
  ++next_;
  return r;
}

}  // namespace orivane
