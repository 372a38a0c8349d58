// Writes bits most significant first, the counterpart of BitReader. Used by
// the encoders of the archive tool. The last byte is padded with zero bits.
#pragma once

#include <cstdint>
#include <vector>

namespace orivane {

class BitWriter {
 public:
  void Write(int n, uint32_t value) {
    for (int i = n - 1; i >= 0; --i) {
      acc_ = static_cast<uint8_t>((acc_ << 1) | ((value >> i) & 1));
      if (++count_ == 8) {
        out_.push_back(acc_);
        acc_ = 0;
        count_ = 0;
      }
    }
  }
  std::vector<uint8_t> Finish() {
    if (count_) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    acc_ = 0;
    count_ = 0;
    return std::move(out_);
  }
  size_t bits() const { return out_.size() * 8 + static_cast<size_t>(count_); }

 private:
  std::vector<uint8_t> out_;
  uint8_t acc_ = 0;
  int count_ = 0;
};

}  // namespace orivane
