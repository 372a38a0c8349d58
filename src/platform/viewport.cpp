#include "platform/viewport.h"

#include <cstdint>

namespace orivane {
namespace {

int FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
}

}  // namespace

ViewRect FitPicture(int game_w, int game_h, ViewRect area) {
  if (game_w <= 0 || game_h <= 0 || area.w <= 0 || area.h <= 0) return {area.x, area.y, 0, 0};
  ViewRect r;
  // Compare area.w / area.h with game_w / game_h without division.
  if (static_cast<int64_t>(area.w) * game_h <= static_cast<int64_t>(area.h) * game_w) {
    r.w = area.w;
    r.h = static_cast<int>(static_cast<int64_t>(area.w) * game_h / game_w);
  } else {
    r.h = area.h;
    r.w = static_cast<int>(static_cast<int64_t>(area.h) * game_w / game_h);
  }
  r.x = area.x + (area.w - r.w) / 2;
  r.y = area.y + (area.h - r.h) / 2;
  return r;
}

void WindowToGame(const ViewRect& p, int game_w, int game_h, int wx, int wy, int& gx, int& gy) {
  if (p.w <= 0 || p.h <= 0) {
    gx = gy = -1;
    return;
  }
  gx = FloorDiv(static_cast<int64_t>(wx - p.x) * game_w, p.w);
  gy = FloorDiv(static_cast<int64_t>(wy - p.y) * game_h, p.h);
}

void GameToWindow(const ViewRect& p, int game_w, int game_h, int gx, int gy, int& wx, int& wy) {
  if (game_w <= 0 || game_h <= 0) {
    wx = p.x;
    wy = p.y;
    return;
  }
  // The centre of the game pixel, so that the way back gives the same pixel.
  wx = p.x + FloorDiv((static_cast<int64_t>(gx) * 2 + 1) * p.w, 2 * static_cast<int64_t>(game_w));
  wy = p.y + FloorDiv((static_cast<int64_t>(gy) * 2 + 1) * p.h, 2 * static_cast<int64_t>(game_h));
}

}  // namespace orivane
