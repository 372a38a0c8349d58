// The file log and the label log on disk: the count, then each name quoted
// with its bytes XOR-ed with 0xA7; names survive byte for byte, including
// two-byte characters whose bytes encode to a quote, a newline or a zero;
// the reader never goes past what the file holds and never crashes.
#include "save/name_log_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine.h"
#include "save/persistent_data.h"
#include "script/name_log.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Xor(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(static_cast<uint8_t>(c) ^ 0xA7);
  return out;
}

std::vector<std::string> NamesOf(const std::string& text) {
  NameLog log;
  DecodeNameLogFile(text, log);
  return log.names();
}

TEST(NameLogFile, IsTheCountThenEachNameQuotedAndXored) {
  NameLog log;
  log.Add("start");
  log.Add("bg/a.bmp");
  EXPECT_EQ(EncodeNameLogFile(log), "2\n\"" + Xor("START") + "\"\"" + Xor("BG\\A.BMP") + "\"");
  EXPECT_EQ(EncodeNameLogFile(NameLog{}), "0\n");
}

TEST(NameLogFile, NamesRoundTripByteForByte) {
  // ｅ is 0x82 0x85: its second byte encodes to a quote. ｧ (0xA7) encodes to
  // a zero byte and ｭ (0xAD) to a newline.
  const std::vector<std::string> names = {
      Utf8ToSjis("背景\\ｅ.BMP"), Utf8ToSjis("ｅ"), Utf8ToSjis("ｧｭ"), "", "A",
      Utf8ToSjis("表示"),         "\"QUOTED\"",
  };
  NameLog log;
  for (const std::string& n : names) log.Add(n);
  ASSERT_EQ(log.names(), names);
  const std::string text = EncodeNameLogFile(log);
  EXPECT_EQ(NamesOf(text), names);
}

TEST(NameLogFile, TheReaderAcceptsBlanksAndLineBreaksBetweenNames) {
  const std::string text =
      " 3\r\n\"" + Xor("A") + "\"\n\"" + Xor("B") + "\" \t\r\n\"" + Xor("C") + "\"\n";
  EXPECT_EQ(NamesOf(text), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(NameLogFile, GarbageNeverReadsPastTheFile) {
  const std::string a = "\"" + Xor("A") + "\"";
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> names;
  } cases[] = {
      {"empty", "", {}},
      {"no count", "\"" + Xor("A") + "\"", {}},
      {"a count and nothing else", "5\n", {}},
      {"fewer names than counted", "3\n" + a, {"A"}},
      {"more names than counted", "1\n" + a + "\"" + Xor("B") + "\"", {"A"}},
      {"a negative count", "-4\n" + a, {}},
      {"a huge count", "99999999999999999999999\n" + a, {"A"}},
      {"a count of 2^64", "18446744073709551616\n" + a, {"A"}},
      {"an unterminated name", "2\n" + a + "\"" + Xor("BCD"), {"A"}},
      {"something else where a quote belongs", "2\n" + a + "x" + a, {"A"}},
      {"a lone quote at the end", "2\n" + a + "\"", {"A"}},
      // A name ending in a lead byte swallows its closing quote as a second
      // byte; the reader then finds no end and keeps what came before.
      {"a name cut after a lead byte", "2\n" + a + "\"" + Xor("\x82") + "\"", {"A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NamesOf(c.text), c.names);
  }
}

TEST(NameLogFile, ReadsAtMostTheLogsCapacity) {
  std::string text = std::to_string(NameLog::kCapacity + 5) + "\n";
  for (size_t i = 0; i < NameLog::kCapacity + 5; ++i)
    text += "\"" + Xor("N" + std::to_string(i)) + "\"";
  NameLog log;
  DecodeNameLogFile(text, log);
  EXPECT_EQ(log.size(), NameLog::kCapacity);
  EXPECT_TRUE(log.Contains("N9999"));
  EXPECT_FALSE(log.Contains("N10000"));
}

// Run 1 reaches a label and asks for a file with the logs kept; run 2 of the
// same game, which reaches neither, knows them from the start.
TEST(NameLogFile, CarryTheLogsIntoTheNextRunOnlyWhenAskedFor) {
  struct Case {
    const char* name;
    const char* define;
    bool file_log;
    bool label_log;
  } cases[] = {
      {"both", "filelog\nlabellog\n", true, true},
      {"the file log", "filelog\n", true, false},
      {"the label log", "labellog\n", false, true},
      {"neither", "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    const std::string define = std::string("*define\nnoloaderror\n") + c.define + "game\n";
    game.Write("0.txt", define + "*start\nbg \"色\\ｅ.bmp\",1\ngoto *scene2\n*scene2\nend\n");
    ASSERT_EQ(RunScripted(game, "").status, 0);
    EXPECT_EQ(std::filesystem::exists(game.path() + "/Orvnflog.dat"), c.file_log);
    EXPECT_EQ(std::filesystem::exists(game.path() + "/Orvnllog.dat"), c.label_log);
    game.Write("0.txt", define + "*start\nend\n*scene2\nend\n");
    RunScripted(game, "", [&](Engine& e) {
      EXPECT_EQ(e.file_log.Contains(Utf8ToSjis("色/ｅ.BMP")), c.file_log);
      EXPECT_EQ(e.label_log.Contains("scene2"), c.label_log);
    });
  }
}

TEST(NameLogFile, AKeptLogIsWrittenEvenWhenEmpty) {
  GameDir game;
  ScopedCurrentDir cwd(game.path());
  EngineFixture f;
  f.engine().persistent.label_log_kept = true;
  WritePersistentData(f.engine());
  EXPECT_EQ(game.ReadBytes("Orvnllog.dat"), "0\n");
  EXPECT_FALSE(std::filesystem::exists(game.path() + "/Orvnflog.dat"));
}

}  // namespace
}  // namespace orivane::test
