#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // No test needs a sound card: unless the run chose a driver, sound goes
  // to SDL's dummy output, in this process and in the programs it starts.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
