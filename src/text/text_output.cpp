#include "text/text_output.h"

#include <algorithm>
#include <optional>

#include "engine.h"
#include "save/save_point.h"
#include "graphics/effects.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "script/error.h"
#include "script/labels.h"
#include "text/back_log_viewer.h"
#include "text/button_wait.h"
#include "text/click_wait.h"
#include "text/line_breaking.h"
#include "text/text_draw.h"
#include "text/text_items.h"
#include "text/text_layout.h"
#include "text/text_picture.h"
#include "text/text_window_display.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr size_t kMaxRubyBytes = 100;

bool IsDigitByte(uint8_t c) { return c >= '0' && c <= '9'; }

// "{%n,value,$n,text}": sets variables.
void RunBraceAssignments(Engine& engine, std::string_view t) {
  size_t i = 0;
  auto skip = [&] {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n')) ++i;
  };
  auto number = [&]() -> int64_t {
    skip();
    int64_t sign = 1;
    if (i < t.size() && t[i] == '-') {
      sign = -1;
      ++i;
    }
    int64_t v = 0;
    for (int digits = 0; i < t.size() && IsDigitByte(t[i]) && digits < 18; ++digits) v = v * 10 + (t[i++] - '0');
    return v * sign;
  };
  auto comma = [&] {
    skip();
    if (i < t.size() && t[i] == ',') ++i;
  };
  ++i;  // '{'
  for (;;) {
    skip();
    if (i >= t.size() || t[i] == '}') return;
    if (t[i] == '%') {
      ++i;
      int64_t n = number();
      comma();
      engine.vars.SetNum(n, static_cast<int32_t>(number()));
    } else if (t[i] == '$') {
      ++i;
      int64_t n = number();
      comma();
      std::string value;
      while (i < t.size() && t[i] != ',' && t[i] != '}') {
        if (IsSjisLead(static_cast<uint8_t>(t[i])) && i + 1 < t.size()) value.push_back(t[i++]);
        value.push_back(t[i++]);
      }
      engine.vars.SetStr(n, std::move(value));
    } else {
      ReportError(engine, "表示文中の{}の指定が間違っています。", "エラー");
    }
    comma();
  }
}

// A ruby group while it is read: "(" base "/" reading ")".
struct RubyGroup {
  enum Phase { kOutside, kBase, kReading } phase = kOutside;
  PenPosition start;  // the pen at "("
  int64_t extra = 0;  // how much wider the reading is than its base
  size_t base_bytes = 0;
  int64_t base_run = 0;  // W: the base's run width along the line
  std::string reading;
};

// One call of text output: walks the text, drawing characters and carrying
// out the inline controls, until the text ends or a wait hands the script
// elsewhere. Story text goes onto the text window's page and the screen, and
// into the back-log. A page drawn for a sprite or for the back-log viewer is
// laid out the same way, off the screen, at once and without waits; a
// back-log page keeps to the line breaks it holds instead of wrapping.
class TextPrinter {
 public:
  enum class Target { kStory, kSpritePage, kBackLogPage };

  TextPrinter(Engine& engine, TextWindow& page, std::string_view text, Target target)
      : engine_(engine), w_(page), out_(engine.text_out), text_(text), story_(target == Target::kStory),
        wraps_(target != Target::kBackLogPage) {}

  void Run() {
    if (w_.column == 0 && w_.line == 0) w_.vertical = w_.pending_vertical;
    pen_ = PenAtCursor(w_);
    if (story_) {
      if (!w_.shown) ShowTextWindow(engine_);
      instant_ = TextSpeedInEffect(engine_) == 0;
      out_.text_length = static_cast<int32_t>(text_.size() / 2);
    } else {
      instant_ = true;
    }

    for (size_t at = 0; at < text_.size();) {
      const TextItem item = ReadTextItem(text_, at, ruby_.phase == RubyGroup::kBase,
                                         ruby_.phase == RubyGroup::kReading);
      if (item.kind == TextItemKind::kEnd) break;
      at = item.end;
      if (!Carry(item)) return;  // the text was abandoned at a wait
      if (joined_) return;
    }
    if (story_ && !page_just_cleared_ && w_.column != 0) BreakLine(engine_, w_);
  }

