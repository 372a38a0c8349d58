#include "archive/archive_writer.h"

#include "archive/archive_format.h"
#include "archive/bmp24.h"
#include "archive/lzss_encoder.h"
#include "archive/spb_encoder.h"

namespace orivane {
namespace {

bool EndsWithBmp(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext == ".bmp";
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

bool CheckEntries(const std::vector<PackedEntry>& entries, std::string& error) {
  if (entries.size() > 0xFFFF) {
    error = "more than 65535 entries";
    return false;
  }
  for (const PackedEntry& e : entries) {
    if (e.name.empty() || e.name.size() > kMaxEntryName || e.name.find('\0') != std::string::npos) {
      error = "entry name empty, longer than 255 bytes, or holding a zero byte: " + e.name;
      return false;
    }
  }
  return true;
}

bool Build(const std::vector<PackedEntry>& entries, int prefix, bool alt, std::vector<uint8_t>& out,
           std::string& error) {
  if (!CheckEntries(entries, error)) return false;
  uint64_t base = 6;
  for (const PackedEntry& e : entries) base += e.name.size() + 1 + (alt ? 8 : 13);
  uint64_t data_size = 0;
  for (const PackedEntry& e : entries) data_size += e.stored.size();
  if (base + data_size > 0xFFFFFFFFull) {
    error = "archive larger than 4 GiB";
    return false;
  }
  out.assign(static_cast<size_t>(prefix), 0);
  PutU16(out, static_cast<uint32_t>(entries.size()));
  PutU32(out, static_cast<uint32_t>(base));
  uint32_t offset = 0;
  for (const PackedEntry& e : entries) {
    out.insert(out.end(), e.name.begin(), e.name.end());
    out.push_back(0);
    if (!alt) out.push_back(e.kind);
    PutU32(out, offset);
    PutU32(out, static_cast<uint32_t>(e.stored.size()));
    if (!alt) PutU32(out, e.decoded_size);
    offset += static_cast<uint32_t>(e.stored.size());
  }
  for (const PackedEntry& e : entries) out.insert(out.end(), e.stored.begin(), e.stored.end());
  return true;
}

}  // namespace

PackedEntry PackEntryAs(std::string_view name, const std::vector<uint8_t>& data, uint8_t kind) {
  PackedEntry e;
  e.name = std::string(name);
  e.kind = kind;
  e.decoded_size = static_cast<uint32_t>(data.size());
  if (kind == static_cast<uint8_t>(EntryKind::kLzss)) {
    e.stored = LzssEncode(data.data(), data.size());
  } else if (kind == static_cast<uint8_t>(EntryKind::kSpb)) {
    DisplaySurface pic;
    if (ParseBmp24(data.data(), data.size(), pic) && SpbFits(pic)) e.stored = EncodeSpb(pic);
  } else {
    e.stored = data;
  }
  return e;
}

PackedEntry PackEntry(std::string_view name, const std::vector<uint8_t>& data) {
  const bool bmp = EndsWithBmp(name);
  PackedEntry best = bmp ? PackEntryAs(name, data, static_cast<uint8_t>(EntryKind::kLzss))
                         : PackEntryAs(name, data, static_cast<uint8_t>(EntryKind::kStored));
  if (!bmp) {
    PackedEntry lzss = PackEntryAs(name, data, static_cast<uint8_t>(EntryKind::kLzss));
    if (lzss.stored.size() < best.stored.size()) best = std::move(lzss);
    return best;
  }
  DisplaySurface pic;
  if (ParseBmp24(data.data(), data.size(), pic) && SpbFits(pic)) {
    PackedEntry spb = PackEntryAs(name, data, static_cast<uint8_t>(EntryKind::kSpb));
    if (spb.stored.size() < best.stored.size()) best = std::move(spb);
  }
  return best;
}

bool BuildArchive(const std::vector<PackedEntry>& entries, int prefix, std::vector<uint8_t>& out,
                  std::string& error) {
  return Build(entries, prefix, false, out, error);
}

bool BuildAltArchive(const std::vector<PackedEntry>& entries, std::vector<uint8_t>& out, std::string& error) {
  return Build(entries, 0, true, out, error);
}

}  // namespace orivane
