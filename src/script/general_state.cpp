#include "script/general_state.h"

#include "util/file_io.h"

namespace orivane {

bool CsvState::Close() {
  bool ok = true;
  if (out) {
    ok = FinishAndRename(out, out_temp_path, out_final_path);
    out = nullptr;
  }
  name.clear();
  data.clear();
  data.shrink_to_fit();
  read_pos = 0;
  out_temp_path.clear();
  out_final_path.clear();
  return ok;
}

}  // namespace orivane
