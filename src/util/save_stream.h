// The encoding of save files: a sequence of fields, each a 32-bit
// little-endian signed integer or a string (its Shift-JIS bytes and one zero
// byte). A writer appends fields to a buffer; a reader takes them from the
// bytes of a file, and a file that ends early reads as zeros and empty
// strings, so an old or cut file never stops a load half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

class SaveWriter {
 public:
  explicit SaveWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Int(int32_t v);
  // Many integers at once (an array's elements): one copy on a
  // little-endian machine, so a large array costs a memcpy, not a loop.
  void Ints(const int32_t* values, size_t count);
  // The bytes up to the first zero byte (a string cannot hold one).
  void Str(std::string_view s);

 private:
  std::vector<uint8_t>& out_;
};

class SaveReader {
 public:
  SaveReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit SaveReader(const std::vector<uint8_t>& bytes) : SaveReader(bytes.data(), bytes.size()) {}

  // 0 once the bytes have run out (a partly present integer counts as absent).
  int32_t Int();
  // `count` integers into `values`; those past the end of the bytes read 0.
  void Ints(int32_t* values, size_t count);
  // The bytes up to a zero byte or the end; empty once the bytes have run out.
  std::string Str();
  // A count read from the file, trusted only as far as `limit`: a larger or
  // negative count reads as 0.
  int32_t Count(int32_t limit);

  // What is left after the fields read so far.
  std::string_view Rest() const {
    return pos_ < size_ ? std::string_view(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_)
                        : std::string_view();
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace orivane
