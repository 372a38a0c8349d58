// The orivane-arc tool: archives it makes are read by the engine exactly,
// and it lists and unpacks archives, its own and hand-made ones.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "archive/archive_set.h"
#include "archive/file_layer.h"
#include "archive_fixture.h"
#include "platform/display_surface.h"
#include "util/bmp_writer.h"

extern char** environ;

namespace orivane::test {
namespace {

struct ToolResult {
  int status = -1;
  std::string out;
};

ToolResult RunTool(std::vector<std::string> args) {
  char out_name[] = "/tmp/orivane-arc-out-XXXXXX";
  int fd = ::mkstemp(out_name);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fd, 1);
  args.insert(args.begin(), ORIVANE_ARC_TOOL);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  ToolResult r;
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int ws = 0;
    ::waitpid(pid, &ws, 0);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  ::lseek(fd, 0, SEEK_SET);
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) r.out.append(buf, static_cast<size_t>(n));
  ::close(fd);
  ::unlink(out_name);
  return r;
}

std::string BmpFileOf(const DisplaySurface& p) {
  return AsString(EncodeBmp(BmpImage{p.width, p.height, 24, p.pixels.data(), p.stride}));
}

std::string Bmp(int w, int h, uint32_t seed) {
  DisplaySurface p;
  p.Resize(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) p.RowFromTop(y)[x] = static_cast<uint8_t>(x * 2 + y + rng() % 3);
  return BmpFileOf(p);
}


TEST(OrivaneArc, CreateListExtractAndTheEngineReadsIt) {
  ArchiveGame g;
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i % 7) + "\n";
  std::string noise;
  std::mt19937 rng(5);
  for (int i = 0; i < 2000; ++i) noise.push_back(static_cast<char>(rng()));
  const std::string picture = Bmp(40, 30, 1);
  g.dir().WriteBytes("src/bg/Title.bmp", picture);
  g.dir().WriteBytes("src/story.txt", text);
  g.dir().WriteBytes("src/noise.bin", noise);
  g.dir().WriteBytes("src/音/声.wav", "voice");
  for (int prefix : {0, 1, 2}) {
    SCOPED_TRACE(prefix);
    std::vector<std::string> opt = prefix ? std::vector<std::string>{"--prefix", std::to_string(prefix)}
                                          : std::vector<std::string>{};
    auto with = [&](std::vector<std::string> args) {
      args.insert(args.begin(), opt.begin(), opt.end());
      return RunTool(args);
    };
    std::filesystem::remove("arc.ora");
    ASSERT_EQ(with({"create", "arc.ora", "src"}).status, 0);
    ToolResult list = with({"list", "arc.ora"});
    ASSERT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("bg\\Title.bmp\tspb\t"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("story.txt\tlzss\t"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("noise.bin\tstored\t"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("音\\声.wav\tstored\t"), std::string::npos) << list.out;

    std::filesystem::remove_all("out");
    ASSERT_EQ(with({"extract", "arc.ora", "-C", "out"}).status, 0);
    EXPECT_EQ(g.dir().ReadBytes("out/bg/Title.bmp"), picture);
    EXPECT_EQ(g.dir().ReadBytes("out/story.txt"), text);
    EXPECT_EQ(g.dir().ReadBytes("out/noise.bin"), noise);
    EXPECT_EQ(g.dir().ReadBytes("out/音/声.wav"), "voice");
    std::filesystem::remove_all("one");
    ASSERT_EQ(with({"extract", "arc.ora", "STORY.TXT", "-C", "one"}).status, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("one"), {}), 1);
    EXPECT_NE(with({"extract", "arc.ora", "absent.txt", "-C", "one"}).status, 0);

    // The engine, with the matching switch, finds every file.
    ArchiveState& st = g.engine().archive;
    st = ArchiveState{};
    st.archives_on = true;
    st.prefix_one = prefix == 1;
    st.prefix_two = prefix == 2;
    BuildArchiveIndex(g.engine());
    EXPECT_EQ(ReadBack(g.engine(), "story.txt"), text);
    EXPECT_EQ(ReadBack(g.engine(), "noise.bin"), noise);
    auto loc = LocateArchived(g.engine(), "bg/title.bmp");
    ASSERT_TRUE(loc);
    DisplaySurface pic;
    ASSERT_EQ(ReadArchivedPicture(*loc, pic), SpbResult::kOk);
    EXPECT_EQ(BmpFileOf(pic), picture);
    // Script names are Shift-JIS: "音\声.wav".
    EXPECT_EQ(ReadBack(g.engine(), "\x89\xb9\\\x90\xba.wav"), "voice");
  }
}

