// The LZSS decoder: tokens, the shared window, cut-off output, and the
// encoder of the archive tool against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "archive/bit_writer.h"
#include "archive/lzss.h"
#include "archive/lzss_encoder.h"

namespace orivane {
namespace {

struct Token {
  bool literal;
  uint32_t a;  // the byte, or the window position
  uint32_t length_code = 0;
};

std::vector<uint8_t> Stream(const std::vector<Token>& tokens, int extra_zero_bits = 0) {
  BitWriter w;
  for (const Token& t : tokens) {
    if (t.literal) {
      w.Write(1, 1);
      w.Write(8, t.a);
    } else {
      w.Write(1, 0);
      w.Write(8, t.a);
      w.Write(4, t.length_code);
    }
  }
  w.Write(extra_zero_bits, 0);
  return w.Finish();
}

std::string Decode(LzssWindow& window, const std::vector<uint8_t>& in, size_t limit = 1 << 20) {
  auto out = LzssDecodeToMemory(window, in.data(), in.size(), limit);
  return std::string(out.begin(), out.end());
}

Token Lit(char c) { return {true, static_cast<uint8_t>(c)}; }
Token Copy(uint32_t pos, uint32_t code) { return {false, pos, code}; }

TEST(Lzss, DecodesTokens) {
  struct Case {
    const char* what;
    std::vector<Token> tokens;
    std::string expected;
  } cases[] = {
      {"literals", {Lit('a'), Lit('b'), Lit('c')}, "abc"},
      {"match at position 0 of length code 0 gives two spaces", {Copy(0, 0)}, "  "},
      {"copy of earlier output", {Lit('x'), Lit('y'), Copy(0xEF, 1)}, "xyxyx"},
      // The copy reads position 239 while writing 240, 241...: each byte it
      // reads was written earlier by the same copy.
      {"overlapping copy repeats", {Lit('z'), Copy(0xEF, 4)}, "zzzzzzz"},
      // Positions 250..255 and 0..10 across the window end: 239..249 hold the
      // 11 literals, 250..255 are still zero from before the first decoding.
      {"copy across the window end",
       {Lit('0'), Lit('1'), Lit('2'), Lit('3'), Lit('4'), Lit('5'), Lit('6'), Lit('7'), Lit('8'), Lit('9'),
        Lit('a'), Copy(250, 15)},
       std::string("0123456789a") + std::string(6, '\0') + std::string(11, ' ')},
  };
  for (const Case& c : cases) {
    LzssWindow window;
    EXPECT_EQ(Decode(window, Stream(c.tokens)), c.expected) << c.what;
  }
}

TEST(Lzss, IncompleteLastTokenProducesNothing) {
  // Two literals are 18 bits; up to 6 more zero bits still end within 3 bytes,
  // short of the 13 bits of a copy.
  for (int padding = 0; padding <= 6; ++padding) {
    LzssWindow window;
    EXPECT_EQ(Decode(window, Stream({Lit('a'), Lit('b')}, padding)), "ab") << padding;
  }
  // A copy cut inside its position byte.
  LzssWindow window;
  BitWriter w;
  for (char c : std::string("qr")) {
    w.Write(1, 1);
    w.Write(8, static_cast<uint8_t>(c));
  }
  w.Write(1, 0);
  w.Write(3, 7);  // 22 bits, padded to 24
  auto in = w.Finish();
  EXPECT_EQ(Decode(window, in), "qr");
  EXPECT_EQ(Decode(window, {}), "");
}

TEST(Lzss, WindowTailCarriesOverToTheNextEntry) {
  LzssWindow window;
  // The first entry writes "ABCDEFGHIJKLMNOPQR" from position 239 on.
  std::vector<Token> first;
  for (char c : std::string("ABCDEFGHIJKLMNOPQR")) first.push_back(Lit(c));
  EXPECT_EQ(Decode(window, Stream(first)), "ABCDEFGHIJKLMNOPQR");
  // The next entry reads 245..250 before writing there: bytes 239..255 keep
  // the previous entry's output, bytes 0..238 are spaces again.
  EXPECT_EQ(Decode(window, Stream({Copy(245, 4), Copy(0, 0)})), "GHIJKL  ");
  // Before any decoding the tail is zero.
  LzssWindow fresh;
  EXPECT_EQ(Decode(fresh, Stream({Copy(250, 0)})), std::string(2, '\0'));
}

TEST(Lzss, OutputBeyondTheLimitIsCutButStillReachesTheWindow) {
  std::vector<Token> tokens;
  for (char c : std::string("abcdefghijklmnopqrstuvwxyz")) tokens.push_back(Lit(c));
  auto in = Stream(tokens);
  LzssWindow cut, whole;
  EXPECT_EQ(Decode(cut, in, 5), "abcde");
  EXPECT_EQ(Decode(whole, in), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(cut.bytes, whole.bytes);
  EXPECT_EQ(Decode(cut, in, 0), "");
}

TEST(Lzss, WritesToAFile) {
  LzssWindow window;
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::string text(100000, 'x');
  for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
  auto packed = LzssEncode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  EXPECT_EQ(LzssDecodeToFile(window, packed.data(), packed.size(), f), static_cast<int64_t>(text.size()));
  std::rewind(f);
  std::string back(text.size() + 1, '\0');
  back.resize(std::fread(back.data(), 1, back.size(), f));
  std::fclose(f);
  EXPECT_EQ(back, text);
}

// Memory decoding uses its output as the window, file decoding the window
// itself: both must agree, also for copies from the position about to be
// overwritten (256 bytes back) and from the tail an earlier entry left.
TEST(Lzss, MemoryAndFileDecodingAgree) {
  std::vector<Token> tokens;
  for (int i = 0; i < 300; ++i) tokens.push_back(Lit(static_cast<char>('A' + i % 50)));
  // 300 bytes written: the write position is (239 + 300) mod 256 = 27.
  tokens.push_back(Copy(27, 15));  // 256 back: the position about to be overwritten
  tokens.push_back(Copy(30, 3));   // write position 44: 14 back
  tokens.push_back(Copy(40, 15));  // write position 49: 9 back, reading its own output
  std::vector<Token> first = {Copy(250, 15), Lit('x'), Copy(239, 2)};  // reads the old tail
  for (const auto& stream : {Stream(tokens), Stream(first)}) {
    LzssWindow a, b;
    for (int i = 0; i < 256; ++i) a.bytes[i] = b.bytes[i] = static_cast<uint8_t>(i * 7);
    std::string in_memory = Decode(a, stream);
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    LzssDecodeToFile(b, stream.data(), stream.size(), f);
    std::rewind(f);
    std::string in_file(in_memory.size() + 10, '\0');
    in_file.resize(std::fread(in_file.data(), 1, in_file.size(), f));
    std::fclose(f);
    EXPECT_EQ(in_memory, in_file);
    EXPECT_EQ(a.bytes, b.bytes);
  }
}

// The format stated plainly: bits most significant first, a window of 256
// bytes, a token decoded only when all of its bits are there.
std::string ReferenceDecode(LzssWindow& window, const std::vector<uint8_t>& in, size_t limit) {
  std::fill(window.bytes.begin(), window.bytes.begin() + kLzssStartPosition, uint8_t{0x20});
  size_t bit = 0;
  const size_t bits = in.size() * 8;
  auto take = [&](int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++bit) v = v << 1 | ((in[bit / 8] >> (7 - bit % 8)) & 1);
    return v;
  };
  std::string out;
  uint8_t pos = kLzssStartPosition;
  auto put = [&](uint8_t c) {
    if (out.size() < limit) out.push_back(static_cast<char>(c));
    window.bytes[pos++] = c;
  };
  while (bit < bits) {
    bool literal = take(1);
    if (bits - bit < (literal ? 8u : 12u)) break;
    if (literal) {
      put(static_cast<uint8_t>(take(8)));
    } else {
      uint8_t from = static_cast<uint8_t>(take(8));
      uint32_t count = take(4) + 2;
      for (uint32_t k = 0; k < count; ++k) put(window.bytes[from++]);
    }
  }
  return out;
}

// Random streams in three shapes: random bytes (copies from anywhere),
// literals mixed with copies from just behind the write position (copies that
// read their own output), and long copies.
std::vector<uint8_t> RandomStream(std::mt19937& rng, int shape) {
  size_t size = rng() % 3000;
  if (shape == 0) {
    std::vector<uint8_t> in(size);
    for (uint8_t& b : in) b = static_cast<uint8_t>(rng());
    return in;
  }
  std::vector<Token> tokens;
  uint8_t pos = kLzssStartPosition;
  while (tokens.size() < size) {
    if (shape == 1 && rng() % 3 != 0) {
      tokens.push_back(Lit(static_cast<char>(rng())));
      ++pos;
    } else {
      uint32_t back = shape == 1 ? 1 + rng() % 20 : rng() % 256;
      uint32_t code = shape == 1 ? rng() % 4 : rng() % 16;
      tokens.push_back(Copy(static_cast<uint8_t>(pos - back), code));
      pos = static_cast<uint8_t>(pos + code + 2);
    }
  }
  return Stream(tokens, static_cast<int>(rng() % 8));
}

TEST(Lzss, AgreesWithThePlainStatementOfTheFormat) {
  std::mt19937 rng(99);
  for (int round = 0; round < 600; ++round) {
    std::vector<uint8_t> in = RandomStream(rng, round % 3);
    LzssWindow start;
    for (auto& b : start.bytes) b = static_cast<uint8_t>(rng());
    const size_t limits[] = {SIZE_MAX, 0, 1, 255, 256, 257, rng() % 5000};
    const size_t limit = limits[round % 7];
    LzssWindow expected_window = start, window = start;
    std::string expected = ReferenceDecode(expected_window, in, limit);
    ASSERT_EQ(Decode(window, in, limit), expected) << "round " << round;
    ASSERT_EQ(window.bytes, expected_window.bytes) << "round " << round;
  }
}

TEST(LzssEncoder, RoundTripsWhateverTheWindowHeld) {
  std::mt19937 rng(7);
  std::vector<std::string> inputs = {"", "a", std::string(1000, ' '), std::string(5000, 'q')};
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "the quick brown fox "[rng() % 20];
  inputs.push_back(text);
  std::string noise;
  for (int i = 0; i < 4000; ++i) noise.push_back(static_cast<char>(rng()));
  inputs.push_back(noise);
  for (const std::string& in : inputs) {
    auto packed = LzssEncode(reinterpret_cast<const uint8_t*>(in.data()), in.size());
    LzssWindow dirty;
    for (auto& b : dirty.bytes) b = static_cast<uint8_t>(rng());
    EXPECT_EQ(Decode(dirty, packed), in) << in.size();
  }
  // Repetitive input really shrinks.
  auto packed = LzssEncode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  EXPECT_LT(packed.size(), text.size());
}

}  // namespace
}  // namespace orivane
