#include "platform/sdl_audio/handover_delay.h"

#include <algorithm>
#include <cstring>

namespace orivane {

void HandoverDelay::Start(size_t bytes) {
  length_ = std::min(bytes, kCapacity);
  position_ = 0;
  std::memset(ring_.data(), 0, length_);
}

void HandoverDelay::Process(uint8_t* data, size_t size) {
  if (length_ == 0) return;
  for (size_t i = 0; i < size; ++i) {
    std::swap(data[i], ring_[position_]);
    if (++position_ == length_) position_ = 0;
  }
}

}  // namespace orivane
