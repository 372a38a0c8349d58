// The plug-in interface: the functions the program exports (called here
// directly, as a plug-in calls them), layer plug-ins and command plug-ins
// built from C source, and the errors of `setlayer`, `layermessage` and
// `exec_dll`.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine.h"
#include "graphics/background.h"
#include "graphics/graphics_state.h"
#include "graphics/window_picture.h"
#include "orivane/plugin.h"
#include "plugin_host.h"
#include "support/engine_fixture.h"
#include "support/graphics_run.h"
#include "support/plugin_build.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

constexpr const char* kExports[] = {"OrvnGetWindow",     "OrvnGetWindowSize",
                                    "OrvnGetDestDC",     "OrvnGetSrcDC",
                                    "OrvnRefreshWindow", "OrvnDoEvents",
                                    "OrvnGetFontType",   "GetSpriteData",
                                    "BltSpriteTo",       "BltBGTo",
                                    "RenderSprite",      "DrawSP",
                                    "DrawSP2",           "DrawBG",
                                    "DrawBG2",           "DrawClear",
                                    "DrawFill",          "ORAGetFile",
                                    "AllocDIB",          "FreeDIB"};

TEST(PluginExports, AreInTheProgramsDynamicSymbolTable) {
  for (const char* name : kExports) EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
}

TEST(PluginExports, DoNothingWithoutARunningEngine) {
  ASSERT_EQ(PluginHostEngine(), nullptr);
  int w = -5, h = -5, cells = -5;
  EXPECT_EQ(OrvnGetWindowSize(&w, &h), 0);
  EXPECT_EQ(GetSpriteData(0, &w, &h, &cells), 0);
  EXPECT_EQ(w, -5);
  EXPECT_EQ(cells, -5);
  EXPECT_EQ(OrvnGetWindow(), nullptr);
  EXPECT_EQ(OrvnGetDestDC(), nullptr);
  EXPECT_EQ(OrvnDoEvents(), 0);
  char path[ORVN_PATH_SIZE] = "kept";
  EXPECT_EQ(ORAGetFile("a.bmp", path, &w, &h), 0);
  EXPECT_STREQ(path, "kept");
  OrvnPicture picture{7, 7, 7, nullptr};
  AllocDIB(&picture, "a.bmp");
  EXPECT_EQ(picture.width, 7);
}

// An engine with a 16 × 8 screen and its picture buffers, serving plug-ins.
class ServingEngine : public ::testing::Test {
 protected:
  ServingEngine() : host_(fixture_.engine()) {
    Engine& e = engine();
    e.screen_width = 16;
    e.screen_height = 8;
    e.display.Resize(16, 8);
    StartGraphics(e);
    SetBackgroundColour(e, 0x112233);
    // Sprite 3: two 4 × 4 cells, red then green.
    ImageSurface& s = e.graphics.sprites[3].surface;
    s.CreateBlank(8, 4, 24);
    s.cells = 2;
    s.Fill(PixelRect{0, 0, 3, 3}, 0xFF0000);
    s.Fill(PixelRect{4, 0, 7, 3}, 0x00FF00);
    e.graphics.sprites[3].tag = "strip";
  }
  Engine& engine() { return fixture_.engine(); }

  EngineFixture fixture_;
  PluginHostScope host_;
};

TEST_F(ServingEngine, DescribeTheEnginesSurfaces) {
  int w = 0, h = 0;
  EXPECT_EQ(OrvnGetWindowSize(&w, &h), 8);
  EXPECT_EQ(w, 16);
  OrvnSurface* display = OrvnGetDestDC();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->pixels, engine().display.pixels.data());
  EXPECT_EQ(display->stride, engine().display.stride);
  OrvnSurface* scene = OrvnGetSrcDC();
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(scene->pixels, engine().graphics.scene.pixels.data());
  EXPECT_EQ(OrvnGetWindow(), PluginWindowToken(engine()));
  int cell_width = 0, cells = 0;
  EXPECT_EQ(GetSpriteData(3, &cell_width, &h, &cells), 2);
  EXPECT_EQ(cell_width, 4);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(GetSpriteData(1000, &cell_width, &h, &cells), 0);
  EXPECT_EQ(GetSpriteData(-1, nullptr, nullptr, nullptr), 0);
}

