// "gloval.sav": the global range laid out record by record from the
// GlobalBorder, written only after `globalon`, read back at the next start
// (or the range cleared), and never a crash on a cut or foreign file.
#include "save/global_variables_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine.h"
#include "save/persistent_data.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Le32(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(GlobalVariablesFile, HoldsOneRecordPerGlobalFromTheBorderOn) {
  EngineFixture f;
  Variables& v = f.engine().vars;
  v.SetNum(199, 55);  // local: not in the file
  v.SetStr(199, "local");
  v.SetNum(200, -2);
  v.SetStr(200, Utf8ToSjis("あa"));
  v.SetNum(201, 0x01020304);
  v.SetNum(4095, 7);
  v.SetStr(4095, "z");
  const std::string bytes = AsString(EncodeGlobalVariables(v, 200));
  // 3,896 records; an empty string is a single zero byte.
  EXPECT_EQ(bytes.size(), 3896u * 5 + 3 + 1);
  const std::string first = Le32(-2) + Utf8ToSjis("あa") + std::string(1, '\0');
  const std::string second = Le32(0x01020304) + std::string(1, '\0');
  EXPECT_EQ(bytes.substr(0, first.size() + second.size()), first + second);
  EXPECT_EQ(bytes.substr(bytes.size() - 6), Le32(7) + "z" + std::string(1, '\0'));
}

TEST(GlobalVariablesFile, TheBorderSaysWhereTheRecordsBegin) {
  struct Case {
    int32_t border;
    size_t records;
  } cases[] = {{200, 3896}, {300, 3796}, {0, 4096}, {4095, 1}, {4096, 0}, {-5, 4096}, {99999, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.border);
    EngineFixture f;
    EXPECT_EQ(EncodeGlobalVariables(f.engine().vars, c.border).size(), c.records * 5);
  }
}

TEST(GlobalVariablesFile, RoundTripsThroughTheFileByteForByte) {
  GameDir game;
  ScopedCurrentDir cwd(game.path());
  EngineFixture f;
  Variables& v = f.engine().vars;
  for (int32_t n = 200; n < kVariableCount; ++n) {
    v.SetNum(n, n * 7919 - 1000000);
    if (n % 3 == 0) v.SetStr(n, Utf8ToSjis("値") + std::to_string(n));
  }
  v.save_globals = true;
  const std::vector<uint8_t> expected = EncodeGlobalVariables(v, 200);
  ASSERT_TRUE(WriteGlobalVariablesFile(f.engine()));
  EXPECT_EQ(game.ReadBytes("gloval.sav"), AsString(expected));

  EngineFixture later;
  later.engine().vars.SetNum(10, 3);  // a local stays as it is
  LoadGlobalVariablesFile(later.engine());
  for (int32_t n = 200; n < kVariableCount; ++n) {
    ASSERT_EQ(later.engine().vars.Num(n), v.Num(n)) << n;
    ASSERT_EQ(later.engine().vars.Str(n), v.Str(n)) << n;
  }
  EXPECT_EQ(later.engine().vars.Num(10), 3);
}

TEST(GlobalVariablesFile, IsWrittenOnlyAfterGlobalon) {
  GameDir game;
  ScopedCurrentDir cwd(game.path());
  EngineFixture f;
  f.engine().vars.SetNum(300, 1);
  WritePersistentData(f.engine());
  EXPECT_FALSE(std::filesystem::exists(game.path() + "/gloval.sav"));
  f.engine().vars.save_globals = true;
  WritePersistentData(f.engine());
  EXPECT_EQ(game.ReadBytes("gloval.sav").size(), 3896u * 5);
}

