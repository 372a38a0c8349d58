#include "save/global_variables_file.h"

#include <algorithm>

#include "engine.h"
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

void DecodeGlobalVariables(const std::vector<uint8_t>& bytes, int32_t border, Variables& vars) {
  SaveReader in(bytes);
  for (int32_t n = FirstGlobal(border); n < kVariableCount; ++n) {
    vars.SetNum(n, in.Int());
    vars.SetStr(n, in.Str());
  }
}

bool WriteGlobalVariablesFile(Engine& engine) {
  if (!engine.vars.save_globals) return true;
  // Built in memory first and written in one piece.
  const std::vector<uint8_t> bytes = EncodeGlobalVariables(engine.vars, engine.global_border);
  return WritePersistentFile(engine, kGlobalVariablesFile, bytes.data(), bytes.size());
}

void LoadGlobalVariablesFile(Engine& engine) {
  // A missing file reads as no bytes: every global is cleared.
  DecodeGlobalVariables(ReadPersistentFile(engine, kGlobalVariablesFile), engine.global_border,
                        engine.vars);
}

}  // namespace orivane
