// Reads bits from a byte buffer, most significant bit of each byte first.
// Both archive decoders take their input through it. A read that needs more
// bits than remain fails and leaves nothing usable: the decoders stop there,
// which is how a short or truncated entry ends.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orivane {

class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : data_(data), end_(data + size) {}

  // Reads `n` bits (1 to 24); the first bit read is the most significant bit
  // of the result. Returns false when fewer than `n` bits remain.
  bool Read(int n, uint32_t& out) {
    if (bits_ < n) {
      Refill();
      if (bits_ < n) return false;
    }
    out = static_cast<uint32_t>(acc_ >> (64 - n));
    acc_ <<= n;
    bits_ -= n;
    return true;
  }

  // Fast path for decoders: makes at least `n` bits (up to 57) available when
  // the input has them, and returns how many there are.
  int Available(int n) {
    if (bits_ < n) Refill();
    return bits_;
  }
  // The next `n` bits without consuming them; only after Available(n) >= n.
  uint32_t Peek(int n) const { return static_cast<uint32_t>(acc_ >> (64 - n)); }
  void Consume(int n) {
    acc_ <<= n;
    bits_ -= n;
  }

  // Bytes taken from the input so far (including those still buffered).
  size_t bytes_fetched() const { return static_cast<size_t>(next_ - data_); }

 private:
  void Refill() {
    while (bits_ <= 56 && next_ < end_) {
      acc_ |= static_cast<uint64_t>(*next_++) << (56 - bits_);
      bits_ += 8;
    }
  }

  const uint8_t* data_;
  const uint8_t* next_ = data_;
  const uint8_t* end_;
  uint64_t acc_ = 0;  // unread bits, left-aligned
  int bits_ = 0;
};

}  // namespace orivane
