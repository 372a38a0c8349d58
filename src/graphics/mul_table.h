// MulTable: the product table of the engine's blend arithmetic. Entry [a][b]
// is a × b / 255 with truncating division, so a blend is two lookups and an
// addition and gives the same bytes on every machine. The row blenders
// (row_blend.h) compute the same quotients instead of looking them up.
#pragma once

#include <array>
#include <cstdint>

namespace orivane {

class MulTable {
 public:
  MulTable() {
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) table_[a * 256 + b] = static_cast<uint8_t>(a * b / 255);
  }
  uint8_t operator()(int a, int b) const { return table_[(a << 8) | b]; }
  // The 256 products a × b / 255 for b = 0..255; a hot loop fetches the row once.
  const uint8_t* Row(int a) const { return &table_[a << 8]; }

 private:
  std::array<uint8_t, 65536> table_{};
};

}  // namespace orivane
