// Where characters go on the page: the pen position of the window's cursor,
// the line break and the automatic wrap with its indentation. Horizontal
// writing fills a line left to right and lines run downwards; vertical
// writing fills a line top to bottom and lines run from right to left.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;
struct TextWindow;

struct PenPosition {
  int32_t x = 0;
  int32_t y = 0;
};

// The pixel position of the cursor cell, as `getcursorpos` reports it.
PenPosition CursorCellPosition(const TextWindow& window);

// Where the next character is drawn: the cursor cell, lowered (moved, in
// vertical writing) to leave room for ruby when `rubyon` is in force.
PenPosition PenAtCursor(const TextWindow& window);

// Whether a line break of the text window goes into the back-log page: the
// breaks of story text do, the breaks between printed choices do not (the
// choices themselves are never logged, so their breaks alone would leave a
// page of nothing but line feeds).
enum class LineBreakLog : bool { kSkip, kAppend };

// One line break on `page` (the text window, or a page drawn for a sprite):
// the next line, column 0. The text window's line breaks, and the
// indentation of its wraps, are written into the back-log page unless
// `log` says otherwise. A page that is full may break once more, below
// its last line; the overflow is reported when something is put there
// (a character, or another line break).
void BreakLine(Engine& engine, TextWindow& page, LineBreakLog log = LineBreakLog::kAppend);

// "文字が枠をはみ出してしまいました。": text below the last line.
[[noreturn]] void ReportOverflow(Engine& engine);

// The automatic wrap: a line break, then the `indent` columns.
void WrapLine(Engine& engine, TextWindow& page, LineBreakLog log = LineBreakLog::kAppend);

}  // namespace orivane
