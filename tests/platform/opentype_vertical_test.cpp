// Reading the vertical forms out of a GSUB table built here byte by byte:
// both single-substitution formats, both coverage formats, extension
// lookups, the 'vrt2' stand-in, and tables cut short or lying.
#include "platform/opentype_vertical.h"

#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>
#include <vector>

namespace orivane::test {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v >> 16);
  Put16(b, v & 0xFFFF);
}
void Append(Bytes& b, const Bytes& more) {
  b.insert(b.end(), more.begin(), more.end());
}

Bytes CoverageList(std::vector<uint16_t> glyphs) {
  Bytes b;
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(glyphs.size()));
  for (uint16_t g : glyphs) Put16(b, g);
  return b;
}
// Ranges of (first, last, first coverage index).
Bytes CoverageRanges(std::vector<std::array<uint16_t, 3>> ranges) {
  Bytes b;
  Put16(b, 2);
  Put16(b, static_cast<uint32_t>(ranges.size()));
  for (auto [first, last, index] : ranges) {
    Put16(b, first);
    Put16(b, last);
    Put16(b, index);
  }
  return b;
}
// Single substitution, format 1: every covered glyph plus `delta`.
Bytes SingleByDelta(const Bytes& coverage, uint16_t delta) {
  Bytes b;
  Put16(b, 1);
  Put16(b, 6);  // the coverage follows the subtable
  Put16(b, delta);
  Append(b, coverage);
  return b;
}
// Single substitution, format 2: the n-th covered glyph becomes substitutes[n].
Bytes SingleByList(const Bytes& coverage, std::vector<uint16_t> substitutes) {
  Bytes b;
  Put16(b, 2);
  Put16(b, static_cast<uint32_t>(6 + 2 * substitutes.size()));
  Put16(b, static_cast<uint32_t>(substitutes.size()));
  for (uint16_t g : substitutes) Put16(b, g);
  Append(b, coverage);
  return b;
}
Bytes Extension(uint16_t type, const Bytes& subtable) {
  Bytes b;
  Put16(b, 1);
  Put16(b, type);
  Put32(b, 8);
  Append(b, subtable);
  return b;
}

struct Lookup {
  uint16_t type;
  std::vector<Bytes> subtables;
};
struct Feature {
  std::string tag;
  std::vector<uint16_t> lookups;
};

// A GSUB table of the features and lookups, every offset computed.
Bytes Gsub(const std::vector<Feature>& features, const std::vector<Lookup>& lookups) {
  Bytes feature_list;
  Put16(feature_list, static_cast<uint32_t>(features.size()));
  Bytes feature_tables;
  const size_t records_end = 2 + 6 * features.size();
  for (const Feature& f : features) {
    for (char c : f.tag) feature_list.push_back(static_cast<uint8_t>(c));
    Put16(feature_list, static_cast<uint32_t>(records_end + feature_tables.size()));
    Put16(feature_tables, 0);
    Put16(feature_tables, static_cast<uint32_t>(f.lookups.size()));
    for (uint16_t l : f.lookups) Put16(feature_tables, l);
  }
  Append(feature_list, feature_tables);

  Bytes lookup_list;
  Put16(lookup_list, static_cast<uint32_t>(lookups.size()));
  Bytes lookup_tables;
  const size_t offsets_end = 2 + 2 * lookups.size();
  for (const Lookup& l : lookups) {
    Put16(lookup_list, static_cast<uint32_t>(offsets_end + lookup_tables.size()));
    Bytes table;
    Put16(table, l.type);
    Put16(table, 0);
    Put16(table, static_cast<uint32_t>(l.subtables.size()));
    size_t at = 6 + 2 * l.subtables.size();
    for (const Bytes& s : l.subtables) {
      Put16(table, static_cast<uint32_t>(at));
      at += s.size();
    }
    for (const Bytes& s : l.subtables) Append(table, s);
    Append(lookup_tables, table);
  }
  Append(lookup_list, lookup_tables);

  Bytes gsub;
  Put16(gsub, 1);
  Put16(gsub, 0);
  Put16(gsub, 0);  // no script list: it is not read
  Put16(gsub, 10);
  Put16(gsub, static_cast<uint32_t>(10 + feature_list.size()));
  Append(gsub, feature_list);
  Append(gsub, lookup_list);
  return gsub;
}

TEST(VerticalForms, ReadsBothSingleSubstitutionFormats) {
  const Bytes gsub = Gsub({{"vert", {0, 1}}},
                          {{1, {SingleByDelta(CoverageList({5, 9}), 100)}},
                           {1, {SingleByList(CoverageRanges({{20, 22, 0}}), {300, 301, 302})}}});
  const GlyphSubstitutions forms = ParseVerticalSubstitutions(gsub);
  EXPECT_EQ(forms, (GlyphSubstitutions{{5, 105}, {9, 109}, {20, 300}, {21, 301}, {22, 302}}));
}

