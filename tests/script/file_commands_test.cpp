// File tests and reads, label tests, INI and registry lookups, and the rule
// that scripts write and delete only inside the game directory.
#include <filesystem>
#include <fstream>

#include "script/general_test_support.h"
#include "support/script_cases.h"
#include "util/game_path.h"
#include "util/ini_file.h"

namespace orivane::test {
namespace {

bool Exists(const GameDir& game, const std::string& name) {
  return std::filesystem::exists(std::filesystem::path(game.path()) / name);
}

TEST(FileExist, FindsLooseFilesWithBackslashesAndAnyCase) {
  GameDir game;
  game.WriteBytes("Data/Story.TXT", "x");
  game.WriteBytes("top.dat", "x");
  // Names on disk are UTF-8; the second bytes of 表 and ソ in Shift-JIS are '\'.
  game.WriteBytes("表/ソ.txt", "x");
  RunResult r = RunBody(game,
                        "fileexist %0,\"data\\story.txt\"\nfileexist %1,\"DATA/STORY.txt\"\n"
                        "fileexist %2,\"top.dat\"\nfileexist %3,\"missing.dat\"\nfileexist %4,\"data\"\n"
                        "fileexist %5,\"表\\ソ.txt\"\n%0\n%1\n%2\n%3\n%4\n%5");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1", "1", "1", "0", "0", "1"}));
}

TEST(ReadFile, ReadsWholeFileAndLeavesVariableWhenMissing) {
  GameDir game;
  game.Write("text/note.txt", "一行目\n二行目");
  game.WriteBytes("nul.bin", std::string("ab\0cd", 5));
  RunResult r = RunBody(game,
                        "readfile $0,\"text\\note.txt\"\nlen %0,$0\nmov $1,\"keep\"\nreadfile $1,\"nope.txt\"\n"
                        "readfile $2,\"nul.bin\"\n%0\n$1\n$2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Wide("13") + "\nkeep\nab\n");  // 12 bytes of text and a newline
}

TEST(LabelExist, TestsTheLabelTableInAnyCase) {
  RunResult r = RunBody("labelexist %0,*START\nlabelexist %1,*nowhere\nlabelexist %2,\"*Define\"\n%0\n%1\n%2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1", "0", "1"}));
}

TEST(FileCreateRemove, CreateTruncateAndDelete) {
  GameDir game;
  game.WriteBytes("old.dat", "previous contents");
  game.WriteBytes("sub/gone.dat", "x");
  RunResult r = RunBody(game,
                        "filecreate \"new.dat\"\nfilecreate \"old.dat\"\nfileremove \"SUB\\gone.dat\"\n"
                        "fileremove \"never-was.dat\"\nfileexist %0,\"new.dat\"\n%0");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1"}));
  EXPECT_TRUE(Exists(game, "new.dat"));
  EXPECT_EQ(game.ReadBytes("old.dat"), "");
  EXPECT_FALSE(Exists(game, "sub/gone.dat"));
}

// A script may not write or delete anything outside its game directory.
TEST(FileCreateRemove, RefuseNamesOutsideTheGameDirectory) {
  GameDir outside;
  outside.WriteBytes("victim.dat", "safe");
  std::string victim = outside.path() + "/victim.dat";
  const std::string statements[] = {
      "fileremove \"" + victim + "\"",
      "filecreate \"" + victim + "\"",
      "csvopen \"" + victim + "\",\"w\"",
      "fileremove \"..\\" + std::filesystem::path(outside.path()).filename().string() + "\\victim.dat\"",
      "filecreate \"sub/../../x.dat\"",
      "filecreate \"C:\\x.dat\"",
      "filecreate \"\"",
  };
  for (const std::string& statement : statements) {
    GameDir game;
    RunResult r = RunBody(game, statement);
    EXPECT_EQ(r.status, 1) << statement;
    EXPECT_THAT(r.err, ::testing::StartsWith("エラー\nゲームのフォルダの外のファイルは書き換えられません。:"))
        << statement;
  }
  EXPECT_EQ(outside.ReadBytes("victim.dat"), "safe");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / "x.dat"));
}

