// Face names to font files, through fontconfig. A family the machine has
// resolves to its own file; a family it does not have (fontconfig would
// quietly offer a look-alike) resolves to the engine's standard Japanese
// face, IPAGothic, which stands in for "ＭＳ ゴシック".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

struct _FcConfig;

namespace orivane {

struct FaceFile {
  std::string path;
  int index = 0;          // the face within a collection file
  bool embolden = false;  // bold was asked for and the face has none: synthesise it
  bool operator==(const FaceFile&) const = default;
};

class FaceLookup {
 public:
  FaceLookup() = default;
  ~FaceLookup();
  FaceLookup(const FaceLookup&) = delete;
  FaceLookup& operator=(const FaceLookup&) = delete;

  // The file for a family name (UTF-8) at a weight (400 normal, 700 bold):
  // the family itself when installed, else Standard(). nullopt only when the
  // machine has no fonts at all.
  std::optional<FaceFile> Resolve(std::string_view family, int weight);

  // The standard face: IPAGothic, else any face with Japanese coverage, else
  // whatever face fontconfig offers first.
  std::optional<FaceFile> Standard(int weight);

 private:
  _FcConfig* Config();
  // fontconfig's best match for a family (none: any family) with Japanese
  // coverage when asked. With `exact`, a face of another family does not count.
  std::optional<FaceFile> Match(std::string_view family, bool japanese, bool exact, int weight);

  _FcConfig* config_ = nullptr;
  bool config_failed_ = false;
  // Resolutions already made. The names come from scripts, so the map is
  // emptied when it grows past a bound.
  std::map<std::pair<std::string, int>, std::optional<FaceFile>> resolved_;
  std::map<int, std::optional<FaceFile>> standard_;  // by weight
};

}  // namespace orivane
