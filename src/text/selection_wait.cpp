#include "text/selection_wait.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "engine.h"
#include "save/save_point.h"
#include "graphics/effects.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "sound/effect_channels.h"
#include "text/back_log_viewer.h"
#include "text/line_breaking.h"
#include "text/right_click.h"
#include "text/text_draw.h"
#include "text/text_layout.h"
#include "text/text_window_display.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Up and Down held down move the pointer at most one choice this often.
constexpr uint32_t kKeyStepMs = 125;

// One character cell of a printed choice, kept so that the choice can be
// drawn again in another colour.
struct ChoiceCell {
  int32_t x = 0;
  int32_t y = 0;
  uint8_t first = 0;
  uint8_t second = 0;
};

struct PrintedChoice {
  int32_t first_line = 0;
  int32_t last_line = 0;  // the line of its last character
  std::vector<ChoiceCell> cells;
};

// The character unit at `at`, as story text takes them: a two-byte
// character, or one or two single-byte characters sharing a cell (a single
// byte before a two-byte character keeps its cell alone). Returns where the
// next unit begins.
size_t NextUnit(std::string_view t, size_t at, uint8_t& first, uint8_t& second) {
  first = static_cast<uint8_t>(t[at]);
  second = 0;
  if (at + 1 >= t.size()) return at + 1;
  const uint8_t next = static_cast<uint8_t>(t[at + 1]);
  if (IsSjisLead(first) || !IsSjisLead(next)) {
    second = next;
    return at + 2;
  }
  return at + 1;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int32_t ClampToInt(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

class SelectionWait {
 public:
  SelectionWait(Engine& engine, const std::vector<Choice>& choices)
      : engine_(engine), w_(engine.text), choices_(choices) {}

  int32_t Run() {
    SettleSavePoint(engine_, engine_.save_point);  // the choices are about to fill the page
    PlayInterfaceSound(engine_, engine_.selection.voice_shown);
    engine_.read_flags.skip_mode = false;
    if (!w_.shown) ShowTextWindow(engine_);
    Print();

    InputState& in = engine_.input;
    engine_.platform.DiscardPendingClicks();
    in.left_clicked = in.right_clicked = false;
    // The highlight is right at once when the pointer already stands on a
    // choice: where the last pointer event left it, whatever came since (a
    // menu command, a key).
    if (in.pointer_known) Highlight(HitTest(in.pointer_x, in.pointer_y));

    for (;;) {
      if (engine_.interp.reset_request) return kSelectionAbandoned;
      if (in.left_clicked) {
        in.left_clicked = false;
        if (highlighted_ >= 0) return Take(highlighted_);
      }
      // A right click (or Escape) takes the highlight away and runs the
      // right-click action; a routine, a reset or a jump ends the selection.
      if (in.right_clicked || escape_) {
        in.right_clicked = false;
        escape_ = false;
        Highlight(-1);
        if (RunRightClickAction(engine_, false) != RightClickEnd::kWaitGoesOn) return kSelectionAbandoned;
      }
      PlayerEvent e;
      if (PumpOne(engine_, &e)) {
        React(e);
        continue;
      }
      const IdleVerdict verdict = engine_.platform.PlayerIdle(PlayerWait::kSelection);
      if (verdict.what == IdleVerdict::What::kChoose) return TakeScripted(verdict);
      if (verdict.what == IdleVerdict::What::kEndRun)
        EndRunForMissingPlayer(engine_, verdict.note, verdict.status);
      SleepUntil(engine_, verdict.due);
    }
  }

 private:
  static bool IsPointerEvent(PlayerEvent::Kind kind) {
    return kind == PlayerEvent::Kind::kPointerMove || kind == PlayerEvent::Kind::kButtonDown ||
           kind == PlayerEvent::Kind::kButtonUp;
  }

  // Each choice on a line of its own, all from the cursor's column, wrapped
  // by the rules of story text. Choices are not story text: neither they
  // nor their line breaks go into the back-log.
  void Print() {
    if (w_.column == 0 && w_.line == 0) w_.vertical = w_.pending_vertical;
    start_column_ = w_.column;
    for (size_t i = 0; i < choices_.size(); ++i) PrintChoice(choices_[i].text, i == 0);
    ShowDirtyNow(engine_);
  }

  void PrintChoice(std::string_view text, bool first_choice) {
    // A choice that filled its last line has wrapped onto a fresh one already.
    if (!first_choice && !line_fresh_) BreakLine(engine_, w_, LineBreakLog::kSkip);
    w_.column = start_column_;
    PenPosition pen = PenAtCursor(w_);
    PrintedChoice printed;
    printed.first_line = w_.line;
    const int32_t limit = w_.vertical ? w_.rows : w_.columns;
    for (size_t at = 0; at < text.size();) {
      ChoiceCell cell{pen.x, pen.y, 0, 0};
      at = NextUnit(text, at, cell.first, cell.second);
      DrawCell(cell, engine_.selection.normal_color);
      printed.cells.push_back(cell);
      printed.last_line = w_.line;
      line_fresh_ = false;
      if (w_.vertical)
        pen.y += w_.advance_y;
      else
        pen.x += w_.advance_x;
      ++w_.column;
      if (MustBreakLine(w_.column, limit, text.substr(at))) {
        WrapLine(engine_, w_, LineBreakLog::kSkip);
        pen = PenAtCursor(w_);
        line_fresh_ = true;
      }
    }
    largest_ = std::max(largest_, static_cast<int64_t>(printed.cells.size()));
    printed_.push_back(std::move(printed));
  }

  void DrawCell(const ChoiceCell& c, uint32_t rgb) {
    const GlyphCell& glyph =
        engine_.glyphs.Get(engine_.platform.Fonts(), PageFont(w_), c.first, c.second);
    const PixelRect r = PutGlyphOnPage(w_, engine_.graphics.mul, c.x, c.y, glyph, rgb);
    if (!r.empty())
      engine_.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine_.screen_width,
                                 engine_.screen_height);
  }

  // The choice whose lines and columns hold the point: its lines run from
  // its first line to the next choice's first (the last one's to the line
  // after its text), its columns over the longest choice. -1 for none.
  int HitTest(int64_t x, int64_t y) const {
    if (w_.advance_x <= 0 || w_.advance_y <= 0) return -1;
    const int64_t line = w_.vertical ? w_.columns - 1 - FloorDiv(x - w_.text_left, w_.advance_x)
                                     : FloorDiv(y - w_.text_top, w_.advance_y);
    const int64_t column = w_.vertical ? FloorDiv(y - w_.text_top, w_.advance_y)
                                       : FloorDiv(x - w_.text_left, w_.advance_x);
    if (column < start_column_ || column >= start_column_ + largest_) return -1;
    for (size_t i = 0; i < printed_.size(); ++i) {
      const int64_t end =
          i + 1 < printed_.size() ? printed_[i + 1].first_line : printed_[i].last_line + 1;
      if (line >= printed_[i].first_line && line < end) return static_cast<int>(i);
    }
    return -1;
  }

  // Draws the old choice in the normal colour and the new one highlighted.
  void Highlight(int k) {
    if (k == highlighted_) return;
    const SelectionState& sel = engine_.selection;
    if (highlighted_ >= 0)
      for (const ChoiceCell& c : printed_[highlighted_].cells) DrawCell(c, sel.normal_color);
    highlighted_ = k;
    if (k >= 0) PlayInterfaceSound(engine_, sel.voice_over);
    if (k >= 0)
      for (const ChoiceCell& c : printed_[k].cells) DrawCell(c, sel.highlight_color);
    ShowDirtyNow(engine_);
  }

  void React(const PlayerEvent& e) {
    // A posted menu command is reported as a default event; the window
    // procedure's record tells it apart.
    if (e.kind != engine_.input.last_event) return;
    if (IsPointerEvent(e.kind)) {
      Highlight(HitTest(e.x, e.y));
    } else if (e.kind == PlayerEvent::Kind::kKeyDown) {
      if (e.key == kKeyArrowUp) Step(-1);
      if (e.key == kKeyArrowDown) Step(1);
      // Escape stands for the right click.
      if (e.key == kKeyEscape) escape_ = true;
    } else if (e.kind == PlayerEvent::Kind::kWheel && e.value > 0) {
      OpenBackLog(engine_);
    }
  }

  // Up and Down: the pointer goes to the previous or next choice, round the
  // ends, just inside its first cell.
  void Step(int direction) {
    const uint32_t now = engine_.platform.Ticks();
    if (last_step_ && !TimeReached(now, *last_step_ + kKeyStepMs)) return;
    last_step_ = now;
    const int n = static_cast<int>(printed_.size());
    const int k =
        highlighted_ < 0 ? (direction > 0 ? 0 : n - 1) : (highlighted_ + direction + n) % n;
    const int64_t line = printed_[k].first_line;
    int64_t x, y;
    if (w_.vertical) {
      x = int64_t{w_.text_left} + (w_.columns - line - 1) * w_.advance_x + w_.advance_x / 2;
      y = int64_t{w_.text_top} + start_column_ * w_.advance_y + 1;
    } else {
      x = int64_t{w_.text_left} + start_column_ * w_.advance_x + 1;
      y = int64_t{w_.text_top} + line * w_.advance_y + w_.advance_y / 2;
    }
    engine_.platform.WarpPointer(ClampToInt(x), ClampToInt(y));
    Highlight(k);
  }

  int32_t TakeScripted(const IdleVerdict& verdict) {
    if (verdict.choice < 1 || static_cast<size_t>(verdict.choice) > printed_.size())
      EndRunForMissingPlayer(engine_,
                             "orivane: " + verdict.note + ": there is no option " +
                                 std::to_string(verdict.choice) + " in a selection of " +
                                 std::to_string(printed_.size()),
                             2);
    return Take(verdict.choice - 1);
  }

  int32_t Take(int k) {
    Highlight(-1);
    PlayInterfaceSound(engine_, engine_.selection.voice_taken);
    return k;
  }

  Engine& engine_;
  TextWindow& w_;
  const std::vector<Choice>& choices_;
  std::vector<PrintedChoice> printed_;
  int32_t start_column_ = 0;
  int64_t largest_ = 0;      // cells of the longest choice
  bool line_fresh_ = false;  // the last wrap started a line nothing is drawn on yet
  int highlighted_ = -1;
  bool escape_ = false;  // Escape was pressed: the right-click action is due
  std::optional<uint32_t> last_step_;
};

}  // namespace

int32_t RunSelectionWait(Engine& engine, const std::vector<Choice>& choices) {
  if (choices.empty()) return kSelectionAbandoned;
  return SelectionWait(engine, choices).Run();
}

}  // namespace orivane
