// The read-flag file "kidoku.dat": written raw and read back byte for byte,
// a shorter one loaded as far as it goes, a longer one (not this script's)
// not at all, replaced atomically so that a
// failed write leaves the old file, and written when the run ends and once
// in every wait for the player that lasts more than a second.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/scripted_player.h"
#include "save/persistent_data.h"
#include "shell/startup.h"
#include "support/engine_fixture.h"
#include "support/file_checks.h"
#include "support/game_fixture.h"
#include "text/read_flags.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// An engine in a game directory of its own, with read flags for a script of
// `script_bytes` bytes.
class ReadFlagFile : public ::testing::Test {
 public:
  ReadFlagFile() : cwd_(game_.path()) {}

  void Keep(int32_t script_bytes) { KeepReadFlags(fixture_.engine().read_flags, script_bytes); }
  ReadFlags& flags() { return fixture_.engine().read_flags; }
  Engine& engine() { return fixture_.engine(); }

  GameDir game_;
  ScopedCurrentDir cwd_;
  EngineFixture fixture_;
};

TEST_F(ReadFlagFile, RoundTripsByteForByte) {
  Keep(8 * 300 - 3);  // 300 bytes, the last one partly used
  for (size_t i = 0; i < flags().bits.size(); ++i) flags().bits[i] = static_cast<uint8_t>(i * 37 + 11);
  const std::vector<uint8_t> written = flags().bits;
  ASSERT_TRUE(WriteReadFlagsFile(engine()));
  EXPECT_EQ(game_.ReadBytes("kidoku.dat"), AsString(written));

  EngineFixture later;
  KeepReadFlags(later.engine().read_flags, 8 * 300 - 3);
  LoadReadFlagsFile(later.engine());
  EXPECT_EQ(later.engine().read_flags.bits, written);
}

