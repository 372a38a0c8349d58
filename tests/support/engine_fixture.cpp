#include "support/engine_fixture.h"

#include <filesystem>
#include <vector>

#include "util/sjis.h"

namespace orivane::test {

void EngineFixture::SetScript(std::string_view utf8) {
  std::string sjis = Utf8ToSjis(utf8);
  engine_.script.Assign(std::vector<uint8_t>(sjis.begin(), sjis.end()));
  engine_.script.file_end.fill(engine_.script.length);
  engine_.interp.ForgetCompiledScript();
}

std::string EngineFixture::Rest() {
  const ScriptBuffer& s = engine_.script;
  std::string rest;
  for (int32_t p = s.pos; p < s.length && s.bytes[p] != '\n'; ++p) rest.push_back(static_cast<char>(s.bytes[p]));
  return SjisToUtf8(rest);
}

std::string EngineFixture::ErrorOf(const std::function<void()>& fn) {
  err_.str("");
  try {
    fn();
  } catch (const EngineExit&) {
    return err_.str();
  }
  return "";
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& dir)
    : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir);
}

ScopedCurrentDir::~ScopedCurrentDir() { std::filesystem::current_path(previous_); }

}  // namespace orivane::test
