// Archive headers and records from hostile bytes: the index reader and the
// reader of the alternative format must stay inside the input, and every
// indexed entry must be found again and lie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/archive_format.h"
#include "archive/archive_index.h"
#include "archive/archive_index_reader.h"
#include "archive/byte_input.h"

using namespace orivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int prefix = data[0] & 3;  // none, `or2`, `or3`, or both
  const uint8_t* archive = data + 1;
  const size_t archive_size = size - 1;

  ArchiveIndex index;
  ByteInput in(archive, archive_size);
  IndexArchiveRecords(in, archive_size, prefix, 0, index);
  for (uint32_t id = 0; id < index.size(); ++id) {
    const IndexEntry& e = index.entry(id);
    if (prefix + e.offset + e.stored_size > archive_size) std::abort();
    const IndexEntry* found = index.Find(index.NameOf(e));
    if (!found || index.NameOf(*found) != index.NameOf(e)) std::abort();
  }

  ByteInput alt(archive, archive_size);
  ArchiveHeader header;
  ArchiveRecord record;
  if (ReadArchiveHeader(alt, 0, header))
    for (uint32_t i = 0; i < header.count && ReadAltRecord(alt, record); ++i)
      if (record.name.size() > kMaxEntryName) std::abort();
  return 0;
}
