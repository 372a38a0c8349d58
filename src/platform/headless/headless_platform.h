// A platform without window or sound device. Its clock is virtual: it starts at
// 0 and jumps forward when the engine sleeps, so a `wait 5000` costs no real
// time and every run is repeatable. With `realtime` the wall clock is used
// instead. Story text and notes go to the given streams.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

#include "platform/platform.h"

namespace orivane {

class HeadlessPlatform final : public Platform {
 public:
  HeadlessPlatform(std::ostream& story_out, std::ostream& error_out, bool realtime = false);

  uint32_t Ticks() override;
  void WaitUntil(uint32_t deadline) override;
  void EchoStoryText(std::string_view utf8) override;
  void ShowError(std::string_view title, std::string_view text) override;
  void Present(const DisplaySurface&) override {}
  void Note(std::string_view utf8) override;

 private:
  std::ostream& story_out_;
  std::ostream& error_out_;
  bool realtime_;
  uint32_t virtual_now_ = 0;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace orivane