TEST(IsInsideGameDirectory, AcceptsRelativeNamesOnly) {
  struct Case {
    std::string name;
    bool inside;
  } cases[] = {
      {"save.csv", true},          {"data\\a.txt", true},   {"./a.txt", true},     {"a..b.txt", true},
      {"..", false},               {"../a", false},         {"a\\..\\..\\b", false}, {"a/..", false},
      {"/etc/passwd", false},      {"\\a.txt", false},      {"C:\\a.txt", false},  {"", false},
      {"\x83\x5C.txt", true},  // ソ: its second byte is '\', not a separator
  };
  for (const Case& c : cases) EXPECT_EQ(IsInsideGameDirectory(c.name), c.inside) << c.name;
}

TEST(FindIniValue, ReadsProfileText) {
  const std::string text =
      "; comment\r\n[Other]\r\nname=wrong\r\n[ Game ]\r\nName = Orivane \r\nquoted=\"a b\"\r\n"
      "empty=\r\n;name=commented\r\nname=second\r\n[game]\r\nlater=yes\r\n";
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"game", "name", "Orivane"}, {"GAME", "NAME", "Orivane"}, {"Game", "quoted", "a b"},
      {"Game", "empty", ""},       {"Other", "name", "wrong"},  {"Game", "missing", std::nullopt},
      {"None", "name", std::nullopt}, {"game", "later", "yes"},
  };
  for (const Case& c : cases) {
    auto v = FindIniValue(text, c.section, c.key);
    EXPECT_EQ(v.has_value(), c.value.has_value()) << c.section << "/" << c.key;
    if (v && c.value) {
      EXPECT_EQ(std::string(*v), *c.value) << c.section << "/" << c.key;
    }
  }
}

TEST(GetIni, ReadsIniFilesAndCutsLongValues) {
  GameDir game;
  game.Write("conf/game.ini", "[sys]\nmode=full\nlong=" + std::string(300, 'x') + "\nwide=" + std::string(254, 'x') +
                                  "あい\n");
  RunResult r = RunBody(game,
                        "getini $0,\"CONF\\GAME.INI\",\"SYS\",\"Mode\"\ngetini $1,\"conf\\game.ini\",\"sys\",\"long\"\n"
                        "len %0,$1\nmov $2,\"keep\"\ngetini $2,\"none.ini\",\"sys\",\"mode\"\nlen %1,$2\n"
                        "getini $3,\"conf/game.ini\",\"sys\",\"wide\"\nlen %2,$3\n$0\n%0\n%1\n%2");
  EXPECT_EQ(r.status, 0) << r.err;
  // A two-byte character that does not fit whole is left out.
  EXPECT_EQ(r.out, "full\n" + WideLines({"255", "0", "254"}));
}

TEST(GetReg, ReadsRegistryFileOrYieldsEmpty) {
  GameDir game;
  game.Write("registry.ini", "[Software\\Maker\\Title]\nInstallDir=C:\\Games\\Title\nlong=" +
                                 std::string(300, 'y') + "\n");
  RunResult r = RunBody(game,
                        "getreg $0,\"software\\maker\\title\",\"installdir\"\ngetreg $1,\"Software\\Maker\\Title\",\"long\"\n"
                        "len %0,$1\nmov $2,\"keep\"\ngetreg $2,\"Software\\Other\",\"InstallDir\"\nlen %1,$2\n"
                        "cmp %2,$0,\"C:\\Games\\Title\"\n%0\n%1\n%2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"256", "0", "0"}));

  RunResult none = RunBody("mov $0,\"keep\"\ngetreg $0,\"Software\\Maker\",\"x\"\nlen %0,$0\n%0");
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(none.out, WideLines({"0"}));
}

INSTANTIATE_TEST_SUITE_P(
    FileFirstArguments, ScriptErrors,
    ::testing::Values(ErrorCase{"fileexist $0,\"a\"", "エラー", "fileexistの第一引数は数字変数です。"},
                      ErrorCase{"labelexist $0,*start", "エラー", "labelexistの第一引数は数字変数です。"},
                      ErrorCase{"readfile %0,\"a\"", "構文エラー", "readfileの第一引数は文字変数です。"},
                      ErrorCase{"getini %0,\"a\",\"b\",\"c\"", "構文エラー", "getiniの第一引数は文字変数です。"},
                      ErrorCase{"getreg %0,\"a\",\"b\"", "構文エラー", "getregの第一引数は文字変数です。"}));

}  // namespace
}  // namespace orivane::test
