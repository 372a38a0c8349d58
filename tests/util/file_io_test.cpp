// The file helpers every writer goes through: a temporary file is made fresh
// beside its file and never through a link planted there; a failed write
// says why and leaves the old file; leftovers of ended writes are found by
// name; and a file written below a folder never leaves it through a link.
#include "util/file_io.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_checks.h"
#include "support/game_fixture.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

bool IsOurs(std::string_view base) { return base == "gloval.sav" || base == "kidoku.dat"; }

TEST(AtomicWrite, NeverWritesThroughALinkAtTheTemporaryName) {
  GameDir game;
  game.WriteBytes("victim", "not yours");
  const std::string file = game.path() + "/gloval.sav";
  fs::create_symlink(game.path() + "/victim", file + ".tmp");
  std::string reason;
  ASSERT_TRUE(WriteFileAtomically(file, "new", 3, &reason)) << reason;
  EXPECT_EQ(game.ReadBytes("victim"), "not yours");
  EXPECT_FALSE(fs::is_symlink(file));
  EXPECT_EQ(game.ReadBytes("gloval.sav"), "new");
}

TEST(AtomicWrite, AFailedWriteSaysWhyAndKeepsTheOldFile) {
  GameDir game;
  game.WriteBytes("gloval.sav", "old");
  const std::string big(4096, 'x');
  std::string reason;
  {
    FileSizeLimit full(100);
    EXPECT_FALSE(WriteFileAtomically(game.path() + "/gloval.sav", big.data(), big.size(), &reason));
  }
  EXPECT_EQ(reason, std::strerror(EFBIG));
  EXPECT_EQ(game.ReadBytes("gloval.sav"), "old");
  EXPECT_EQ(TemporaryFilesIn(game.path()), std::vector<std::string>{});
  // A folder that does not exist: the temporary file cannot be made.
  EXPECT_FALSE(WriteFileAtomically(game.path() + "/none/gloval.sav", "x", 1, &reason));
  EXPECT_EQ(reason, std::strerror(ENOENT));
}

TEST(AtomicWrite, TemporaryNamesAreRecognised) {
  struct Case {
    const char* name;
    bool temporary;
  } cases[] = {
      {"gloval.sav.tmp", true},         {"gloval.sav.aB3xY9.tmp", true}, {"kidoku.dat.000000.tmp", true},
      {"gloval.sav", false},            {"gloval.sav.aB3x.tmp", false},  {"gloval.sav.aB3xY9", false},
      {"other.dat.aB3xY9.tmp", false},  {".tmp", false},                 {"gloval.sav.a-3xY9.tmp", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTemporaryFileOf(c.name, IsOurs), c.temporary) << c.name;
}

TEST(AtomicWrite, LeftoversAreRemovedAndNothingElse) {
  GameDir game;
  game.WriteBytes("victim", "not yours");
  game.WriteBytes("gloval.sav", "kept");
  game.WriteBytes("gloval.sav.tmp", "left by a killed run");
  game.WriteBytes("kidoku.dat.Qw3rT7.tmp", "left by a killed run");
  game.WriteBytes("notes.txt.tmp", "someone else's");
  fs::create_symlink(game.path() + "/victim", game.path() + "/kidoku.dat.tmp");
  fs::create_directory(game.path() + "/gloval.sav.Zz9Zz9.tmp");
  EXPECT_EQ(RemoveTemporaryFilesIn(game.path(), IsOurs), 3u);
  EXPECT_EQ(game.ReadBytes("victim"), "not yours");
  EXPECT_EQ(game.ReadBytes("gloval.sav"), "kept");
  EXPECT_FALSE(fs::exists(fs::symlink_status(game.path() + "/kidoku.dat.tmp")));
  EXPECT_TRUE(fs::exists(game.path() + "/notes.txt.tmp"));
  EXPECT_TRUE(fs::is_directory(game.path() + "/gloval.sav.Zz9Zz9.tmp"));
}

TEST(WriteBelow, ALinkAtTheNameIsReplacedAndALinkedFolderRefused) {
  GameDir out, elsewhere;
  elsewhere.WriteBytes("victim", "not yours");
  fs::create_symlink(elsewhere.path() + "/victim", out.path() + "/a.txt");
  fs::create_symlink(elsewhere.path() + "/victim", out.path() + "/a.txt.tmp");
  fs::create_symlink(elsewhere.path(), out.path() + "/linked");
  struct Case {
    const char* name;
    bool written;
  } cases[] = {{"a.txt", true}, {"sub/deeper/b.txt", true}, {"linked/victim", false}, {"linked/new.txt", false},
               {"../escape.txt", false}, {"sub//c.txt", false}};
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_EQ(WriteFileBelow(out.path(), c.name, "data", 4, reason), c.written) << c.name << ": " << reason;
    if (c.written) {
      EXPECT_FALSE(fs::is_symlink(out.path() + "/" + c.name)) << c.name;
      EXPECT_EQ(out.ReadBytes(c.name), "data") << c.name;
    }
  }
  EXPECT_EQ(elsewhere.ReadBytes("victim"), "not yours");
  EXPECT_FALSE(fs::exists(elsewhere.path() + "/new.txt"));
  EXPECT_FALSE(fs::exists(out.path() + "/../escape.txt"));
}

}  // namespace
}  // namespace orivane::test
