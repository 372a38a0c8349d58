#include "graphics/graphics_commands.h"

#include <algorithm>

#include "engine.h"
#include "graphics/animation.h"
#include "graphics/background.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "graphics/sprite_draw.h"
#include "graphics/sprite_state_string.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {

SpriteSlot& SpriteAt(Engine& engine, int32_t n) {
  if (n < 0 || n >= kSpriteCount)
    ReportError(engine, "定義されていないスプライト%dを使おうとしました。", "エラー", {int64_t{n}});
  return engine.graphics.sprites[n];
}

namespace {

// Reads "," and a number when a comma follows.
bool ReadOptionalNumber(Engine& engine, int32_t& value) {
  if (!CommaFollows(engine)) return false;
  ExpectComma(engine);
  value = ReadNumber(engine);
  return true;
}

// "%" and a variable number: the numeric variable a getter stores into.
int32_t ReadNumVariable(Engine& engine, const char* message) {
  SkipBlanks(engine);
  if (engine.script.Cur() != '%') ReportError(engine, message, "構文エラー");
  engine.script.Advance();
  return ReadNumberTerm(engine);
}


void EraseTextWindow(Engine& engine, bool for_ld = false) {
  if (engine.graphics.hooks.erase_text_window)
    engine.graphics.hooks.erase_text_window(engine, for_ld);
}

uint32_t Now(Engine& engine) {
  return engine.platform.Ticks();
}

// ---- sprites ---------------------------------------------------------------

void LoadSprite(Engine& engine, bool visible) {
  EraseTextWindow(engine);
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const std::string tag = ReadString(engine);
  int32_t x = 0, y = 0, opacity = -1;
  const bool layer = !tag.empty() && tag[0] == '*';
  if (!layer || CommaFollows(engine)) {
    ExpectComma(engine);
    x = ReadNumber(engine);
    ExpectComma(engine);
    y = ReadNumber(engine);
  }
  const bool has_opacity = ReadOptionalNumber(engine, opacity);
  SpriteSlot& slot = SpriteAt(engine, n);
  if (slot.visible && !slot.tag.empty()) DirtySprite(engine, slot);
  slot.tag = tag;
  if (!layer) {
    slot.x = x;
    slot.y = y;
  }
  LoadImageTag(engine, slot.surface, tag);
  if (has_opacity) slot.surface.opacity = opacity;
  slot.visible = visible;
  if (visible) DirtySprite(engine, slot);
}

void CmdLsp(Engine& engine) {
  LoadSprite(engine, true);
}
void CmdLsph(Engine& engine) {
  LoadSprite(engine, false);
}

void ClearSprite(Engine& engine, SpriteSlot& slot) {
  if (slot.visible && !slot.tag.empty()) DirtySprite(engine, slot);
  slot.surface.Release();
  slot.tag.clear();
}

void CmdCsp(Engine& engine) {
  EraseTextWindow(engine);
  const int32_t n = ReadNumber(engine);
  if (n != -1) {
    ClearSprite(engine, SpriteAt(engine, n));
    return;
  }
  for (SpriteSlot& slot : engine.graphics.sprites) {
    if (slot.tag.empty() && !slot.surface.loaded) continue;
    ClearSprite(engine, slot);
    slot.x = slot.y = -1000;
  }
}

void CmdVsp(Engine& engine) {
  EraseTextWindow(engine);
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const bool visible = ReadNumber(engine) != 0;
  SpriteSlot& slot = SpriteAt(engine, n);
  if (slot.tag.empty()) return;
  if (slot.visible != visible) {
    slot.visible = visible;
    DirtySprite(engine, slot);
  }
}

void MoveSprite(Engine& engine, bool relative) {
  EraseTextWindow(engine);
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t x = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t y = ReadNumber(engine);
  int32_t opacity = 0;
  const bool has_opacity = ReadOptionalNumber(engine, opacity);
  SpriteSlot& slot = SpriteAt(engine, n);
  if (slot.tag.empty())
    ReportError(engine, "定義されていないスプライト%dを使おうとしました。", "エラー", {int64_t{n}});
  if (slot.visible) DirtySprite(engine, slot);
  if (relative) {
    slot.x = static_cast<int32_t>(static_cast<uint32_t>(slot.x) + static_cast<uint32_t>(x));
    slot.y = static_cast<int32_t>(static_cast<uint32_t>(slot.y) + static_cast<uint32_t>(y));
  } else {
    slot.x = x;
    slot.y = y;
  }
  if (has_opacity) {
    const int64_t base = relative ? (slot.surface.opacity == -1 ? 255 : slot.surface.opacity) : 0;
    slot.surface.opacity = static_cast<int32_t>(std::clamp<int64_t>(base + opacity, 0, 255));
  }
  if (slot.visible) DirtySprite(engine, slot);
}

void CmdMsp(Engine& engine) {
  MoveSprite(engine, true);
}
void CmdAmsp(Engine& engine) {
  MoveSprite(engine, false);
}

void CmdCell(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t cell = ReadNumber(engine);
  SpriteSlot& slot = SpriteAt(engine, n);
  slot.surface.cell = cell;
  slot.surface.anim_start = Now(engine);
  if (slot.visible && !slot.tag.empty()) DirtySprite(engine, slot);
}

void CmdAllsphide(Engine& engine) {
  engine.graphics.all_sprites_hidden = true;
  DirtyWholeScreen(engine);
}

void CmdAllspresume(Engine& engine) {
  engine.graphics.all_sprites_hidden = false;
  DirtyWholeScreen(engine);
}

void CmdGetspsize(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t w = ReadNumVariable(engine, "getspsizeの第ニ引数は数字変数です。");
  ExpectComma(engine);
  const int32_t h = ReadNumVariable(engine, "getspsizeの第三引数は数字変数です。");
  int32_t cells = -1;
  if (CommaFollows(engine)) {
    ExpectComma(engine);
    cells = ReadNumVariable(engine, "getspsizeの第四引数は数字変数です。");
  }
  const ImageSurface& s = SpriteAt(engine, n).surface;
  engine.vars.SetNum(w, s.loaded ? s.CellWidth() : 0);
  engine.vars.SetNum(h, s.loaded ? s.height : 0);
  if (cells >= 0) engine.vars.SetNum(cells, s.cells);
}

void CmdGetspmode(Engine& engine) {
  const int32_t var = ReadNumVariable(engine, "getspmodeの第一引数は数字変数です。");
  ExpectComma(engine);
  const int32_t n = ReadNumber(engine);
  engine.vars.SetNum(var, SpriteAt(engine, n).visible ? 1 : 0);
}

void CmdSpreload(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  if (n == -1) return;  // the text window's picture belongs to the text window
  SpriteSlot& slot = SpriteAt(engine, n);
  if (slot.tag.empty()) return;
  if (slot.visible) DirtySprite(engine, slot);
  slot.surface.tag.clear();
  LoadImageTag(engine, slot.surface, slot.tag);
  if (slot.visible) DirtySprite(engine, slot);
}

void CmdSpwait(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  SpriteAt(engine, n);
  WaitForSpriteAnimation(engine, n);
}

// Runs an extended-button state string now; the sprites it changes are dirtied.
void CmdSpstr(Engine& engine) {
  RunSpriteStateString(engine, ReadString(engine));
}

// ---- background and standing pictures --------------------------------------

void CmdBg(Engine& engine) {
  EraseTextWindow(engine);
  Graphics& g = engine.graphics;
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  if (s.Cur() == '#') {
    const uint32_t rgb = ReadColor(engine);
    g.background_name.assign(reinterpret_cast<const char*>(&s.bytes[s.pos]), 7);
    s.Advance(7);
    SkipBlanks(engine);
    SetBackgroundColour(engine, rgb);
  } else {
    const int32_t start = s.pos;
    const uint8_t c = s.Cur();
    std::string word;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') word = ReadToken(engine);
    if (word == "black" || word == "white") {
      g.background_name = word;
      SetBackgroundColour(engine, word == "white" ? 0xFFFFFF : 0);
    } else {
      s.Seek(start);
      const std::string tag = ReadString(engine);
      g.background_name = tag;
      SetBackgroundPicture(engine, tag);
    }
  }
  for (StandingPicture& p : g.humans) {
    p.tag.clear();
    p.surface.Release();
  }
  g.dirty.Add(0, 0, engine.screen_width, engine.screen_height, engine.screen_width,
              engine.screen_height);
  ExpectComma(engine);
  ReadEffectArgument(engine);
}

int HumanIndexOf(const std::string& letter) {
  if (letter == "l") return kHumanLeft;
  if (letter == "c") return kHumanCentre;
  if (letter == "r") return kHumanRight;
  return -1;
}

void CmdLd(Engine& engine) {
  EraseTextWindow(engine, true);
  Graphics& g = engine.graphics;
  const std::string letter = ReadToken(engine);
  ExpectComma(engine);
  const std::string tag = ReadString(engine);
  ExpectComma(engine);
  const int i = HumanIndexOf(letter);
  if (i >= 0) {
    StandingPicture& p = g.humans[i];
    if (!p.tag.empty()) DirtyStandingPicture(engine, p);
    p.tag = tag;
    LoadImageTag(engine, p.surface, tag);
    p.x = g.human_centre[i] - p.surface.CellWidth() / 2;
    p.y = g.human_baseline - p.surface.height;
    DirtyStandingPicture(engine, p);
  }
  ReadEffectArgument(engine);
}

void CmdCl(Engine& engine) {
  EraseTextWindow(engine);
  Graphics& g = engine.graphics;
  const std::string letter = ReadToken(engine);
  ExpectComma(engine);
  auto clear = [&](int i) {
    StandingPicture& p = g.humans[i];
    if (!p.tag.empty()) DirtyStandingPicture(engine, p);
    p.tag.clear();
    p.surface.Release();
  };
  if (letter == "a") {
    for (int i = 0; i < 3; ++i) clear(i);
  } else if (const int i = HumanIndexOf(letter); i >= 0) {
    clear(i);
  }
  ReadEffectArgument(engine);
}

void CmdPrint(Engine& engine) {
  ReadEffectArgument(engine);
}

void CmdRepaint(Engine& engine) {
  ComposeScene(engine, nullptr);
  RunTransition(engine, 1, 0, {}, nullptr);
}

void CmdHumanz(Engine& engine) {
  const int32_t z = ReadNumber(engine);
  if (z < 0 || z >= kSpriteCount) ReportError(engine, "humanz指定が範囲外です。", "エラー");
  engine.graphics.human_z = z;
}

void CmdHumanpos(Engine& engine) {
  auto& centre = engine.graphics.human_centre;
  centre[kHumanLeft] = ReadNumber(engine);
  ExpectComma(engine);
  centre[kHumanCentre] = ReadNumber(engine);
  ExpectComma(engine);
  centre[kHumanRight] = ReadNumber(engine);
}

void CmdUnderline(Engine& engine) {
  engine.graphics.human_baseline = ReadNumber(engine);
}

void CmdHumanorder(Engine& engine) {
  std::string order = ReadString(engine);
  if (order.size() > 3) order.resize(3);
  engine.graphics.human_order = order;
  DirtyWholeScreen(engine);
  ExpectComma(engine);
  ReadEffectArgument(engine);
}

void CmdBgalia(Engine& engine) {
  Graphics& g = engine.graphics;
  g.bgalia_x = ReadNumber(engine);
  ExpectComma(engine);
  g.bgalia_y = ReadNumber(engine);
  ExpectComma(engine);
  g.bgalia_w = ReadNumber(engine);
  ExpectComma(engine);
  g.bgalia_h = ReadNumber(engine);
  g.bgalia_on = g.bgalia_x != -1 && g.bgalia_w > 0 && g.bgalia_h > 0;
}

void CmdWindowback(Engine& engine) {
  engine.graphics.window_back = true;
}
void CmdNoteraseman(Engine& engine) {
  engine.graphics.keep_humans_when_hidden = true;
}

// `blt`: a stretched copy of part of the composed scene straight onto the
// screen, nearest-neighbour, clipped to both.
void CmdBlt(Engine& engine) {
  int32_t v[8];
  for (int i = 0; i < 6; ++i) {
    if (i > 0) ExpectComma(engine);
    v[i] = ReadNumber(engine);
  }
  v[6] = v[2];
  v[7] = v[3];
  if (ReadOptionalNumber(engine, v[6])) {
    ExpectComma(engine);
    v[7] = ReadNumber(engine);
  }
  const int64_t dx = v[0], dy = v[1], dw = v[2], dh = v[3], sx = v[4], sy = v[5], sw = v[6],
                sh = v[7];
  if (dw <= 0 || dh <= 0) return;
  PixelView dst(engine.display), src(engine.graphics.scene);
  for (int64_t j = std::max<int64_t>(0, -dy); j < dh && dy + j < dst.height; ++j) {
    const int64_t syy = sy + j * sh / dh;
    if (syy < 0 || syy >= src.height) continue;
    uint8_t* out = dst.RowFromTop(static_cast<int>(dy + j));
    const uint8_t* in = src.RowFromTop(static_cast<int>(syy));
    for (int64_t i = std::max<int64_t>(0, -dx); i < dw && dx + i < dst.width; ++i) {
      const int64_t sxx = sx + i * sw / dw;
      if (sxx < 0 || sxx >= src.width) continue;
      std::copy_n(in + sxx * 3, 3, out + (dx + i) * 3);
    }
  }
  ShowOnWindow(engine, engine.display);
}

// ---- picture loading switches ----------------------------------------------

void CmdTransmode(Engine& engine) {
  const std::string word = ReadToken(engine);
  if (word == "leftup")
    engine.graphics.default_mode = kModeLeftUp;
  else if (word == "copy")
    engine.graphics.default_mode = kModeCopy;
  else if (word == "alpha")
    engine.graphics.default_mode = kModeAlpha;
}

void CmdJpegmode(Engine& engine) {
  engine.graphics.jpeg_mode = true;
}
void CmdModeQuill(Engine& engine) {
  engine.graphics.mode_quill = true;
}

void CmdSpi(Engine& engine) {
  std::string entry = ReadString(engine);
  auto& list = engine.graphics.picture_plugins;
  if (static_cast<int>(list.size()) >= kMaxPicturePlugins)
    ReportError(engine, "SPI設定が多すぎます。", "エラー");
  for (char& c : entry) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  list.push_back(std::move(entry));
}

// ---- transition settings ---------------------------------------------------

// Reads type [, duration [, mask]] as `effect` and `windoweffect` take them.
EffectSlot ReadEffectDefinition(Engine& engine) {
  EffectSlot slot;
  slot.type = ReadNumber(engine);
  if (slot.type != 1 && ReadOptionalNumber(engine, slot.duration)) {
    const bool takes_mask = slot.type == 15 || slot.type == 18 || slot.type == 99;
    if (takes_mask && CommaFollows(engine)) {
      ExpectComma(engine);
      slot.mask = ReadString(engine);
    }
  }
  return slot;
}

void CmdEffect(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  if (n < 2 || n > 255)
    ReportError(engine, "effect命令の第一パラメータは2～255です。", "パラメータエラー");
  ExpectComma(engine);
  engine.graphics.effects.slots[n] = ReadEffectDefinition(engine);
}

void CmdWindoweffect(Engine& engine) {
  engine.graphics.effects.window_effect = ReadEffectDefinition(engine);
}
void CmdEffectblank(Engine& engine) {
  engine.graphics.effects.blank_ms = ReadNumber(engine);
}
void CmdSeteffectspeed(Engine& engine) {
  engine.graphics.effects.speed_mode = ReadNumber(engine);
}
void CmdEffectcut(Engine& engine) {
  engine.graphics.effects.cut = true;
}

void CmdGeteffectspeed(Engine& engine) {
  const int32_t var = ReadNumVariable(engine, "geteffectspeedの第一引数は数字変数です。");
  engine.vars.SetNum(var, engine.graphics.effects.speed_mode);
}

}  // namespace

