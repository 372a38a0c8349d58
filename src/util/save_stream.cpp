#include "util/save_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orivane {

void SaveWriter::Int(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<uint8_t>(u >> shift));
}

void SaveWriter::Ints(const int32_t* values, size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(values);
    out_.insert(out_.end(), bytes, bytes + count * 4);
  } else {
    for (size_t i = 0; i < count; ++i) Int(values[i]);
  }
}

void SaveWriter::Str(std::string_view s) {
  const size_t zero = s.find('\0');
  if (zero != std::string_view::npos) s = s.substr(0, zero);
  out_.insert(out_.end(), s.begin(), s.end());
  out_.push_back(0);
}

int32_t SaveReader::Int() {
  if (pos_ >= size_ || size_ - pos_ < 4) {
    pos_ = size_;
    failed_ = true;
    return 0;
  }
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= uint32_t{data_[pos_ + i]} << (8 * i);
  pos_ += 4;
  return static_cast<int32_t>(u);
}

void SaveReader::Ints(int32_t* values, size_t count) {
  const size_t available = std::min(count, (size_ - pos_) / 4);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(values, data_ + pos_, available * 4);
    pos_ += available * 4;
  } else {
    for (size_t i = 0; i < available; ++i) values[i] = Int();
  }
  std::fill(values + available, values + count, 0);
  if (available < count) {
    pos_ = size_;
    failed_ = true;
  }
}

std::string SaveReader::Str() {
  if (pos_ >= size_) {
    failed_ = true;
    return {};
  }
  const void* zero = std::memchr(data_ + pos_, 0, size_ - pos_);
  const size_t end = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data_) : size_;
  std::string s(reinterpret_cast<const char*>(data_ + pos_), end - pos_);
  pos_ = zero ? end + 1 : size_;
  if (!zero) failed_ = true;
  return s;
}

int32_t SaveReader::Bounded(int32_t low, int32_t high) {
  const int32_t n = Int();
  if (n >= low && n <= high) return n;
  failed_ = true;
  return low;
}

}  // namespace orivane
