// The row blenders: the division identities the SIMD lanes rely on, checked
// over every input; each fast routine against the MulTable over every input
// it can take; and the fast set against the plain set on random rows and on
// whole random pictures drawn with every mode and opacity, for odd widths,
// unaligned rows and clipped rectangles.
#include "graphics/row_blend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/effects.h"
#include "graphics/image_surface.h"
#include "graphics/mul_table.h"
#include "graphics/sprite_draw.h"

namespace orivane {

void PrintTo(RowBlendSet set, std::ostream* os) {
  *os << (set == RowBlendSet::kPlain ? "plain" : set == RowBlendSet::kSse2 ? "SSE2" : "AVX2");
}

namespace test {
namespace {

using Bytes = std::vector<uint8_t>;

// The opacities a script can give, as drawn: never set, the ends and inside.
constexpr int kOpacities[] = {-1, 0, 1, 77, 128, 254, 255};

Bytes RandomBytes(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (uint8_t& v : b) v = static_cast<uint8_t>(rng());
  return b;
}

// Reports the first differing byte of two equally long buffers.
::testing::AssertionResult SameBytes(const Bytes& got, const Bytes& want) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
  if (std::memcmp(got.data(), want.data(), got.size()) == 0) return ::testing::AssertionSuccess();
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i])
      return ::testing::AssertionFailure()
             << "byte " << i << ": " << int{got[i]} << " instead of " << int{want[i]};
  return ::testing::AssertionSuccess();
}

TEST(RowBlendDivision, IdentitiesHoldForEveryInput) {
  // x/255 = ((x + 1)·257) >> 16 for every 16-bit lane value the blends form.
  for (uint32_t x = 0; x <= 65534; ++x) ASSERT_EQ(((x + 1) * 257) >> 16, x / 255) << x;
  // s·a/255 = (s·(257a + 1)) >> 16 with a fixed weight 0..254 (255 is s itself).
  MulTable mul;
  for (uint32_t a = 0; a <= 255; ++a)
    for (uint32_t s = 0; s <= 255; ++s) {
      ASSERT_EQ(mul(a, s), a * s / 255);
      if (a < 255) {
        ASSERT_EQ((s * (257 * a + 1)) >> 16, a * s / 255) << s << "·" << a;
      }
    }
}

// The SIMD sets this CPU runs, each to be compared with the plain set.
struct NamedSet {
  const char* name;
  const RowBlenders* rows;
};
std::vector<NamedSet> SimdSets() {
  std::vector<NamedSet> sets;
  if (const RowBlenders* r = RowBlendersFor(RowBlendSet::kSse2)) sets.push_back({"SSE2", r});
  if (const RowBlenders* r = RowBlendersFor(RowBlendSet::kAvx2)) sets.push_back({"AVX2", r});
  return sets;
}

TEST(RowBlendSets, TheEngineDrawsWithTheWidestSetTheCpuRuns) {
  const std::vector<NamedSet> sets = SimdSets();
  const RowBlenders* widest = sets.empty() ? &PlainRowBlenders() : sets.back().rows;
  EXPECT_EQ(&FastRowBlenders(), widest);
  EXPECT_EQ(RowBlendersFor(RowBlendSet::kPlain), &PlainRowBlenders());
}

// Every routine of every set against the MulTable, over all of its inputs.
class EveryInput : public ::testing::TestWithParam<RowBlendSet> {
 protected:
  void SetUp() override {
    if (!RowBlendersFor(GetParam())) GTEST_SKIP() << "set not built or not run by this CPU";
  }
  const RowBlenders& rows() const { return *RowBlendersFor(GetParam()); }
  MulTable mul;
};

TEST_P(EveryInput, Opacity) {
  // Byte i of the row pairs source i & 255 with destination i >> 8.
  Bytes src(65536);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i);
  for (int op = 0; op <= 255; ++op) {
    Bytes dst(65536), want(65536);
    const uint8_t *to_src = mul.Row(op), *to_dst = mul.Row(255 - op);
    for (size_t i = 0; i < dst.size(); ++i) {
      dst.data()[i] = static_cast<uint8_t>(i >> 8);
      want.data()[i] = static_cast<uint8_t>(to_src[i & 255] + to_dst[i >> 8]);
    }
    rows().opacity(dst.data(), src.data(), static_cast<int>(dst.size()), op);
    ASSERT_TRUE(SameBytes(dst, want)) << "opacity " << op;
  }
}

