// The picture commands of the script: sprites (lsp, csp, vsp, msp, amsp …),
// the background and the standing pictures (bg, ld, cl), showing the scene
// (print, repaint, blt), picture-loading switches (transmode, jpegmode,
// noloaderror, spi) and the transition settings (effect, effectblank …).
#pragma once

namespace orivane {

class CommandTable;

void RegisterGraphicsCommands(CommandTable& table);

}  // namespace orivane
