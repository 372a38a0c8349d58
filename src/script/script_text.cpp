#include "script/script_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "util/file_io.h"

namespace orivane {

size_t FoldCarriageReturns(uint8_t* data, size_t from, size_t end) {
  size_t read = from, write = from;
  while (read < end) {
    const void* cr = std::memchr(data + read, '\r', end - read);
    size_t run_end = cr ? static_cast<size_t>(static_cast<const uint8_t*>(cr) - data) : end;
    if (write != read) std::memmove(data + write, data + read, run_end - read);
    write += run_end - read;
    read = run_end;
    if (read < end) {  // at a CR
      if (read + 1 < end && data[read + 1] == '\n')
        ++read;  // the LF is copied with the next run
      else
        data[write++] = data[read++];
    }
  }
  return write;
}

ScriptTextBuilder::ScriptTextBuilder(std::vector<uint8_t> storage, size_t block_bytes)
    : bytes_(std::move(storage)), block_bytes_(std::max<size_t>(block_bytes, 1)) {}

void ScriptTextBuilder::Reserve(size_t bytes) {
  bytes_.reserve(bytes);
}

uint8_t* ScriptTextBuilder::Extend(size_t n) {
  if (bytes_.size() < used_ + n) bytes_.resize(used_ + n);
  uint8_t* at = bytes_.data() + used_;
  used_ += n;
  return at;
}

bool ScriptTextBuilder::AppendTextFile(const std::string& name) {
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  const size_t start = used_;
  // Ask for one byte beyond the size the file reports, so that the short read
  // which ends it needs no room past what Reserve made.
  auto size = OpenFileSize(f);
  const uint64_t expected = size ? *size : 0;
  uint64_t taken = 0;
  size_t fold_from = start;
  bool ok = true;
  for (;;) {
    size_t want = block_bytes_;
    if (taken < expected)
      want = static_cast<size_t>(std::min<uint64_t>(want, expected - taken + 1));
    uint8_t* at = Extend(want);
    size_t got = std::fread(at, 1, want, f);
    taken += got;
    used_ = FoldCarriageReturns(bytes_.data(), fold_from, used_ - want + got);
    if (got < want) {
      ok = !std::ferror(f);
      break;
    }
    // A CR at the end of the block is folded again with the next block.
    fold_from = (used_ > start && bytes_[used_ - 1] == '\r') ? used_ - 1 : used_;
  }
  std::fclose(f);
  if (!ok) used_ = start;
  return ok;
}

std::vector<uint8_t> ScriptTextBuilder::Finish() && {
  bytes_.resize(used_);
  return std::move(bytes_);
}

}  // namespace orivane