TEST_F(ServingEngine, BlitsOnlyIntoRecordsThatDescribeAPicture) {
  std::vector<unsigned char> memory(64, 0xAB);
  struct Case {
    const char* name;
    OrvnSurface record;
    int result;
  };
  const std::vector<Case> cases = {
      {"a picture of 4 × 2", {4, 2, 12, memory.data()}, 1},
      {"no pixels", {4, 2, 12, nullptr}, 0},
      {"no width", {0, 2, 12, memory.data()}, 0},
      {"a negative height", {4, -2, 12, memory.data()}, 0},
      {"a stride too short for the width", {4, 2, 11, memory.data()}, 0},
      {"a side past any picture", {40000, 1, 120000, memory.data()}, 0},
      {"more bytes than any picture", {30000, 30000, 90000, memory.data()}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::fill(memory.begin(), memory.end(), 0xAB);
    OrvnSurface record = c.record;
    EXPECT_EQ(BltBGTo(&record), c.result);
    EXPECT_EQ(BltSpriteTo(&record, 3), c.result);
    if (c.result == 0) {
      EXPECT_EQ(memory, std::vector<unsigned char>(64, 0xAB));
    }
  }
  EXPECT_EQ(BltBGTo(nullptr), 0);
  OrvnSurface mine{4, 2, 12, memory.data()};
  EXPECT_EQ(BltSpriteTo(&mine, 1000), 0);
  // Both cells, from the top row: red, then green at column 4 (past this record).
  ASSERT_EQ(BltSpriteTo(&mine, 3), 1);
  EXPECT_EQ(memory[12 + 0], 0x00);  // the top row is the second in memory
  EXPECT_EQ(memory[12 + 2], 0xFF);
  EXPECT_EQ(memory[24], 0xAB);  // nothing past the record

  // The engine's own record stands for the display, whatever was written into it.
  OrvnSurface* display = OrvnGetDestDC();
  display->width = 100000;
  display->stride = 1;
  ASSERT_EQ(BltBGTo(display), 1);
  EXPECT_EQ(PixelAt(engine().display, 15, 7), 0x112233u);
}

TEST_F(ServingEngine, DrawingExportsFollowTheCommandsRules) {
  Engine& e = engine();
  SpriteSlot& slot = e.graphics.sprites[3];
  DrawFill(1, 2, 3);
  EXPECT_EQ(PixelAt(e.display, 0, 0), 0x010203u);
  DrawClear();
  EXPECT_EQ(PixelAt(e.display, 0, 0), 0u);
  DrawBG();
  EXPECT_EQ(PixelAt(e.display, 15, 7), 0x112233u);

  DrawSP(3, 9, 300, 2, 1);  // a cell past the last draws the last
  EXPECT_EQ(PixelAt(e.display, 2, 1), 0x00FF00u);
  EXPECT_EQ(PixelAt(e.display, 1, 1), 0x112233u);
  EXPECT_EQ(slot.surface.cell, 1);
  EXPECT_EQ(slot.surface.opacity, 255);

  DrawSP2(3, 0, 128, 8, 4, 100, 100, 0);  // as DrawSP: the opacity stays
  EXPECT_EQ(slot.surface.cell, 0);
  EXPECT_EQ(slot.surface.opacity, 128);
  const uint32_t red = Mul(255, 128) + Mul(0x11, 127), green = Mul(0x22, 127),
                 blue = Mul(0x33, 127);
  EXPECT_EQ(PixelAt(e.display, 8, 4), red << 16 | green << 8 | blue);

  DrawSP(1000, 0, 255, 0, 0);  // numbers outside the table are passed over
  DrawSP(-1, 0, 255, 0, 0);
  RenderSprite(-1, 0, 0, 0, 255);

  RenderSprite(3, 1, 10, 2, -1);
  EXPECT_EQ(PixelAt(e.graphics.scene, 10, 2), 0x00FF00u);
  EXPECT_EQ(PixelAt(e.graphics.scene, 9, 2), 0u);
  EXPECT_EQ(slot.surface.opacity, -1);

  DrawBG2(8, 4, 100, 100, 0);
  EXPECT_EQ(e.graphics.background.opacity, 255);
  EXPECT_EQ(PixelAt(e.display, 8, 4), 0x112233u);
}

TEST_F(ServingEngine, AllocDibCopiesAPictureAndZeroesTheRecordOfAMissingOne) {
  GameDir game;
  game.WriteBytes("red.bmp", MakeBmp24(3, 2, [](int, int) { return 0xFF0000u; }));
  ScopedCurrentDir in_game(game.path());
  OrvnPicture picture{};
  AllocDIB(&picture, "red.bmp");
  ASSERT_NE(picture.pixels, nullptr);
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.height, 2);
  EXPECT_EQ(picture.color_count, 0);
  EXPECT_EQ(picture.pixels[2], 0xFF);
  FreeDIB(&picture);
  EXPECT_EQ(picture.pixels, nullptr);

  engine().archive.no_load_error = true;
  unsigned char junk = 0;
  picture = OrvnPicture{9, 9, 9, &junk};
  AllocDIB(&picture, "missing.bmp");
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.height, 0);
  EXPECT_EQ(picture.color_count, 0);
  EXPECT_EQ(picture.pixels, nullptr);
  AllocDIB(nullptr, "red.bmp");
  AllocDIB(&picture, nullptr);
  EXPECT_EQ(picture.width, 0);
}