TEST_P(EveryInput, AlphaAndAlphaWithOpacity) {
  // Pixel i: blue pairs source i & 255 with destination i >> 8, green the
  // other way round, red a third pairing. Only the mask's blue byte counts.
  const int n = 65536;
  Bytes src(n * 3), start(n * 3);
  for (int i = 0; i < n; ++i) {
    src[i * 3] = static_cast<uint8_t>(i);
    src[i * 3 + 1] = static_cast<uint8_t>(i >> 8);
    src[i * 3 + 2] = static_cast<uint8_t>(i * 7 + (i >> 8));
    start[i * 3] = static_cast<uint8_t>(i >> 8);
    start[i * 3 + 1] = static_cast<uint8_t>(i);
    start[i * 3 + 2] = static_cast<uint8_t>(i >> 8);
  }
  // Pass k gives pixel i the mask level (i + k) & 255, so that neighbouring
  // pixels differ and every pixel meets every level.
  for (int k = 0; k <= 255; ++k) {
    Bytes mask(n * 3);
    for (int i = 0; i < n; ++i) {
      mask[i * 3] = static_cast<uint8_t>(i + k);
      mask[i * 3 + 1] = static_cast<uint8_t>(i * 13);  // green and red are ignored
      mask[i * 3 + 2] = static_cast<uint8_t>(255 - i);
    }
    Bytes dst = start, want(n * 3);
    const uint8_t *sp = src.data(), *dp = start.data(), *mp = mask.data();
    uint8_t* wp = want.data();
    for (int i = 0; i < n * 3; ++i) {
      const int m = mp[i / 3 * 3];
      wp[i] = static_cast<uint8_t>(mul.Row(255 - m)[sp[i]] + mul.Row(m)[dp[i]]);
    }
    rows().alpha(dst.data(), src.data(), mask.data(), n);
    ASSERT_TRUE(SameBytes(dst, want)) << "pass " << k;
  }
  // With an opacity: every opacity and mask level over 256 pixels whose
  // colours vary from row to row.
  std::mt19937 rng(7);
  for (int op = 0; op <= 255; ++op) {
    const int px = 256;
    Bytes s = RandomBytes(rng, px * 3), d = RandomBytes(rng, px * 3), mask(px * 3);
    for (int i = 0; i < px; ++i) mask[i * 3] = static_cast<uint8_t>(i);
    Bytes want(px * 3);
    for (int i = 0; i < px * 3; ++i) {
      const int a = mul(op, 255 - mask[i / 3 * 3]);
      want[i] = static_cast<uint8_t>(mul(a, s[i]) + mul(255 - a, d[i]));
    }
    rows().alpha_opacity(d.data(), s.data(), mask.data(), px, op);
    ASSERT_TRUE(SameBytes(d, want)) << "opacity " << op;
  }
}

TEST_P(EveryInput, AlphaText) {
  // Every mask level with every source value, for opacities from unset to 255.
  std::mt19937 rng(11);
  const int n = 65536;
  for (int op : kOpacities) {
    Bytes src(n * 3), mask(n * 3), dst = RandomBytes(rng, n * 3);
    for (int i = 0; i < n; ++i) {
      mask[i * 3] = static_cast<uint8_t>(i >> 8);
      for (int c = 0; c < 3; ++c) src[i * 3 + c] = static_cast<uint8_t>(i + c * 85);
    }
    Bytes want(n * 3);
    for (int i = 0; i < n * 3; ++i) {
      const int v = mul(dst[i], mask[i / 3 * 3]) + (op < 0 ? src[i] : mul(op, src[i]));
      want[i] = static_cast<uint8_t>(std::min(255, v));
    }
    rows().alpha_text(dst.data(), src.data(), mask.data(), n, op);
    ASSERT_TRUE(SameBytes(dst, want)) << "opacity " << op;
  }
}

TEST_P(EveryInput, CrossFade) {
  Bytes fresh(65536), old(65536);
  for (size_t i = 0; i < fresh.size(); ++i) {
    fresh[i] = static_cast<uint8_t>(i);
    old[i] = static_cast<uint8_t>(i >> 8);
  }
  for (int phase = 0; phase < 2; ++phase)
    for (int a = 0; a <= 255; ++a) {
      Bytes out(65536, 0xA5), want(65536, 0xA5);
      const uint8_t *to_fresh = mul.Row(a), *to_old = mul.Row(255 - a);
      for (size_t i = phase; i < want.size(); i += 2)
        want.data()[i] = static_cast<uint8_t>(to_fresh[i & 255] + to_old[i >> 8]);
      rows().cross_fade(out.data(), old.data(), fresh.data(), static_cast<int>(out.size()), a,
                        phase);
      ASSERT_TRUE(SameBytes(out, want)) << "a " << a << " phase " << phase;
    }
}