void RegisterGraphicsCommands(CommandTable& table) {
  table.Register("lsp", CmdLsp);
  table.Register("lsph", CmdLsph);
  table.Register("csp", CmdCsp);
  table.Register("vsp", CmdVsp);
  table.Register("msp", CmdMsp);
  table.Register("amsp", CmdAmsp);
  table.Register("cell", CmdCell);
  table.Register("allsphide", CmdAllsphide);
  table.Register("allspresume", CmdAllspresume);
  table.Register("getspsize", CmdGetspsize);
  table.Register("getspmode", CmdGetspmode);
  table.Register("spreload", CmdSpreload);
  table.Register("spwait", CmdSpwait);
  table.Register("spstr", CmdSpstr);
  table.Register("bg", CmdBg);
  table.Register("ld", CmdLd);
  table.Register("cl", CmdCl);
  table.Register("print", CmdPrint);
  table.Register("repaint", CmdRepaint);
  table.Register("humanz", CmdHumanz);
  table.Register("humanpos", CmdHumanpos);
  table.Register("underline", CmdUnderline);
  table.Register("humanorder", CmdHumanorder);
  table.Register("bgalia", CmdBgalia);
  table.Register("windowback", CmdWindowback);
  table.Register("noteraseman", CmdNoteraseman);
  table.Register("mode_quill", CmdModeQuill);
  table.Register("blt", CmdBlt);
  table.Register("transmode", CmdTransmode);
  table.Register("jpegmode", CmdJpegmode);
  table.Register("spi", CmdSpi);
  table.Register("effect", CmdEffect);
  table.Register("windoweffect", CmdWindoweffect);
  table.Register("effectblank", CmdEffectblank);
  table.Register("seteffectspeed", CmdSeteffectspeed);
  table.Register("geteffectspeed", CmdGeteffectspeed);
  table.Register("effectcut", CmdEffectcut);
}

}  // namespace orivane
