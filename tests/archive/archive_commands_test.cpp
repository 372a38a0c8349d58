// The archive commands in a script's *define block, and files read through
// the file layer once the game has started.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_extract.h"
#include "archive/archive_writer.h"
#include "archive/file_layer.h"
#include "archive_fixture.h"
#include "shell/startup.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {


TEST(ArchiveCommands, DefineBlockSetsUpTheArchivesForTheGame) {
  ArchiveGame g;
  std::string picture(3000, '\x40');
  WriteArchive(g.dir(), "data/arc.ora",
               {PackEntryAs("bg\\title.bmp", AsBytes(picture), 2), PackEntryAs("text.txt", AsBytes("primary"), 0)}, 1);
  WriteArchive(g.dir(), "more/arc.ora", {PackEntryAs("extra.txt", AsBytes("added"), 0)}, 1);
  std::vector<uint8_t> alt;
  std::string error;
  ASSERT_TRUE(BuildAltArchive({PackEntryAs("voice.wav", AsBytes("VOICE"), 0)}, alt, error));
  g.dir().WriteBytes("voices.dat", AsString(alt));
  g.dir().Write("0.txt",
                "*define\n"
                "or2\n"
                "oradir \"data\\\"\n"
                "addoradir \"more\"\n"
                "arc \"voices.dat|orvunarc.dll\"\n"
                "arc \"voices.dat|orvunarc.dll\"\n"
                "noloaderror\n"
                "game\n"
                "*start\n"
                "end\n");
  Engine& e = g.engine();
  ASSERT_EQ(RunEngine(e), 0) << g.errors();
  EXPECT_TRUE(e.archive.archives_on);
  EXPECT_EQ(e.archive.prefix_bytes(), 1);
  EXPECT_EQ(e.archive.primary_dir, "data");  // one trailing '\' removed
  EXPECT_EQ(e.archive.added_dir, "more");
  EXPECT_EQ(e.archive.plugin_archives, std::vector<std::string>{"voices.dat|orvunarc.dll"});
  EXPECT_TRUE(e.archive.no_load_error);
  EXPECT_TRUE(e.archive.index_built);  // the game start built it
  EXPECT_EQ(ReadBack(e, "BG/Title.bmp"), picture);
  EXPECT_EQ(ReadBack(e, "text.txt"), "primary");
  EXPECT_EQ(ReadBack(e, "extra.txt"), "added");
  EXPECT_EQ(ReadBack(e, "voice.wav"), "VOICE");
  // The temporary directory went with the end of the run; extraction makes a new one.
  std::string path = "text.txt";
  ASSERT_TRUE(ExtractArchived(e, path));
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(ArchiveCommands, TooManyPluginArchivesStopTheRun) {
  GameDir game;
  std::string script = "*define\n";
  for (int i = 0; i < 51; ++i) script += "arc \"a" + std::to_string(i) + ".dat|r.dll\"\n";
  script += "game\n*start\nend\n";
  game.Write("0.txt", script);
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("SPI設定が多すぎます。"), std::string::npos) << r.err;
}

TEST(ArchiveCommands, TemporaryDirectoryLivesForTheRun) {
  ArchiveGame g;
  g.dir().Write("0.txt", "*define\ngame\n*start\nend\n");
  Engine& e = g.engine();
  ASSERT_EQ(RunEngine(e), 0);
  EXPECT_TRUE(e.temp_dir.path().empty());
  ASSERT_TRUE(e.temp_dir.Create());
  std::string dir = e.temp_dir.path();
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  EXPECT_EQ(std::filesystem::status(dir).permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
  g.dir().WriteBytes("inside", "x");
  std::filesystem::copy_file("inside", dir + "/leftover");
  e.temp_dir.Remove();
  EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST(ArchiveCommands, ScriptReadsArchivedFilesThroughTheFileCommands) {
  GameDir game;
  WriteArchive(game, "arc.ora",
               {PackEntryAs("data\\note.txt", AsBytes("archived text"), 2), PackEntryAs("plain.txt", AsBytes("stored"), 0)});
  game.Write("0.txt",
             "*define\nora\ngame\n*start\n"
             "fileexist %1, \"DATA/Note.TXT\"\nfileexist %2, \"missing.txt\"\n%1%2\n"
             "readfile $1, \"data\\note.txt\"\nreadfile $2, \"plain.txt\"\n$1・$2\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "１０\narchivedtext・stored\n");  // spaces are not drawn

  // Without `ora` the archives are not consulted.
  game.Write("0.txt", "*define\ngame\n*start\nfileexist %1, \"plain.txt\"\n%1\nend\n");
  EXPECT_EQ(game.Run().out, "０\n");
}

// A picture packed as SPB is no file: a script that reads it whole is stopped
// with the report its extraction gives, not handed an empty or unchanged
// variable to go on with. Before the game starts the archives are scanned, after
// it the index answers; both refuse.
TEST(ArchiveCommands, ReadingAPictureEntryAsAFileIsRefusedAsItsExtractionIs) {
  GameDir game;
  WriteArchive(game, "arc.ora",
               {PackEntryAs("pic\\a.bmp", AsBytes(MakeBmp24(4, 2, [](int x, int y) { return 0x102030u * (x + y); })), 1)});
  for (bool in_define : {true, false}) {
    for (std::string read : {"mov $0,\"old\"\nreadfile $0,\"pic/a.bmp\"\n", "csvopen \"pic/a.bmp\",\"r\"\n"}) {
      SCOPED_TRACE((in_define ? "define: " : "game: ") + read);
      game.Write("0.txt", "*define\nora\n" + (in_define ? read : "") + "game\n*start\n" + (in_define ? "" : read) +
                              "$0\nend\n");
      RunResult r = game.Run();
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(TitleAndMessage(r), "エラー\npic\\a.bmpが開けませんでした。");
      EXPECT_EQ(r.out, "");  // the run went no further
    }
  }
}

}  // namespace
}  // namespace orivane::test
