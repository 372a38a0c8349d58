// Placing the game picture in a window of any size, and the full-screen
// menu bar rule.
#include "platform/viewport.h"

#include <gtest/gtest.h>

namespace orivane {
namespace {

TEST(Viewport, PictureKeepsItsShapeAndIsCentred) {
  struct Case {
    int gw, gh;
    ViewRect area, expected;
  } cases[] = {
      {640, 480, {0, 20, 640, 480}, {0, 20, 640, 480}},        // the window as made
      {640, 480, {0, 0, 1920, 1080}, {240, 0, 1440, 1080}},    // wide screen: bars left and right
      {640, 480, {0, 20, 800, 1000}, {0, 220, 800, 600}},      // tall window: bars above and below
      {800, 600, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
      {320, 240, {0, 0, 333, 250}, {0, 0, 333, 249}},          // rounding keeps it inside
      {640, 480, {0, 0, 0, 0}, {0, 0, 0, 0}},                  // minimised
  };
  for (const Case& c : cases) {
    ViewRect r = FitPicture(c.gw, c.gh, c.area);
    EXPECT_EQ(r.x, c.expected.x);
    EXPECT_EQ(r.y, c.expected.y);
    EXPECT_EQ(r.w, c.expected.w);
    EXPECT_EQ(r.h, c.expected.h);
    EXPECT_LE(r.x + r.w, c.area.x + c.area.w);
    EXPECT_LE(r.y + r.h, c.area.y + c.area.h);
  }
}

TEST(Viewport, GamePointsSurviveTheWayToTheWindowAndBack) {
  ViewRect pictures[] = {{0, 20, 640, 480}, {240, 0, 1440, 1080}, {7, 3, 1280, 960}};  // only enlarged: a smaller picture merges game pixels
  for (const ViewRect& p : pictures) {
    for (int gy : {-20, -1, 0, 1, 239, 479}) {
      for (int gx : {0, 1, 320, 639}) {
        int wx = 0, wy = 0, bx = 0, by = 0;
        GameToWindow(p, 640, 480, gx, gy, wx, wy);
        WindowToGame(p, 640, 480, wx, wy, bx, by);
        EXPECT_EQ(bx, gx) << p.w << " " << gx << "," << gy;
        EXPECT_EQ(by, gy) << p.w << " " << gx << "," << gy;
      }
    }
  }
  int gx = 0, gy = 0;
  WindowToGame({0, 20, 640, 480}, 640, 480, 5, 10, gx, gy);
  EXPECT_EQ(gy, -10);  // the menu bar lies above the game
}

TEST(Viewport, FullScreenBarShowsOnlyInTheTopRowsOrAfterAlt) {
  FullScreenMenuRule rule;
  EXPECT_TRUE(rule.hidden);
  EXPECT_TRUE(rule.OnPointer(19));
  EXPECT_FALSE(rule.hidden);
  EXPECT_FALSE(rule.OnPointer(0));
  EXPECT_TRUE(rule.OnPointer(20));
  EXPECT_TRUE(rule.hidden);
  EXPECT_TRUE(rule.OnAltReleased());
  EXPECT_FALSE(rule.hidden);
  EXPECT_FALSE(rule.OnAltReleased());
}

}  // namespace
}  // namespace orivane
