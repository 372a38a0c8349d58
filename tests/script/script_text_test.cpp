// Gathering numbered script files: CR LF folding whatever the block size,
// storage reused without its old bytes showing, and the file names the
// loader takes from the directory listing.
#include "script/script_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine.h"
#include "script/loader.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"

namespace orivane::test {
namespace {

// Text mode, one byte at a time: a CR directly before an LF is dropped.
std::string ReferenceFold(const std::string& in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i)
    if (!(in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')) out.push_back(in[i]);
  return out;
}

std::string Text(std::vector<uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(ScriptText, FoldsCarriageReturnsAcrossBlocks) {
  std::mt19937 rng(5);
  std::vector<std::string> contents = {
      "", "\r", "\n", "a\r\nb", "\r\n\r\n", "\r\r\n", "x\r", "\r\nx", std::string("a\0b\r\n", 5)};
  for (int i = 0; i < 20; ++i) {
    std::string random(rng() % 700, ' ');
    for (char& c : random) c = "a\r\n\r"[rng() % 4];
    contents.push_back(random);
  }
  GameDir game;
  for (const std::string& content : contents) {
    game.WriteBytes("t.txt", content);
    for (size_t block : {1, 2, 3, 7, 64, 4096}) {
      ScriptTextBuilder text({}, block);
      ASSERT_TRUE(text.AppendTextFile(game.path() + "/t.txt"));
      EXPECT_EQ(Text(std::move(text).Finish()), ReferenceFold(content)) << "block " << block;
    }
  }
}

TEST(ScriptText, FilesFoldOnTheirOwnAndOldBytesNeverShow) {
  GameDir game;
  game.WriteBytes("a.txt", "one\r");
  game.WriteBytes("b.txt", "\ntwo\r\n");
  // Storage from a longer script before: its bytes are written over, and the
  // result ends where the new text does.
  ScriptTextBuilder text(std::vector<uint8_t>(1000, 'Z'), 3);
  EXPECT_TRUE(text.AppendTextFile(game.path() + "/a.txt"));
  EXPECT_FALSE(text.AppendTextFile(game.path() + "/missing.txt"));
  EXPECT_TRUE(text.AppendTextFile(game.path() + "/b.txt"));
  text.PushBack('\n');
  // The CR ending a.txt does not pair with the LF starting b.txt.
  EXPECT_EQ(Text(std::move(text).Finish()), "one\r\ntwo\n\n");
}

TEST(ScriptLoading, NumberedNamesAreMatchedAsSpelled) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n零\nend\n");
  game.Write("1.TXT", "一\n");        // not the name the loader asks for
  game.Write("02.txt", "二\nend\n");  // the zero-prefixed name of file 2
  EngineFixture f;
  ScopedCurrentDir cd(game.path());
  LoadScript(f.engine());
  const ScriptBuffer& s = f.engine().script;
  std::string all(s.bytes.begin(), s.bytes.begin() + s.length);
  EXPECT_EQ(all.find("\x88\xEA"), std::string::npos);  // 一 in Shift-JIS
  EXPECT_NE(all.find("\x93\xF1"), std::string::npos);  // 二
  EXPECT_EQ(s.last_file, 2);
}

}  // namespace
}  // namespace orivane::test
