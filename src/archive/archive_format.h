// The archive file formats.
//
// An archive ("arc.ora" ...) is, after 0 to 3 prefix bytes that are skipped:
// entry count (u16), data base (u32), then per entry a NUL-terminated name (at
// most 255 bytes, directories separated by '\'), kind (u8: 0 stored, 1 SPB
// picture, 2 LZSS), offset from the data base (u32), stored size (u32) and
// decoded size (u32). All integers are big-endian; offsets count from the
// first byte after the prefix.
//
// The alternative format read by the built-in reader has the same header
// without prefix bytes and records of name, offset (u32) and size (u32): every
// entry is stored.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "archive/byte_input.h"

namespace orivane {

inline constexpr size_t kMaxEntryName = 255;

enum class EntryKind : uint8_t { kStored = 0, kSpb = 1, kLzss = 2 };

struct ArchiveHeader {
  uint16_t count = 0;
  uint32_t data_base = 0;
};

struct ArchiveRecord {
  std::string name;  // as stored (Shift-JIS bytes)
  uint8_t kind = 0;
  uint32_t offset = 0;  // relative to the data base
  uint32_t stored_size = 0;
  uint32_t decoded_size = 0;
};

// Skips `prefix` bytes and reads the header. False when the file ends first.
bool ReadArchiveHeader(ByteInput& in, int prefix, ArchiveHeader& out);

// Reads one record. False when the file ends inside it or its name is longer
// than 255 bytes: the archive then has no further entries.
bool ReadArchiveRecord(ByteInput& in, ArchiveRecord& out);

// The same for a record of the alternative format (kind 0, both sizes equal).
bool ReadAltRecord(ByteInput& in, ArchiveRecord& out);

// The absolute start of an entry as the index reports it: data base + offset.
inline uint64_t EntryStart(const ArchiveHeader& h, const ArchiveRecord& r) {
  return uint64_t{h.data_base} + r.offset;
}

// True when the entry's stored bytes lie wholly inside a file of `file_size`
// bytes that begins with `prefix` bytes.
inline bool EntryInside(uint64_t file_size, int prefix, uint64_t start, uint32_t stored_size) {
  return uint64_t(prefix) + start + stored_size <= file_size;
}


}  // namespace orivane
