#include "save/menu_screen.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "engine.h"
#include "sound/effect_channels.h"
#include "graphics/effects.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "save/menu_layout.h"
#include "text/glyph_draw.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr uint32_t kKeyStepMs = 125;

GlyphFont MenuFont(const Engine& engine, const MenuLook& look) {
  GlyphFont f;
  f.face = engine.text.font_face;
  f.width = look.glyph_width;
  f.height = look.glyph_height;
  f.bold = look.bold;
  return f;
}

void DirtyScreen(Engine& engine) {
  engine.graphics.dirty.Add(0, 0, engine.screen_width - 1, engine.screen_height - 1, engine.screen_width,
                            engine.screen_height);
}

// Composition: the open menu screen covers the whole picture.
void DrawMenuScreenHook(Engine& engine, PixelRect area) {
  const MenuScreenState& screen = engine.system_menu.screen;
  if (!screen.open) return;
  PixelView scene(engine.graphics.scene);
  FillRect(scene, area, 0);
  // The glyphs are drawn clipped to the area: a view of just that part.
  const PixelView clipped(scene.RowFromTop(area.bottom) + area.left * 3, area.right - area.left + 1,
                          area.bottom - area.top + 1, scene.stride);
  const MenuLook& look = screen.look;
  GlyphPaint paint;
  paint.shadow = look.shadow;
  const GlyphFont font = MenuFont(engine, look);
  for (size_t i = 0; i < screen.lines.size(); ++i) {
    const MenuScreenLine& line = screen.lines[i];
    paint.rgb = static_cast<int>(i) == screen.highlighted ? look.highlighted : line.colour;
    int32_t x = line.x;
    for (size_t at = 0; at < line.text.size();) {
      const uint8_t first = line.text[at];
      const bool two = IsSjisLead(first) && at + 1 < line.text.size();
      const uint8_t second = two ? static_cast<uint8_t>(line.text[at + 1]) : 0;
      const GlyphCell& cell = engine.glyphs.Get(engine.platform.Fonts(), font, first, second);
      DrawGlyph(clipped, x - area.left, line.y - area.top, cell, paint, engine.graphics.mul);
      x += two ? look.advance_x : look.advance_x / 2;
      at += two ? 2 : 1;
    }
  }
}

// The modal wait of one menu screen.
class MenuScreen {
 public:
  MenuScreen(Engine& engine, std::vector<MenuScreenLine> lines, const MenuLook& look) : engine_(engine) {
    MenuScreenState& s = engine.system_menu.screen;
    s.open = true;
    s.look = look;
    s.lines = std::move(lines);
    s.highlighted = -1;
  }
  // A run that ends inside the menu leaves it on the screen, as the player
  // saw it last.
  ~MenuScreen() {
    if (std::uncaught_exceptions() > 0) return;
    engine_.system_menu.screen = MenuScreenState{};
    DirtyScreen(engine_);
  }

  int Run() {
    PlayMenuSound(engine_, MenuSound::kShown);
    const int taken = Choose();
    if (taken < 0) PlayMenuSound(engine_, MenuSound::kCancelled);
    return taken;
  }

 private:
  int Choose() {
    DirtyScreen(engine_);
    Highlight(LineAt(engine_.input.pointer_x, engine_.input.pointer_y));
    ShowDirtyNow(engine_);
    engine_.platform.DiscardPendingClicks();
    bool escape_down = false;
    for (;;) {
      if (engine_.interp.reset_request || engine_.interp.quit_request) return -1;
      PlayerEvent e;
      if (PumpOne(engine_, &e)) {
        if (e.kind != engine_.input.last_event) continue;  // a posted menu command
        switch (e.kind) {
          case PlayerEvent::Kind::kPointerMove:
          case PlayerEvent::Kind::kButtonDown:
            Highlight(LineAt(e.x, e.y));
            break;
          case PlayerEvent::Kind::kButtonUp:
            if (e.button == PointerButton::kRight) return -1;
            Highlight(LineAt(e.x, e.y));
            if (Screen().highlighted >= 0) return Screen().highlighted;
            break;
          case PlayerEvent::Kind::kKeyDown:
            if (e.key == kKeyEscape) escape_down = true;
            if (e.key == kKeyEnter && Screen().highlighted >= 0) return Screen().highlighted;
            if (e.key == kKeyArrowUp || e.key == kKeyArrowLeft) Step(-1);
            if (e.key == kKeyArrowDown || e.key == kKeyArrowRight) Step(1);
            break;
          case PlayerEvent::Kind::kKeyUp:
            if (e.key == kKeyEscape && escape_down) return -1;
            break;
          default:
            break;
        }
        continue;
      }
      const IdleVerdict verdict = engine_.platform.PlayerIdle(PlayerWait::kSelection);
      if (verdict.what == IdleVerdict::What::kChoose) return Chosen(verdict);
      if (verdict.what == IdleVerdict::What::kEndRun) EndRunForMissingPlayer(engine_, verdict.note, verdict.status);
      SleepUntil(engine_, verdict.due);
    }
  }

  MenuScreenState& Screen() { return engine_.system_menu.screen; }

  // `choose N`: the N-th line that can be taken.
  int Chosen(const IdleVerdict& verdict) {
    int n = 0;
    for (size_t i = 0; i < Screen().lines.size(); ++i)
      if (Screen().lines[i].selectable && ++n == verdict.choice) return static_cast<int>(i);
    EndRunForMissingPlayer(engine_,
                           "orivane: " + verdict.note + ": the menu has no option " + std::to_string(verdict.choice), 2);
  }

  int LineAt(int32_t x, int32_t y) {
    const MenuLook& look = Screen().look;
    for (size_t i = 0; i < Screen().lines.size(); ++i) {
      const MenuScreenLine& l = Screen().lines[i];
      if (l.selectable && x >= l.x && x < int64_t{l.x} + MenuTextWidth(look, l.text) && y >= l.y &&
          y < int64_t{l.y} + look.advance_y)
        return static_cast<int>(i);
    }
    return -1;
  }

  void Highlight(int k) {
    if (k == Screen().highlighted) return;
    Screen().highlighted = k;
    if (k >= 0) PlayMenuSound(engine_, MenuSound::kOver);
    DirtyScreen(engine_);
    ShowDirtyNow(engine_);
  }

  // The next line that can be taken in the direction, round the ends.
  void Step(int direction) {
    const uint32_t now = engine_.platform.Ticks();
    if (last_step_ && !TimeReached(now, *last_step_ + kKeyStepMs)) return;
    last_step_ = now;
    const int n = static_cast<int>(Screen().lines.size());
    int k = Screen().highlighted;
    for (int tries = 0; tries < n; ++tries) {
      k = k < 0 ? (direction > 0 ? 0 : n - 1) : (k + direction + n) % n;
      if (Screen().lines[k].selectable) {
        Highlight(k);
        return;
      }
    }
  }

  Engine& engine_;
  std::optional<uint32_t> last_step_;
};

}  // namespace

void PlayMenuSound(Engine& engine, MenuSound sound) {
  PlayInterfaceSound(engine, engine.system_menu.look.sounds[static_cast<size_t>(sound)]);
}

void InstallMenuScreenHook(Engine& engine) { engine.graphics.hooks.draw_menu_screen = DrawMenuScreenHook; }

int RunMenuScreen(Engine& engine, std::vector<MenuScreenLine> lines, const MenuLook& look) {
  ModalInput modal(engine);
  return MenuScreen(engine, std::move(lines), look).Run();
}

}  // namespace orivane
