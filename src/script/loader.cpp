#include "script/loader.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine.h"
#include "script/error.h"
#include "util/file_io.h"

namespace orivane {
namespace {

// Appends a numbered script file read in text mode: each CR LF pair becomes
// LF. A NUL byte inside a file is kept as it is; the loop reports the end of
// the script there.
bool AppendTextFile(const std::string& name, std::vector<uint8_t>& out) {
  size_t start = out.size();
  if (!AppendFileBytes(name, out)) {
    out.resize(start);
    return false;
  }
  // Compact in place: copy the runs between CR LF pairs down over the CRs.
  uint8_t* data = out.data();
  size_t end = out.size();
  size_t read = start, write = start;
  while (read < end) {
    const void* cr = std::memchr(data + read, '\r', end - read);
    size_t run_end = cr ? static_cast<size_t>(static_cast<const uint8_t*>(cr) - data) : end;
    if (write != read) std::memmove(data + write, data + read, run_end - read);
    write += run_end - read;
    read = run_end;
    if (read < end) {  // at a CR
      if (read + 1 < end && data[read + 1] == '\n') {
        ++read;  // drop the CR; the LF is copied with the next run
      } else {
        data[write++] = '\r';
        ++read;
      }
    }
  }
  out.resize(write);
  return true;
}

void LoadPacked(Engine& engine, const char* name, uint8_t key) {
  std::vector<uint8_t> data;
  auto size = FileSize(name);
  if (size && *size > kMaxScriptBytes) ReportError(engine, "スクリプトファイルが大きすぎます。", "エラー");
  if (!ReadFileBytes(name, data)) ReportError(engine, "%sが開けませんでした。", "エラー", {std::string_view(name)});
  for (uint8_t& b : data) b ^= key;
  data.push_back('\n');
  engine.script.Assign(std::move(data));
  engine.script.packed = true;
  engine.script.packed_name = name;
  engine.script.last_file = 0;
  engine.script.text_end = engine.script.length - 1;  // the newline appended above
}

void LoadNumbered(Engine& engine) {
  uint64_t total = 0;
  for (int n = 0; n < kScriptFileCount; ++n) {
    if (auto s = FileSize(ScriptFileName(n))) total += *s;
    if (n < 10)
      if (auto s = FileSize(ScriptFileName(n, true))) total += *s;
  }
  if (total > kMaxScriptBytes) ReportError(engine, "スクリプトファイルが大きすぎます。", "エラー");
  ScriptBuffer& s = engine.script;
  // Reuse the previous script's storage (a `definereset` loads again): a fresh
  // block of this size would cost a page fault for every 4 KB.
  std::vector<uint8_t> data = std::move(s.bytes);
  data.clear();
  data.reserve(total + 110 + 1 + kScriptPadding);
  int last_file = -1;
  for (int n = 0; n < kScriptFileCount; ++n) {
    bool read = AppendTextFile(ScriptFileName(n), data) || (n < 10 && AppendTextFile(ScriptFileName(n, true), data));
    if (read) last_file = n;
    s.file_end[n] = static_cast<int32_t>(data.size());
    data.push_back('\n');
  }
  auto file_end = s.file_end;
  s.Assign(std::move(data));
  s.file_end = file_end;
  if (last_file >= 0) {
    s.last_file = last_file;
    s.text_end = file_end[last_file];
  }
}

bool StartsWith(const ScriptBuffer& s, size_t at, const char* text) {
  size_t n = std::strlen(text);
  return at + n <= static_cast<size_t>(s.length) && std::memcmp(&s.bytes[at], text, n) == 0;
}

// The decimal number at `at`: blanks, an optional sign, digits.
int32_t HeaderNumber(const ScriptBuffer& s, size_t at) {
  while (s.At(at) == ' ' || s.At(at) == '\t') ++at;
  int64_t sign = 1;
  if (s.At(at) == '-' || s.At(at) == '+') sign = s.At(at++) == '-' ? -1 : 1;
  int64_t value = 0;
  for (int digits = 0; s.At(at) >= '0' && s.At(at) <= '9' && digits < 18; ++digits) value = value * 10 + (s.At(at++) - '0');
  return static_cast<int32_t>(static_cast<uint32_t>(value * sign));
}

}  // namespace

std::string ScriptFileName(int n, bool zero_prefixed) {
  char name[24];
  std::snprintf(name, sizeof name, zero_prefixed ? "0%d.txt" : "%d.txt", n);
  return name;
}

void LoadScript(Engine& engine) {
  ScriptBuffer& s = engine.script;
  engine.interp.ForgetCompiledScript();
  s.file_end.fill(0);
  s.file_end[kScriptFileCount - 1] = 0xFFFFFF;
  s.packed = false;
  s.packed_name = nullptr;
  bool numbered_zero = FileExists("0.txt") || FileExists("00.txt");
  if (!numbered_zero && FileExists("orscript.zat")) {
    LoadPacked(engine, "orscript.zat", 0x3C);
  } else if (!numbered_zero && FileExists("orscript.dat")) {
    LoadPacked(engine, "orscript.dat", 0xA7);
  } else {
    LoadNumbered(engine);
  }
  ApplyScriptHeader(engine);
}

void ApplyScriptHeader(Engine& engine) {
  const ScriptBuffer& s = engine.script;
  engine.screen_width = 640;
  engine.screen_height = 480;
  engine.global_border = 200;
  if (StartsWith(s, 0, ";mode800")) {
    engine.screen_width = 800;
    engine.screen_height = 600;
  } else if (StartsWith(s, 0, ";mode400")) {
    engine.screen_width = 400;
    engine.screen_height = 300;
  } else if (StartsWith(s, 0, ";mode320")) {
    engine.screen_width = 320;
    engine.screen_height = 240;
  }
  if (StartsWith(s, 0, ";value")) {
    engine.global_border = HeaderNumber(s, 6);
  } else if (engine.screen_width != 640 && StartsWith(s, 8, ",value")) {
    engine.global_border = HeaderNumber(s, 14);
  }
}

}  // namespace orivane
