#include "script/loader.h"

#include <dirent.h>
#include <strings.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine.h"
#include "script/error.h"
#include "script/script_text.h"
#include "util/file_io.h"

namespace orivane {
namespace {

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

// Which numbered script names the current directory lists, in any letter
// case: "7.txt" in `plain`, "07.txt" in `zero`. Listing the directory once is
// much cheaper than trying 110 names of which most are not there; a name
// listed is then opened as the loader spells it, as before. When the
// directory cannot be listed every name counts as possibly there.
struct NumberedNames {
  std::array<bool, kScriptFileCount> plain, zero;
};

NumberedNames ListNumberedNames() {
  NumberedNames names;
  DIR* dir = ::opendir(".");
  names.plain.fill(dir == nullptr);
  names.zero.fill(dir == nullptr);
  if (!dir) return names;
  while (const dirent* e = ::readdir(dir)) {
    const char* n = e->d_name;
    size_t len = std::strlen(n);
    if (len < 5 || len > 6 || ::strcasecmp(n + len - 4, ".txt") != 0) continue;
    size_t digits = len - 4;
    if (!std::isdigit(static_cast<unsigned char>(n[0])) ||
        (digits == 2 && !std::isdigit(static_cast<unsigned char>(n[1]))))
      continue;
    int value = digits == 1 ? n[0] - '0' : (n[0] - '0') * 10 + (n[1] - '0');
    if (digits == 2 && n[0] == '0')
      names.zero[value] = true;
    else
      names.plain[value] = true;
  }
  ::closedir(dir);
  return names;
}

void LoadNumbered(Engine& engine) {
  const NumberedNames listed = ListNumberedNames();
  uint64_t total = 0;
  for (int n = 0; n < kScriptFileCount; ++n) {
    if (listed.plain[n])
      if (auto s = FileSize(ScriptFileName(n))) total += *s;
    if (n < 10 && listed.zero[n])
      if (auto s = FileSize(ScriptFileName(n, true))) total += *s;
  }
  if (total > kMaxScriptBytes) ReportError(engine, "スクリプトファイルが大きすぎます。", "エラー");
  ScriptBuffer& s = engine.script;
  // Reuse the previous script's storage (a `definereset` loads again): a fresh
  // block of this size would cost a page fault for every 4 KB.
  ScriptTextBuilder text(std::move(s.bytes));
  text.Reserve(total + 110 + 1 + kScriptPadding);
  int last_file = -1;
  for (int n = 0; n < kScriptFileCount; ++n) {
    bool read = (listed.plain[n] && text.AppendTextFile(ScriptFileName(n))) ||
                (n < 10 && listed.zero[n] && text.AppendTextFile(ScriptFileName(n, true)));
    if (read) last_file = n;
    s.file_end[n] = static_cast<int32_t>(text.size());
    text.PushBack('\n');
  }
  std::vector<uint8_t> data = std::move(text).Finish();
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
