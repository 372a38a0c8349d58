#include "save/global_variables_file.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine.h"
#include "platform/platform.h"
#include "save/persistent_file_io.h"
#include "util/save_stream.h"

namespace orivane {
namespace {

int32_t FirstGlobal(int32_t border) {
  return std::clamp(border, 0, kVariableCount);
}

}  // namespace

std::vector<uint8_t> EncodeGlobalVariables(const Variables& vars, int32_t border) {
  std::vector<uint8_t> bytes;
  SaveWriter out(bytes);
  for (int32_t n = FirstGlobal(border); n < kVariableCount; ++n) {
    out.Int(vars.Num(n));
    out.Str(vars.Str(n));
  }
  return bytes;
}

bool DecodeGlobalVariables(const std::vector<uint8_t>& bytes, int32_t border, Variables& vars) {
  const int32_t first = FirstGlobal(border);
  // Read whole before anything is set: a damaged file leaves `vars` as it was.
  std::vector<int32_t> numbers;
  std::vector<std::string> strings;
  SaveReader in(bytes);
  for (int32_t n = first; n < kVariableCount && !in.Rest().empty(); ++n) {
    numbers.push_back(in.Int());
    strings.push_back(in.Str());
  }
  if (in.failed()) return false;
  numbers.resize(static_cast<size_t>(kVariableCount - first), 0);
  strings.resize(numbers.size());
  for (size_t i = 0; i < numbers.size(); ++i) {
    vars.SetNum(first + static_cast<int32_t>(i), numbers[i]);
    vars.SetStr(first + static_cast<int32_t>(i), std::move(strings[i]));
  }
  return true;
}

bool WriteGlobalVariablesFile(Engine& engine) {
  if (!engine.vars.save_globals) return true;
  // Built in memory first and written in one piece.
  const std::vector<uint8_t> bytes = EncodeGlobalVariables(engine.vars, engine.global_border);
  return WritePersistentFile(engine, kGlobalVariablesFile, bytes.data(), bytes.size());
}

void LoadGlobalVariablesFile(Engine& engine) {
  // A missing file reads as no bytes: every global is cleared.
  if (DecodeGlobalVariables(ReadPersistentFile(engine, kGlobalVariablesFile), engine.global_border, engine.vars))
    return;
  // A damaged file gives none of its values: the globals start cleared, as
  // without a file, and the next write replaces it.
  DecodeGlobalVariables({}, engine.global_border, engine.vars);
  engine.platform.Note("orivane: gloval.sav is damaged (a record is cut): the global variables start cleared");
}

}  // namespace orivane
