// Geometry of a window that shows the game picture: where the picture goes
// when the window is larger or of another shape (scaled, aspect ratio kept,
// centred), how window points map to game coordinates and back, and when the
// menu bar shows in full screen.
#pragma once

namespace orivane {

struct ViewRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

// The largest rectangle of the game's shape that fits into `area`, centred.
ViewRect FitPicture(int game_w, int game_h, ViewRect area);

// A window point in game coordinates (rounded toward negative infinity, and
// possibly outside the game).
void WindowToGame(const ViewRect& picture, int game_w, int game_h, int wx, int wy, int& gx, int& gy);
// A game point in window coordinates.
void GameToWindow(const ViewRect& picture, int game_w, int game_h, int gx, int gy, int& wx, int& wy);

// In full screen the menu bar is hidden until the pointer comes into the top
// rows of the screen or Alt is released, and hidden again when the pointer
// leaves them.
struct FullScreenMenuRule {
  static constexpr int kTopRows = 20;
  bool hidden = true;

  // Returns true when the visibility changed.
  bool OnPointer(int screen_y) {
    bool hide = screen_y >= kTopRows;
    if (hide == hidden) return false;
    hidden = hide;
    return true;
  }
  bool OnAltReleased() {
    if (!hidden) return false;
    hidden = false;
    return true;
  }
};

}  // namespace orivane