 private:
  // Carries out one item; false when the rest of the text is abandoned.
  bool Carry(const TextItem& item) {
    switch (item.kind) {
      case TextItemKind::kCharacter:
        if (ruby_.phase == RubyGroup::kReading) {
          Log(text_.substr(item.begin, item.end - item.begin));
          if (ruby_.reading.size() + (item.end - item.begin) <= kMaxRubyBytes)
            ruby_.reading.append(text_.substr(item.begin, item.end - item.begin));
          return true;
        }
        if (button_ && item.second != 0 && button_->text.size() + 2 <= kMaxTextButtonBytes)
          button_->text.append(text_.substr(item.begin, 2));
        return DrawCharacter(item);
      case TextItemKind::kWait:
        if (story_) PumpUntil(engine_, engine_.platform.Ticks() + static_cast<uint32_t>(item.number));
        return true;
      case TextItemKind::kClickableWait:
        if (story_) TimedWait(engine_, static_cast<uint32_t>(item.number), true);
        return true;
      case TextItemKind::kSpeed:
        w_.speed = static_cast<int32_t>(item.number);
        return true;
      case TextItemKind::kMenuSpeed:
        w_.speed = MenuDefaultTextSpeed(engine_);
        return true;
      case TextItemKind::kColour:
        w_.text_color = static_cast<uint32_t>(item.number);
        return true;
      case TextItemKind::kBadColour:
        ReportError(engine_, "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。",
                    "構文エラー");
      case TextItemKind::kPaletteColour:
        if (item.number >= kPaletteSize)
          ReportError(engine_, "表示文中の&の色番号は０から２５５までです。", "エラー");
        w_.text_color = w_.palette[static_cast<size_t>(item.number)];
        return true;
      case TextItemKind::kRubyOpen:
        Log("(");
        OpenRuby(item.begin);
        return true;
      case TextItemKind::kRubySlash:
        Log("/");
        ruby_.base_bytes = item.begin - ruby_base_begin_;
        ruby_.base_run = static_cast<int64_t>(ruby_.base_bytes / 2) * w_.advance_x + ruby_.extra;
        ruby_.phase = RubyGroup::kReading;
        return true;
      case TextItemKind::kRubyClose:
        Log(")");
        CloseRuby();
        return true;
      case TextItemKind::kLineFeed:
        NextLine();
        return true;
      case TextItemKind::kJoinLine:
        joined_ = true;
        return true;
      case TextItemKind::kBadSlash:
        ReportError(engine_, "表示文中の、/の次は改行文字でなければなりません。", "エラー");
      case TextItemKind::kAssignments:
        RunBraceAssignments(engine_, text_.substr(item.begin, item.end - item.begin));
        return true;
      case TextItemKind::kNoClickWait:
        no_click_wait_next_ = true;
        return true;
      case TextItemKind::kClickWait:
        return Wait(TextWaitKind::kClick, item.end);
      case TextItemKind::kPageWait:
        return Wait(TextWaitKind::kPage, item.end);
      case TextItemKind::kButtonOpen:
        if (story_) OpenTextButton(item.number);
        return true;
      case TextItemKind::kButtonClose:
        if (story_) CloseTextButton();
        return true;
      case TextItemKind::kBlank:
      case TextItemKind::kSkippedWait:
      case TextItemKind::kIgnored:
      case TextItemKind::kEnd:
        return true;
    }
    return true;
  }

