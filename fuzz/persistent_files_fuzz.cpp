// The persistent files read at start-up: the name logs, "envdata" and
// "gloval.sav", each parser on the same arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "save/environment_file.h"
#include "save/global_variables_file.h"
#include "save/name_log_files.h"
#include "script/name_log.h"
#include "script/variables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::NameLog log;
  orivane::DecodeNameLogFile(std::string_view(reinterpret_cast<const char*>(data), size), log);
  const std::vector<uint8_t> bytes(data, data + size);
  orivane::DecodeEnvironment(bytes);
  orivane::Variables vars;
  orivane::DecodeGlobalVariables(bytes, size > 0 ? data[0] * 16 : 200, vars);
  return 0;
}
