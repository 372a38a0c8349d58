// The screen copies a script keeps for its own save screens: `getscreenshot`
// shrinks the screen to a given size and keeps it, `savescreenshot` writes it
// as a BMP file and lets it go, `savescreenshot2` writes it and keeps it,
// `deletescreenshot` lets it go. Files are written only inside the game
// folder.
#pragma once

namespace orivane {

class CommandTable;

void RegisterScreenshotCommands(CommandTable& table);

}  // namespace orivane
