// The fonts of the machine, as the engine sees them: the faces the font menu
// offers (and, with the text window, the glyphs of a face at a pixel size).
// The platform hands the service out; the engine core never talks to a font
// library itself.
#pragma once

#include <string>
#include <vector>

namespace orivane {

struct FontMenuEntry {
  int number;        // the family's place in the report, below `limit`
  std::string name;  // UTF-8 face name (the Japanese name when the font has one)
};

class FontService {
 public:
  virtual ~FontService() = default;

  // The faces for the font menu: installed families with Japanese coverage,
  // reported one family at a time in a fixed order. Each reported family
  // takes the next number (0, 1, 2 ...); only fixed-pitch outline faces whose
  // name does not begin with '@' (a vertical-writing face) are kept, so the
  // numbers of the kept ones need not be consecutive. Reporting stops at
  // `limit` families.
  virtual std::vector<FontMenuEntry> ListMenuFonts(int limit) = 0;
};

// A machine without fonts: the menu lists none. What a headless platform
// uses when it is given no font service.
class NoFonts final : public FontService {
 public:
  std::vector<FontMenuEntry> ListMenuFonts(int) override { return {}; }
};

}  // namespace orivane
