// The fonts offered by the font menu: installed faces with Japanese coverage,
// reported one family at a time. Each reported family takes the next number
// (0, 1, 2 ...); only fixed-pitch outline faces whose name does not begin
// with '@' (a vertical-writing face) are kept, so the numbers of the kept
// ones need not be consecutive. Reporting stops at `limit` families.
#pragma once

#include <string>
#include <vector>

namespace orivane {

struct FontMenuEntry {
  int number;        // the family's place in the report, below `limit`
  std::string name;  // UTF-8 face name (the Japanese name when the font has one)
};

std::vector<FontMenuEntry> ListMenuFonts(int limit);

}  // namespace orivane