  bool DrawCharacter(const TextItem& item) {
    if (w_.text_mode == 0)
      ReportError(engine_, "textmodeが非表示設定なのに文字を書こうとしました。", "エラー！");
    if (story_ && w_.line >= w_.rows) ReportOverflow(engine_);
    const int64_t x = pen_.x, y = pen_.y;
    if (story_ && (x < 0 || y < 0 || x + w_.glyph_width >= engine_.screen_width ||
        y + w_.glyph_height >= engine_.screen_height || x < w_.frame_left || y < w_.frame_top ||
        x + w_.glyph_width >= w_.frame_right || y + w_.glyph_height >= w_.frame_bottom))
      ReportError(engine_, "文字がウィンドウからはみ出ました", "エラー！");
    Log(text_.substr(item.begin, item.end - item.begin));
    const uint32_t started = engine_.platform.Ticks();
    const GlyphCell& cell = engine_.glyphs.Get(engine_.platform.Fonts(), PageFont(w_), item.first, item.second);
    Dirty(PutGlyphOnPage(w_, engine_.graphics.mul, pen_.x, pen_.y, cell, w_.text_color));
    page_just_cleared_ = false;
    if (!instant_) {
      ShowTextProgress(engine_);
      if (!out_.skip_to_page && !rest_at_once_ && !engine_.read_flags.skip_mode)
        CharacterDelay(started + static_cast<uint32_t>(std::max(0, TextSpeedInEffect(engine_))));
    }
    if (w_.vertical)
      pen_.y += w_.advance_y;
    else
      pen_.x += w_.advance_x;
    ++w_.column;
    const std::string_view following = text_.substr(item.end);
    if (wraps_ && MustBreakLine(w_.column, w_.vertical ? w_.rows : w_.columns, following)) {
      Wrap();
      pen_ = PenAtCursor(w_);
    }
    const bool marked = no_click_wait_next_;
    no_click_wait_next_ = false;
    if (!marked && WaitsAfterClickCharacter(item)) {
      const bool page = w_.line >= w_.rows - w_.click_lines_from_bottom;
      return Wait(page ? TextWaitKind::kPage : TextWaitKind::kClick, item.end);
    }
    return true;
  }

  // `clickstr`: a wait after a character of the list, unless a wait follows
  // anyway or the next character is of the list too (a run waits once).
  bool WaitsAfterClickCharacter(const TextItem& item) const {
    if (item.second == 0 || !IsClickCharacter(item.first, item.second)) return false;
    if (item.end < text_.size()) {
      const uint8_t next = text_[item.end];
      if (next == '@' || next == '\\') return false;
      if (IsSjisLead(next) && item.end + 1 < text_.size() &&
          IsClickCharacter(next, static_cast<uint8_t>(text_[item.end + 1])))
        return false;
    }
    return true;
  }

  bool IsClickCharacter(uint8_t lead, uint8_t trail) const {
    const std::string& list = w_.click_chars;
    for (size_t i = 0; i + 1 < list.size(); i += 2)
      if (static_cast<uint8_t>(list[i]) == lead && static_cast<uint8_t>(list[i + 1]) == trail) return true;
    return false;
  }

  // The typing delay of one character. A click, the skip key or Enter shows
  // the rest of this text at once (and, with `clickskippage`, passes the
  // page's click waits).
  void CharacterDelay(uint32_t until) {
    InputState& in = engine_.input;
    // One event at a time: what it did decides before the next is taken.
    for (;;) {
      if (in.left_clicked || SkipKeyHeld(engine_) || engine_.interp.reset_request) {
        in.left_clicked = false;
        rest_at_once_ = true;
        if (out_.click_skips_page) out_.skip_to_page = true;
        return;
      }
      if (engine_.read_flags.skip_mode || TimeReached(engine_.platform.Ticks(), until)) return;
      if (!PumpOne(engine_)) SleepUntil(engine_, until);
    }
  }

  // "@", "\" and the waits `clickstr` adds. `resume_at` is where the text
  // goes on behind the wait.
  bool Wait(TextWaitKind kind, size_t resume_at) {
    if (!story_) return true;
    const bool page = kind == TextWaitKind::kPage;
    if (!page && out_.skip_to_page) return true;
    if (page) {
      out_.skip_to_page = false;
      w_.vertical = w_.pending_vertical;
    }
    if (instant_) {
      DirtyTextWindow(engine_);
      ShowTextProgress(engine_);
    }
    const bool waits = w_.text_mode != 0 && (page || !engine_.shell.settings.page_mode);
    if (waits && engine_.interp.textgosub_on) {
      CallTextRoutine(kind, resume_at);
      return false;
    }
    if (waits && RunTextWait(engine_, kind, pen_) == TextWaitEnd::kAbandon) return false;
    if (page) {
      StartNewPageOnScreen(engine_);
      pen_ = PenAtCursor(w_);
      page_just_cleared_ = true;
    }
    return true;
  }

