// Test support for the sound tests: a game directory with a few sound files
// (whose contents only need the first bytes a real file has) and whole
// headless runs whose sound output is a RecordingAudio.
#pragma once

#include <string>

#include "platform/platform.h"
#include "support/game_fixture.h"
#include "support/recording_audio.h"
#include "support/scripted_run.h"

namespace orivane::test {

struct SoundGame {
  GameDir game;
  RecordingAudio audio;
  uint32_t end_ticks = 0;  // the engine clock when the run ended

  SoundGame() {
    for (const char* name :
         {"se.wav", "a.ogg", "b.ogg", "intro.ogg", "loop.ogg", "voice/0001.wav", "voice/0001.mp3"})
      game.WriteBytes(name, std::string("RIFF") + std::string(40, '\0'));
    game.WriteBytes("song.mid", std::string("MThd") + std::string(20, '\0'));
    game.WriteBytes("noise.wav", std::string(44, 'x'));
  }

  // Runs a game of `define` and `body` (each a block of lines) with the
  // scripted player's `input`.
  RunResult Run(const std::string& define, const std::string& body, const std::string& input = "") {
    game.Write("0.txt", "*define\n" + define + "\ngame\n*start\n" + body + "\nend\n");
    return RunScripted(
        game, input, [this](Engine& e) { end_ticks = e.platform.Ticks(); }, 20000, &audio);
  }

  // Whether the file of a channel or the music is `name` (relative to the game).
  static bool Holds(const std::string& path, const std::string& name) {
    return path.size() >= name.size() &&
           path.compare(path.size() - name.size(), name.size(), name) == 0;
  }
};

}  // namespace orivane::test
