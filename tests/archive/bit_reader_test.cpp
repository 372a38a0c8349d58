// The bit reader against bits taken one at a time, through both of its
// ways of reading, across word refills and the end of the input.
#include "archive/bit_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orivane {
namespace {

TEST(BitReader, ReadsTheBitsInOrderWhateverTheWidths) {
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> data(rng() % 64);
    for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
    const size_t total = data.size() * 8;
    auto bit_at = [&](size_t i) { return static_cast<uint32_t>((data[i / 8] >> (7 - i % 8)) & 1); };
    BitReader reader(data.data(), data.size());
    size_t taken = 0;
    for (;;) {
      int n = 1 + static_cast<int>(rng() % 24);
      uint32_t expected = 0;
      for (int i = 0; i < n && taken + i < total; ++i) expected = expected << 1 | bit_at(taken + i);
      uint32_t got = 0;
      if (rng() % 2) {
        bool ok = reader.Read(n, got);
        ASSERT_EQ(ok, taken + n <= total) << round;
        if (!ok) break;
      } else {
        int available = reader.Available(n);
        ASSERT_EQ(available >= n, taken + n <= total) << round;
        if (available < n) break;
        got = reader.Peek(n);
        reader.Consume(n);
      }
      ASSERT_EQ(got, expected) << "round " << round << " at bit " << taken << " width " << n;
      taken += n;
    }
  }
}

}  // namespace
}  // namespace orivane
