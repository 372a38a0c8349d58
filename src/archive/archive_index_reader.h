// Reading one archive's records into the index.
#pragma once

#include <cstdint>

#include "archive/archive_index.h"
#include "archive/byte_input.h"

namespace orivane {

// Reads the header and records of an archive of `file_size` bytes that begins
// with `prefix` bytes, and adds its entries to `index` as archive `number`.
// Records that end early, or a name longer than 255 bytes, end the archive;
// an entry whose data lies past the end of the file is left out. Returns
// false when not even the header could be read.
bool IndexArchiveRecords(ByteInput& in, uint64_t file_size, int prefix, uint8_t number, ArchiveIndex& index);

}  // namespace orivane
