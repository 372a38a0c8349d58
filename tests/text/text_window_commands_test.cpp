// The text window's commands: what each leaves in the record, their error
// reports, and how the player's speed and font menus reach the window.
#include <gtest/gtest.h>

#include <functional>

#include "script/general_test_support.h"
#include "shell/shell_state.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"
#include "support/scripted_run.h"
#include "text/text_window.h"
#include "text/text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Sjis(const char* utf8) {
  return Utf8ToSjis(utf8);
}

// ---- what each command leaves in the record ------------------------------------

struct StateCase {
  const char* name;
  const char* define;
  const char* body;
  std::function<void(const TextWindow&)> check;
};

void PrintTo(const StateCase& c, std::ostream* os) {
  *os << c.name;
}

class TextWindowState : public ::testing::TestWithParam<StateCase> {};

TEST_P(TextWindowState, RecordHoldsWhatTheCommandsSet) {
  GameDir game;
  // A 40 × 20 window picture and a standing picture for the cases that load one.
  game.WriteBytes("win.bmp", MakeBmp24(40, 20, [](int x, int y) { return 0x102030u + x + y; }));
  game.WriteBytes("p.bmp", MakeBmp24(10, 10, [](int, int) { return 0x808080u; }));
  game.Write("0.txt", SmallGame(GetParam().define, GetParam().body));
  bool inspected = false;
  TextRun r = RunTextGame(game, [&](Engine& e) {
    inspected = true;
    GetParam().check(e.text);
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inspected);
}

const std::string kGothic = Sjis("ＭＳ ゴシック");

const StateCase
    kStateCases[] =
        {
            StateCase{"Defaults", "", "",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.text_left, 21);
                        EXPECT_EQ(w.text_top, 16);
                        EXPECT_EQ(w.columns, 23);
                        EXPECT_EQ(w.rows, 16);
                        EXPECT_EQ(w.glyph_width, 26);
                        EXPECT_EQ(w.glyph_height, 26);
                        EXPECT_EQ(w.advance_x, 26);
                        EXPECT_EQ(w.advance_y, 28);
                        EXPECT_EQ(w.speed, 20);
                        EXPECT_EQ(w.bold, 1);
                        EXPECT_EQ(w.shadow, 1);
                        EXPECT_EQ(w.frame_color, 0x999999);
                        // The frame covers the screen of this game (320 × 240).
                        EXPECT_EQ(w.frame_left, 0);
                        EXPECT_EQ(w.frame_top, 0);
                        EXPECT_EQ(w.frame_right, 320);
                        EXPECT_EQ(w.frame_bottom, 240);
                        EXPECT_EQ(w.font_face, kGothic);
                        EXPECT_EQ(w.pending_font_face, kGothic);
                        EXPECT_EQ(w.default_font_face, kGothic);
                        EXPECT_EQ(w.text_color, 0xFFFFFFu);
                        EXPECT_EQ(w.text_mode, 1);
                        EXPECT_EQ(w.erase_on_effect, 1);
                        EXPECT_FALSE(w.shown);
                        EXPECT_FALSE(w.hidden);
                        EXPECT_EQ(w.speed_table, (std::array<int32_t, 3>{40, 10, 0}));
                        EXPECT_EQ(w.speed_min, 0);
                        EXPECT_EQ(w.speed_max, 100);
                        EXPECT_EQ(w.sprite_font.width, -1);
                        EXPECT_FALSE(w.ruby_on);
                        EXPECT_EQ(w.layer.width, 320);
                        EXPECT_EQ(w.layer.height, 240);
                      }},
            StateCase{"SetwindowWithColour", "",
                      "locate 3,4\nfont \"Ｆ\"\n"
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,#123456,5,6,300,200",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.text_left, 8);
                        EXPECT_EQ(w.text_top, 16);
                        EXPECT_EQ(w.columns, 20);
                        EXPECT_EQ(w.rows, 10);
                        EXPECT_EQ(w.glyph_width, 24);
                        EXPECT_EQ(w.glyph_height, 22);
                        EXPECT_EQ(w.advance_x, 26);
                        EXPECT_EQ(w.advance_y, 26);
                        EXPECT_EQ(w.speed, 30);
                        EXPECT_EQ(w.bold, 0);
                        EXPECT_EQ(w.shadow, 1);
                        EXPECT_EQ(w.frame_color, 0x123456);
                        EXPECT_EQ(w.frame_left, 5);
                        EXPECT_EQ(w.frame_top, 6);
                        EXPECT_EQ(w.frame_right, 300);
                        EXPECT_EQ(w.frame_bottom, 200);
                        // A new page: the cursor is home and the pending face is the page's.
                        EXPECT_EQ(w.column, 0);
                        EXPECT_EQ(w.line, 0);
                        EXPECT_EQ(w.font_face, Sjis("Ｆ"));
                      }},
            StateCase{"SetwindowWithPictureTakesItsSize", "",
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,\":c;win.bmp\",50,60",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.frame_color, kFramePicture);
                        EXPECT_TRUE(w.frame_image.loaded);
                        EXPECT_EQ(w.frame_left, 50);
                        EXPECT_EQ(w.frame_top, 60);
                        EXPECT_EQ(w.frame_right, 89);
                        EXPECT_EQ(w.frame_bottom, 79);
                      }},
            StateCase{"ColourAfterPictureReleasesIt", "",
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,\":c;win.bmp\",50,60\n"
                      "setwindow3 1,2,3,4,5,6,7,8,9,1,0,#abcdef,10,11,12,13",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.frame_color, 0xABCDEF);
                        EXPECT_FALSE(w.frame_image.loaded);
                        EXPECT_EQ(w.advance_x, 12);
                        EXPECT_EQ(w.advance_y, 14);
                        EXPECT_EQ(w.shadow, 0);
                        EXPECT_EQ(w.frame_right, 12);
                        EXPECT_EQ(w.frame_bottom, 13);
                      }},
            StateCase{"SetwindowAcceptsZeroColumnsAndRows", "",
                      "mov %1,0\nsetwindow 8,16,%1,%1,24,22,2,4,30,0,1,#123456,5,6,300,200",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.columns, 0);
                        EXPECT_EQ(w.rows, 0);
                      }},
            StateCase{"Setwindow2KeepsTheFrame", "",
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,#123456,5,6,300,200\n"
                      "setwindow2 \":c;win.bmp\"",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.frame_color, kFramePicture);
                        EXPECT_TRUE(w.frame_image.loaded);
                        EXPECT_EQ(w.frame_right, 300);
                        EXPECT_EQ(w.frame_bottom, 200);
                      }},
            StateCase{"Setwindow2Colour", "", "setwindow2 \":c;win.bmp\"\nsetwindow2 #0a0b0c",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.frame_color, 0x0A0B0C);
                        EXPECT_FALSE(w.frame_image.loaded);
                      }},
            StateCase{"FontWaitsForTheNextPage", "", "font \"Ａ\"\nsetfont \"Ｂ\"",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.pending_font_face, Sjis("Ｂ"));
                        EXPECT_EQ(w.font_face, kGothic);
                      }},
            StateCase{"DefaultfontIsTakenAtGame", "defaultfont \"Ｄ\"\n", "",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.default_font_face, Sjis("Ｄ"));
                        EXPECT_EQ(w.pending_font_face, Sjis("Ｄ"));
                        EXPECT_EQ(w.font_face, Sjis("Ｄ"));
                      }},
            StateCase{"SpfontFaceAloneCopiesTheCurrentWindow", "",
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,#123456,5,6,300,200\nspfont \"Ｓ\"",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.sprite_font.face, Sjis("Ｓ"));
                        EXPECT_EQ(w.sprite_font.width, 24);
                        EXPECT_EQ(w.sprite_font.height, 22);
                        EXPECT_EQ(w.sprite_font.advance_x, 26);
                        EXPECT_EQ(w.sprite_font.advance_y, 26);
                        EXPECT_EQ(w.sprite_font.bold, 0);
                        EXPECT_EQ(w.sprite_font.shadow, 1);
                      }},
            StateCase{"SpfontWithSixNumbers", "", "spfont \"Ｓ\",12,14,1,3,0,1",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.sprite_font.width, 12);
                        EXPECT_EQ(w.sprite_font.height, 14);
                        EXPECT_EQ(w.sprite_font.advance_x, 13);
                        EXPECT_EQ(w.sprite_font.advance_y, 17);
                        EXPECT_EQ(w.sprite_font.bold, 0);
                        EXPECT_EQ(w.sprite_font.shadow, 1);
                      }},
            StateCase{"SpfontClear", "", "spfont \"Ｓ\",12,14,1,3,0,1\nspfont clear",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.sprite_font.width, -1);
                        EXPECT_TRUE(w.sprite_font.face.empty());
                      }},
            StateCase{"Shadedistance", "", "shadedistance 3,-2",
                      [](const TextWindow& w) {
                        EXPECT_TRUE(w.shadow_offset_set);
                        EXPECT_EQ(w.shadow_dx, 3);
                        EXPECT_EQ(w.shadow_dy, -2);
                      }},
            StateCase{"Textspeed", "", "textspeed 55",
                      [](const TextWindow& w) { EXPECT_EQ(w.speed, 55); }},
            StateCase{"TextspeeddefaultFollowsTheMenu", "", "textspeed 55\ntextspeeddefault",
                      [](const TextWindow& w) { EXPECT_EQ(w.speed, kSpeedFromMenu); }},
            StateCase{"TextspeeddefaultWithAScriptSpeedItem",
                      "defaultspeed 70,20,5\nresetmenu\ninsertmenu \"速度\",textspeed\n",
                      "textspeed 55\ntextspeeddefault",
                      [](const TextWindow& w) { EXPECT_EQ(w.speed, 70); }},
            StateCase{"DefaultspeedAndSettextspeed", "defaultspeed 70,20,5\nsettextspeed 5,300\n",
                      "",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.speed_table, (std::array<int32_t, 3>{70, 20, 5}));
                        EXPECT_EQ(w.speed_min, 5);
                        EXPECT_EQ(w.speed_max, 300);
                      }},
            StateCase{"Setcolor", "", "setcolor 0,#abcdef\nsetcolor 255 , #010203",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.palette[0], 0xABCDEFu);
                        EXPECT_EQ(w.palette[255], 0x010203u);
                        EXPECT_EQ(w.palette[1], 0u);
                      }},
            StateCase{"Clickstr", "clickstr \"。！\",2\n", "",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.click_chars, Sjis("。！"));
                        EXPECT_EQ(w.click_lines_from_bottom, 2);
                      }},
            StateCase{"Linepage", "linepage\n", "",
                      [](const TextWindow& w) {
                        EXPECT_TRUE(w.line_page);
                        EXPECT_FALSE(w.line_page2);
                      }},
            StateCase{"Linepage2", "linepage2 3\n", "",
                      [](const TextWindow& w) {
                        EXPECT_TRUE(w.line_page2);
                        EXPECT_EQ(w.click_lines_from_bottom, 3);
                      }},
            StateCase{"Zenkakko", "zenkakko\n", "",
                      [](const TextWindow& w) { EXPECT_TRUE(w.bracket_conversion); }},
            StateCase{"LocateAndIndent", "", "locate 4,2\nindent 2",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.column, 4);
                        EXPECT_EQ(w.line, 2);
                        EXPECT_EQ(w.indent, 2);
                      }},
            StateCase{"TateyokoOnAnEmptyPageAppliesAtOnce", "", "tateyoko 1",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.vertical, 1);
                        EXPECT_EQ(w.pending_vertical, 1);
                      }},
            StateCase{"TateyokoMidPageWaits", "", "locate 1,0\ntateyoko 1",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.vertical, 0);
                        EXPECT_EQ(w.pending_vertical, 1);
                      }},
            StateCase{"RubyonAloneHalvesTheGlyph", "", "rubyon 10,12,\"Ｒ\"\nrubyon",
                      [](const TextWindow& w) {
                        EXPECT_TRUE(w.ruby_on);
                        EXPECT_EQ(w.ruby_width, -1);
                        EXPECT_EQ(w.ruby_height, -1);
                        EXPECT_TRUE(w.ruby_font_face.empty());
                      }},
            StateCase{"RubyonBeforeAColonHasNoArguments", "", "rubyon 10,12:locate 1,1",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.ruby_width, 10);
                        EXPECT_EQ(w.ruby_height, 12);
                        EXPECT_EQ(w.column, 1);
                      }},
            StateCase{"RubyonEndsAtColonOrComment", "",
                      "rubyon 10,12\nrubyon : locate 2,2\nrubyon ;x",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.ruby_width, -1);
                        EXPECT_EQ(w.column, 2);
                      }},
            StateCase{"RubyonWithFaceThenWithout", "", "rubyon 10,12,\"Ｒ\"",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.ruby_width, 10);
                        EXPECT_EQ(w.ruby_font_face, Sjis("Ｒ"));
                      }},
            StateCase{"RubyonWithoutFaceEmptiesIt", "", "rubyon 10,12,\"Ｒ\"\nrubyon 8,9",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.ruby_height, 9);
                        EXPECT_TRUE(w.ruby_font_face.empty());
                      }},
            StateCase{"Rubyoff", "", "rubyon\nrubyoff",
                      [](const TextWindow& w) { EXPECT_FALSE(w.ruby_on); }},
            StateCase{"TextmodeTakesTheWindowOff", "", "texton\ntextmode 0",
                      [](const TextWindow& w) {
                        EXPECT_EQ(w.text_mode, 0);
                        EXPECT_FALSE(w.shown);
                      }},
            StateCase{"Erasetextwindow", "", "erasetextwindow 2",
                      [](const TextWindow& w) { EXPECT_EQ(w.erase_on_effect, 2); }},
            StateCase{
                "WindowchipKeepsEachSpriteOnce", "windowchip 5\nwindowchip 5\nwindowchip 7\n", "",
                [](const TextWindow& w) {
                  EXPECT_EQ(w.window_chips, (std::vector<int32_t>{5, 7}));
                }},
            StateCase{"Texton", "", "texton", [](const TextWindow& w) { EXPECT_TRUE(w.shown); }},
            StateCase{"TexthideKeepsTheWindowShown", "", "texton\ntexthide",
                      [](const TextWindow& w) {
                        EXPECT_TRUE(w.shown);
                        EXPECT_TRUE(w.hidden);
                      }},
            StateCase{"Textshow", "", "texton\ntexthide\ntextshow",
                      [](const TextWindow& w) { EXPECT_FALSE(w.hidden); }},
            StateCase{"ResetTakesTheWindowOffAndKeepsTheSettings", "",
                      // %300 is global, so it survives the reset.
                      "if %300 == 1 goto *after\nmov %300,1\n"
                      "setwindow 8,16,20,10,24,22,2,4,30,0,1,#123456,5,6,300,200\n"
                      "texton\nlocate 2,3\nreset\n*after",
                      [](const TextWindow& w) {
                        EXPECT_FALSE(w.shown);
                        EXPECT_EQ(w.column, 0);
                        EXPECT_EQ(w.line, 0);
                        EXPECT_EQ(w.frame_color, 0x123456);
                        EXPECT_EQ(w.columns, 20);
                      }}};

