// Text output: prints story text into the text window character by
// character — the glyphs with their typing delay, the line breaking of the
// grid, ruby, colours, the inline waits and the click and page waits with
// their cursor. Story-text lines come from the interpreter; `puttext` prints
// a string the same way.
#pragma once

#include <string_view>

namespace orivane {

struct Engine;
struct TextWindow;

// Once, when the Engine is made: story-text lines from the interpreter come
// to OutputText, and composition draws the text window and the wait cursor.
void AttachText(Engine& engine);

// Before the script is loaded again: the text window and text output as a
// fresh run has them.
void ResetTextForStartUp(Engine& engine);

// The game reset: no wait in progress, both wait cursors from their default
// pictures.
void ResetTextOutputForGame(Engine& engine);

// One call of text output (Shift-JIS, gathered already). The headless
// platform writes its printed characters to standard output first.
void OutputText(Engine& engine, std::string_view sjis);

// How a text given for a page is laid out: as story text is (lines wrap at
// the end of the grid), or as a back-log page, whose line feeds and spaces
// already say where each line ends and how far it is indented.
enum class PageTextForm { kStory, kBackLog };

// Lays the text out on `page` (its grid from text_left, text_top; glyphs into
// its layer), at once, without waits, echo, back-log or screen: the pages
// that sprites and the back-log viewer show.
void DrawTextOnPage(Engine& engine, TextWindow& page, std::string_view sjis, PageTextForm form);

}  // namespace orivane
