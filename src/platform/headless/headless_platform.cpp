#include "platform/headless/headless_platform.h"

#include <algorithm>

namespace orivane {
namespace {

const char* AnswerName(Answer a) {
  switch (a) {
    case Answer::kOk: return "ok";
    case Answer::kCancel: return "cancel";
    case Answer::kYes: return "yes";
    case Answer::kNo: return "no";
    default: return "none";
  }
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(std::ostream& story_out, std::ostream& error_out, bool realtime,
                                   FontService* fonts, AudioService* audio,
                                   MovieService* movies)
    : story_out_(story_out), error_out_(error_out), realtime_(realtime),
      start_(std::chrono::steady_clock::now()), fonts_(fonts), audio_(audio), movies_(movies) {}

uint32_t HeadlessPlatform::Ticks() {
  if (!realtime_) return virtual_now_;
  auto elapsed = std::chrono::steady_clock::now() - start_;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void HeadlessPlatform::AdvanceTo(uint32_t deadline) {
  if (!realtime_) {
    // Deadlines are compared as a signed difference so that the 49-day wrap of
    // a 32-bit millisecond clock does not stall a wait.
    if (static_cast<int32_t>(deadline - virtual_now_) > 0) virtual_now_ = deadline;
    return;
  }
  int32_t left = static_cast<int32_t>(deadline - Ticks());
  if (left > 0) SleepForWake(static_cast<uint32_t>(left));
}

void HeadlessPlatform::WaitUntil(uint32_t deadline) {
  // An answer line is taken only by a box, so a sleep does not end for it.
  if (auto due = player_.NextDue(); due && !player_.NextIsAnswer() && static_cast<int32_t>(*due - deadline) < 0)
    deadline = *due;
  AdvanceTo(deadline);
}

void HeadlessPlatform::WaitForEvent() {
  if (auto due = player_.NextDue()) {
    AdvanceTo(*due);
  } else if (!player_.HasPendingEvents()) {
    // Nothing the player will do: only another thread can end this wait.
    uint32_t slept = SleepForWake(std::nullopt);
    if (!realtime_) virtual_now_ += slept;
  }
}

void HeadlessPlatform::WaitForOutside(std::optional<uint32_t> deadline) {
  if (auto due = player_.NextDue();
      due && !player_.NextIsAnswer() && (!deadline || static_cast<int32_t>(*due - *deadline) < 0))
    deadline = due;
  std::optional<uint32_t> left;
  if (deadline) {
    int32_t ms = static_cast<int32_t>(*deadline - Ticks());
    left = ms > 0 ? static_cast<uint32_t>(ms) : 0;
  }
  // The outside world runs on the wall clock: the virtual clock moves on by
  // the time that really went by, and no further than the deadline.
  uint32_t slept = SleepForWake(left);
  if (!realtime_) virtual_now_ += left ? std::min(slept, *left) : slept;
}

void HeadlessPlatform::Wake() {
  {
    std::lock_guard<std::mutex> lock(wake_mutex_);
    woken_ = true;
  }
  wake_cv_.notify_all();
}

uint32_t HeadlessPlatform::SleepForWake(std::optional<uint32_t> real_ms) {
  auto begin = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(wake_mutex_);
  if (real_ms) {
    wake_cv_.wait_for(lock, std::chrono::milliseconds(*real_ms), [this] { return woken_; });
  } else {
    wake_cv_.wait(lock, [this] { return woken_; });
  }
  woken_ = false;
  auto slept = std::chrono::steady_clock::now() - begin;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(slept).count());
}

bool HeadlessPlatform::PollEvent(PlayerEvent& event) {
  if (!player_.PollEvent(Ticks(), event)) return false;
  if (event.kind == PlayerEvent::Kind::kKeyDown) held_.insert(event.key);
  if (event.kind == PlayerEvent::Kind::kKeyUp) held_.erase(event.key);
  return true;
}

PointerNow HeadlessPlatform::PeekPointer(const PointerNow& as_handled) {
  PointerNow now = as_handled;
  player_.PeekPointer(Ticks(), now);
  return now;
}

IdleVerdict HeadlessPlatform::PlayerIdle(PlayerWait kind) {
  if (player_.active()) return player_.Idle(kind, Ticks());
  IdleVerdict v;
  if (kind == PlayerWait::kClick || kind == PlayerWait::kPage) {
    v.what = IdleVerdict::What::kClickNow;
  } else {
    v.what = IdleVerdict::What::kEndRun;
    v.note = "orivane: no --input given; ending the run at a wait for the player";
  }
  return v;
}

Reply HeadlessPlatform::Ask(const Question& question) {
  Reply r;
  if (!player_.active()) {
    r.answer = Answer::kNoPlayer;
    r.note = "orivane: no --input given; the box \"" + question.title + "\" is left unanswered, ending the run";
  } else {
    for (;;) {
      for (KeyId key : player_.TakePendingReleases(Ticks())) held_.erase(key);
      if (!player_.NextIsRelease()) break;
      if (std::optional<uint32_t> due = player_.NextDue()) AdvanceTo(*due);
    }
    // The box waits for the next line's time, whatever the line: one that
    // does not answer the box ends the run anyway.
    if (std::optional<uint32_t> due = player_.NextDue()) AdvanceTo(*due);
    r = player_.TakeAnswer(question, Ticks());
  }
  std::string shown = "[" + question.title + "]" + (question.text.empty() ? "" : " " + question.text);
  if (r.answer != Answer::kNoPlayer && r.answer != Answer::kBadInput) {
    shown += " -> ";
    if (r.answer != Answer::kOk) {
      shown += AnswerName(r.answer);
    } else if (question.buttons == Question::Buttons::kTextInput) {
      shown += r.text;
    } else if (question.buttons == Question::Buttons::kSettings &&
               static_cast<size_t>(r.chosen) < question.choices.size()) {
      shown += question.choices[static_cast<size_t>(r.chosen)];
    } else if (question.buttons == Question::Buttons::kSettings) {
      for (size_t i = 0; i < r.values.size(); ++i) shown += (i ? " " : "") + std::to_string(r.values[i]);
    } else {
      shown += AnswerName(r.answer);
    }
  }
  Note(shown);
  return r;
}

void HeadlessPlatform::EchoStoryText(std::string_view utf8) {
  story_out_ << utf8 << '\n';
  story_out_.flush();
}

void HeadlessPlatform::ShowError(std::string_view title, std::string_view text) {
  error_out_ << title << '\n' << text;
  if (text.empty() || text.back() != '\n') error_out_ << '\n';
  error_out_.flush();
}

void HeadlessPlatform::Note(std::string_view utf8) {
  error_out_ << utf8 << '\n';
  error_out_.flush();
}

}  // namespace orivane
