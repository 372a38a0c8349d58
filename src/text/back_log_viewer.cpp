#include "text/back_log_viewer.h"

#include <optional>
#include <utility>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/graphics_commands.h"
#include "graphics/image_tag.h"
#include "graphics/pixel_view.h"
#include "graphics/sprite_draw.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "sound/effect_channels.h"
#include "text/click_wait.h"
#include "text/text_output.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

constexpr const char* kDefaultButtonFiles[4] = {"uoncur.bmp", "uoffcur.bmp", "doncur.bmp", "doffcur.bmp"};

constexpr int kOlder = static_cast<int>(BackLogButton::kOlder);
constexpr int kNewer = static_cast<int>(BackLogButton::kNewer);

bool UsesSprites(const BackLogLook& look) { return look.older_sprite >= 0 && look.newer_sprite >= 0; }

// Whether the button's page exists: an older page behind the one shown, or a
// newer one before it.
bool ButtonHasPage(const BackLog& log, int button) {
  return button == kOlder ? log.viewer.page < log.PageCount() : log.viewer.page > 1;
}

// The picture of a button as the pointer makes it: [0] over, [1] not over.
ImageSurface& ButtonPicture(BackLog& log, int button) {
  const bool over = log.viewer.pointer_over == button;
  return log.look.pictures[static_cast<size_t>(button * 2 + (over ? 0 : 1))];
}

// Where a button picture stands: the older page's at the window's top right
// corner, the newer page's at its bottom right corner.
PenPosition PictureButtonOrigin(const Engine& engine, int button, const ImageSurface& pic) {
  const TextWindow& w = engine.text;
  return {w.frame_right - pic.CellWidth(), button == kOlder ? w.frame_top : w.frame_bottom - pic.height};
}

// The button's area on the screen: its picture's, or with `lookbacksp` its
// sprite's.
PixelRect ButtonRect(Engine& engine, int button) {
  const BackLogLook& look = engine.back_log.look;
  int64_t x, y, width, height;
  if (UsesSprites(look)) {
    const SpriteSlot& s = SpriteAt(engine, button == kOlder ? look.older_sprite : look.newer_sprite);
    x = s.x, y = s.y, width = s.surface.CellWidth(), height = s.surface.height;
  } else {
    const ImageSurface& pic = ButtonPicture(engine.back_log, button);
    if (!pic.Drawable()) return PixelRect{};
    const PenPosition at = PictureButtonOrigin(engine, button, pic);
    x = at.x, y = at.y, width = pic.CellWidth(), height = pic.height;
  }
  return ClippedRect(x, y, x + width - 1, y + height - 1, engine.screen_width, engine.screen_height);
}

bool Contains(const PixelRect& r, int32_t x, int32_t y) {
  return !r.empty() && x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

void DirtyRect(Engine& engine, const PixelRect& r) {
  if (!r.empty()) engine.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine.screen_width, engine.screen_height);
}

// Composition: the page buttons over everything but the wait cursor.
void DrawButtonsHook(Engine& engine, PixelRect area) {
  BackLog& log = engine.back_log;
  if (!log.viewer.open || UsesSprites(log.look)) return;
  for (int button : {kOlder, kNewer}) {
    if (!ButtonHasPage(log, button)) continue;
    ImageSurface& pic = ButtonPicture(log, button);
    if (!pic.Drawable()) continue;
    const PenPosition at = PictureButtonOrigin(engine, button, pic);
    DrawSprite(engine.graphics.mul, pic, PixelView(engine.graphics.scene), &area, at.x, at.y);
  }
}

// The viewer from opening to leaving. The page shown is laid out on a page of
// the window's settings and its glyphs take the place of the window's own,
// which come back when the viewer closes.
class BackLogViewer {
 public:
  explicit BackLogViewer(Engine& engine) : engine_(engine), log_(engine.back_log), w_(engine.text) {}

  void Run() {
    PlayInterfaceSound(engine_, log_.look.open_voice);
    Open();
    bool escape_down = false;
    for (;;) {
      if (engine_.interp.reset_request) break;
      PlayerEvent e;
      if (PumpOne(engine_, &e)) {
        if (e.kind == PlayerEvent::Kind::kKeyDown && e.key == kKeyEscape) escape_down = true;
        if (e.kind == PlayerEvent::Kind::kKeyUp && e.key == kKeyEscape && escape_down) break;
        if (!Take(e)) break;
        continue;
      }
      const IdleVerdict verdict = engine_.platform.PlayerIdle(PlayerWait::kOther);
      if (verdict.what == IdleVerdict::What::kEndRun) EndRunForMissingPlayer(engine_, verdict.note, verdict.status);
      SleepUntil(engine_, std::nullopt);
    }
    Close();
    PlayInterfaceSound(engine_, engine_.system_menu.look.sounds[static_cast<size_t>(MenuSound::kBackLogClosed)]);
  }

 private:
  void Open() {
    log_.viewer.open = true;
    log_.viewer.page = 1;
    log_.viewer.pointer_over = -1;
    was_shown_ = w_.shown;
    was_hidden_ = w_.hidden;
    cursor_was_showing_ = engine_.text_out.cursor_showing;
    const BackLogLook& look = log_.look;
    if (UsesSprites(look)) {
      sprite_was_visible_[kOlder] = SpriteAt(engine_, look.older_sprite).visible;
      sprite_was_visible_[kNewer] = SpriteAt(engine_, look.newer_sprite).visible;
    }
    DirtyAll();
    engine_.text_out.cursor_showing = false;
    saved_layer_ = std::move(w_.layer);
    w_.shown = true;
    w_.hidden = false;
    ShowPage();
  }

