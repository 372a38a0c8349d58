// `mousecursor`: a cursor file reaches the platform as its picture and hot
// spot, loose or out of an archive (whose temporary copy is gone after
// loading); "off" gives the arrow back; the argument and file errors are
// reported with the engine's exact texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_writer.h"
#include "platform/headless/headless_platform.h"
#include "script/general_test_support.h"
#include "support/cursor_files.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

// A 4 × 3 cursor, hot spot (2, 1): red, its top-left pixel clear.
std::string RedCursor() {
  return CursorFile(
      {{4, 3, 2, 1,
        BmpBody(
            4, 3, 24, {}, [](int x, int y) { return x == 0 && y == 0 ? 0u : 0xFF0000u; },
            [](int x, int y) { return x == 0 && y == 0; })}});
}

const CursorPicture* CursorOf(PreparedEngine& p) {
  return dynamic_cast<HeadlessPlatform&>(p.engine.platform).cursor_picture();
}

void ExpectRedCursor(const CursorPicture* c) {
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->width, 4);
  EXPECT_EQ(c->height, 3);
  EXPECT_EQ(c->hot_x, 2);
  EXPECT_EQ(c->hot_y, 1);
  ASSERT_EQ(c->rgba.size(), 4u * 3 * 4);
  EXPECT_EQ(std::vector<uint8_t>(c->rgba.begin(), c->rgba.begin() + 8),
            (std::vector<uint8_t>{0, 0, 0, 0, 255, 0, 0, 255}));
}

TEST(MouseCursor, SetsTheFilesPictureAndOffGivesTheArrowBack) {
  PreparedEngine p;
  p.game.WriteBytes("cur/red.cur", RedCursor());
  p.game.WriteBytes("Red.cur", RedCursor());
  // A string variable, and a name in another letter case than the file's.
  ASSERT_EQ(p.Run("mov $1,\"RED.CUR\"\nmousecursor $1"), 0) << p.err();
  ExpectRedCursor(CursorOf(p));
  p.engine.interp.ForgetCompiledScript();
  ASSERT_EQ(p.Run("mousecursor off"), 0) << p.err();
  EXPECT_EQ(CursorOf(p), nullptr);
  p.engine.interp.ForgetCompiledScript();
  ASSERT_EQ(p.Run("mousecursor \"cur\\red.cur\""), 0) << p.err();
  ExpectRedCursor(CursorOf(p));
}

TEST(MouseCursor, LoadsAnArchivedCursorThroughATemporaryFileItDeletes) {
  for (uint8_t kind : {0, 2}) {
    SCOPED_TRACE(kind == 0 ? "stored" : "LZSS");
    PreparedEngine p;
    const std::string cur = RedCursor();
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(BuildArchive(
        {PackEntryAs("pointer\\red.cur", std::vector<uint8_t>(cur.begin(), cur.end()), kind)}, 0,
        archive, error))
        << error;
    p.game.WriteBytes("arc.ora", std::string(archive.begin(), archive.end()));
    p.engine.archive.archives_on = true;
    ASSERT_TRUE(p.engine.temp_dir.Create());
    ASSERT_EQ(p.Run("mousecursor \"pointer\\red.cur\""), 0) << p.err();
    ExpectRedCursor(CursorOf(p));
    EXPECT_TRUE(std::filesystem::is_empty(p.engine.temp_dir.path()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    MouseCursor, ScriptErrors,
    ::testing::Values(
        ErrorCase{"mousecursor on", "エラー", "mousecursorのパラメータは、offかファイル名です。"},
        ErrorCase{"mousecursor 5", "エラー", "mousecursorのパラメータは、offかファイル名です。"},
        ErrorCase{"mousecursor \"\"", "エラー", "mousecursorのパラメータは、offかファイル名です。"},
        ErrorCase{"mousecursor \"none.cur\"", "エラー", "カーソルファイルが見つかりません。"}));

TEST(MouseCursor, ReportsAFileThatIsNoCursor) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::string good = RedCursor();
  const std::vector<Case> cases = {
      {"a BMP picture", "BM" + std::string(60, '\0')},
      {"a cursor cut short", good.substr(0, good.size() - 1)},
      {"an empty file", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.WriteBytes("bad.cur", c.bytes);
    // `noloaderror` silences missing pictures, not the cursor's errors.
    game.Write("0.txt", "*define\nnoloaderror\ngame\n*start\nmousecursor \"bad.cur\"\nend\n");
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, IsErrorReport("エラー", "カーソルファイルbad.curは読めません。"));
  }
  GameDir game;
  game.Write("0.txt", "*define\nnoloaderror\ngame\n*start\nmousecursor \"gone.cur\"\nend\n");
  EXPECT_THAT(game.Run().err, IsErrorReport("エラー", "カーソルファイルが見つかりません。"));
}

}  // namespace
}  // namespace orivane::test
