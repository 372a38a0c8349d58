#include "text/button_wait.h"

#include <optional>
#include <vector>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/sprite_draw.h"
#include "graphics/sprite_state_string.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "sound/players.h"
#include "text/text_draw.h"

namespace orivane {
namespace {

// Keys held this long count as pressed once more (cursor steps).
constexpr uint32_t kKeyRepeatMs = 125;

PixelRect ButtonRect(const Engine& engine, const Button& b) {
  return ClippedRect(b.left, b.top, int64_t{b.left} + b.width - 1, int64_t{b.top} + b.height - 1,
                     engine.screen_width, engine.screen_height);
}

void DirtyButton(Engine& engine, const Button& b) {
  const PixelRect r = ButtonRect(engine, b);
  if (!r.empty()) engine.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine.screen_width, engine.screen_height);
}

// A highlighted picture button shows its part of the `btndef` picture.
void DrawHighlightHook(Engine& engine, PixelRect area) {
  ButtonState& st = engine.buttons;
  if (st.hovered < 0 || st.hovered >= static_cast<int32_t>(st.buttons.size())) return;
  const Button& b = st.buttons[st.hovered];
  if (b.IsSpriteButton() || b.IsExtendedButton() || b.IsChoiceButton() || !st.picture.Drawable()) return;
  const PixelRect r = ButtonRect(engine, b);
  const PixelRect clip{std::max(r.left, area.left), std::max(r.top, area.top), std::min(r.right, area.right),
                       std::min(r.bottom, area.bottom)};
  if (clip.empty()) return;
  // The picture is drawn shifted so that (srcX, srcY) falls on the button.
  DrawSprite(engine.graphics.mul, st.picture, PixelView(engine.graphics.scene), &clip, b.left - b.src_x,
             b.top - b.src_y);
}

// A choice-text button: its `csel` choice drawn with the page's font from
// its corner, one cell a character, into the text layer.
void DrawChoiceButton(Engine& engine, const Button& b, uint32_t rgb) {
  const std::string* text = engine.selection.CselText(-1 - int64_t{b.src_x});
  if (!text) return;
  TextWindow& w = engine.text;
  const GlyphFont font = PageFont(w);
  int64_t x = b.left, y = b.top;
  for (size_t i = 0; i + 1 < text->size(); i += 2) {
    const GlyphCell& cell = engine.glyphs.Get(engine.platform.Fonts(), font, static_cast<uint8_t>((*text)[i]),
                                              static_cast<uint8_t>((*text)[i + 1]));
    const PixelRect r = PutGlyphOnPage(w, engine.graphics.mul, static_cast<int32_t>(x), static_cast<int32_t>(y), cell, rgb);
    if (!r.empty()) engine.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine.screen_width, engine.screen_height);
    if (w.vertical)
      y += w.advance_y;
    else
      x += w.advance_x;
  }
}

void SetSpriteCell(Engine& engine, int32_t sprite, int32_t cell) {
  if (sprite < 0 || sprite >= kSpriteCount) return;
  SpriteSlot& slot = engine.graphics.sprites[sprite];
  if (slot.tag.empty() || slot.surface.cell == cell) return;
  slot.surface.cell = cell;
  if (slot.visible) DirtySprite(engine, slot);
}

// Draws button `index` in its normal state (highlighted = false) or
// highlighted; extended buttons run their strings.
void ShowButtonState(Engine& engine, int32_t index, bool highlighted) {
  ButtonState& st = engine.buttons;
  if (index < 0 || index >= static_cast<int32_t>(st.buttons.size())) return;
  const Button& b = st.buttons[index];
  if (b.IsSpriteButton()) {
    SetSpriteCell(engine, b.Sprite(), highlighted ? 1 : 0);
  } else if (b.IsExtendedButton()) {
    const int32_t s = b.Sprite();
    const bool cells = s >= 0 && s < kSpriteCount && engine.graphics.sprites[s].surface.cells > 1;
    if (!highlighted || cells) SetSpriteCell(engine, s, highlighted ? 1 : 0);
    RunSpriteStateString(engine, st.default_commands);
    if (highlighted) RunSpriteStateString(engine, b.commands);
  } else if (b.IsChoiceButton()) {
    const SelectionState& sel = engine.selection;
    DrawChoiceButton(engine, b, highlighted ? sel.highlight_color : sel.normal_color);
  } else {
    DirtyButton(engine, b);
  }
}

