// The save-file reader: every field a file cannot give (past the end, a
// string without its zero byte, a count or offset out of its range) reads as
// 0 or "" and leaves the reader failed for good, so a load can check a whole
// file once at its end; whole fields leave it sound.
#include "util/save_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orivane::test {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(SaveReader, FailsOnWhatTheBytesCannotGiveAndRemembersIt) {
  const std::string five = std::string("\x05\0\0\0", 4);
  struct Case {
    const char* name;
    std::string bytes;
    std::function<void(SaveReader&)> read;
    bool failed;
  } cases[] = {
      {"a whole integer", five, [](SaveReader& in) { EXPECT_EQ(in.Int(), 5); }, false},
      {"an integer cut short", "\x05\0", [](SaveReader& in) { EXPECT_EQ(in.Int(), 0); }, true},
      {"no integer at all", "", [](SaveReader& in) { EXPECT_EQ(in.Int(), 0); }, true},
      {"a whole string", std::string("ab\0", 3), [](SaveReader& in) { EXPECT_EQ(in.Str(), "ab"); }, false},
      {"a string without its zero byte", "ab", [](SaveReader& in) { EXPECT_EQ(in.Str(), "ab"); }, true},
      {"no string at all", "", [](SaveReader& in) { EXPECT_EQ(in.Str(), ""); }, true},
      {"a count at its limit", five, [](SaveReader& in) { EXPECT_EQ(in.Count(5), 5); }, false},
      {"a count past its limit", five, [](SaveReader& in) { EXPECT_EQ(in.Count(4), 0); }, true},
      {"a negative count", "\xff\xff\xff\xff", [](SaveReader& in) { EXPECT_EQ(in.Count(10), 0); }, true},
      {"an offset below its range", five, [](SaveReader& in) { EXPECT_EQ(in.Bounded(6, 9), 6); }, true},
      {"integers all there", five + five,
       [](SaveReader& in) {
         int32_t v[2] = {9, 9};
         in.Ints(v, 2);
         EXPECT_EQ(v[1], 5);
       },
       false},
      {"integers short of the count", five,
       [](SaveReader& in) {
         int32_t v[2] = {9, 9};
         in.Ints(v, 2);
         EXPECT_EQ(v[0], 5);
         EXPECT_EQ(v[1], 0);
       },
       true},
      // Once failed, whole fields after it do not make it sound again.
      {"a failure stays", std::string("\x09\0\0\0", 4) + five,
       [](SaveReader& in) {
         in.Count(1);
         EXPECT_EQ(in.Int(), 5);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> bytes = Bytes(c.bytes);
    SaveReader in(bytes);
    c.read(in);
    EXPECT_EQ(in.failed(), c.failed);
  }
}

}  // namespace
}  // namespace orivane::test
