// The archive set: which archives belong to it, lookups before and after the
// index, prefix bytes, extraction, and archives that lie about themselves.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_extract.h"
#include "archive/archive_set.h"
#include "archive/archive_writer.h"
#include "archive/file_layer.h"
#include "archive_fixture.h"
#include "util/file_io.h"

namespace orivane::test {
namespace {

PackedEntry Stored(const std::string& name, const std::string& data) {
  return PackEntryAs(name, AsBytes(data), 0);
}
PackedEntry Lzss(const std::string& name, const std::string& data) { return PackEntryAs(name, AsBytes(data), 2); }


// Each lookup is tried twice: scanning during the define block, then through
// the index once the game has started.
template <class F>
void BothWays(Engine& engine, F check) {
  {
    SCOPED_TRACE("scanning before the index");
    check();
  }
  BuildArchiveIndex(engine);
  {
    SCOPED_TRACE("through the index");
    check();
  }
}

TEST(ArchiveSet, FirstMissingArchiveEndsTheSet) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("a.txt", "in arc")});
  WriteArchive(g.dir(), "arc2.ora", {Stored("b.txt", "in arc2")});
  g.engine().archive.archives_on = true;
  BothWays(g.engine(), [&] {
    EXPECT_EQ(ReadBack(g.engine(), "a.txt"), "in arc");
    EXPECT_EQ(ReadBack(g.engine(), "b.txt"), "<none>");
  });
}

TEST(ArchiveSet, EarlierArchiveWinsADuplicateName) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("bg\\same.txt", "first")});
  WriteArchive(g.dir(), "arc1.ora", {Stored("bg\\same.txt", "second"), Stored("only1.txt", "one")});
  g.engine().archive.archives_on = true;
  BothWays(g.engine(), [&] {
    EXPECT_EQ(ReadBack(g.engine(), "bg\\same.txt"), "first");
    EXPECT_EQ(ReadBack(g.engine(), "only1.txt"), "one");
    auto loc = LocateArchived(g.engine(), "only1.txt");
    ASSERT_TRUE(loc);
    EXPECT_EQ(loc->archive_path, "arc1.ora");
  });
}

TEST(ArchiveSet, NamesBeforeAndAfterTheIndex) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("bg\\small.txt", "small"), Stored("BG\\Capital.TXT", "capital")});
  Engine& e = g.engine();
  e.archive.archives_on = true;
  // A request with '/' and capitals is normalised to '\' and small letters.
  EXPECT_EQ(ReadBack(e, "BG/SMALL.TXT"), "small");
  // Scanning compares with the stored name byte for byte: stored capitals
  // are not found until the index (which lowers them) exists.
  EXPECT_EQ(ReadBack(e, "BG\\Capital.TXT"), "<none>");
  BuildArchiveIndex(e);
  EXPECT_EQ(ReadBack(e, "bg/capital.txt"), "capital");
  EXPECT_EQ(ReadBack(e, "BG/SMALL.TXT"), "small");
}

TEST(ArchiveSet, PrefixBytesShiftHeaderAndData) {
  struct Case {
    bool or2, or3;
    int prefix;
  } cases[] = {{true, false, 1}, {false, true, 2}, {true, true, 3}};
  for (const Case& c : cases) {
    ArchiveGame g;
    WriteArchive(g.dir(), "arc.ora", {Stored("s.txt", "stored data"), Lzss("l.txt", "lzss lzss lzss data")},
                 c.prefix);
    Engine& e = g.engine();
    e.archive.archives_on = true;
    e.archive.prefix_one = c.or2;
    e.archive.prefix_two = c.or3;
    BothWays(e, [&] {
      EXPECT_EQ(ReadBack(e, "s.txt"), "stored data") << c.prefix;
      EXPECT_EQ(ReadBack(e, "l.txt"), "lzss lzss lzss data") << c.prefix;
      auto loc = LocateArchived(e, "s.txt");
      ASSERT_TRUE(loc);
      EXPECT_EQ(loc->data_start, loc->offset + static_cast<uint64_t>(c.prefix));
    });
  }
}

