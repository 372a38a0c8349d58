#include "graphics/sprite_state_string.h"

#include "engine.h"
#include "graphics/compose.h"
#include "platform/platform.h"
#include "script/error.h"
#include "script/readers.h"

namespace orivane {
namespace {

// A read position in the string; bytes past the end read as 0.
class StateCursor {
 public:
  explicit StateCursor(std::string_view text) : text_(text) {}
  uint8_t Cur() const { return pos_ < text_.size() ? static_cast<uint8_t>(text_[pos_]) : 0; }
  bool AtEnd() const { return pos_ >= text_.size(); }
  void Advance() { ++pos_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

struct Reader {
  StateCursor cursor;
  SpriteStateParse& result;

  bool Fail(SpriteStateError e) {
    if (result.error == SpriteStateError::kNone) result.error = e;
    return false;
  }

  // At least one digit, at most kMaxNumberDigits; the value wraps to 32 bits
  // as the script's number reader converts it.
  bool Number(int64_t& value) {
    if (!IsDigit(cursor.Cur())) return Fail(SpriteStateError::kMalformed);
    std::string digits;
    value = 0;
    while (IsDigit(cursor.Cur())) {
      digits.push_back(static_cast<char>(cursor.Cur()));
      if (static_cast<int>(digits.size()) > kMaxNumberDigits) {
        result.long_digits = digits;
        return Fail(SpriteStateError::kNumberTooLong);
      }
      value = value * 10 + (cursor.Cur() - '0');
      cursor.Advance();
    }
    return true;
  }
  bool Number32(int32_t& value) {
    int64_t v;
    if (!Number(v)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  bool Sprite(int32_t& sprite) {
    int64_t v;
    if (!Number(v)) return false;
    if (v >= kSpriteCount) return Fail(SpriteStateError::kMalformed);
    sprite = static_cast<int32_t>(v);
    return true;
  }
  bool Comma() {
    if (cursor.Cur() != ',') return Fail(SpriteStateError::kMalformed);
    cursor.Advance();
    return true;
  }

  bool Step() {
    SpriteStateStep step;
    const uint8_t letter = cursor.Cur();
    cursor.Advance();
    switch (letter) {
      case 'C':
        step.op = SpriteStateOp::kHide;
        if (!Sprite(step.sprite)) return false;
        break;
      case 'P':
        step.op = SpriteStateOp::kShow;
        if (!Sprite(step.sprite)) return false;
        // "," and a digit is the cell; a "," before anything else is wrong.
        if (cursor.Cur() == ',') {
          cursor.Advance();
          if (!Number32(step.cell)) return false;
        }
        break;
      case 'M':
        step.op = SpriteStateOp::kMove;
        if (!Sprite(step.sprite) || !Comma() || !Number32(step.x) || !Comma() || !Number32(step.y))
          return false;
        break;
      case 'S':
        step.op = SpriteStateOp::kSound;
        if (!Number32(step.channel) || !Comma()) return false;
        while (!cursor.AtEnd() && cursor.Cur() != ',') {
          step.sound.push_back(static_cast<char>(cursor.Cur()));
          cursor.Advance();
        }
        if (step.sound.empty()) return Fail(SpriteStateError::kMalformed);
        if (cursor.Cur() == ',') cursor.Advance();
        break;
      default:
        return Fail(SpriteStateError::kMalformed);
    }
    result.steps.push_back(std::move(step));
    return true;
  }
};

void Show(Engine& engine, const SpriteStateStep& step) {
  SpriteSlot& slot = engine.graphics.sprites[static_cast<size_t>(step.sprite)];
  bool changed = !slot.visible;
  slot.visible = true;
  if (step.cell >= 0 && slot.surface.cell != step.cell) {
    slot.surface.cell = step.cell;
    slot.surface.anim_start = engine.platform.Ticks();
    changed = true;
  }
  if (changed) DirtySprite(engine, slot);
}

void Carry(Engine& engine, const SpriteStateStep& step) {
  if (step.op == SpriteStateOp::kSound) {
    if (engine.graphics.hooks.play_state_sound)
      engine.graphics.hooks.play_state_sound(engine, step.channel, step.sound);
    return;
  }
  SpriteSlot& slot = engine.graphics.sprites[static_cast<size_t>(step.sprite)];
  if (slot.tag.empty()) return;  // an unused slot has nothing to show or hide
  switch (step.op) {
    case SpriteStateOp::kHide:
      if (!slot.visible) return;
      slot.visible = false;
      DirtySprite(engine, slot);
      return;
    case SpriteStateOp::kShow:
      Show(engine, step);
      return;
    case SpriteStateOp::kMove:
      if (slot.visible) DirtySprite(engine, slot);
      slot.x = step.x;
      slot.y = step.y;
      if (slot.visible) DirtySprite(engine, slot);
      return;
    case SpriteStateOp::kSound:
      return;
  }
}

}  // namespace

SpriteStateParse ParseSpriteStateString(std::string_view text) {
  SpriteStateParse result;
  Reader reader{StateCursor(text), result};
  for (;;) {
    while (IsBlank(reader.cursor.Cur())) reader.cursor.Advance();
    if (reader.cursor.AtEnd()) break;
    if (!reader.Step()) break;
  }
  if (result.error != SpriteStateError::kNone) result.steps.clear();
  return result;
}

void RunSpriteStateString(Engine& engine, std::string_view text) {
  const SpriteStateParse parsed = ParseSpriteStateString(text);
  switch (parsed.error) {
    case SpriteStateError::kNone:
      break;
    case SpriteStateError::kMalformed:
      ReportError(engine, "拡張ボタン指定が間違っています：%s", "エラー", {text});
    case SpriteStateError::kNumberTooLong:
      ReportError(engine, "数字が長すぎます。:%s", "構文エラー", {parsed.long_digits});
  }
  for (const SpriteStateStep& step : parsed.steps) Carry(engine, step);
}

}  // namespace orivane
