#include "script/general_state.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

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

void ChildProcesses::Forget(pid_t pid) {
  pids_.erase(std::remove(pids_.begin(), pids_.end(), pid), pids_.end());
}

void ChildProcesses::Reap() {
  auto ended = [](pid_t pid) {
    int status;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    return r == pid || r < 0;  // ended, or not ours to wait for any more
  };
  pids_.erase(std::remove_if(pids_.begin(), pids_.end(), ended), pids_.end());
}

}  // namespace orivane