  // `textgosub`: the script's routine stands in for the wait. It returns to
  // the script behind the wait; the rest of this text is dropped (the script
  // reads it again from there).
  void CallTextRoutine(TextWaitKind kind, size_t resume_at) {
    InterpreterState& st = engine_.interp;
    ScriptBuffer& s = engine_.script;
    // A `clickstr` wait inside a script line returns just behind its character.
    if (resume_at < text_.size() && resume_at < st.text_source.size() && text_.data() == st.text_line.data())
      s.Seek(st.text_source[resume_at - 1]);
    if (!st.gosub.CanPush())
      ReportError(engine_, "textgosub処理のせいでスタックが溢れました。", "スタックエラー");
    TurnSavePointsOff(engine_, engine_.save_point);
    st.gosub.Push(s.pos);
    out_.routine_wait_pending = true;
    out_.routine_wait = kind;
    const uint8_t after = s.Cur();
    out_.routine_wait_at_line_end = after == '\n' || after == '\r' || after == 0;
    out_.last_wait = kind;
    JumpToLabel(engine_, st.textgosub_label);
  }

  // "<": a text button begins at the pen, in the link colour. Digits give
  // its number (and set the counter to it); without them it takes the
  // counter, which then moves on.
  void OpenTextButton(int64_t number) {
    ButtonState& st = engine_.buttons;
    if (st.text_button_counter < 0) st.text_button_counter = st.text_button_start;
    button_.emplace();
    if (number >= 0) {
      st.text_button_counter = static_cast<int32_t>(std::min<int64_t>(number, INT32_MAX));
      button_->number = st.text_button_counter;
    } else {
      button_->number = st.text_button_counter++;
    }
    button_->start_x = pen_.x;
    button_->start_y = pen_.y;
    colour_before_button_ = w_.text_color;
    w_.text_color = st.link_colour;
  }

  // ">": the button ends at its last character, and the text colour returns.
  void CloseTextButton() {
    if (!button_) return;
    button_->end_x = w_.vertical ? pen_.x : pen_.x - w_.advance_x;
    button_->end_y = w_.vertical ? pen_.y - w_.advance_y : pen_.y;
    w_.text_color = colour_before_button_;
    engine_.buttons.text_buttons.push_back(std::move(*button_));
    button_.reset();
  }

  // "(": the pen moves so that the base is centred under a wider reading.
  void OpenRuby(size_t at) {
    int base_chars = 0, reading_chars = 0;
    bool in_reading = false;
    for (size_t i = at + 1; i < text_.size(); ++i) {
      const uint8_t c = text_[i];
      if (IsSjisLead(c)) {
        (in_reading ? reading_chars : base_chars)++;
        ++i;
      } else if (!in_reading && c == '/') {
        in_reading = true;
      } else if (in_reading && c == ')') {
        break;
      }
    }
    const GlyphFont ruby = RubyFont(w_);
    const int64_t base = int64_t{base_chars} * (w_.vertical ? w_.glyph_height : w_.glyph_width);
    const int64_t reading = int64_t{reading_chars} * (w_.vertical ? ruby.height : ruby.width);
    ruby_ = RubyGroup{};
    ruby_.phase = RubyGroup::kBase;
    ruby_.start = pen_;
    ruby_.extra = reading > base ? reading - base : 0;
    MovePenAlongLine(ruby_.extra / 2);
    ruby_base_begin_ = at + 1;
  }

  // ")": the text goes on behind the reading's full width, and the reading
  // is drawn over (beside, in vertical writing) its base.
  void CloseRuby() {
    ruby_.phase = RubyGroup::kOutside;
    if (w_.advance_x > 0) w_.column += static_cast<int32_t>(ruby_.extra / w_.advance_x);
    MovePenAlongLine(ruby_.extra / 2);
    const GlyphFont font = RubyFont(w_);
    const std::string_view reading = ruby_.reading;
    int units = 0;
    for (size_t i = 0; i < reading.size(); i += IsSjisLead(static_cast<uint8_t>(reading[i])) ? 2 : 1) ++units;
    if (units == 0) return;
    int64_t pitch, size;
    int64_t x = ruby_.start.x, y = ruby_.start.y;
    if (w_.vertical) {
      pitch = std::max<int64_t>((ruby_.base_run / units) / 2, font.height);
      size = font.height;
      x += w_.glyph_width;
    } else {
      pitch = (2 * ruby_.base_run) / static_cast<int64_t>(reading.size() + 1);
      size = font.width;
      y -= font.height;
    }
    const int64_t offset = pitch > size ? (pitch - size) / 2 : 0;
    for (size_t i = 0; i < reading.size();) {
      const uint8_t first = reading[i];
      const bool two = IsSjisLead(first) && i + 1 < reading.size();
      const uint8_t second = two ? static_cast<uint8_t>(reading[i + 1]) : 0;
      const GlyphCell& cell = engine_.glyphs.Get(engine_.platform.Fonts(), font, first, second);
      const int64_t px = w_.vertical ? x : x + offset, py = w_.vertical ? y + offset : y;
      Dirty(PutGlyphOnPage(w_, engine_.graphics.mul, ClampToInt(px), ClampToInt(py), cell, w_.text_color));
      if (w_.vertical)
        y += pitch;
      else
        x += pitch;
      i += two ? 2 : 1;
    }
    if (!instant_) ShowTextProgress(engine_);
  }