TEST(OrivaneArc, HandMadeArchiveWithUnsafeNamesAndBrokenEntries) {
  ArchiveGame g;
  ArchiveBytes records;
  records.Record("..\\escape.txt", 0, 0, 2, 2).Record("ok.txt", 0, 2, 2, 2).Record("gone.txt", 0, 100, 2, 2);
  records.Record("OK.TXT", 0, 0, 2, 2);  // a later duplicate does not overwrite the first
  ArchiveBytes a;
  a.U16(4).U32(static_cast<uint32_t>(6 + records.size())).Raw(records.str()).Raw("EVok");
  g.dir().WriteBytes("hand.ora", a.str());
  ToolResult list = RunTool({"list", "hand.ora"});
  EXPECT_EQ(list.status, 1);  // an entry past the end is shown and flagged
  EXPECT_NE(list.out.find("gone.txt\tstored\t"), std::string::npos) << list.out;
  EXPECT_NE(RunTool({"extract", "hand.ora", "-C", "out/deep"}).status, 0);
  EXPECT_EQ(g.dir().ReadBytes("out/deep/ok.txt"), "ok");
  EXPECT_FALSE(std::filesystem::exists("out/escape.txt"));
  EXPECT_FALSE(std::filesystem::exists("out/deep/gone.txt"));
  EXPECT_EQ(RunTool({"list"}).status, 2);
}

// Links standing in the target folder: one at a file's name is replaced,
// never written through; a folder on the way that is a link is refused.
TEST(OrivaneArc, ExtractNeverWritesThroughALinkInTheTarget) {
  ArchiveGame g;
  g.dir().WriteBytes("src/story.txt", "the story");
  g.dir().WriteBytes("src/bg/a.txt", "a picture");
  g.dir().WriteBytes("elsewhere/victim", "not yours");
  ASSERT_EQ(RunTool({"create", "arc.ora", "src"}).status, 0);
  const std::string root = g.dir().path();
  std::filesystem::create_directories(root + "/out");
  std::filesystem::create_symlink(root + "/elsewhere/victim", root + "/out/story.txt");
  std::filesystem::create_symlink(root + "/elsewhere/victim", root + "/out/story.txt.tmp");
  std::filesystem::create_symlink(root + "/elsewhere", root + "/out/bg");
  EXPECT_EQ(RunTool({"extract", "arc.ora", "-C", "out"}).status, 1);
  EXPECT_EQ(g.dir().ReadBytes("elsewhere/victim"), "not yours");
  EXPECT_FALSE(std::filesystem::is_symlink(root + "/out/story.txt"));
  EXPECT_EQ(g.dir().ReadBytes("out/story.txt"), "the story");
  EXPECT_FALSE(std::filesystem::exists(root + "/elsewhere/a.txt"));
}

TEST(OrivaneArc, HandMadePrefixedArchiveOfEveryKind) {
  ArchiveGame g;
  // Two prefix bytes (`or3`), then a stored, an LZSS ("hi" + two spaces) and a
  // 1 x 1 SPB entry; offsets count from the first byte after the prefix.
  ArchiveBytes records;
  records.Record("s.txt", 0, 0, 3, 3).Record("l.txt", 2, 3, 4, 4).Record("p.bmp", 1, 7, 9, 58);
  ArchiveBytes a;
  a.Raw("\xAB\xCD").U16(3).U32(static_cast<uint32_t>(6 + records.size())).Raw(records.str());
  a.Raw("abc").Raw(std::string("\xB4\x5A\x40\x00", 4));
  a.Raw(std::string("\x00\x01\x00\x01\x0A\x02\x80\x78\x00", 9));
  g.dir().WriteBytes("arc.ora", a.str());
  ToolResult list = RunTool({"--prefix", "2", "list", "arc.ora"});
  ASSERT_EQ(list.status, 0) << list.out;
  EXPECT_EQ(list.out,
            "name\tkind\toffset\tstored\tdecoded\n"
            "s.txt\tstored\t" + std::to_string(6 + records.size()) + "\t3\t3\n"
            "l.txt\tlzss\t" + std::to_string(6 + records.size() + 3) + "\t4\t4\n"
            "p.bmp\tspb\t" + std::to_string(6 + records.size() + 7) + "\t9\t58\n");
  ASSERT_EQ(RunTool({"--prefix", "2", "extract", "arc.ora", "-C", "out"}).status, 0);
  EXPECT_EQ(g.dir().ReadBytes("out/s.txt"), "abc");
  EXPECT_EQ(g.dir().ReadBytes("out/l.txt"), "hi  ");
  std::string bmp = g.dir().ReadBytes("out/p.bmp");
  ASSERT_EQ(bmp.size(), 58u);
  EXPECT_EQ(bmp.substr(54, 3), "\x0A\x14\x1E");
  // Without the prefix switch the same file is no archive the tool can read whole.
  EXPECT_NE(RunTool({"list", "arc.ora"}).status, 0);
  // The engine with `or3` finds all three.
  g.engine().archive.archives_on = true;
  g.engine().archive.prefix_two = true;
  EXPECT_EQ(ReadBack(g.engine(), "S.TXT"), "abc");
  EXPECT_EQ(ReadBack(g.engine(), "l.txt"), "hi  ");
  EXPECT_TRUE(LocateArchived(g.engine(), "p.bmp"));
}

}  // namespace
}  // namespace orivane::test
