// The text window's page state as the rest of the engine sees it: where the
// cursor stands and how line ends wait. The window's drawing settings join
// this record when the text window is built.
#pragma once

#include <cstdint>

namespace orivane {

struct TextWindow {
  int32_t column = 0;  // cursor cell within the line
  int32_t line = 0;    // cursor line within the page
  int32_t rows = 20;
  int32_t click_lines_from_bottom = 0;
  bool line_page = false;          // `linepage`: every text line ends with a page wait
  bool line_page2 = false;         // `linepage2`: click wait, or page wait near the bottom
  bool bracket_conversion = false; // `zenkakko`: full-width brackets become [[ ]] tags
};

}  // namespace orivane
