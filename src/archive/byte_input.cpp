#include "archive/byte_input.h"

#include <cstring>

namespace orivane {

ByteInput::ByteInput(const uint8_t* data, size_t size) : next_(data), end_(data + size) {}

ByteInput::ByteInput(std::FILE* file) : file_(file), buffer_(64 * 1024) {}

bool ByteInput::Refill() {
  if (!file_) return false;
  size_t n = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  next_ = buffer_.data();
  end_ = next_ + n;
  return n > 0;
}

bool ByteInput::ReadU8(uint8_t& out) {
  if (next_ == end_ && !Refill()) return false;
  out = *next_++;
  return true;
}

bool ByteInput::ReadU16BE(uint16_t& out) {
  uint8_t a, b;
  if (!ReadU8(a) || !ReadU8(b)) return false;
  out = static_cast<uint16_t>((a << 8) | b);
  return true;
}

bool ByteInput::ReadU32BE(uint32_t& out) {
  if (end_ - next_ >= 4) {  // the common case, straight from the buffer
    out = (uint32_t{next_[0]} << 24) | (uint32_t{next_[1]} << 16) | (uint32_t{next_[2]} << 8) | next_[3];
    next_ += 4;
    return true;
  }
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    uint8_t b;
    if (!ReadU8(b)) return false;
    v = (v << 8) | b;
  }
  out = v;
  return true;
}

bool ByteInput::Skip(size_t count) {
  uint8_t b;
  for (size_t i = 0; i < count; ++i)
    if (!ReadU8(b)) return false;
  return true;
}

ByteInput::NameStatus ByteInput::ReadName(std::string& out, size_t max_bytes) {
  out.clear();
  for (;;) {
    if (next_ == end_ && !Refill()) return NameStatus::kEnd;
    const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(next_, 0, static_cast<size_t>(end_ - next_)));
    const uint8_t* stop = nul ? nul : end_;
    out.append(reinterpret_cast<const char*>(next_), static_cast<size_t>(stop - next_));
    if (out.size() > max_bytes) return NameStatus::kTooLong;
    next_ = stop;
    if (nul) {
      ++next_;
      return NameStatus::kOk;
    }
  }
}

}  // namespace orivane