TEST_P(EveryInput, KeyedLeavesExactlyTheKeyColour) {
  // Colours that differ from the key in one, two or all three bytes.
  const uint8_t key[3] = {10, 20, 30};
  std::mt19937 rng(3);
  const int n = 4096;
  Bytes src(n * 3);
  for (int i = 0; i < n; ++i) {
    const unsigned differ = rng() % 8;  // bit c set: byte c differs from the key
    for (int c = 0; c < 3; ++c)
      src[i * 3 + c] = static_cast<uint8_t>(key[c] + ((differ >> c) & 1 ? 1 + rng() % 255 : 0));
  }
  for (int op : kOpacities) {
    Bytes dst = RandomBytes(rng, n * 3), want = dst;
    for (int i = 0; i < n; ++i) {
      if (std::memcmp(&src[i * 3], key, 3) == 0) continue;
      for (int c = 0; c < 3; ++c) {
        uint8_t& w = want[i * 3 + c];
        w = op < 0 ? src[i * 3 + c]
                   : static_cast<uint8_t>(mul(op, src[i * 3 + c]) + mul(255 - op, w));
      }
    }
    rows().keyed(dst.data(), src.data(), n, key, op);
    ASSERT_TRUE(SameBytes(dst, want)) << "opacity " << op;
  }
}

INSTANTIATE_TEST_SUITE_P(RowBlend, EveryInput,
                         ::testing::Values(RowBlendSet::kPlain, RowBlendSet::kSse2,
                                           RowBlendSet::kAvx2),
                         [](const ::testing::TestParamInfo<RowBlendSet>& set) {
                           return set.param == RowBlendSet::kPlain  ? "Plain"
                                  : set.param == RowBlendSet::kSse2 ? "Sse2"
                                                                    : "Avx2";
                         });

// ---- The fast set against the plain set ----------------------------------

// Rows of every length around the block sizes, starting at every offset
// within a block, with guard bytes on both sides that must stay.
TEST(RowBlendFastEqualsPlain, RandomRowsOfEveryLengthAndOffset) {
  const int lengths[] = {0,  1,  2,  3,  4,  5,  7,  8,  15, 16, 17, 31,
                         32, 33, 47, 48, 49, 63, 64, 65, 95, 96, 97, 200};
  const uint8_t key[3] = {1, 2, 3};
  std::mt19937 rng(5);
  const RowBlenders& plain = PlainRowBlenders();
  for (const NamedSet& set : SimdSets())
    for (int len : lengths)
      for (int offset = 0; offset < 16; offset += 3)
        for (int op : kOpacities) {
          const size_t bytes = static_cast<size_t>(len) * 3, guard = 32;
          Bytes src = RandomBytes(rng, bytes + 2 * guard),
                mask = RandomBytes(rng, bytes + 2 * guard);
          Bytes start = RandomBytes(rng, bytes + 2 * guard);
          // Some key pixels and fully clear or opaque stretches.
          for (int i = 0; i < len; ++i) {
            if (rng() % 3 == 0) std::memcpy(&src[guard + i * 3], key, 3);
            if (i % 20 < 6) mask[guard + i * 3] = i % 40 < 20 ? 0 : 255;
          }
          const uint8_t* s = src.data() + guard - offset;  // unaligned, any start
          const uint8_t* m = mask.data() + guard - offset;
          auto run = [&](const RowBlenders& rows, const char* what) {
            Bytes out = start;
            uint8_t* d = out.data() + guard - offset;
            const std::string routine = what;
            if (routine == "opacity") rows.opacity(d, s, len * 3, op < 0 ? 255 : op);
            if (routine == "alpha") rows.alpha(d, s, m, len);
            if (routine == "alpha_opacity") rows.alpha_opacity(d, s, m, len, op < 0 ? 255 : op);
            if (routine == "alpha_text") rows.alpha_text(d, s, m, len, op);
            if (routine == "keyed") rows.keyed(d, s, len, key, op);
            if (routine == "cross_fade_even")
              rows.cross_fade(d, m, s, len * 3, op < 0 ? 255 : op, 0);
            if (routine == "cross_fade_odd")
              rows.cross_fade(d, m, s, len * 3 + 1, op < 0 ? 0 : op, 1);
            return out;
          };
          for (const char* routine : {"opacity", "alpha", "alpha_opacity", "alpha_text", "keyed",
                                      "cross_fade_even", "cross_fade_odd"}) {
            Bytes want = run(plain, routine), got = run(*set.rows, routine);
            ASSERT_TRUE(SameBytes(got, want)) << set.name << " " << routine << " length " << len
                                              << " offset " << offset << " opacity " << op;
            // The guard bytes before and after the row are never touched.
            const size_t end = guard - offset + bytes + (std::string(routine) == "cross_fade_odd");
            for (size_t i = 0; i < want.size(); ++i)
              if (i < guard - offset || i >= end) {
                ASSERT_EQ(want[i], start[i]) << routine << " " << i;
              }
          }
        }
}

