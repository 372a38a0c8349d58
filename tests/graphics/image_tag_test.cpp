// The image tag grammar: modes, keys, cells, intervals, loop modes, filters,
// text pictures, and the tag errors.
#include "graphics/image_tag.h"

#include <gtest/gtest.h>

namespace orivane::test {
namespace {

TEST(ImageTag, ModesAndAnimation) {
  struct Case {
    const char* tag;
    bool has_mode;
    int mode;
    int cells;
    int interval;
    int loop;
    const char* file;
  } cases[] = {
      {"bg.bmp", false, 0, 1, 0, 0, "bg.bmp"},
      {":l/3,160,2;cursor0.bmp", true, kModeLeftUp, 3, 160, 2, "cursor0.bmp"},
      {":a/2,0,3;x.bmp", true, kModeAlpha, 2, kNoAnimation, 3, "x.bmp"},
      {":c;pic.jpg", true, kModeCopy, 1, 0, 0, "pic.jpg"},
      {": \tr;p.bmp", true, kModeRightUp, 1, 0, 0, "p.bmp"},
      {":!12;p.bmp", true, kModeGivenKey, 1, 0, 0, "p.bmp"},
      {":x;p.bmp", false, 0, 1, 0, 0, "p.bmp"},  // not a mode letter: the default stays
      {":;p.bmp", false, 0, 1, 0, 0, "p.bmp"},
  };
  for (const Case& c : cases) {
    ParsedTag p;
    ASSERT_EQ(ParseImageTag(c.tag, p), TagError::kNone) << c.tag;
    EXPECT_EQ(p.has_mode, c.has_mode) << c.tag;
    if (c.has_mode) {
      EXPECT_EQ(p.mode, c.mode) << c.tag;
    }
    EXPECT_EQ(p.cells, c.cells) << c.tag;
    EXPECT_EQ(p.interval, c.interval) << c.tag;
    EXPECT_EQ(p.loop_mode, c.loop) << c.tag;
    EXPECT_EQ(p.file, c.file) << c.tag;
  }
}

TEST(ImageTag, KeysListsFiltersMasksAndLayers) {
  ParsedTag p;
  ASSERT_EQ(ParseImageTag(":#75fe1B;k.bmp", p), TagError::kNone);
  EXPECT_EQ(p.mode, kModeGivenKey);
  EXPECT_EQ(p.key_rgb, 0x75FE1Bu);
  ASSERT_EQ(ParseImageTag(":!7;k.bmp", p), TagError::kNone);
  EXPECT_TRUE(p.key_by_index);
  EXPECT_EQ(p.key_index, 7);

  ASSERT_EQ(ParseImageTag(":c/4,<100,200,300,400>,0;x.bmp", p), TagError::kNone);
  EXPECT_EQ(p.interval, -1);
  EXPECT_EQ(p.intervals, (std::vector<int32_t>{100, 200, 300, 400}));
  EXPECT_EQ(p.file, "x.bmp");

  ASSERT_EQ(ParseImageTag("<b128>:c;x.bmp", p), TagError::kNone);
  EXPECT_EQ(p.brightness, 128);
  EXPECT_EQ(p.filter_red, kNoFilter);
  ASSERT_EQ(ParseImageTag("< rgb10,20,30 >y.bmp", p), TagError::kNone);
  EXPECT_EQ(p.filter_red, 10);
  EXPECT_EQ(p.filter_green, 20);
  EXPECT_EQ(p.filter_blue, 30);
  EXPECT_EQ(p.file, "y.bmp");

  ASSERT_EQ(ParseImageTag(":mmask.bmp;pic.bmp", p), TagError::kNone);
  EXPECT_EQ(p.mode, kModeCopy);
  EXPECT_EQ(p.mask_file, "mask.bmp");
  EXPECT_EQ(p.file, "pic.bmp");

  ASSERT_EQ(ParseImageTag("*3", p), TagError::kNone);
  EXPECT_TRUE(p.is_layer);
  EXPECT_EQ(p.layer, 3);
}

TEST(ImageTag, TextPictures) {
  ParsedTag p;
  ASSERT_EQ(ParseImageTag(":s/24,24,0;#ffffff#ffff00$5", p), TagError::kNone);
  EXPECT_TRUE(p.is_text);
  EXPECT_TRUE(p.text_has_size);
  EXPECT_EQ(p.text_width, 24);
  EXPECT_EQ(p.text_height, 24);
  EXPECT_EQ(p.text_pitch, 0);
  EXPECT_EQ(p.text_colors, (std::vector<uint32_t>{0xFFFFFF, 0xFFFF00}));
  EXPECT_TRUE(p.text_from_variable);
  EXPECT_EQ(p.text_variable, 5);

  ASSERT_EQ(ParseImageTag(":s/20,22,-2,2;#ff0000Hello", p), TagError::kNone);
  EXPECT_EQ(p.text_pitch, -2);
  EXPECT_EQ(p.text_decoration, 2);
  EXPECT_EQ(p.text, "Hello");

  // At most eleven colours: a twelfth "#" belongs to the text.
  ASSERT_EQ(
      ParseImageTag(
          ":s#000001#000002#000003#000004#000005#000006#000007#000008#000009#00000a#00000b#00000cX",
          p),
      TagError::kNone);
  EXPECT_EQ(p.text_colors.size(), 11u);
  EXPECT_EQ(p.text, "#00000cX");
}

TEST(ImageTag, Errors) {
  struct Case {
    const char* tag;
    TagError error;
  } cases[] = {
      {"<b128", TagError::kMalformed},              // prefix never closed
      {"<x>a.bmp", TagError::kMalformed},           // unknown filter letter
      {"<r10,20,30>a.bmp", TagError::kMalformed},   // "r" without "gb"
      {"<rgb10,20>a.bmp", TagError::kMalformed},    // a comma missing
      {":a/2", TagError::kMalformed},               // end of tag before ","
      {":a/2,100", TagError::kMalformed},           // no loop mode
      {":a/2,<100,200", TagError::kMalformed},      // list cut short
      {":a/2,<100,200;0;x", TagError::kMalformed},  // list not closed with ">"
      {":a/0,0,0;x.bmp", TagError::kMalformed},     // no cells
      {":a", TagError::kMalformed},                 // no ";"
      {":#12345g;x.bmp", TagError::kBadColor},
      {":s/24,24;#ffffffx", TagError::kMalformed},
      {":sHello", TagError::kTextWithoutColor},
      {":s#ff00zzHello", TagError::kBadColor},
  };
  for (const Case& c : cases) {
    ParsedTag p;
    EXPECT_EQ(ParseImageTag(c.tag, p), c.error) << c.tag;
  }
}

TEST(ImageTag, OnlyTheFirst255BytesCount) {
  std::string tag = ":c;" + std::string(300, 'a');
  ParsedTag p;
  ASSERT_EQ(ParseImageTag(tag, p), TagError::kNone);
  EXPECT_EQ(p.file.size(), 252u);
}

}  // namespace
}  // namespace orivane::test
