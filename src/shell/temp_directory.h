// The engine's private temporary directory: made with mkdtemp under $TMPDIR
// (default /tmp) at start-up, removed with everything in it at exit. Files
// taken out of archives for players that need a file name go here.
#pragma once

#include <string>

namespace orivane {

struct TemporaryDirectory {
  std::string path;  // empty until created

  TemporaryDirectory() = default;
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  ~TemporaryDirectory() { Remove(); }

  // Creates a fresh directory; false (and `path` empty) when that fails.
  bool Create();
  // Removes the directory and its contents; harmless when there is none.
  void Remove();
};

}  // namespace orivane