// A load error inside an export ends the run only once the plug-in has
// returned: until then the export returns, and every later one does nothing.
TEST_F(ServingEngine, AnErrorInsideAnExportWaitsForThePluginToReturn) {
  GameDir game;
  ScopedCurrentDir in_game(game.path());
  OrvnPicture picture{9, 9, 9, nullptr};
  PluginCallState& calls = engine().graphics.plugins.calls;
  EXPECT_THROW(CallPlugin(calls,
                          [&] {
                            AllocDIB(&picture, "missing.bmp");
                            EXPECT_EQ(picture.width, 0);
                            int w = -5, h = -5;
                            EXPECT_EQ(OrvnGetWindowSize(&w, &h), 0);
                            EXPECT_EQ(w, -5);
                            EXPECT_EQ(OrvnDoEvents(), 1);  // the run is ending
                          }),
               EngineExit);
  EXPECT_FALSE(calls.pending);
  EXPECT_EQ(calls.depth, 0);
}

// ---- plug-ins in games -------------------------------------------------------

// A layer that counts its Timer and Draw calls; its Timer returns the number
// after the "/", and its Message reports the counts (value: timer calls,
// string: draws).
constexpr const char* kCountingLayer = R"(
#include <stdio.h>
#include <stdlib.h>
#include "orivane/plugin.h"
static int timer_result, timers, draws;
void Initialize(const char* parameters) { timer_result = atoi(parameters); }
int Timer(void) { ++timers; return timer_result; }
void Draw(unsigned char* pixels, int* area) { ++draws; }
int Message(char* text, int* value, char* string) {
  *value = timers;
  snprintf(string, ORVN_RETURN_STRING_SIZE, "%d", draws);
  return 0;
}
)";

// A command plug-in: the return value is 42 when it was handed the engine's
// window, the string the parameters and the string it came in with; its
// result is the number in the parameters.
constexpr const char* kCommand = R"(
#include <stdio.h>
#include <stdlib.h>
#include "orivane/plugin.h"
int OrvnPlugInMain(OrvnInstance instance, OrvnWindow window, char* parameters, int* value,
                   char* string) {
  char before[64];
  snprintf(before, sizeof before, "%s", string);
  *value = window == OrvnGetWindow() ? 42 : -1;
  snprintf(string, ORVN_RETURN_STRING_SIZE, "%s|%s", parameters, before);
  return atoi(parameters);
}
)";

struct PluginGame {
  RunResult run;
  int32_t ret_value = 0;
  std::string ret_text;
  uint32_t window_pixel = 0;
};

PluginGame RunPluginGame(GameDir& game, const std::string& define, const std::string& body) {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n");
  PluginGame g;
  g.run = RunScripted(game, "", [&](Engine& e) {
    g.ret_value = e.ret.value;
    g.ret_text = e.ret.text;
    g.window_pixel = PixelAt(WindowPicture(e), 5, 5);
  });
  return g;
}

TEST(LayerPlugins, TimerRedrawsOnlyWhenItSaysSo) {
  GameDir game;
  if (!BuildPluginInto(game, "counter", kCountingLayer)) GTEST_SKIP() << "no C compiler";
  for (const int result : {0, 1}) {
    SCOPED_TRACE(result);
    PluginGame g =
        RunPluginGame(game, "setlayer 0,10,\"counter.dll/" + std::to_string(result) + "\"\n",
                      "lsp 1,\"*0\"\nprint 1\nwait 105\nlayermessage 0,\"count\"");
    ASSERT_EQ(g.run.status, 0) << g.run.err;
    EXPECT_GE(g.ret_value, 5);  // the timer ran while the game waited
    if (result == 0) {
      EXPECT_EQ(g.ret_text, "1");  // drawn by `print` only
    } else {
      EXPECT_GE(std::stoi(g.ret_text), 5);
    }
  }
}

