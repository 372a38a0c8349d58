#include "script/general_state.h"

#include <unistd.h>

namespace orivane {

bool CsvState::Close() {
  bool ok = true;
  if (out) {
    ok = std::fflush(out) == 0;
    ok = (::fsync(fileno(out)) == 0) && ok;
    ok = (std::fclose(out) == 0) && ok;
    out = nullptr;
    if (!ok || std::rename(out_temp_path.c_str(), out_final_path.c_str()) != 0) {
      std::remove(out_temp_path.c_str());
      ok = false;
    }
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
