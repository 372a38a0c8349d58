#include "archive/archive_index_reader.h"

#include "archive/archive_format.h"

#include <algorithm>

namespace orivane {

bool IndexArchiveRecords(ByteInput& in, uint64_t file_size, int prefix, uint8_t number, ArchiveIndex& index) {
  ArchiveHeader header;
  if (!ReadArchiveHeader(in, prefix, header)) return false;
  // The count is outside data: reserve only what the file could hold
  // (a record takes at least 14 bytes).
  index.Reserve(std::min<uint64_t>(header.count, file_size / 14));
  ArchiveRecord record;
  for (uint32_t i = 0; i < header.count; ++i) {
    if (!ReadArchiveRecord(in, record)) break;  // no further entries
    uint64_t start = EntryStart(header, record);
    if (!EntryInside(file_size, prefix, start, record.stored_size)) continue;
    index.Add(record.name, number, record.kind, start, record.stored_size, record.decoded_size);
  }
  return true;
}

}  // namespace orivane