  void Close() {
    DirtyAll();
    w_.layer = std::move(saved_layer_);
    w_.shown = was_shown_;
    w_.hidden = was_hidden_;
    engine_.text_out.cursor_showing = cursor_was_showing_;
    const BackLogLook& look = log_.look;
    if (UsesSprites(look)) {
      SetSpriteVisible(look.older_sprite, sprite_was_visible_[kOlder]);
      SetSpriteVisible(look.newer_sprite, sprite_was_visible_[kNewer]);
    }
    log_.viewer = BackLogViewerState{};
    DirtyAll();
    ShowDirtyNow(engine_);
    // What closed the viewer is not also a click for the wait that opened it.
    engine_.input.left_clicked = engine_.input.right_clicked = false;
    engine_.platform.DiscardPendingClicks();
  }

  // One event of the player; false when it closes the viewer.
  bool Take(const PlayerEvent& e) {
    using Kind = PlayerEvent::Kind;
    switch (e.kind) {
      case Kind::kWheel:
        if (e.value > 0) return Older();
        if (e.value < 0) return Newer();
        return true;
      case Kind::kKeyDown:
        if (e.key == kKeyArrowUp || e.key == kKeyPageUp) return Older();
        if (e.key == kKeyArrowDown || e.key == kKeyPageDown) return Newer();
        return true;
      case Kind::kPointerMove:
        PointAt(e.x, e.y);
        return true;
      case Kind::kButtonUp:
        if (e.button == PointerButton::kRight) return false;
        PointAt(e.x, e.y);
        if (log_.viewer.pointer_over == kOlder) return Older();
        if (log_.viewer.pointer_over == kNewer) return Newer();
        return false;
      default:
        return true;
    }
  }

  bool Older() {
    if (log_.viewer.page >= log_.PageCount()) return true;
    ++log_.viewer.page;
    ShowPage();
    return true;
  }

  // At the newest page, paging on closes the viewer.
  bool Newer() {
    if (log_.viewer.page <= 1) return false;
    --log_.viewer.page;
    ShowPage();
    return true;
  }

  // The button under (x, y), among those shown.
  void PointAt(int32_t x, int32_t y) {
    int over = -1;
    for (int button : {kOlder, kNewer})
      if (ButtonHasPage(log_, button) && Contains(ButtonRect(engine_, button), x, y)) over = button;
    if (over == log_.viewer.pointer_over) return;
    DirtyButtons();
    log_.viewer.pointer_over = over;
    DirtyButtons();
    ShowDirtyNow(engine_);
  }

  // The page `viewer.page` in the window, in the back-log colour, with the
  // buttons of the directions that have pages.
  void ShowPage() {
    DirtyButtons();
    TextWindow page = CopyPageSettings(w_);
    page.layer.Resize(saved_layer_.width, saved_layer_.height);
    page.column = page.line = 0;
    page.text_color = log_.look.colour;
    if (const std::string* text = log_.PageBack(log_.viewer.page))
      DrawTextOnPage(engine_, page, *text, PageTextForm::kBackLog);
    w_.layer = std::move(page.layer);
    const BackLogLook& look = log_.look;
    if (UsesSprites(look)) {
      SetSpriteVisible(look.older_sprite, ButtonHasPage(log_, kOlder));
      SetSpriteVisible(look.newer_sprite, ButtonHasPage(log_, kNewer));
    }
    DirtyTextWindow(engine_);
    DirtyButtons();
    ShowDirtyNow(engine_);
    // The buttons shown may have changed under the pointer.
    PointAt(engine_.input.pointer_x, engine_.input.pointer_y);
  }

  void SetSpriteVisible(int32_t n, bool visible) {
    SpriteSlot& s = SpriteAt(engine_, n);
    if (s.visible == visible) return;
    if (s.visible) DirtySprite(engine_, s);
    s.visible = visible;
    if (s.visible) DirtySprite(engine_, s);
  }

  void DirtyButtons() {
    for (int button : {kOlder, kNewer}) DirtyRect(engine_, ButtonRect(engine_, button));
  }

  // The window with everything the viewer may draw over it, and the cursor
  // of the wait that opened it.
  void DirtyAll() {
    DirtyTextWindow(engine_);
    DirtyButtons();
    if (cursor_was_showing_) DirtyWaitCursor(engine_);
  }

  Engine& engine_;
  BackLog& log_;
  TextWindow& w_;
  TextLayer saved_layer_;
  bool was_shown_ = false;
  bool was_hidden_ = false;
  bool cursor_was_showing_ = false;
  bool sprite_was_visible_[2] = {false, false};
};

}  // namespace

void InstallBackLogHook(Engine& engine) { engine.graphics.hooks.draw_back_log_buttons = DrawButtonsHook; }

void LoadDefaultBackLogButtons(Engine& engine) {
  BackLogLook& look = engine.back_log.look;
  if (look.pictures_set) return;
  for (size_t i = 0; i < look.pictures.size(); ++i) {
    look.pictures[i].Reset();
    LoadOptionalImageTag(engine, look.pictures[i], kDefaultButtonFiles[i]);
  }
}

void OpenBackLog(Engine& engine) {
  if (engine.back_log.viewer.open || engine.back_log.PageCount() == 0) return;
  ModalInput modal(engine);
  BackLogViewer(engine).Run();
}

}  // namespace orivane
