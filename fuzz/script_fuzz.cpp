// Feeds arbitrary bytes as a game script through loading, the label table and
// a run bounded by a short timeout. Any crash, leak or out-of-bounds access is
// a fault; script errors and timeouts are expected outcomes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"

namespace {

const std::string& GameDirectory() {
  static const std::string dir = [] {
    char templ[] = "/tmp/orivane-fuzz-XXXXXX";
    if (!mkdtemp(templ)) std::abort();
    return std::string(templ);
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (chdir(GameDirectory().c_str()) != 0) std::abort();
  FILE* f = std::fopen("0.txt", "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  std::ostringstream out, err;
  orivane::HeadlessPlatform platform(out, err);
  orivane::Engine engine(platform);
  engine.timeout_ms = 50;
  orivane::RunEngine(engine);
  return 0;
}