ImageSurface RandomPicture(std::mt19937& rng, int w, int h, int mode, bool text, int opacity) {
  ImageSurface s;
  s.CreateBlank(mode == kModeAlpha ? w * 2 : w, h, 24);
  for (uint8_t& b : s.pixels) b = static_cast<uint8_t>(rng());
  // Key-coloured pixels for the key modes, clear and opaque runs in the mask.
  const uint8_t key[3] = {0x40, 0x80, 0xC0};
  for (int y = 0; y < h; ++y) {
    uint8_t* row = s.RowFromTop(y);
    for (int x = 0; x < w; ++x) {
      if (rng() % 4 == 0) std::memcpy(row + x * 3, key, 3);
      if (mode == kModeAlpha && (x + y) % 24 < 8) row[(w + x) * 3] = (x + y) % 48 < 24 ? 0 : 255;
    }
  }
  s.mode = mode;
  s.is_text = text;
  s.opacity = opacity;
  s.key_blue = key[0];
  s.key_green = key[1];
  s.key_red = key[2];
  return s;
}

TEST(RowBlendFastEqualsPlain, WholePicturesInEveryModeAndOpacity) {
  struct Size {
    int w, h;  // the picture (visible cell)
    int x, y;  // where it is drawn
    PixelRect clip;
  } sizes[] = {
      {1, 1, 0, 0, {0, 0, 99, 79}},    {17, 5, 3, 2, {0, 0, 99, 79}},
      {33, 9, -5, -3, {0, 0, 99, 79}}, {49, 13, 60, 70, {0, 0, 99, 79}},
      {63, 31, 7, 11, {5, 3, 50, 40}}, {95, 40, 1, 1, {13, 7, 98, 78}},
      {100, 80, 0, 0, {0, 0, 99, 79}}, {101, 81, -1, -1, {1, 1, 97, 77}},
  };
  struct Mode {
    int mode;
    bool text;
  } modes[] = {{kModeLeftUp, false},   {kModeAlpha, false}, {kModeAlpha, true},
               {kModeGivenKey, false}, {kModeCopy, false},  {kModeRightUp, false}};
  std::mt19937 rng(9);
  MulTable mul;
  for (const NamedSet& set : SimdSets())
    for (const Size& size : sizes)
      for (const Mode& mode : modes)
        for (int op : kOpacities) {
          ImageSurface pic = RandomPicture(rng, size.w, size.h, mode.mode, mode.text, op);
          DisplaySurface background;
          background.Resize(100, 80);
          for (uint8_t& b : background.pixels) b = static_cast<uint8_t>(rng());
          DisplaySurface want = background, got = background;
          DrawSpriteWith(PlainRowBlenders(), mul, pic, PixelView(want), &size.clip, size.x, size.y);
          DrawSpriteWith(*set.rows, mul, pic, PixelView(got), &size.clip, size.x, size.y);
          ASSERT_TRUE(SameBytes(got.pixels, want.pixels))
              << set.name << " " << size.w << "×" << size.h << " mode " << mode.mode
              << (mode.text ? " text" : "") << " opacity " << op;
        }
}

TEST(RowBlendFastEqualsPlain, CrossFadeFramesOverUnalignedRectangles) {
  const PixelRect rects[] = {{0, 0, 99, 79}, {1, 1, 1, 1},    {3, 2, 20, 9},
                             {5, 7, 62, 40}, {17, 0, 99, 79}, {-4, -4, 200, 200}};
  std::mt19937 rng(13);
  MulTable mul;
  const std::vector<NamedSet> sets = SimdSets();
  auto random_surface = [&] {
    DisplaySurface d;
    d.Resize(100, 80);
    for (uint8_t& b : d.pixels) b = static_cast<uint8_t>(rng());
    return d;
  };
  for (const PixelRect& r : rects)
    for (int a : {1, 2, 100, 128, 254, 255})
      for (int phase = 0; phase < 2; ++phase) {
        DisplaySurface old = random_surface(), fresh = random_surface(), start = random_surface();
        DisplaySurface want = start;
        CrossFadeBytes(mul, PixelView(want), PixelView(old), PixelView(fresh), r, a, phase,
                       PlainRowBlenders());
        for (const NamedSet& set : sets) {
          DisplaySurface got = start;
          CrossFadeBytes(mul, PixelView(got), PixelView(old), PixelView(fresh), r, a, phase,
                         *set.rows);
          ASSERT_TRUE(SameBytes(got.pixels, want.pixels))
              << set.name << " " << r.left << "," << r.top << " " << r.right << "," << r.bottom
              << " a " << a << " phase " << phase;
        }
      }
}

}  // namespace
}  // namespace test
}  // namespace orivane
