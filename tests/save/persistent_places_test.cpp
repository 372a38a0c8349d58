// Where the saves and the persistent files go: `savedir` moves everything
// but "envdata" into a directory of the game folder and refuses one that
// leaves it; a game folder that cannot be written sends the same layout to
// the game's folder under $XDG_DATA_HOME, and reading looks there first.
#include "save/persistent_places.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "engine.h"
#include "save/environment_file.h"
#include "save/global_variables_file.h"
#include "save/persistent_data.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  return fs::exists(path);
}

std::string Le32(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

// A gloval.sav whose first record (variable 200) holds `value`.
std::string GlobalsWith(int32_t value) {
  return Le32(value) + std::string(1, '\0');
}

TEST(SaveDirectory, HoldsEverythingButEnvdata) {
  GameDir game;
  game.Write("0.txt",
             "*define\nsavedir \"save\"\nglobalon\nkidokuskip\nfilelog\nlabellog\ngame\n*start\n"
             "mov %200,1\n頁\\\nsavegame 1\nend\n");
  const RunResult r = RunScripted(game, "");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name :
       {"save1.dat", "gloval.sav", "kidoku.dat", "Orvnflog.dat", "Orvnllog.dat"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Exists(game.path() + "/save/" + name));
    EXPECT_FALSE(Exists(game.path() + "/" + name));
  }
  EXPECT_TRUE(Exists(game.path() + "/envdata"));
  EXPECT_FALSE(Exists(game.path() + "/save/envdata"));
}

TEST(SaveDirectory, IsMadeAtAnyDepthAndFoundInAnyLetterCase) {
  GameDir game;
  game.Write("0.txt", "*define\nsavedir \"data\\saves\"\nglobalon\ngame\n*start\nend\n");
  ASSERT_EQ(RunScripted(game, "").status, 0);
  EXPECT_TRUE(Exists(game.path() + "/data/saves/gloval.sav"));
  // The folder as the player's disk spells it is used, not a second one.
  game.Write("0.txt", "*define\nsavedir \"DATA\\Saves\"\nglobalon\ngame\n*start\nend\n");
  ASSERT_EQ(RunScripted(game, "").status, 0);
  EXPECT_FALSE(Exists(game.path() + "/DATA"));
}

