#include "archive/lzss.h"

#include <algorithm>
#include <cstring>

#include "archive/bit_reader.h"

namespace orivane {
namespace {

// The longest output of one token: a copy of 15 + 2 bytes.
constexpr size_t kMaxTokenOutput = 17;
// The bytes the fast loop moves for every token, and the room it needs for
// four tokens.
constexpr size_t kShortCopy = 3;
constexpr size_t kFastRoom = 4 * kMaxTokenOutput;

// One decoding in progress. `DecodeSome` fills an output block and can be
// called again to go on, so output can go to a file block by block.
class LzssDecoder {
 public:
  LzssDecoder(LzssWindow& window, const uint8_t* in, size_t size) : window_(window), bits_(in, size) {
    std::fill(window_.bytes.begin(), window_.bytes.begin() + kLzssStartPosition, uint8_t{0x20});
  }

  bool done() const { return done_; }

  // Decodes whole tokens into out[0..capacity) while a whole token still fits
  // (capacity must be at least kMaxTokenOutput). Returns the bytes written.
  size_t DecodeSome(uint8_t* out, size_t capacity) {
    uint8_t* win = window_.bytes.data();
    uint8_t pos = pos_;
    size_t n = 0;
    while (n + kMaxTokenOutput <= capacity) {
      if (bits_.Available(13) >= 13) {  // a whole token of either kind is there
        uint32_t token = bits_.Peek(13);
        if (token & 0x1000) {
          uint8_t c = static_cast<uint8_t>(token >> 4);
          bits_.Consume(9);
          out[n++] = c;
          win[pos++] = c;
          continue;
        }
        bits_.Consume(13);
        uint8_t from = static_cast<uint8_t>(token >> 4);
        uint32_t count = (token & 15) + 2;
        for (uint32_t k = 0; k < count; ++k) {
          uint8_t c = win[from++];
          out[n++] = c;
          win[pos++] = c;
        }
        continue;
      }
      // Near the end of the input: token by token, stopping at a short one.
      uint32_t flag;
      if (!bits_.Read(1, flag)) {
        done_ = true;
        break;
      }
      if (flag) {
        uint32_t c;
        if (!bits_.Read(8, c)) {
          done_ = true;
          break;
        }
        out[n++] = static_cast<uint8_t>(c);
        win[pos++] = static_cast<uint8_t>(c);
      } else {
        uint32_t ref;  // 8 bits position, 4 bits length: one read is the same as two
        if (!bits_.Read(12, ref)) {
          done_ = true;
          break;
        }
        uint8_t from = static_cast<uint8_t>(ref >> 4);
        uint32_t count = (ref & 15) + 2;
        // Byte by byte on purpose: a copy that overlaps the write position reads
        // bytes written earlier in the same copy.
        for (uint32_t k = 0; k < count; ++k) {
          uint8_t c = win[from++];
          out[n++] = c;
          win[pos++] = c;
        }
      }
    }
    pos_ = pos;
    return n;
  }

