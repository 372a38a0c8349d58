// The sound subsystem's steps in the engine's lifecycle (see subsystems.h),
// stopping everything, and its part of the save files: the players' names
// and switches, written and read where the save file keeps them, and the
// music started again after a load.
#pragma once

#include <cstdint>
#include <string>

namespace orivane {

struct Engine;
class SaveWriter;
class SaveReader;

// Once: the lowering under voices joins the wake list; the window's left
// click and CD switch reach the players.
void AttachSound(Engine& engine);
// Before the *define block runs again: everything stops and the block's
// settings (volumes, fades, converters, switches) are forgotten.
void ResetSoundForStartUp(Engine& engine);
// At every game start and `reset`: everything stops.
void ResetSoundForGame(Engine& engine);

// Stops the intro-and-loop music, the CD (with its fade), MIDI and the
// music, forgetting their loops; with `everything`, also a looping wave and
// every looping channel.
void StopAllSound(Engine& engine, bool everything);

// The sound of a save file as read, before any of it reaches the players: a
// load reads the whole file first and takes it only when it is whole.
struct SavedSound {
  std::string midi_file;
  std::string wave_file;
  int32_t cd_track = -1;
  bool midi_loop = false;
  bool wave_looping = false;
  bool cd_loop = false;
  bool music_loop = false;
  bool resume_on_load = false;
  std::string music_file;  // empty when the music was not to resume
  std::string intro;       // the intro-and-loop music's two names
  std::string loop;
};

// The save file's sound record: MIDI and wave names, CD track, the loop
// switches, whether the music resumes, and the music's name.
void WriteSoundState(const Engine& engine, SaveWriter& out);
void ReadSoundState(SaveReader& in, SavedSound& saved);
// The names of the intro-and-loop music, kept in another place of the file.
void WriteIntroLoopNames(const Engine& engine, SaveWriter& out);
void ReadIntroLoopNames(SaveReader& in, SavedSound& saved);
// A checked load: everything playing stops, and the players take the saved
// names and switches (nothing starts yet).
void TakeSavedSound(Engine& engine, const SavedSound& saved);
// After a load: the music, MIDI, CD track, looping wave and intro-and-loop
// music that the file names start again.
void RestartSoundAfterLoad(Engine& engine);

}  // namespace orivane
