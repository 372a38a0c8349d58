// A fixed delay line over a channel's samples, for the hand-over from an
// introduction to its loop part. The mixer starts a newly played channel at
// the beginning of its next buffer; the loop part must instead begin where
// the introduction ended inside the buffer being mixed. Delaying the loop
// part's whole stream by that many bytes puts its first sample exactly there,
// and because the delay carries over from one piece of the stream to the
// next, the loop's own repeats stay seamless too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orivane {

class HandoverDelay {
 public:
  // The longest delay: more than one mixing buffer of the output ever holds.
  static constexpr size_t kCapacity = 16384;

  // Starts delaying by `bytes` (cut to kCapacity), with silence in front.
  void Start(size_t bytes);

  // Delays the next `size` bytes of the stream in place: out come the bytes
  // that went in `bytes` earlier.
  void Process(uint8_t* data, size_t size);

 private:
  std::array<uint8_t, kCapacity> ring_{};
  size_t length_ = 0;
  size_t position_ = 0;
};

}  // namespace orivane