  // The automatic wrap. A sprite's page has no window to run out of: what
  // passes its last line falls outside the picture.
  void Wrap() {
    if (story_) {
      WrapLine(engine_, w_);
    } else {
      ++w_.line;
      w_.column = w_.indent;
    }
  }

  // A line feed in the text: the next line, at its start.
  void NextLine() {
    if (story_) {
      BreakLine(engine_, w_);
    } else {
      ++w_.line;
      w_.column = 0;
    }
    pen_ = PenAtCursor(w_);
  }

  // What story text prints goes into the back-log page as well.
  void Log(std::string_view bytes) {
    if (story_) engine_.back_log.Append(bytes);
  }

  // Story text shows what it drew when the screen is next shown.
  void Dirty(const PixelRect& r) {
    if (story_ && !r.empty())
      engine_.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine_.screen_width, engine_.screen_height);
  }

  void MovePenAlongLine(int64_t by) {
    if (w_.vertical)
      pen_.y = ClampToInt(pen_.y + by);
    else
      pen_.x = ClampToInt(pen_.x + by);
  }

  static int32_t ClampToInt(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); }

  Engine& engine_;
  TextWindow& w_;
  TextOutputState& out_;
  std::string_view text_;
  const bool story_;
  const bool wraps_;  // lines wrap at the end of the grid
  PenPosition pen_;
  bool instant_ = false;
  bool rest_at_once_ = false;        // a click during this call: no more typing delays
  bool page_just_cleared_ = false;   // the last page wait started a new page
  bool joined_ = false;              // "/" at the end: no line break
  bool no_click_wait_next_ = false;  // "_"
  RubyGroup ruby_;
  size_t ruby_base_begin_ = 0;
  std::optional<TextButton> button_;  // between "<" and ">"
  uint32_t colour_before_button_ = 0;
};

}  // namespace

void OutputText(Engine& engine, std::string_view sjis) {
  SettleSavePoint(engine, engine.save_point);  // the page is about to fill
  engine.platform.EchoStoryText(SjisToUtf8(PrintedCharacters(sjis)));
  TextPrinter(engine, engine.text, sjis, TextPrinter::Target::kStory).Run();
}

void DrawTextOnPage(Engine& engine, TextWindow& page, std::string_view sjis, PageTextForm form) {
  TextPrinter(engine, page, sjis,
              form == PageTextForm::kBackLog ? TextPrinter::Target::kBackLogPage : TextPrinter::Target::kSpritePage)
      .Run();
}

void AttachText(Engine& engine) {
  engine.interp.text_sink = OutputText;
  InstallTextWindowHooks(engine);
  InstallWaitCursorHook(engine);
  InstallButtonHook(engine);
  InstallBackLogHook(engine);
  InstallTextPictureRenderer(engine);
}

void ResetTextForStartUp(Engine& engine) {
  engine.text = TextWindow{};
  // The hook the save subsystem installed when the Engine was made stays.
  const auto system_menu = engine.text_out.right_click.system_menu;
  engine.text_out = TextOutputState{};
  engine.text_out.right_click.system_menu = system_menu;
  engine.buttons = ButtonState{};
  engine.selection = SelectionState{};
  engine.back_log = BackLog{};
}

void ResetTextOutputForGame(Engine& engine) {
  TextOutputState& out = engine.text_out;
  out.wait_state = 0;
  out.cursor_showing = false;
  out.skip_to_page = false;
  out.routine_wait_pending = false;
  engine.selection.ForgetChoices();
  ResetWaitCursors(engine);
  engine.buttons.ClearTable();
}

}  // namespace orivane