// A layer that notes its Initialize (with its parameters) and its Finalize in files.
constexpr const char* kNotingLayer = R"(
#include <stdio.h>
static void Note(const char* name, const char* text) {
  FILE* f = fopen(name, "w");
  if (f) { fputs(text, f); fclose(f); }
}
void Initialize(const char* parameters) { Note("initialized.txt", parameters); }
void Finalize(void) { Note("finalized.txt", "yes"); }
)";

TEST(LayerPlugins, InitializeAtTheGameAndFinalizeAtANormalEnd) {
  struct Case {
    const char* body;
    const char* finalized;
  };
  const Case cases[] = {{"", "yes"}, {"wait 10", "yes"}, {"goto *nowhere", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    GameDir game;
    if (!BuildPluginInto(game, "noting", kNotingLayer)) GTEST_SKIP() << "no C compiler";
    RunPluginGame(game, "setlayer 5,0,\"noting.dll/a b/c\"\n", c.body);
    EXPECT_EQ(game.ReadBytes("initialized.txt"), "a b/c");
    EXPECT_EQ(game.ReadBytes("finalized.txt"), c.finalized);
  }
}

TEST(LayerPlugins, LayersThatDoNotExistDrawNothingAndDoNotFail) {
  GameDir game;
  for (const char* body : {"lsp 1,\"*99\"\nprint 1\nwait 50", "lsp 1,\"*-1\"\nprint 1",
                           "lsp 1,\"*0\"\nprint 1\nwait 50"}) {
    SCOPED_TRACE(body);
    PluginGame g = RunPluginGame(game, "setlayer 0,10,\"nothing.dll/x\"\n", body);
    EXPECT_EQ(g.run.status, 0) << g.run.err;
    EXPECT_EQ(g.run.err, "");
  }
}

TEST(CommandPlugins, ExecDllPassesParametersAndTheReturnChannel) {
  GameDir game;
  if (!BuildPluginInto(game, "cmd", kCommand)) GTEST_SKIP() << "no C compiler";
  for (const int result : {0, 1}) {
    SCOPED_TRACE(result);
    const std::string parameters = std::to_string(result) + " x";
    PluginGame g = RunPluginGame(game, "",
                                 "bg #0000ff,1\nmov $1,\"old\"\nexec_dll \"cmd.dll/" + parameters +
                                     "\"\ndrawfill 1,2,3\nexec_dll \"cmd.dll/" + parameters + "\"");
    ASSERT_EQ(g.run.status, 0) << g.run.err;
    EXPECT_EQ(g.ret_value, 42);
    EXPECT_EQ(g.ret_text, parameters + "|" + parameters + "|");
    // A result of 1 shows the display surface in the window.
    EXPECT_EQ(g.window_pixel, result == 1 ? 0x010203u : 0x0000FFu);
  }
}

TEST(PluginCommands, ReportTheirErrors) {
  GameDir game;
  const bool built = BuildPluginInto(game, "counter", kCountingLayer);
  struct Case {
    const char* define;
    const char* body;
    const char* report;
  };
  std::vector<Case> cases = {
      {"setlayer 32,0,\"counter.dll\"\n", "", "エラー\nレイヤ番号が不正です"},
      {"setlayer -1,0,\"counter.dll\"\n", "", "エラー\nレイヤ番号が不正です"},
      {"", "layermessage 0,\"x\"", "エラー\nそのレイヤにはメッセージ関数がありません。"},
      {"", "layermessage 32,\"x\"", "エラー\nそのレイヤにはメッセージ関数がありません。"},
      {"setlayer 0,0,\"nothing.dll\"\n", "layermessage 0,\"x\"",
       "エラー\nそのレイヤにはメッセージ関数がありません。"},
      {"", "exec_dll \"nothing.dll/1\"", "エラー\nexec_dllへのDLL指定が不正です"},
  };
  if (built)
    cases.push_back({"", "exec_dll \"counter.dll\"", "エラー\nexec_dllへのDLL指定が不正です"});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.define) + c.body);
    PluginGame g = RunPluginGame(game, c.define, c.body);
    EXPECT_EQ(g.run.status, 1);
    EXPECT_EQ(TitleAndMessage(g.run), c.report);
  }
}

}  // namespace
}  // namespace orivane::test
