// The archive subsystem's record in the Engine: the switches the *define
// block sets, the plug-in archive table, the index and the LZSS window that
// all decodings share.
#pragma once

#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "archive/lzss.h"

namespace orivane {

struct ArchiveState {
  static constexpr size_t kMaxPluginArchives = 50;

  bool archives_on = false;  // `ora`, `or2`, `or3`
  bool prefix_one = false;   // `or2`: every archive begins with one extra byte
  bool prefix_two = false;   // `or3`: two extra bytes (both switches: three)
  bool index_built = false;  // once per process; a `definereset` keeps the index
  bool no_load_error = false;  // `noloaderror`: loaders skip missing files silently
  bool file_log_on = false;    // `filelog`: the file layer records every name it is asked for

  std::string primary_dir;  // `oradir`; empty = the game directory
  std::string added_dir;    // `addoradir`: its "arc.ora" is archive 10

  // `arc`: "archive file|reader module", in registration order.
  std::vector<std::string> plugin_archives;

  ArchiveIndex index;
  LzssWindow lzss_window;

  int prefix_bytes() const { return (prefix_one ? 1 : 0) + (prefix_two ? 2 : 0); }
};

}  // namespace orivane