TEST(GlobalVariablesFile, AShortFileGivesZerosForTheRestAndADamagedOneNothing) {
  const std::string two_records = Le32(11) + "ab" + '\0' + Le32(12) + '\0';
  struct Case {
    const char* name;
    std::string bytes;  // what lies at gloval.sav; "<dir>" makes a directory
    int32_t n200, n201, n202;
    const char* s200;
    bool damaged;  // a note tells the person running the game
  } cases[] = {
      {"missing: the range is cleared", "<none>", 0, 0, 0, "", false},
      {"empty", "", 0, 0, 0, "", false},
      {"two records", two_records, 11, 12, 0, "ab", false},
      {"a directory", "<dir>", 0, 0, 0, "", false},
      // A record cut inside: none of the file is taken, not even the whole
      // records before the cut.
      {"cut inside an integer", Le32(11) + "ab" + '\0' + "\x05\x00", 0, 0, 0, "", true},
      {"a string without its zero byte", Le32(11) + "ab" + '\0' + Le32(12) + "abc", 0, 0, 0, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    ScopedCurrentDir cwd(game.path());
    if (c.bytes == "<dir>")
      std::filesystem::create_directory(game.path() + "/gloval.sav");
    else if (c.bytes != "<none>")
      game.WriteBytes("gloval.sav", c.bytes);
    EngineFixture f;
    Variables& v = f.engine().vars;
    for (int32_t n = 200; n < kVariableCount; ++n) {  // left from before: must go
      v.SetNum(n, -1);
      v.SetStr(n, "old");
    }
    LoadGlobalVariablesFile(f.engine());
    EXPECT_EQ(v.Num(200), c.n200);
    EXPECT_EQ(v.Num(201), c.n201);
    EXPECT_EQ(v.Num(202), c.n202);
    EXPECT_EQ(v.Str(200), c.s200);
    EXPECT_EQ(v.Num(4095), 0);
    EXPECT_EQ(v.Str(4095), "");
    EXPECT_EQ(f.err().find("gloval.sav is damaged") != std::string::npos, c.damaged) << f.err();
  }
}

// Decoding is read first, set after: damaged bytes leave the variables as
// they were.
TEST(GlobalVariablesFile, DamagedBytesLeaveTheVariablesAsTheyWere) {
  const std::vector<std::string> damaged = {Le32(5) + "x" + '\0' + "\x01\x02\x03", Le32(5) + "no end", "\x01"};
  for (const std::string& bytes : damaged) {
    EngineFixture f;
    Variables& v = f.engine().vars;
    v.SetNum(200, 42);
    v.SetStr(200, "kept");
    v.SetNum(300, 9);
    EXPECT_FALSE(DecodeGlobalVariables(std::vector<uint8_t>(bytes.begin(), bytes.end()), 200, v));
    EXPECT_EQ(v.Num(200), 42);
    EXPECT_EQ(v.Str(200), "kept");
    EXPECT_EQ(v.Num(300), 9);
  }
}

// Run 1 sets globals and locals and ends; run 2 of the same game sees the
// globals only when run 1 said `globalon`, from the script's own border.
TEST(GlobalVariablesFile, CarriesTheGlobalsIntoTheNextRun) {
  struct Case {
    const char* name;
    const char* header;
    const char* define;
    int32_t first_global;
    bool kept;
  } cases[] = {
      {"globalon", "", "globalon\n", 200, true},
      {"globalon with ;value300", ";value300\n", "globalon\n", 300, true},
      {"no globalon", "", "", 200, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    const int32_t g = c.first_global;
    const std::string set = "mov %" + std::to_string(g) + ",41\nmov $" + std::to_string(g + 1) +
                            ",\"字\"\nmov %" + std::to_string(g - 1) + ",9\n";
    game.Write("0.txt",
               std::string(c.header) + "*define\n" + c.define + "game\n*start\n" + set + "end\n");
    ASSERT_EQ(RunScripted(game, "").status, 0);
    game.Write("0.txt", std::string(c.header) + "*define\n" + c.define + "game\n*start\nend\n");
    RunScripted(game, "", [&](Engine& e) {
      EXPECT_EQ(e.vars.Num(g), c.kept ? 41 : 0);
      EXPECT_EQ(e.vars.Str(g + 1), c.kept ? Utf8ToSjis("字") : "");
      EXPECT_EQ(e.vars.Num(g - 1), 0);
    });
  }
}

// A `definereset` writes the globals of the ending cycle and the new cycle
// loads them: nothing set since the last long wait is lost.
TEST(GlobalVariablesFile, SurviveADefinereset) {
  GameDir game;
  game.Write("0.txt",
             "*define\nglobalon\ngame\n*start\n"
             "if %300 == 1 goto *second\nmov %300,1\nmov $301,\"kept\"\ndefinereset\n"
             "*second\nmov %302,2\nend\n");
  RunScripted(game, "", [](Engine& e) {
    EXPECT_EQ(e.vars.Num(302), 2);  // the second cycle went the other way
    EXPECT_EQ(e.vars.Str(301), "kept");
  });
}

}  // namespace
}  // namespace orivane::test
