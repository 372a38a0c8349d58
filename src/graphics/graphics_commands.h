// The picture commands of the script: sprites (lsp, csp, vsp, msp, amsp …),
// the background and the standing pictures (bg, ld, cl), showing the scene
// (print, repaint, blt), picture-loading switches (transmode, jpegmode,
// noloaderror, spi) and the transition settings (effect, effectblank …).
#pragma once

#include <cstdint>

namespace orivane {

class CommandTable;
struct Engine;
struct SpriteSlot;

void RegisterGraphicsCommands(CommandTable& table);

// Sprite `n` of the script; numbers beyond the table are reported
// ("定義されていないスプライト%dを使おうとしました。") instead of reaching past it.
SpriteSlot& SpriteAt(Engine& engine, int32_t n);

}  // namespace orivane
