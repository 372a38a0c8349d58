// Gathering the numbered script files into one byte buffer: each file is read
// in text mode (every CR LF pair becomes LF) a block at a time, and each block
// is folded while it is still in the cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

// Folds each CR LF pair in data[from, end) into LF, copying the runs between
// them down over the CRs, and returns the new end. A CR that ends the range
// is kept as it is.
size_t FoldCarriageReturns(uint8_t* data, size_t from, size_t end);

class ScriptTextBuilder {
 public:
  static constexpr size_t kDefaultBlockBytes = 256 * 1024;

  // Builds in `storage` (the previous script's, so that loading again touches
  // memory already mapped). Its bytes are overwritten, not cleared first:
  // zeroing memory that is read over at once would cost a pass over it.
  explicit ScriptTextBuilder(std::vector<uint8_t> storage, size_t block_bytes = kDefaultBlockBytes);

  // Makes room for `bytes` in all without moving the buffer again.
  void Reserve(size_t bytes);
  // Appends a whole file in text mode. A NUL byte inside is kept. Returns
  // false, having appended nothing, when the file cannot be opened or read.
  bool AppendTextFile(const std::string& name);
  void PushBack(uint8_t c) { *Extend(1) = c; }
  size_t size() const { return used_; }

  // The bytes gathered.
  std::vector<uint8_t> Finish() &&;

 private:
  // `n` more bytes at the end, to be written; valid until the next call.
  uint8_t* Extend(size_t n);

  std::vector<uint8_t> bytes_;  // bytes_[0, used_) are the script; the rest is stale
  size_t used_ = 0;
  size_t block_bytes_;
};

}  // namespace orivane