void Hover(Engine& engine, int32_t index) {
  ButtonState& st = engine.buttons;
  if (index == st.hovered) return;
  const int32_t old = st.hovered;
  st.hovered = index;
  ShowButtonState(engine, old, false);
  ShowButtonState(engine, index, true);
  ShowDirtyNow(engine);
}

void HoverText(Engine& engine, int32_t index) {
  ButtonState& st = engine.buttons;
  if (index == st.hovered_text) return;
  const int32_t old = st.hovered_text;
  st.hovered_text = index;
  if (old >= 0) RecolourTextButton(engine, old, st.link_colour);
  if (index >= 0) {
    RecolourTextButton(engine, index, st.link_active_colour);
    RunSpriteStateString(engine, st.text_buttons[index].commands);
    ShowDirtyNow(engine);
  }
}

// The rows and columns of the page a text button covers: one rectangle per
// line (two when it wraps).
std::vector<PixelRect> TextButtonRects(const Engine& engine, const TextButton& b) {
  const TextWindow& w = engine.text;
  const int64_t grid_right = int64_t{w.text_left} + int64_t{w.columns} * w.advance_x - 1;
  if (b.start_y == b.end_y)
    return {ClippedRect(b.start_x, b.start_y, int64_t{b.end_x} + w.glyph_width - 1,
                        int64_t{b.start_y} + w.glyph_height - 1, engine.screen_width, engine.screen_height)};
  return {ClippedRect(b.start_x, b.start_y, grid_right, int64_t{b.start_y} + w.glyph_height - 1,
                      engine.screen_width, engine.screen_height),
          ClippedRect(w.text_left, b.end_y, int64_t{b.end_x} + w.glyph_width - 1,
                      int64_t{b.end_y} + w.glyph_height - 1, engine.screen_width, engine.screen_height)};
}

// The code of a key the options turn into one, or nullopt.
std::optional<int32_t> KeyCode(const Engine& engine, KeyId key) {
  const ButtonWaitOptions& o = engine.buttons.options;
  if (key == kKeyPageUp && (o.page_keys || o.page_up_key)) return -12;
  if (key == kKeyPageDown && o.page_keys) return -13;
  if (key == kKeyEnter && o.enter_key) return -19;
  if (key == kKeyTab && o.tab_key) return -20;
  if (key >= kKeyF1 && key <= kKeyF12 && o.function_keys) return -21 - (key - kKeyF1);
  if (o.cursor_keys) {
    if (key == kKeyArrowUp) return -40;
    if (key == kKeyArrowRight) return -41;
    if (key == kKeyArrowDown) return -42;
    if (key == kKeyArrowLeft) return -43;
  }
  if (key == kKeyInsert && o.insert_key) return -50;
  if (o.zxc_keys) {
    if (key == 'z') return -51;
    if (key == 'x') return -52;
    if (key == 'c') return -53;
  }
  return std::nullopt;
}

// Whether Enter or Space (pressed or typed) returns a code in this wait.
bool TakenAsCode(const Engine& engine, const PlayerEvent& e) {
  const bool enter = e.kind == PlayerEvent::Kind::kCharacter ? e.value == 13 : e.key == kKeyEnter;
  const bool space = e.kind == PlayerEvent::Kind::kCharacter ? e.value == 32 : e.key == kKeySpace;
  if (enter) return engine.buttons.options.enter_key;
  if (space) return engine.shell.esc_space_input && !engine.buttons.options.space_clicks;
  return false;
}

bool InArea(const ButtonWaitOptions& o, int32_t y) {
  return (o.area_y > 0 && y < o.area_y) || (o.area_y < 0 && y > -o.area_y);
}

// Up and Down without `getcursor`: the pointer moves to the previous or
// next button of the table.
void StepPointer(Engine& engine, int32_t direction, int32_t& x, int32_t& y) {
  ButtonState& st = engine.buttons;
  const int32_t n = static_cast<int32_t>(st.buttons.size());
  if (n == 0) return;
  int32_t next = st.hovered < 0 ? (direction > 0 ? 0 : n - 1) : (st.hovered + direction + n) % n;
  const Button& b = st.buttons[next];
  x = b.left + b.width / 2;
  y = b.top + b.height / 2;
  engine.platform.WarpPointer(x, y);
  Hover(engine, ButtonAt(engine, x, y));
}

}  // namespace

void InstallButtonHook(Engine& engine) { engine.graphics.hooks.draw_button_highlight = DrawHighlightHook; }

