// How the persistent files and save games are written when the folder holds
// traps or the disk is full: a symbolic link at a temporary file's name is
// never written through; a write that fails is told once per file (a note
// naming the file and the reason, a message box once per run) and leaves the
// old file whole; temporary files left by a killed run are removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine.h"
#include "save/environment_file.h"
#include "save/persistent_data.h"
#include "save/save_slots.h"
#include "support/engine_fixture.h"
#include "support/file_checks.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "text/read_flags.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Keeps every persistent file, each more than a few bytes long.
constexpr const char* kKeepsEverything =
    "*define\nglobalon\nkidokuskip\nfilelog\nlabellog\ngame\n*start\nmov %300,1\nmov $300,\"global\"\n"
    "savegame 1\nend\n";

const char* const kTemporaryNames[] = {"save1.dat.tmp", "envdata.tmp", "gloval.sav.tmp", "kidoku.dat.tmp",
                                       "Orvnllog.dat.tmp"};

std::string Without(std::string name, const std::string& suffix) { return name.substr(0, name.size() - suffix.size()); }

TEST(PersistentWrites, ALinkAtATemporaryNameIsNeverWrittenThrough) {
  for (const char* temp : kTemporaryNames) {
    SCOPED_TRACE(temp);
    GameDir game, elsewhere;
    elsewhere.WriteBytes("victim", "not yours");
    const std::string victim = elsewhere.path() + "/victim";
    const std::string file = Without(temp, ".tmp");
    game.Write("0.txt", kKeepsEverything);
    fs::create_symlink(victim, game.path() + "/" + temp);
    const RunResult r = RunScripted(game, "", [&](Engine& e) {
      // Again while the engine runs, past the start-up that clears leftovers.
      fs::remove(game.path() + "/" + temp);
      fs::create_symlink(victim, game.path() + "/" + temp);
      WritePersistentData(e);
      EXPECT_TRUE(SaveToSlot(e, 1));
    });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(elsewhere.ReadBytes("victim"), "not yours");
    EXPECT_FALSE(fs::is_symlink(game.path() + "/" + file));
    EXPECT_TRUE(fs::is_regular_file(game.path() + "/" + file));
    EXPECT_GT(fs::file_size(game.path() + "/" + file), 0u);
  }
}

TEST(PersistentWrites, TemporaryFilesOfAKilledRunAreRemovedAtStartUp) {
  struct Case {
    const char* name;
    const char* script;
    bool envdata_names_the_directory;
  } cases[] = {
      {"the script names the save directory", "*define\nsavedir \"keep\"\ngame\n*start\nend\n", false},
      {"envdata names it", "*define\ngame\n*start\nend\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", c.script);
    fs::create_directory(game.path() + "/keep");
    if (c.envdata_names_the_directory) {
      EnvironmentData env;
      env.save_directory = "keep";
      const std::vector<uint8_t> bytes = EncodeEnvironment(env);
      game.WriteBytes("envdata", std::string(bytes.begin(), bytes.end()));
    }
    const std::vector<std::string> leftovers = {"envdata.tmp", "envdata.a1B2c3.tmp", "keep/gloval.sav.tmp",
                                                "keep/kidoku.dat.Zx81Qp.tmp", "keep/SAVE3.DAT.tmp"};
    for (const std::string& name : leftovers) game.WriteBytes(name, "half written");
    game.WriteBytes("keep/notes.txt.tmp", "not the engine's");
    RunResult r = RunScripted(game, "");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const std::string& name : leftovers) EXPECT_FALSE(fs::exists(game.path() + "/" + name)) << name;
    EXPECT_TRUE(fs::exists(game.path() + "/keep/notes.txt.tmp"));
  }
}

class FailedWrites : public ::testing::Test {
 public:
  FailedWrites() : cwd_(game_.path()) {
    Engine& e = fixture_.engine();
    KeepReadFlags(e.read_flags, 8 * 256);
    e.vars.save_globals = true;
    e.persistent.environment_taken = true;
    e.persistent.label_log_kept = true;
    e.archive.file_log_on = true;
    e.label_log.Add("*START");
    e.file_log.Add("BG\\ROOM.BMP");
  }

  // The files as they are on disk now.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const char* name : kFiles) files[name] = game_.ReadBytes(name);
    return files;
  }

  static constexpr const char* kFiles[] = {"kidoku.dat", "gloval.sav", "envdata", "Orvnflog.dat", "Orvnllog.dat"};

  GameDir game_;
  ScopedCurrentDir cwd_;
  EngineFixture fixture_;
};

TEST_F(FailedWrites, AreToldOncePerFileAndKeepTheOldFiles) {
  Engine& e = fixture_.engine();
  WritePersistentData(e);
  const std::map<std::string, std::string> old = Files();
  for (const auto& [name, bytes] : old) ASSERT_GT(bytes.size(), 8u) << name;
  ASSERT_EQ(fixture_.err(), "");
  e.read_flags.bits[0] = 0xFF;  // something new to write
  const std::string reason = std::strerror(EFBIG);
  {
    FileSizeLimit full(8);
    WritePersistentData(e);
    WritePersistentData(e);  // the long waits write again and again
  }
  const std::string err = fixture_.err();
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Count(err, std::string("cannot write ") + name + ": " + reason + "; the old file is kept"), 1u)
        << err;
  }
  EXPECT_EQ(Files(), old);
  EXPECT_EQ(TemporaryFilesIn(game_.path()), std::vector<std::string>{});
  // The box comes once per run, naming the first file.
  EXPECT_EQ(Count(err, "[書き込みエラー]"), 1u) << err;
  EXPECT_NE(err.find("「kidoku.dat」を書き込めませんでした（" + reason + "）"), std::string::npos) << err;

  // With room again the files are written; a later failure is told again,
  // without a second box.
  WritePersistentData(e);
  EXPECT_EQ(game_.ReadBytes("kidoku.dat")[0], '\xFF');
  {
    FileSizeLimit full(8);
    WritePersistentData(e);
  }
  EXPECT_EQ(Count(fixture_.err(), "cannot write gloval.sav"), 2u);
  EXPECT_EQ(Count(fixture_.err(), "[書き込みエラー]"), 1u);
}

}  // namespace
}  // namespace orivane::test
