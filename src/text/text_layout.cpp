#include "text/text_layout.h"

#include "engine.h"
#include "script/error.h"

namespace orivane {

PenPosition CursorCellPosition(const TextWindow& w) {
  if (w.vertical)
    return {(w.columns - w.line - 1) * w.advance_x + w.text_left, w.column * w.advance_y + w.text_top};
  return {w.column * w.advance_x + w.text_left, w.line * w.advance_y + w.text_top};
}

PenPosition PenAtCursor(const TextWindow& w) {
  PenPosition p = CursorCellPosition(w);
  if (w.ruby_on) {
    if (w.vertical)
      p.x += w.glyph_width - w.advance_x;
    else
      p.y += w.advance_y - w.glyph_height;
  }
  return p;
}

// The text window's line breaks and indentation go into the back-log page,
// so that the viewer lays the page out as it was; other pages are not logged.
void BreakLine(Engine& engine, TextWindow& w, LineBreakLog log) {
  if (&w == &engine.text && log == LineBreakLog::kAppend) engine.back_log.Append("\n");
  if (w.line >= w.rows) ReportOverflow(engine);
  ++w.line;
  w.column = 0;
}

void ReportOverflow(Engine& engine) {
  ReportError(engine, "文字が枠をはみ出してしまいました。", "エラー");
}

void WrapLine(Engine& engine, TextWindow& page, LineBreakLog log) {
  BreakLine(engine, page, log);
  page.column += page.indent;
  if (&page == &engine.text && log == LineBreakLog::kAppend)
    for (int32_t i = 0; i < page.indent; ++i) engine.back_log.Append("\x81\x40");  // "　"
}

}  // namespace orivane