int32_t TextButtonAt(const Engine& engine, int32_t x, int32_t y) {
  const std::vector<TextButton>& buttons = engine.buttons.text_buttons;
  for (int32_t i = static_cast<int32_t>(buttons.size()) - 1; i >= 0; --i)
    for (const PixelRect& r : TextButtonRects(engine, buttons[i]))
      if (!r.empty() && x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return i;
  return -1;
}

void RecolourTextButton(Engine& engine, int32_t index, uint32_t rgb) {
  ButtonState& st = engine.buttons;
  if (index < 0 || index >= static_cast<int32_t>(st.text_buttons.size())) return;
  TextLayer& layer = engine.text.layer;
  const MulTable& mul = engine.graphics.mul;
  const uint8_t* blue = mul.Row(rgb & 0xFF);
  const uint8_t* green = mul.Row((rgb >> 8) & 0xFF);
  const uint8_t* red = mul.Row((rgb >> 16) & 0xFF);
  for (const PixelRect& r : TextButtonRects(engine, st.text_buttons[index])) {
    if (r.empty()) continue;
    for (int y = r.top; y <= r.bottom && y < layer.height; ++y)
      for (int x = r.left; x <= r.right && x < layer.width; ++x) {
        const uint8_t a = layer.CoverageAt(x, y);
        if (a != 0) layer.Set(x, y, a, blue[a], green[a], red[a]);
      }
    engine.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine.screen_width, engine.screen_height);
  }
}

int32_t ButtonAt(Engine& engine, int32_t x, int32_t y) {
  const ButtonState& st = engine.buttons;
  for (int32_t i = static_cast<int32_t>(st.buttons.size()) - 1; i >= 0; --i) {
    const Button& b = st.buttons[i];
    if (b.number <= st.options.mask_below || !b.Contains(x, y)) continue;
    if (st.options.opaque_only && (b.IsSpriteButton() || b.IsExtendedButton())) {
      const int32_t s = b.Sprite();
      if (s < 0 || s >= kSpriteCount) continue;
      const SpriteSlot& slot = engine.graphics.sprites[s];
      if (!slot.surface.Drawable() || IsTransparentPixel(slot.surface, x - slot.x, y - slot.y)) continue;
    }
    return i;
  }
  return -1;
}

