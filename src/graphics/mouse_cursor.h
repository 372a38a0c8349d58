// `mousecursor`: the picture of the mouse pointer over the game window.
//   mousecursor off       the standard arrow
//   mousecursor "x.cur"   the cursor file, loose or out of the archives
// A file that is nowhere is "カーソルファイルが見つかりません。"; one that is
// found but is no cursor file is "カーソルファイル%sは読めません。" (both
// caption "エラー"). An archived cursor is written out to a temporary file
// for loading, which is deleted right after.
#pragma once

namespace orivane {

class CommandTable;

void RegisterMouseCursorCommand(CommandTable& table);

}  // namespace orivane