  // Decodes into buf[n..capacity) with the buffer itself as the window, which
  // saves the second store of every byte. buf[n - 256 .. n) must hold the
  // window in writing order: buf[n - 256 + j] is window byte (position + j).
  // On return the window is brought up to date from the buffer, so decoding
  // can go on with DecodeSome. Returns the new end of the output.
  size_t DecodeInPlace(uint8_t* buf, size_t n, size_t capacity) {
    const size_t start = n;
    const uint8_t pos0 = pos_;
    auto copy = [&](uint32_t token) {
      uint8_t write_pos = static_cast<uint8_t>(pos0 + (n - start));
      uint8_t from = static_cast<uint8_t>(token >> 4);
      uint32_t count = (token & 15) + 2;
      size_t distance = static_cast<uint8_t>(write_pos - from);
      if (distance == 0) distance = 256;  // the position about to be overwritten
      const uint8_t* src = buf + n - distance;
      uint8_t* dst = buf + n;
      if (distance >= kMaxTokenOutput) {
        std::memcpy(dst, src, kMaxTokenOutput);  // fixed size; the surplus lands in the slack
      } else {
        for (uint32_t k = 0; k < count; ++k) dst[k] = src[k];  // overlapping: byte by byte
      }
      n += count;
    };
    // The bulk: one word refill leaves at least 56 bits, enough for four
    // tokens of at most 13 bits, which are then decoded without a test for
    // input and without a branch between literal and copy, which would be
    // guessed wrong at every change on data that mixes them (the choices are
    // made with masks, where the compiler would branch). Every token
    // moves kShortCopy bytes one by one from the window, a literal from
    // wherever its byte points (any place will do) with its own byte put
    // first. Byte by byte, a copy that reads its own output gets the bytes it
    // just wrote; the bytes written past a short token land where the next
    // token writes. The bit reader works from a local copy: the output is
    // written through byte pointers, which could alias a member and would
    // make the compiler reload it after every store.
    BitReader bits = bits_;
    uint8_t write_pos = pos0;  // the window position of buf[n]
    while (bits.CanRefillWord() && n + kFastRoom <= capacity) {
      bits.RefillWord();
      for (int k = 0; k < 4; ++k) {
        const uint32_t token = bits.Peek(13);
        // The flag straight from the buffer: the bits one token takes decide
        // where the next begins, so this chain sets the pace.
        const uint32_t literal = bits.Peek(1);
        bits.Consume(13 - 4 * static_cast<int>(literal));
        const uint32_t is_copy = literal - 1;  // all ones for a copy, 0 for a literal
        // The literal, or the window position.
        const uint8_t byte = static_cast<uint8_t>(token >> 4);
        const uint32_t count = (((token & 15) + 1) & is_copy) + 1;
        // The source lies 1 to 256 bytes back; 256 when the position is the
        // one about to be overwritten.
        const size_t distance = static_cast<size_t>(static_cast<uint8_t>(write_pos - byte - 1)) + 1;
        const uint8_t* src = buf + n - distance;
        uint8_t* dst = buf + n;
        const uint8_t first = src[0];
        dst[0] = static_cast<uint8_t>((first & is_copy) | (byte & ~is_copy));
        for (size_t i = 1; i < kShortCopy; ++i) dst[i] = src[i];
        if (count > kShortCopy) {
          if (distance >= kMaxTokenOutput)
            std::memcpy(dst, src, kMaxTokenOutput);
          else
            for (uint32_t i = kShortCopy; i < count; ++i) dst[i] = src[i];
        }
        n += count;
        write_pos = static_cast<uint8_t>(write_pos + count);
      }
    }
    bits_ = bits;
    while (n + kMaxTokenOutput <= capacity) {
      if (bits_.Available(13) >= 13) {
        uint32_t token = bits_.Peek(13);
        if (token & 0x1000) {
          bits_.Consume(9);
          buf[n++] = static_cast<uint8_t>(token >> 4);
        } else {
          bits_.Consume(13);
          copy(token);
        }
        continue;
      }
      uint32_t flag, v;
      if (!bits_.Read(1, flag) || !bits_.Read(flag ? 8 : 12, v)) {
        done_ = true;
        break;
      }
      if (flag) buf[n++] = static_cast<uint8_t>(v);
      else copy(v);
    }
    pos_ = static_cast<uint8_t>(pos0 + (n - start));
    for (int j = 0; j < 256; ++j) window_.bytes[static_cast<uint8_t>(pos_ + j)] = buf[n - 256 + j];
    return n;
  }

 private:
  LzssWindow& window_;
  BitReader bits_;
  uint8_t pos_ = kLzssStartPosition;
  bool done_ = false;
};

constexpr size_t kBlock = 64 * 1024;

}  // namespace

std::vector<uint8_t> LzssDecodeToMemory(LzssWindow& window, const uint8_t* in, size_t in_size,
                                        size_t limit) {
  LzssDecoder decoder(window, in, in_size);  // prepares the window
  // LZSS expands at most 17 bytes per 13 bits, so the output cannot outgrow
  // this however the size fields of an archive lie.
  size_t most = (in_size * 8 / 13 + 1) * kMaxTokenOutput;
  size_t keep = std::min(limit, most);
  // The output, then room for one token. The first 256 bytes go through the
  // window; from then on the output's own last 256 bytes are the window and
  // the rest decodes in place. The buffer grows a block at a time, each block
  // cleared just before it is written, while it is in the cache.
  const size_t total = keep + kMaxTokenOutput;
  std::vector<uint8_t> out;
  out.reserve(total);
  out.resize(std::min(total, 256 + kMaxTokenOutput));
  size_t end = decoder.DecodeSome(out.data(), out.size());
  while (!decoder.done() && out.size() < total) {
    out.resize(std::min(total, out.size() + kBlock));
    end = decoder.DecodeInPlace(out.data(), end, out.size());
  }
  // What lies beyond the limit is decoded only for the window's sake.
  uint8_t scratch[kBlock];
  while (!decoder.done()) decoder.DecodeSome(scratch, sizeof scratch);
  out.resize(std::min(end, limit));
  return out;
}

int64_t LzssDecodeToFile(LzssWindow& window, const uint8_t* in, size_t in_size, std::FILE* out) {
  LzssDecoder decoder(window, in, in_size);
  std::vector<uint8_t> block(kBlock);
  int64_t total = 0;
  bool ok = true;
  while (!decoder.done()) {
    size_t n = decoder.DecodeSome(block.data(), block.size());
    if (ok && n && std::fwrite(block.data(), 1, n, out) != n) ok = false;
    total += static_cast<int64_t>(n);
  }
  return ok ? total : -1;
}

}  // namespace orivane