int32_t RunButtonWait(Engine& engine, ButtonWaitScope scope) {
  ButtonState& st = engine.buttons;
  const bool table = scope != ButtonWaitScope::kTextOnly;
  const bool text = scope != ButtonWaitScope::kTable;
  // What is under the pointer: a text button wins over the table's.
  auto hover_at = [&](int32_t px, int32_t py) {
    const int32_t t = text ? TextButtonAt(engine, px, py) : -1;
    HoverText(engine, t);
    Hover(engine, t < 0 && table ? ButtonAt(engine, px, py) : -1);
  };
  auto chosen = [&]() -> int32_t {
    if (st.hovered_text >= 0) return st.text_buttons[st.hovered_text].number;
    return st.hovered < 0 ? kButtonNone : st.buttons[st.hovered].number;
  };
  const ButtonWaitOptions& o = st.options;
  InputState& in = engine.input;
  const uint32_t start = engine.platform.Ticks();
  LongWaitWrite persistent_write(start);
  const bool skip_at_start = engine.read_flags.skip_mode;
  const bool auto_at_start = engine.shell.settings.auto_mode;
  const bool wheel = engine.shell.wheel_input;
  in.left_clicked = in.right_clicked = false;
  int32_t x = in.pointer_x, y = in.pointer_y;
  st.hovered = st.hovered_text = -1;
  if (table)
    for (const Button& b : st.buttons)
      if (b.IsChoiceButton()) DrawChoiceButton(engine, b, engine.selection.normal_color);
  ShowDirtyNow(engine);
  hover_at(x, y);

  std::optional<int32_t> result;
  std::optional<uint32_t> deadline;
  if (o.timeout_ms >= 0) deadline = start + static_cast<uint32_t>(o.timeout_ms);
  uint32_t last_step = start - kKeyRepeatMs;
  // A `textfield` left with Tab: that Tab is this wait's key.
  if (o.tab_key && in.left_with_tab) {
    in.left_with_tab = false;
    result = KeyCode(engine, kKeyTab);
  }
  while (!result) {
    if (engine.interp.reset_request) {
      result = kButtonNone;
      break;
    }
    const std::optional<uint32_t> write_at = persistent_write.Poll(engine, engine.platform.Ticks());
    if (text && scope != ButtonWaitScope::kTableAndTextKeepPage &&
        ((engine.read_flags.skip_mode && engine.text_out.auto_click_ms == 0) || SkipKeyHeld(engine)))
      result = kButtonNone;
    else if (o.skip_changes && engine.read_flags.skip_mode != skip_at_start) result = -60;
    else if (o.skip_changes && engine.shell.settings.auto_mode != auto_at_start) result = -61;
    else if (deadline && TimeReached(engine.platform.Ticks(), *deadline) &&
             !(o.timeout_waits_voice && VoicePlaying(engine)))
      result = wheel ? -5 : kButtonTimeout;
    else if (in.right_clicked) result = kButtonRightClick;
    else if (in.left_clicked) {
      // A click, or Space or Enter at the pointer.
      hover_at(x, y);
      result = chosen();
    }
    if (result) break;

    PlayerEvent e;
    if (PumpOne(engine, &e)) {
      using Kind = PlayerEvent::Kind;
      // Enter and Space are clicks to the window procedure; where the wait
      // takes them as codes they are not.
      if ((e.kind == Kind::kKeyDown || e.kind == Kind::kCharacter) && TakenAsCode(engine, e)) in.left_clicked = false;
      if (e.kind == Kind::kPointerMove || e.kind == Kind::kButtonDown || e.kind == Kind::kButtonUp) {
        x = e.x;
        y = e.y;
        if (e.kind == Kind::kPointerMove && InArea(o, y)) {
          result = kButtonLeftArea;
          break;
        }
        hover_at(x, y);
        if ((st.hovered >= 0 || st.hovered_text >= 0) && o.mouse_over_from >= 0) {
          const int32_t n = chosen();
          if (n >= o.mouse_over_from && n <= o.mouse_over_to) result = n;
        }
        if (e.kind == Kind::kButtonDown && e.button == PointerButton::kLeft && o.press_counts) result = chosen();
      } else if (e.kind == Kind::kWheel && wheel && e.value != 0) {
        result = e.value > 0 ? kButtonTimeout : kButtonWheelDown;
      } else if (e.kind == Kind::kKeyDown && !o.cursor_keys &&
                 (e.key == kKeyArrowUp || e.key == kKeyArrowDown)) {
        const uint32_t now = engine.platform.Ticks();
        if (!TimeReached(now, last_step + kKeyRepeatMs)) continue;
        last_step = now;
        StepPointer(engine, e.key == kKeyArrowUp ? -1 : 1, x, y);
      } else if (e.kind == Kind::kKeyUp) {
        if (engine.shell.esc_space_input && e.key == kKeySpace && !o.space_clicks) {
          result = -11;
        } else if (engine.shell.esc_space_input && e.key == kKeyEscape) {
          if (o.escape_moves_pointer && st.hovered >= 0) {
            engine.platform.WarpPointer(o.escape_x, o.escape_y);
            x = o.escape_x;
            y = o.escape_y;
            hover_at(x, y);
          } else {
            result = -10;
          }
        } else if (std::optional<int32_t> code = KeyCode(engine, e.key)) {
          result = code;
        }
      }
      // Space and Enter reach the wait as clicks (the window procedure's
      // flags) unless they were taken as codes above.
      if (result) in.left_clicked = false;
      continue;
    }
    // A scripted player picks a button by its number; with its input ended
    // the run ends here, unless the wait ends by itself (a time-out).
    const IdleVerdict verdict = engine.platform.PlayerIdle(PlayerWait::kButtons);
    if (verdict.what == IdleVerdict::What::kChoose) {
      result = verdict.choice;
      break;
    }
    if (verdict.what == IdleVerdict::What::kEndRun && (verdict.status != 0 || (!deadline && !o.skip_changes)))
      EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    std::optional<uint32_t> wake = deadline;
    // `btntime2` past its time waits on for the voice, looking again soon.
    if (deadline && TimeReached(engine.platform.Ticks(), *deadline))
      wake = engine.platform.Ticks() + kVoicePollMs;
    if (verdict.due && (!wake || static_cast<int32_t>(*verdict.due - *wake) < 0)) wake = verdict.due;
    if (write_at && (!wake || static_cast<int32_t>(*write_at - *wake) < 0)) wake = write_at;
    SleepUntil(engine, wake);
  }
  in.left_clicked = in.right_clicked = false;
  st.last_wait_ms = engine.platform.Ticks() - start;
  Hover(engine, -1);
  HoverText(engine, -1);
  ShowDirtyNow(engine);
  return *result;
}

}  // namespace orivane