INSTANTIATE_TEST_SUITE_P(Commands, TextWindowState, ::testing::ValuesIn(kStateCases),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

// ---- error reports -------------------------------------------------------------------

constexpr const char* kColourError =
    "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。";

INSTANTIATE_TEST_SUITE_P(
    TextWindowArguments, ScriptErrors,
    ::testing::Values(
        ErrorCase{"setwindow 8,16,-1,10,24,22,2,4,30,0,1,#123456,5,6,300,200", "エラー",
                  "setwindowの縦横文字数指定が間違っています。"},
        ErrorCase{"setwindow 8,16,20,-1,24,22,2,4,30,0,1,#123456,5,6,300,200", "エラー",
                  "setwindowの縦横文字数指定が間違っています。"},
        ErrorCase{"setwindow3 8,16,-5,10,24,22,2,4,30,0,1,\"w.bmp\",5,6", "エラー",
                  "setwindowの縦横文字数指定が間違っています。"},
        ErrorCase{"setwindow 8,16,20,10,24,22,2,4,30,0,1,#12345g,5,6,300,200", "構文エラー",
                  kColourError},
        ErrorCase{"setwindow2 #zz0000", "構文エラー", kColourError},
        ErrorCase{"setcolor 256,#ffffff", "エラー", "setcolorの番号は0-255です"},
        ErrorCase{"setcolor -1,#ffffff", "エラー", "setcolorの番号は0-255です"},
        ErrorCase{"setcolor 1,\"#ffffff\"", "構文エラー", kColourError},
        ErrorCase{"spfont foo", "エラー", "spfontの引数は、文字列もしくはclearです。"},
        ErrorCase{"locate 1", "構文エラー", "コンマが必要なところにコンマが有りません。"}));

// ---- the player's menus ------------------------------------------------------------

struct MenuSpeedCase {
  const char* speed_command;
  const char* input;
  int32_t expected;
};

TEST(TextSpeedMenu, ChoiceAppliesWhileTheSpeedFollowsTheMenu) {
  const MenuSpeedCase cases[] = {
      {"textspeed -1", "", 30},              // normal is the start-up choice
      {"textspeed -1", "menu 40014\n", 50},  // slow
      {"textspeed -1", "menu 40016\n", 5},   // fast
      {"textspeeddefault", "menu 40014\n", 50},
      {"textspeed 20", "menu 40014\n", 20},  // a speed of the script's own stays
      {"textspeed 0", "menu 40014\n", 0},
  };
  for (const MenuSpeedCase& c : cases) {
    GameDir game;
    game.Write("0.txt", std::string("*define\ndefaultspeed 50,30,5\ngame\n*start\n") +
                            c.speed_command + "\nあ@\nい@\nend\n");
    int32_t speed = -100;
    RunResult r = RunScripted(game, c.input, [&](Engine& e) { speed = TextSpeedInEffect(e); });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(speed, c.expected) << c.speed_command << " / " << c.input;
  }
}

TEST(TextWindowFontMenu, ChoicesBecomeTheNextPagesFace) {
  GameDir game;
  game.Write("0.txt", "*define\ndefaultfont \"Ｄ\"\ngame\n*start\nあ@\nい@\nend\n");
  int32_t first_font = -1;
  std::string first_face;
  RunScripted(game, "", [&](Engine& e) {
    for (int i = 0; i < kFontMenuCapacity && first_font < 0; ++i)
      if (!e.shell.font_table[i].empty()) first_font = i;
    if (first_font >= 0) first_face = Utf8ToSjis(e.shell.font_table[first_font]);
  });
  if (first_font < 0) GTEST_SKIP() << "no fixed-pitch Japanese font installed";
  const std::string pick = "menu " + std::to_string(first_font) + "\n";
  RunScripted(game, pick, [&](Engine& e) {
    EXPECT_EQ(e.text.pending_font_face, first_face);
    EXPECT_EQ(e.text.font_face, Sjis("Ｄ"));  // the page already begun keeps its face
  });
  RunScripted(game, pick + "menu 40004\n", [&](Engine& e) {
    EXPECT_EQ(e.text.pending_font_face, Sjis("Ｄ"));  // デフォルト is the `defaultfont` face
  });
}

}  // namespace
}  // namespace orivane::test
