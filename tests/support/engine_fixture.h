// Test support: an Engine on a headless platform whose script buffer is set
// directly from UTF-8 text, for testing readers and commands in isolation.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "engine.h"
#include "platform/headless/headless_platform.h"

namespace orivane::test {

class EngineFixture {
 public:
  EngineFixture() : platform_(out_, err_), engine_(platform_) {}

  Engine& engine() { return engine_; }
  // Replaces the script with `utf8` (converted to Shift-JIS) and rewinds.
  void SetScript(std::string_view utf8);
  // The script bytes from the position to the end of the line, as UTF-8.
  std::string Rest();

  // Runs `fn`; returns the error report (UTF-8, "title\ntext") it raised, or
  // the empty string when it raised none.
  std::string ErrorOf(const std::function<void()>& fn);

  std::string out() const { return out_.str(); }
  // The notes and reports written so far (standard error of a real run).
  std::string err() const { return err_.str(); }

 private:
  std::ostringstream out_, err_;
  HeadlessPlatform platform_;
  Engine engine_;
};

// Changes the current directory for the lifetime of the object.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& dir);
  ~ScopedCurrentDir();

 private:
  std::string previous_;
};

}  // namespace orivane::test
