// The encoding of save files: a sequence of fields, each a 32-bit
// little-endian signed integer or a string (its Shift-JIS bytes and one zero
// byte). A writer appends fields to a buffer; a reader takes them from the
// bytes of a file. A reader never fails half-way: a field the bytes do not
// hold reads as 0 or the empty string, and the reader remembers that it
// failed, so a caller that must not take a damaged file checks `failed()`
// once at the end, and a caller content with zeros for what is missing reads
// on.
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

  // 0 once the bytes have run out (a partly present integer counts as
  // absent, and fails).
  int32_t Int();
  // `count` integers into `values`; those past the end of the bytes read 0
  // (and fail).
  void Ints(int32_t* values, size_t count);
  // The bytes up to a zero byte. A string without its zero byte runs to the
  // end of the bytes and fails; once the bytes have run out it is empty.
  std::string Str();
  // An integer that must lie in low ... high (a count, an offset into the
  // script): anything else reads as `low` and fails.
  int32_t Bounded(int32_t low, int32_t high);
  // A count read from the file, trusted only as far as `limit`.
  int32_t Count(int32_t limit) { return Bounded(0, limit); }

  // Marks the bytes as damaged for a reason the caller found (a value that
  // cannot be, read correctly as a field).
  void Fail() { failed_ = true; }
  // True once a field was missing, cut, or out of its range.
  bool failed() const { return failed_; }

  // What is left after the fields read so far.
  std::string_view Rest() const {
    return pos_ < size_ ? std::string_view(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_)
                        : std::string_view();
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace orivane
