// The archive index: the bucket hash, lower-casing, first-inserted-wins.
#include <gtest/gtest.h>

#include <string>

#include "archive/archive_index.h"

namespace orivane {
namespace {

TEST(ArchiveIndex, BucketIsTheWeightedSumOfSignedBytes) {
  struct Case {
    std::string name;
    uint8_t bucket;
  } cases[] = {
      {"", 0},
      {"z", 0},                     // the first byte counts 0
      {"ab", 98},                   // 'b' x 1
      {"abc", (98 + 99 * 2) & 0xFF},  // 296 -> 40
      // Bytes of two-byte characters count negative: 0x82 is -126.
      {std::string("a\x82\xa0"), static_cast<uint8_t>((-126 * 1 + -96 * 2) & 0xFF)},
  };
  for (const Case& c : cases) EXPECT_EQ(ArchiveIndex::BucketOf(c.name), c.bucket) << c.name;
}

TEST(ArchiveIndex, LowerChangesOnlyAsciiCapitalsButEveryByteOfThem) {
  // The trail byte 0x41 ('A') of a two-byte character is lowered too; both
  // the stored names and the requests go through the same rule.
  EXPECT_EQ(ArchiveIndex::Lower("BG\\Pic01.BMP"), "bg\\pic01.bmp");
  EXPECT_EQ(ArchiveIndex::Lower("\x83\x41Z[@"), "\x83\x61z[@");
}

TEST(ArchiveIndex, FirstInsertedWinsAndDuplicatesAreKept) {
  ArchiveIndex index;
  index.Add("BG\\A.BMP", 0, 2, 100, 10, 20);
  index.Add("bg\\a.bmp", 1, 0, 500, 30, 30);
  index.Add("other", 1, 0, 0, 1, 1);
  const IndexEntry* e = index.Find("bg\\a.bmp");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->archive, 0);
  EXPECT_EQ(e->offset, 100u);
  EXPECT_EQ(index.NameOf(*e), "bg\\a.bmp");
  EXPECT_EQ(index.Bucket(ArchiveIndex::BucketOf("bg\\a.bmp")).size(), 2u);
  EXPECT_EQ(index.Find("BG\\A.BMP"), nullptr);  // lookups are given lowered names
  EXPECT_EQ(index.Find("bg\\a.bm"), nullptr);
}

TEST(ArchiveIndex, ManyEntriesInOneBucketStayDistinct) {
  // Thousands of names share the 256 buckets; each is still found as itself.
  ArchiveIndex index;
  std::vector<std::string> names;
  for (int k = 0; k < 3000; ++k) {
    std::string n = "n" + std::to_string(k);
    names.push_back(n);
    index.Add(n, static_cast<uint8_t>(k % 10), 0, static_cast<uint64_t>(k), 1, 1);
  }
  for (int k = 0; k < 3000; ++k) {
    const IndexEntry* e = index.Find(names[k]);
    ASSERT_NE(e, nullptr) << names[k];
    EXPECT_EQ(e->offset, static_cast<uint64_t>(k));
  }
  size_t total = 0;
  for (int b = 0; b < 256; ++b) total += index.Bucket(static_cast<uint8_t>(b)).size();
  EXPECT_EQ(total, 3000u);
}

}  // namespace
}  // namespace orivane
