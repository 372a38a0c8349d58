#include "text/draw_text_command.h"

#include "engine.h"
#include "script/command_table.h"
#include "text/text_window_paint.h"

namespace orivane {
namespace {

// The window is painted as it stands, whether or not it is on the screen:
// the script asked for it.
void CmdDrawText(Engine& engine) {
  DisplaySurface& display = engine.display;
  PaintTextWindow(engine.text, engine.graphics.mul, PixelView(display),
                  PixelRect{0, 0, display.width - 1, display.height - 1});
}

}  // namespace

void RegisterDrawTextCommand(CommandTable& table) {
  table.Register("drawtext", CmdDrawText);
}

}  // namespace orivane
