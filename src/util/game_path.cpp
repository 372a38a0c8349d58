#include "util/game_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "util/sjis.h"

namespace orivane {
namespace {

// The name with every separator byte turned into '/', trail bytes of
// two-byte characters left alone.
std::string WithSlashes(std::string_view sjis) {
  std::string out(sjis);
  for (size_t i = 0; i < out.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(out[i]);
    if (IsSjisLead(c)) {
      ++i;
    } else if (c == '\\') {
      out[i] = '/';
    }
  }
  return out;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name equals `component` ignoring ASCII case, or
// the component itself when there is none.
std::string MatchInDirectory(const std::string& dir, const std::string& component) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return component;
  std::string found = component;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, component.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

bool IsInsideGameDirectory(std::string_view sjis_name) {
  std::string name = WithSlashes(sjis_name);
  if (name.empty() || name[0] == '/') return false;
  if (name.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

std::string HostPath(std::string_view sjis_name) {
  std::string path = SjisToUtf8(WithSlashes(sjis_name));
  if (path.empty() || Exists(path)) return path;
  // Rebuild the path one component at a time, taking the spelling found on disk.
  std::string resolved;
  size_t start = 0;
  if (path[0] == '/') {
    resolved = "/";
    start = 1;
  }
  while (start < path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string component = path.substr(start, end - start);
    if (!component.empty()) {
      std::string candidate = resolved + component;
      if (component != "." && component != ".." && !Exists(candidate))
        candidate = resolved + MatchInDirectory(resolved, component);
      resolved = candidate;
      if (end < path.size()) resolved.push_back('/');
    }
    start = end + 1;
  }
  return resolved;
}

std::string LowerExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot + 1));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

}  // namespace orivane
