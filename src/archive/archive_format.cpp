#include "archive/archive_format.h"


namespace orivane {

bool ReadArchiveHeader(ByteInput& in, int prefix, ArchiveHeader& out) {
  return in.Skip(static_cast<size_t>(prefix)) && in.ReadU16BE(out.count) && in.ReadU32BE(out.data_base);
}

bool ReadArchiveRecord(ByteInput& in, ArchiveRecord& out) {
  if (in.ReadName(out.name, kMaxEntryName) != ByteInput::NameStatus::kOk) return false;
  return in.ReadU8(out.kind) && in.ReadU32BE(out.offset) && in.ReadU32BE(out.stored_size) &&
         in.ReadU32BE(out.decoded_size);
}

bool ReadAltRecord(ByteInput& in, ArchiveRecord& out) {
  if (in.ReadName(out.name, kMaxEntryName) != ByteInput::NameStatus::kOk) return false;
  out.kind = static_cast<uint8_t>(EntryKind::kStored);
  if (!in.ReadU32BE(out.offset) || !in.ReadU32BE(out.stored_size)) return false;
  out.decoded_size = out.stored_size;
  return true;
}

}  // namespace orivane