TEST(SaveDirectory, OneThatLeavesTheGameFolderIsAnError) {
  for (const char* dir : {"..\\out", "/tmp/out", "C:\\out", "save\\..\\..\\out"}) {
    SCOPED_TRACE(dir);
    GameDir game;
    game.Write("0.txt", std::string("*define\nsavedir \"") + dir + "\"\ngame\n*start\nend\n");
    const RunResult r = RunScripted(game, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ゲームフォルダの外"), std::string::npos) << r.err;
  }
}

// The save directory of the last run comes from "envdata" before the script
// runs, so the globals are found there at start-up even without `savedir`.
TEST(SaveDirectory, TheNextRunFindsTheFilesThroughEnvdata) {
  GameDir game;
  game.Write("0.txt", "*define\nsavedir \"save\"\nglobalon\ngame\n*start\nmov %200,77\nend\n");
  ASSERT_EQ(RunScripted(game, "").status, 0);
  game.Write("0.txt", "*define\nglobalon\ngame\n*start\nend\n");
  RunScripted(game, "", [](Engine& e) { EXPECT_EQ(e.vars.Num(200), 77); });
}

// `savedir` reads the globals again from its directory when that holds them
// (a lost "envdata" must not let the defaults overwrite them), and keeps
// those read from the old place when it does not (a game that takes up
// `savedir` carries its globals over).
TEST(SaveDirectory, TakesTheGlobalsFromTheNewDirectoryWhenItHoldsThem) {
  struct Case {
    const char* name;
    std::optional<int32_t> in_game_folder, in_save_dir;
    int32_t seen;
  } cases[] = {
      {"only the directory holds them", std::nullopt, 5, 5},
      {"both hold them", 3, 5, 5},
      {"only the game folder holds them", 3, std::nullopt, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    if (c.in_game_folder) game.WriteBytes("gloval.sav", GlobalsWith(*c.in_game_folder));
    if (c.in_save_dir) game.WriteBytes("save/gloval.sav", GlobalsWith(*c.in_save_dir));
    game.Write("0.txt", "*define\nsavedir \"save\"\nglobalon\ngame\n*start\nend\n");
    RunScripted(game, "", [&](Engine& e) { EXPECT_EQ(e.vars.Num(200), c.seen); });
    EXPECT_EQ(game.ReadBytes("save/gloval.sav").substr(0, 4), Le32(c.seen));
  }
}

// The read flags kept before `savedir` are read again from its directory
// when it holds them: the lines after `end` were never reached in this run,
// yet count as read.
TEST(SaveDirectory, TakesTheReadFlagsFromTheNewDirectoryWhenItHoldsThem) {
  struct Case {
    const char* name;
    bool in_save_dir;
  } cases[] = {{"the directory holds them", true}, {"it does not", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    const std::string script =
        "*define\nkidokuskip\nsavedir \"save\"\ngame\n*start\nend\n*never\nmov %0,1\n";
    game.Write("0.txt", script);
    if (c.in_save_dir)
      game.WriteBytes("save/kidoku.dat", std::string(script.size() / 8 + 1, '\xff'));
    const size_t never = script.find("mov %0");
    RunScripted(game, "", [&](Engine& e) {
      ASSERT_TRUE(e.read_flags.kept);
      EXPECT_EQ((e.read_flags.bits[never / 8] >> (never % 8)) & 1, c.in_save_dir ? 1 : 0);
    });
  }
}

TEST(FallbackFolder, IsNamedAfterTheGameFolder) {
  struct Case {
    const char* game_dir;
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/games/My Game", "/data", "/home/p", "/data/My Game"},
      {"/games/My Game/", "/data", "/home/p", "/data/My Game"},
      {"/games/g", nullptr, "/home/p", "/home/p/.local/share/g"},
      {"/games/g", "", "/home/p", "/home/p/.local/share/g"},
      {"/games/g", "relative/dir", "/home/p", "/home/p/.local/share/g"},
      {"/games/g", nullptr, nullptr, ""},
      {"/games/g", nullptr, "", ""},
      {"/", "/data", nullptr, "/data/orivane-game"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game_dir);
    EXPECT_EQ(FallbackFolderFor(c.game_dir, c.xdg, c.home), c.folder);
  }
}

// With the fallback in use, writes go there and reads look there first, then
// in the game folder.
TEST(FallbackFolder, ReadsLookThereFirst) {
  GameDir game, data;
  ScopedCurrentDir cwd(game.path());
  EngineFixture f;
  Engine& e = f.engine();
  e.persistent.places.fallback = data.path();
  struct Case {
    const char* name;
    bool in_fallback, in_game_folder;
    std::string read_from;
  } cases[] = {
      {"in both", true, true, data.path() + "/gloval.sav"},
      {"only in the game folder", false, true, "gloval.sav"},
      {"in neither", false, false, data.path() + "/gloval.sav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(data.path() + "/gloval.sav");
    fs::remove(game.path() + "/gloval.sav");
    if (c.in_fallback) data.WriteBytes("gloval.sav", "x");
    if (c.in_game_folder) game.WriteBytes("gloval.sav", "x");
    EXPECT_EQ(PersistentFilePath(e, "gloval.sav", FileUse::kRead), c.read_from);
    EXPECT_EQ(PersistentFilePath(e, "gloval.sav", FileUse::kWrite), data.path() + "/gloval.sav");
  }
  // A save directory lies inside the fallback folder; envdata never does.
  ASSERT_TRUE(UseSaveDirectory(e, Utf8ToSjis("セーブ")));
  EXPECT_TRUE(fs::is_directory(data.path() + "/セーブ"));
  EXPECT_EQ(PersistentFilePath(e, "save1.dat"), data.path() + "/セーブ/save1.dat");
  EXPECT_EQ(PersistentFilePath(e, "envdata", FileUse::kWrite, FilePlace::kTopFolder),
            data.path() + "/envdata");
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Makes a folder unwritable for as long as it lives: its permission bits,
// and for the superuser (whom permissions do not stop) the immutable flag.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(std::string path) : path_(std::move(path)) {
    ::chmod(path_.c_str(), 0555);
    if (::geteuid() == 0) immutable_ = SetImmutable(true);
  }
  ~UnwritableFolder() {
    if (immutable_) SetImmutable(false);
    ::chmod(path_.c_str(), 0755);
  }
  bool holds() const { return !CanCreateFileIn(path_); }

 private:
  bool SetImmutable(bool on) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
  }

  std::string path_;
  bool immutable_ = false;
};

// Run with a game folder that cannot be written: a "gloval.sav" shipped in
// it is read (40), every file the run writes goes to the fallback folder, and
// after a `definereset` the next cycle reads them back from there (41 + 1).
TEST(FallbackFolder, TakesEverythingWhenTheGameFolderCannotBeWritten) {
  GameDir game, data;
  game.Write("0.txt",
             "*define\nsavedir \"save\"\nglobalon\nlabellog\ngame\n*start\n"
             "mov %200,%200+1\n頁\\\nsavegame 1\nif %200 == 41 definereset\nend\n");
  game.WriteBytes("gloval.sav", GlobalsWith(40));
  ScopedEnv xdg("XDG_DATA_HOME", data.path());
  const std::string folder = data.path() + "/" + fs::path(game.path()).filename().string();
  UnwritableFolder lock(game.path());
  if (!lock.holds()) GTEST_SKIP() << "this machine cannot make a folder unwritable for this user";
  const RunResult r = RunScripted(game, "", [](Engine& e) { EXPECT_EQ(e.vars.Num(200), 42); });
  EXPECT_EQ(r.status, 0) << r.err;
  // One note, however often the script restarts.
  const std::string note = "saves and persistent files go to " + folder;
  EXPECT_NE(r.err.find(note), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(note), r.err.rfind(note));
  for (const char* name : {"save/save1.dat", "save/gloval.sav", "save/Orvnllog.dat", "envdata"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Exists(folder + "/" + name));
  }
  EXPECT_FALSE(Exists(game.path() + "/save"));
  EXPECT_FALSE(Exists(game.path() + "/envdata"));
  EXPECT_EQ(game.ReadBytes("gloval.sav"), GlobalsWith(40));
}

TEST(FallbackFolder, IsNotUsedWhileTheGameFolderCanBeWritten) {
  GameDir game, data;
  game.Write("0.txt", "*define\nglobalon\ngame\n*start\nend\n");
  ScopedEnv xdg("XDG_DATA_HOME", data.path());
  const RunResult r = RunScripted(game, "");
  EXPECT_EQ(r.err.find("persistent files go to"), std::string::npos) << r.err;
  EXPECT_TRUE(Exists(game.path() + "/gloval.sav"));
  EXPECT_TRUE(fs::is_empty(data.path()));
}

}  // namespace
}  // namespace orivane::test