TEST(VerticalForms, DeltaWrapsRoundSixtyFiveThousand) {
  const Bytes gsub = Gsub({{"vert", {0}}}, {{1, {SingleByDelta(CoverageList({10}), 0xFFFE)}}});
  EXPECT_EQ(ParseVerticalSubstitutions(gsub), (GlyphSubstitutions{{10, 8}}));
}

TEST(VerticalForms, FollowsExtensionLookups) {
  const Bytes gsub =
      Gsub({{"vert", {0}}}, {{7,
                              {Extension(1, SingleByList(CoverageList({3, 4}), {30, 40})),
                               Extension(4, SingleByList(CoverageList({6}), {60}))}}});
  EXPECT_EQ(ParseVerticalSubstitutions(gsub), (GlyphSubstitutions{{3, 30}, {4, 40}}));
}

TEST(VerticalForms, TakesOnlyVerticalFeaturesAndSingleSubstitutions) {
  const std::vector<Lookup> lookups = {
      {1, {SingleByDelta(CoverageList({1}), 1)}},
      {1, {SingleByDelta(CoverageList({2}), 1)}},
      {4, {SingleByDelta(CoverageList({3}), 1)}},  // a ligature lookup is not read as one
  };
  EXPECT_EQ(ParseVerticalSubstitutions(Gsub({{"ccmp", {0}}, {"vert", {1, 2}}}, lookups)),
            (GlyphSubstitutions{{2, 3}}));
  // 'vrt2' counts only when there is no 'vert'.
  EXPECT_EQ(ParseVerticalSubstitutions(Gsub({{"vrt2", {0}}, {"vert", {1}}}, lookups)),
            (GlyphSubstitutions{{2, 3}}));
  EXPECT_EQ(ParseVerticalSubstitutions(Gsub({{"vrt2", {0}}}, lookups)),
            (GlyphSubstitutions{{1, 2}}));
  EXPECT_TRUE(ParseVerticalSubstitutions(Gsub({{"liga", {0, 1}}}, lookups)).empty());
}

TEST(VerticalForms, TheFirstLookupInListOrderWins) {
  const std::vector<Lookup> lookups = {
      {1, {SingleByList(CoverageList({7}), {70})}},
      {1, {SingleByList(CoverageList({7}), {71})}},
  };
  // Features name them in any order; the font applies them in list order.
  EXPECT_EQ(ParseVerticalSubstitutions(Gsub({{"vert", {1, 0}}}, lookups)),
            (GlyphSubstitutions{{7, 70}}));
}

TEST(VerticalForms, CutShortTablesGiveWhatTheyHold) {
  const Bytes whole = Gsub({{"vert", {0, 1}}},
                           {{1, {SingleByDelta(CoverageList({5, 9}), 100)}},
                            {1, {SingleByList(CoverageRanges({{20, 22, 0}}), {300, 301, 302})}}});
  const GlyphSubstitutions all = ParseVerticalSubstitutions(whole);
  for (size_t n = 0; n <= whole.size(); ++n) {
    const GlyphSubstitutions part = ParseVerticalSubstitutions(std::span(whole.data(), n));
    for (auto [from, to] : part) EXPECT_EQ(all.at(from), to) << n;
  }
  EXPECT_TRUE(ParseVerticalSubstitutions({}).empty());
}

TEST(VerticalForms, LyingCountsAndRangesStayBounded) {
  // One range claiming every glyph, a substitute list far shorter than the
  // coverage, and a lookup index past the list.
  const Bytes gsub =
      Gsub({{"vert", {0, 1, 9}}},
           {{1, {SingleByList(CoverageRanges({{0, 0xFFFF, 0}, {0, 0xFFFF, 0}}), {11, 12})}},
            {1, {SingleByDelta(CoverageRanges({{0, 0xFFFF, 0}}), 1)}}});
  const GlyphSubstitutions forms = ParseVerticalSubstitutions(gsub);
  EXPECT_EQ(forms.at(0), 11);
  EXPECT_EQ(forms.at(1), 12);
  EXPECT_EQ(forms.at(2), 3);  // from the second lookup
  EXPECT_LE(forms.size(), 65536u);
  // A wrong version is no table at all.
  Bytes wrong = gsub;
  wrong[1] = 2;
  EXPECT_TRUE(ParseVerticalSubstitutions(wrong).empty());
}

}  // namespace
}  // namespace orivane::test