TEST(ArchiveSet, DirectoriesFromOradirAndAddoradir) {
  ArchiveGame g;
  WriteArchive(g.dir(), "data/arc.ora", {Stored("p.txt", "primary")});
  WriteArchive(g.dir(), "data/arc1.ora", {Stored("p1.txt", "primary 1")});
  WriteArchive(g.dir(), "more/arc.ora", {Stored("x.txt", "added"), Stored("p.txt", "shadowed")});
  WriteArchive(g.dir(), "more/arc1.ora", {Stored("x1.txt", "added 1")});
  Engine& e = g.engine();
  e.archive.archives_on = true;
  e.archive.primary_dir = "data";
  e.archive.added_dir = "more";
  // Scanning walks the added directory's whole chain.
  EXPECT_EQ(ReadBack(e, "x1.txt"), "added 1");
  BuildArchiveIndex(e);
  EXPECT_EQ(ReadBack(e, "p.txt"), "primary");
  EXPECT_EQ(ReadBack(e, "p1.txt"), "primary 1");
  EXPECT_EQ(ReadBack(e, "x.txt"), "added");
  // The index takes only the added directory's "arc.ora", as archive 10.
  EXPECT_EQ(ReadBack(e, "x1.txt"), "<none>");
  EXPECT_EQ(LocateArchived(e, "x.txt")->archive_path, "more/arc.ora");
  EXPECT_EQ(ArchivePath(e, kAddedArchive), "more/arc.ora");
}

TEST(ArchiveSet, LooseFileIsPreferred) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("bg\\a.txt", "archived")});
  g.dir().WriteBytes("bg/a.txt", "loose");
  Engine& e = g.engine();
  e.archive.archives_on = true;
  BuildArchiveIndex(e);
  EXPECT_EQ(ReadBack(e, "bg\\a.txt"), "loose");
  EXPECT_EQ(FindGameFile(e, "bg\\a.txt").origin, FileOrigin::kLoose);
  // Archives switched off: only loose files (and plug-in archives) count.
  e.archive.archives_on = false;
  std::filesystem::remove("bg/a.txt");
  EXPECT_EQ(ReadBack(e, "bg\\a.txt"), "<none>");
}

TEST(ArchiveSet, ExtractWritesDecodedFilesIntoTheTemporaryDirectory) {
  ArchiveGame g;
  std::string big(10000, 'z');
  WriteArchive(g.dir(), "arc.ora", {Stored("snd\\Voice.WAV", "RIFF....WAVE"), Lzss("snd\\bgm.mid", big)});
  Engine& e = g.engine();
  e.archive.archives_on = true;
  BuildArchiveIndex(e);
  std::string path = "snd/Voice.WAV";
  ASSERT_TRUE(ExtractArchived(e, path));
  EXPECT_EQ(path, e.temp_dir.path() + "/Voice.WAV");  // the name's own case, after the last separator
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(AsString(bytes), "RIFF....WAVE");
  path = "snd\\bgm.mid";
  ASSERT_TRUE(ExtractArchived(e, path));
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(AsString(bytes), big);
  // "表" is 0x95 0x5C: its second byte is no separator.
  WriteArchive(g.dir(), "arc1.ora", {Stored("snd\\\x95\\.wav", "table")});
  e.archive.index_built = false;
  BuildArchiveIndex(e);
  path = "snd\\\x95\\.wav";
  ASSERT_TRUE(ExtractArchived(e, path));
  EXPECT_EQ(path, e.temp_dir.path() + "/\x95\\.wav");
  std::string missing = "nothing.wav";
  EXPECT_FALSE(ExtractArchived(e, missing));
  EXPECT_EQ(missing, "nothing.wav");
  bool temporary = false;
  auto real = GameFilePath(e, "SND/VOICE.WAV", &temporary);
  ASSERT_TRUE(real);
  EXPECT_TRUE(temporary);
}

TEST(ArchiveSet, ExtractingAPictureOrAnUnsafeNameIsAnError) {
  ArchiveGame g;
  ArchiveBytes a;
  a.U16(2).U32(6 + 19 + 18).Record("p.bmp", 1, 0, 4, 4).Record("a\\..", 0, 0, 4, 4).Raw("data");
  g.dir().WriteBytes("arc.ora", a.str());
  Engine& e = g.engine();
  e.archive.archives_on = true;
  for (std::string name : {"p.bmp", "a/.."}) {
    std::string path = name;
    EXPECT_THROW(ExtractArchived(e, path), EngineExit) << name;
    EXPECT_NE(g.errors().find("が開けませんでした。"), std::string::npos);
  }
  // Nothing was left in the temporary directory or beside it.
  EXPECT_TRUE(std::filesystem::is_empty(e.temp_dir.path()));
}

