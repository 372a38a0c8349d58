// Making archives in exactly the format the engine reads (used by the
// orivane-arc tool and by tests to build fixtures).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct PackedEntry {
  std::string name;  // Shift-JIS, directories separated by '\'
  uint8_t kind = 0;  // 0 stored, 1 SPB, 2 LZSS
  std::vector<uint8_t> stored;
  uint32_t decoded_size = 0;
};

// Packs one file. It is stored unless LZSS makes it smaller; a ".bmp" file is
// never stored, because the picture loader refuses stored BMP entries: it
// becomes LZSS, or SPB when it is a plain 24-bit picture and SPB is smaller.
PackedEntry PackEntry(std::string_view name, const std::vector<uint8_t>& data);

// An entry of a chosen kind (tests use this to cover every kind).
PackedEntry PackEntryAs(std::string_view name, const std::vector<uint8_t>& data, uint8_t kind);

// The archive file: `prefix` zero bytes, the header, the records, the data.
// False (with a reason) when a name is empty or longer than 255 bytes, there
// are more than 65535 entries, or the data exceeds the 32-bit offsets.
bool BuildArchive(const std::vector<PackedEntry>& entries, int prefix, std::vector<uint8_t>& out,
                  std::string& error);

// The alternative format of the built-in reader (stored entries only).
bool BuildAltArchive(const std::vector<PackedEntry>& entries, std::vector<uint8_t>& out, std::string& error);

}  // namespace orivane
