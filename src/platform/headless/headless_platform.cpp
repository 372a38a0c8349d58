#include "platform/headless/headless_platform.h"

#include <thread>

namespace orivane {

HeadlessPlatform::HeadlessPlatform(std::ostream& story_out, std::ostream& error_out, bool realtime)
    : story_out_(story_out), error_out_(error_out), realtime_(realtime),
      start_(std::chrono::steady_clock::now()) {}

uint32_t HeadlessPlatform::Ticks() {
  if (!realtime_) return virtual_now_;
  auto elapsed = std::chrono::steady_clock::now() - start_;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void HeadlessPlatform::WaitUntil(uint32_t deadline) {
  if (!realtime_) {
    // Deadlines are compared as a signed difference so that the 49-day wrap of
    // a 32-bit millisecond clock does not stall a wait.
    if (static_cast<int32_t>(deadline - virtual_now_) > 0) virtual_now_ = deadline;
    return;
  }
  int32_t left = static_cast<int32_t>(deadline - Ticks());
  if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
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