TEST(ArchiveSet, EntriesOfEveryKindBuiltByHand) {
  ArchiveGame g;
  // "stored" as kind 0; "packed" as LZSS: literals 'h' 'i' and a copy of two
  // spaces; "pic.bmp" as a 1 x 1 SPB picture; kind 9 is unknown.
  const std::string lzss("\xB4\x5A\x40\x00", 4);  // 1 'h' 1 'i' 0 pos 0 len 0, padding
  // 1 x 1: width, height, then per channel the first sample and one code 0.
  const std::string spb = std::string("\x00\x01\x00\x01", 4) + std::string("\x0A\x02\x80\x78\x00", 5);
  ArchiveBytes records;
  records.Record("stored", 0, 0, 3, 50).Record("packed", 2, 3, 4, 4).Record("pic.bmp", 1, 7, 9, 58);
  records.Record("odd", 9, 0, 1, 1);
  ArchiveBytes a;
  a.U16(4).U32(static_cast<uint32_t>(6 + records.size())).Raw(records.str());
  a.Raw("abc").Raw(lzss).Raw(spb);
  g.dir().WriteBytes("arc.ora", a.str());
  Engine& e = g.engine();
  e.archive.archives_on = true;
  BothWays(e, [&] {
    EXPECT_EQ(ReadBack(e, "stored"), "abc");
    EXPECT_EQ(ReadBack(e, "packed"), "hi  ");
    auto loc = LocateArchived(e, "pic.bmp");
    ASSERT_TRUE(loc);
    EXPECT_EQ(loc->kind, 1);
    DisplaySurface pic;
    ASSERT_EQ(ReadArchivedPicture(*loc, pic), SpbResult::kOk);
    EXPECT_EQ(pic.pixels[0], 10);
    EXPECT_EQ(pic.pixels[1], 20);
    EXPECT_EQ(pic.pixels[2], 30);
    // A stored entry is its stored bytes, whatever its decoded size says.
    std::string path = "stored";
    ASSERT_TRUE(ExtractArchived(e, path));
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    path = "odd";  // an unknown kind extracts to an empty file
    ASSERT_TRUE(ExtractArchived(e, path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
  });
}

TEST(ArchiveSet, ArchivesThatLieAboutThemselves) {
  struct Case {
    const char* what;
    std::string arc;  // "arc.ora"; "arc1.ora" always holds "next"
    std::vector<std::string> found_by_index;
    std::vector<std::string> missing;
  };
  const std::string data = "0123456789";
  std::vector<Case> cases = {
      {"records end early: earlier entries stay",
       ArchiveBytes().U16(3).U32(100).Record("one", 0, 0, 1, 1).Name("two").U8(0).U32(0).str(),
       {"next"},
       {"two"}},
      {"count larger than the records",
       ArchiveBytes().U16(65535).U32(6 + 9).Record("x", 0, 0, 1, 1).Raw("X").str(),
       {"x", "next"},
       {}},
      {"name without its terminating zero", ArchiveBytes().U16(1).U32(6).Raw("noterminator").str(), {"next"}, {}},
      {"name longer than 255 bytes",
       ArchiveBytes().U16(2).U32(400).Record(std::string(256, 'n'), 0, 0, 1, 1).Record("after", 0, 0, 1, 1).str(),
       {"next"},
       {std::string(256, 'n'), "after"}},
      {"offset and size past the end",
       ArchiveBytes()
           .U16(3)
           .U32(6 + 3 * 17)
           .Record("in1", 0, 0, 10, 10)
           .Record("far", 0, 0xFFFFFFF0u, 10, 10)
           .Record("big", 0, 5, 6, 6)
           .Raw(data)
           .str(),
       {"in1", "next"},
       {"far", "big"}},
      {"header cut short stops the whole build", std::string("\x00", 1), {}, {"next"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ArchiveGame g;
    g.dir().WriteBytes("arc.ora", c.arc);
    WriteArchive(g.dir(), "arc1.ora", {Stored("next", "N")});
    Engine& e = g.engine();
    e.archive.archives_on = true;
    BuildArchiveIndex(e);
    for (const std::string& name : c.found_by_index) EXPECT_TRUE(LocateArchived(e, name)) << name;
    for (const std::string& name : c.missing) EXPECT_FALSE(LocateArchived(e, name)) << name;
  }
  // On the scanning path a broken archive ends the search with nothing found.
  ArchiveGame g;
  g.dir().WriteBytes("arc.ora", ArchiveBytes().U16(2).U32(100).Record("one", 0, 0, 1, 1).str());
  WriteArchive(g.dir(), "arc1.ora", {Stored("next", "N")});
  g.engine().archive.archives_on = true;
  EXPECT_FALSE(LocateArchived(g.engine(), "next"));
}

TEST(ArchiveSet, PluginArchives) {
  ArchiveGame g;
  Engine& e = g.engine();
  // The alternative format, read by the built-in reader that stands for "orvunarc.dll".
  std::vector<uint8_t> alt;
  std::string error;
  ASSERT_TRUE(BuildAltArchive({Stored("se\\hit.wav", "HIT"), Stored("Upper.wav", "UP")}, alt, error));
  g.dir().WriteBytes("sound.dat", AsString(alt));
  // A reader module of our own, named as a game names it.
  std::filesystem::copy_file(ORIVANE_TEST_ARCHIVE_READER, "myreader.so");
  g.dir().WriteBytes("text.lst", "story.txt=once upon a time\nbroken.txt=fail-file\n");
  e.archive.plugin_archives = {"missing.dat|orvunarc.dll", "sound.dat|plugins\\orvunarc.dll",
                               "text.lst|nosuchreader.dll", "text.lst|myreader.dll"};
  std::string path = "SE/HIT.WAV";
  ASSERT_TRUE(ExtractArchived(e, path));
  EXPECT_EQ(path, e.temp_dir.path() + "/HIT.WAV");
  EXPECT_EQ(ReadBack(e, "se/hit.wav"), "HIT");
  // The request is lowered, the stored name is not: "Upper.wav" is never found.
  path = "Upper.wav";
  EXPECT_FALSE(ExtractArchived(e, path));
  path = "Story.txt";
  ASSERT_TRUE(ExtractArchived(e, path));
  EXPECT_EQ(ReadBack(e, "story.txt"), "once upon a time");
  path = "broken.txt";  // the reader's GetFile fails
  EXPECT_FALSE(ExtractArchived(e, path));
  EXPECT_EQ(path, "broken.txt");
  // Archives on and the name there: the archive comes first.
  WriteArchive(g.dir(), "arc.ora", {Stored("story.txt", "from arc")});
  e.archive.archives_on = true;
  EXPECT_EQ(ReadBack(e, "story.txt"), "from arc");
}

TEST(ArchiveSet, FileLogRecordsNamesOnlyWhenOn) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("a.txt", "A")});
  Engine& e = g.engine();
  e.archive.archives_on = true;
  ReadBack(e, "a.txt");
  EXPECT_FALSE(e.file_log.Contains("a.txt"));
  e.archive.file_log_on = true;
  ReadBack(e, "bg/A.txt");
  ReadBack(e, "nowhere.bmp");
  EXPECT_TRUE(e.file_log.Contains("BG\\a.TXT"));
  EXPECT_TRUE(e.file_log.Contains("nowhere.bmp"));
}

TEST(ArchiveSet, OraGetFileIgnoresTheSwitch) {
  ArchiveGame g;
  WriteArchive(g.dir(), "arc.ora", {Stored("one", "1"), Stored("two", "22")});
  Engine& e = g.engine();
  std::string archive;
  uint64_t offset = 0;
  uint32_t size = 0;
  ASSERT_EQ(OraGetFile(e, "TWO", archive, offset, size), 1);
  EXPECT_EQ(archive, "arc.ora");
  EXPECT_EQ(offset, 6u + 2 * 17 + 1);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(OraGetFile(e, "three", archive, offset, size), 0);
}

}  // namespace
}  // namespace orivane::test
