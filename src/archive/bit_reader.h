// Reads bits from a byte buffer, most significant bit of each byte first.
// Both archive decoders take their input through it. A read that needs more
// bits than remain fails and leaves nothing usable: the decoders stop there,
// which is how a short or truncated entry ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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

  // Fast path for decoders: true when a whole 8-byte word of input is left,
  // so that RefillWord may run.
  bool CanRefillWord() const { return end_ - next_ >= 8; }
  // Tops the buffer up to at least 56 bits with one 8-byte load, without a
  // branch per byte; only when CanRefillWord(). (The buffer then holds fewer
  // than 64 bits: it is filled byte by byte, up to 64, only near the end.)
  void RefillWord() {
    uint64_t word;
    std::memcpy(&word, next_, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    word = __builtin_bswap64(word);  // the first byte read is the most significant
#endif
    // The bits below the whole bytes taken are the input's next bits too, so
    // a later refill writes the same values over them.
    acc_ |= word >> bits_;
    next_ += (63 - bits_) >> 3;
    bits_ |= 56;
  }

 private:
  void Refill() {
    if (CanRefillWord()) {
      RefillWord();
      return;
    }
    while (bits_ <= 56 && next_ < end_) {
      acc_ |= static_cast<uint64_t>(*next_++) << (56 - bits_);
      bits_ += 8;
    }
  }

  const uint8_t* data_;
  const uint8_t* next_ = data_;
  const uint8_t* end_;
  // Unread bits, left-aligned: bits_ of them, then either zeros or the bits
  // that follow in the input.
  uint64_t acc_ = 0;
  int bits_ = 0;
};

}  // namespace orivane
