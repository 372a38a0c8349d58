// Test support for the archive subsystem: an engine whose current directory
// is a fresh game directory, and a builder for archives written byte by byte.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/archive_writer.h"
#include "archive/file_layer.h"
#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "support/game_fixture.h"

namespace orivane::test {

// An engine working in a temporary game directory (the current directory
// while the fixture lives), without running any script.
class ArchiveGame {
 public:
  ArchiveGame() : previous_(std::filesystem::current_path()), platform_(out_, err_), engine_(platform_) {
    std::filesystem::current_path(dir_.path());
  }
  ~ArchiveGame() { std::filesystem::current_path(previous_); }

  Engine& engine() { return engine_; }
  const GameDir& dir() const { return dir_; }
  std::string errors() const { return err_.str(); }

 private:
  GameDir dir_;
  std::filesystem::path previous_;
  std::ostringstream out_, err_;
  HeadlessPlatform platform_;
  Engine engine_;
};

// Archive bytes laid down field by field, so tests can write exactly the
// broken or unusual archives they need.
class ArchiveBytes {
 public:
  ArchiveBytes& Raw(std::string_view bytes) {
    data_.append(bytes);
    return *this;
  }
  ArchiveBytes& U8(uint32_t v) {
    data_.push_back(static_cast<char>(v));
    return *this;
  }
  ArchiveBytes& U16(uint32_t v) { return U8(v >> 8).U8(v); }
  ArchiveBytes& U32(uint32_t v) { return U16(v >> 16).U16(v); }
  ArchiveBytes& Name(std::string_view name) { return Raw(name).U8(0); }
  // A whole record of the engine's format.
  ArchiveBytes& Record(std::string_view name, uint8_t kind, uint32_t offset, uint32_t stored, uint32_t decoded) {
    return Name(name).U8(kind).U32(offset).U32(stored).U32(decoded);
  }
  size_t size() const { return data_.size(); }
  const std::string& str() const { return data_; }

 private:
  std::string data_;
};

inline std::string AsString(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
inline std::vector<uint8_t> AsBytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Writes an archive made by the archive writer into the game directory.
inline void WriteArchive(const GameDir& dir, const std::string& file, const std::vector<PackedEntry>& entries,
                         int prefix = 0) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(BuildArchive(entries, prefix, bytes, error)) << error;
  dir.WriteBytes(file, AsString(bytes));
}

// A file as the file layer reads it, or "<none>" when it finds nothing.
inline std::string ReadBack(Engine& engine, const std::string& name) {
  std::vector<uint8_t> out;
  if (!ReadGameFile(engine, name, out)) return "<none>";
  return AsString(out);
}

}  // namespace orivane::test