TEST_F(ReadFlagFile, LoadsAFileOfItsSizeOrShorterAndNothingOfADamagedOne) {
  struct Case {
    const char* name;
    std::function<void(const GameDir&)> make;  // what lies at kidoku.dat
    std::vector<uint8_t> bits;                 // a four-byte bitmap afterwards
    bool damaged = false;                      // a note tells the person running the game
  } cases[] = {
      {"missing", [](const GameDir&) {}, {0, 0, 0, 0}},
      {"empty", [](const GameDir& g) { g.WriteBytes("kidoku.dat", ""); }, {0, 0, 0, 0}},
      {"shorter", [](const GameDir& g) { g.WriteBytes("kidoku.dat", "\x81\x7f"); }, {0x81, 0x7F, 0, 0}},
      {"its size", [](const GameDir& g) { g.WriteBytes("kidoku.dat", "\x01\x02\x03\x04"); }, {1, 2, 3, 4}},
      // Written for another script: its flags would pass unread text.
      {"longer by a byte", [](const GameDir& g) { g.WriteBytes("kidoku.dat", "\x01\x02\x03\x04\x05"); },
       {0, 0, 0, 0}, true},
      {"much longer", [](const GameDir& g) { g.WriteBytes("kidoku.dat", std::string(100000, '\xff')); },
       {0, 0, 0, 0}, true},
      {"a directory", [](const GameDir& g) { std::filesystem::create_directory(g.path() + "/kidoku.dat"); },
       {0, 0, 0, 0}},
      // Nobody writes into the pipe: reading it must not wait for ever.
      {"a named pipe", [](const GameDir& g) { ASSERT_EQ(mkfifo((g.path() + "/kidoku.dat").c_str(), 0600), 0); },
       {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    GameDir game;
    ScopedCurrentDir cwd(game.path());
    c.make(game);
    EngineFixture f;
    KeepReadFlags(f.engine().read_flags, 32);
    f.engine().read_flags.bits = {0xEE, 0xEE, 0xEE, 0xEE};  // left from before: must go
    KeepReadFlags(f.engine().read_flags, 32);
    LoadReadFlagsFile(f.engine());
    EXPECT_EQ(f.engine().read_flags.bits, c.bits) << c.name;
    EXPECT_EQ(f.err().find("kidoku.dat") != std::string::npos, c.damaged) << c.name << f.err();
  }
}

TEST_F(ReadFlagFile, IsWrittenOnlyWhileTheFlagsAreKept) {
  WritePersistentData(engine());
  EXPECT_FALSE(std::filesystem::exists(game_.path() + "/kidoku.dat"));
  // An empty script keeps an empty bitmap: the file is written, empty.
  Keep(0);
  WritePersistentData(engine());
  EXPECT_TRUE(std::filesystem::exists(game_.path() + "/kidoku.dat"));
  EXPECT_EQ(game_.ReadBytes("kidoku.dat"), "");
}

TEST_F(ReadFlagFile, AFailedWriteLeavesTheOldFileWhole) {
  const std::string old_file = "old flags";
  struct Case {
    const char* name;
    std::function<bool(ReadFlagFile&)> write;
  } cases[] = {
      {"the file's place is taken by a folder",
       [](ReadFlagFile& t) {
         std::filesystem::rename(t.game_.path() + "/kidoku.dat", t.game_.path() + "/kept");
         std::filesystem::create_directory(t.game_.path() + "/kidoku.dat");
         const bool ok = WriteReadFlagsFile(t.engine());
         std::filesystem::remove(t.game_.path() + "/kidoku.dat");
         std::filesystem::rename(t.game_.path() + "/kept", t.game_.path() + "/kidoku.dat");
         return ok;
       }},
      {"the disk fills up in the middle",
       [](ReadFlagFile& t) {
         FileSizeLimit limit(100);
         return WriteReadFlagsFile(t.engine());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    game_.WriteBytes("kidoku.dat", old_file);
    Keep(8 * 4096);
    std::fill(flags().bits.begin(), flags().bits.end(), 0x5A);
    EXPECT_FALSE(c.write(*this));
    EXPECT_EQ(game_.ReadBytes("kidoku.dat"), old_file);
    EXPECT_EQ(TemporaryFilesIn(game_.path()), std::vector<std::string>{});
    // The same write with room for it replaces the file.
    EXPECT_TRUE(WriteReadFlagsFile(engine()));
    EXPECT_EQ(game_.ReadBytes("kidoku.dat"), AsString(flags().bits));
  }
}

TEST_F(ReadFlagFile, ARestartSavesTheFlagsOfTheOldScriptAndDropsThem) {
  Keep(16);
  MarkRead(flags(), 9);
  flags().auto_mode_item = true;
  flags().read_only_skip = true;
  ResetPersistentDataForStartUp(engine());
  EXPECT_EQ(game_.ReadBytes("kidoku.dat"), std::string("\x00\x02", 2));
  EXPECT_FALSE(flags().kept);
  EXPECT_TRUE(flags().bits.empty());
  EXPECT_FALSE(flags().auto_mode_item);
  EXPECT_TRUE(flags().read_only_skip);  // the player's setting stays
}

TEST(PersistentWriter, TheWaitsAreGivenTheWriter) {
  EngineFixture f;
  EXPECT_EQ(f.engine().waits.write_persistent, &WritePersistentData);
}

// The offset of `text_utf8` in the script (0.txt comes first in the buffer).
size_t OffsetOf(const std::string& script_utf8, const char* text_utf8) {
  return Utf8ToSjis(script_utf8).find(Utf8ToSjis(text_utf8));
}

bool ReadInFile(const std::string& saved, size_t p) {
  return p / 8 < saved.size() && ((static_cast<uint8_t>(saved[p / 8]) >> (p % 8)) & 1);
}

TEST(PersistentWriter, EveryEndOfTheRunWritesTheFlags) {
  struct Case {
    const char* name;
    const char* body;
    int status;
  } cases[] = {
      {"end", "mov %0,1\nend\n", 0},
      {"a script error", "mov %0,1\nnosuchcommand\n", 1},
      {"a timeout", "mov %0,1\nwait 10000\n", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    const std::string script = std::string("*define\nkidokuskip\ngame\n*start\n") + c.body + "mov %1,2\n";
    game.Write("0.txt", script);
    RunResult r = game.Run();
    EXPECT_EQ(r.status, c.status) << r.err;
    const std::string saved = game.ReadBytes("kidoku.dat");
    EXPECT_TRUE(ReadInFile(saved, OffsetOf(script, "mov %0")));
    EXPECT_FALSE(ReadInFile(saved, OffsetOf(script, "mov %1")));
  }
}

// The engine runs with a stand-in writer that counts its calls in %100 and
// notes the engine clock of the last one in %101.
void CountingWriter(Engine& e) {
  e.vars.SetNum(100, e.vars.Num(100) + 1);
  e.vars.SetNum(101, static_cast<int32_t>(e.platform.Ticks()));
}

struct Writes {
  int status = -1;
  int32_t count = 0;
  int32_t last_at = 0;
};

Writes RunCountingWrites(const std::string& body, const std::string& input) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n" + body + "\nend\n");
  ScriptedPlayer player;
  std::string error;
  EXPECT_TRUE(player.Parse("input.txt", input, error)) << error;
  ScopedCurrentDir cwd(game.path());
  std::ostringstream out, err;
  HeadlessPlatform platform(out, err);
  platform.SetPlayer(std::move(player));
  Engine engine(platform);
  engine.timeout_ms = 60000;
  engine.waits.write_persistent = CountingWriter;
  Writes w;
  w.status = RunEngine(engine);
  w.count = engine.vars.Num(100);
  w.last_at = engine.vars.Num(101);
  EXPECT_EQ(w.status, 0) << err.str();
  return w;
}

// The click arrives at 5,000 ms on the engine clock; the write must come
// before it, once, after the wait has gone on for more than a second.
TEST(PersistentWriter, ALongWaitForThePlayerWritesOnceWhileItWaits) {
  struct Case {
    const char* name;
    const char* body;
    const char* input;
    int32_t writes;
  } cases[] = {
      {"a click wait of five seconds", "頁@", "after 5000 click 1 1\n", 1},
      {"a page wait of five seconds", "頁\\", "after 5000 click 1 1\n", 1},
      {"a click wait of half a second", "頁@", "after 500 click 1 1\n", 0},
      {"a button wait of five seconds", "btndef \"\"\nbtn 1,0,0,10,10,0,0\nbtnwait %0", "after 5000 button 1\n", 1},
      {"a button wait that times out at five seconds", "btndef \"\"\nbtntime 5000\nbtnwait %0", "", 1},
      {"a button wait of half a second", "btndef \"\"\nbtn 1,0,0,10,10,0,0\nbtnwait %0", "after 500 button 1\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Writes w = RunCountingWrites(c.body, c.input);
    EXPECT_EQ(w.count, c.writes);
    if (c.writes > 0) {
      EXPECT_GT(w.last_at, 1000);
      EXPECT_LT(w.last_at, 5000);
    }
  }
}

}  // namespace
}  // namespace orivane::test
