// Buffered, bounds-checked reading of archive bytes, from an open file or
// from memory. Every read says whether the bytes were there; nothing is ever
// read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orivane {

class ByteInput {
 public:
  // Reads from memory that outlives the input.
  ByteInput(const uint8_t* data, size_t size);
  // Reads from an open file, from its current position, through a buffer.
  explicit ByteInput(std::FILE* file);

  bool ReadU8(uint8_t& out);
  bool ReadU16BE(uint16_t& out);
  bool ReadU32BE(uint32_t& out);
  bool Skip(size_t count);

  enum class NameStatus { kOk, kEnd, kTooLong };
  // Reads a NUL-terminated name of at most `max_bytes` bytes before the NUL.
  NameStatus ReadName(std::string& out, size_t max_bytes);

 private:
  bool Refill();

  std::FILE* file_ = nullptr;
  std::vector<uint8_t> buffer_;
  const uint8_t* next_ = nullptr;
  const uint8_t* end_ = nullptr;
};

}  // namespace orivane
