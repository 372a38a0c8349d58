#include "sound/sound_lifecycle.h"

#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "sound/effect_channels.h"
#include "sound/movie_player.h"
#include "sound/music.h"
#include "sound/players.h"
#include "util/save_stream.h"

namespace orivane {
namespace {

// A left click stops a voice that the shorthand started.
void StopVoiceOnClick(Engine& engine) {
  if (!engine.sound.wave.stop_on_click) return;
  engine.sound.wave.stop_on_click = false;
  StopWave(engine);
}

// "S" of an extended-button state string: a sound on a channel.
void PlayStateSound(Engine& engine, int32_t channel, const std::string& name) {
  if (channel >= 0 && channel < kSoundChannels) PlayChannelFile(engine, channel, name, false);
}

}  // namespace

void AttachSound(Engine& engine) {
  AttachMusicDucking(engine);
  AttachMovies(engine);
  engine.shell.hooks.left_click = StopVoiceOnClick;
  engine.shell.hooks.cd_audio_switched = CdAudioSwitched;
  engine.graphics.hooks.play_state_sound = PlayStateSound;
}

void StopAllSound(Engine& engine, bool everything) {
  SoundState& s = engine.sound;
  StopIntroLoop(engine);
  s.cd.loop = s.midi.loop = s.music.loop = false;
  StopCdMusic(engine);
  StopMidi(engine);
  if (everything) {
    if (s.wave.looping) StopWave(engine);
    ReleaseSoundChannels(engine, true);
  }
  StopMusicFile(engine);
}

void ResetSoundForStartUp(Engine& engine) {
  StopMovie(engine);
  StopAllSound(engine, true);
  StopWave(engine);
  ReleaseSoundChannels(engine, false);
  SoundState& s = engine.sound;
  // What lasts beyond the *define block: the note already written, and the
  // CD drive and volume, which belong to the machine.
  const bool noted = s.output_failure_noted;
  const CdPlayer cd = s.cd;
  s = SoundState{};
  s.output_failure_noted = noted;
  s.cd.drive = cd.drive;
  s.cd.volume = cd.volume;
  s.cd.restore_volume = cd.restore_volume;
}

void ResetSoundForGame(Engine& engine) {
  StopMovie(engine);
  StopAllSound(engine, true);
}

void WriteSoundState(const Engine& engine, SaveWriter& out) {
  const SoundState& s = engine.sound;
  out.Str(s.midi.file);
  out.Str(s.wave.file);
  out.Int(s.cd.track);
  out.Int(s.midi.loop ? 1 : 0);
  out.Int(s.wave.looping ? 1 : 0);
  out.Int(s.cd.loop ? 1 : 0);
  out.Int(s.music.loop ? 1 : 0);
  out.Int(s.music.resume_on_load ? 1 : 0);
  out.Str(s.music.resume_on_load && !s.music.voice_on_graph ? s.music.file : std::string());
}

void ReadSoundState(SaveReader& in, SavedSound& saved) {
  saved.midi_file = in.Str();
  saved.wave_file = in.Str();
  saved.cd_track = in.Int();
  saved.midi_loop = in.Int() != 0;
  saved.wave_looping = in.Int() != 0;
  saved.cd_loop = in.Int() != 0;
  saved.music_loop = in.Int() != 0;
  saved.resume_on_load = in.Int() != 0;
  saved.music_file = in.Str();
}

void WriteIntroLoopNames(const Engine& engine, SaveWriter& out) {
  const IntroLoopMusic& il = engine.sound.intro_loop;
  out.Str(il.state != 0 ? il.intro : std::string());
  out.Str(il.state != 0 ? il.loop : std::string());
}

void ReadIntroLoopNames(SaveReader& in, SavedSound& saved) {
  saved.intro = in.Str();
  saved.loop = in.Str();
}

void TakeSavedSound(Engine& engine, const SavedSound& saved) {
  StopAllSound(engine, true);
  SoundState& s = engine.sound;
  s.midi.file = saved.midi_file;
  s.wave.file = saved.wave_file;
  s.cd.track = saved.cd_track;
  s.midi.loop = saved.midi_loop;
  s.wave.looping = saved.wave_looping;
  s.cd.loop = saved.cd_loop;
  s.music.loop = saved.music_loop;
  s.music.resume_on_load = saved.resume_on_load;
  // A voice on the music graph keeps it: the saved music does not take it back.
  if (saved.resume_on_load && !s.music.voice_on_graph) s.music.file = saved.music_file;
  s.intro_loop.intro = saved.intro;
  s.intro_loop.loop = saved.loop;
}

void RestartSoundAfterLoad(Engine& engine) {
  SoundState& s = engine.sound;
  // The names are taken before each player starts, since starting one
  // clears what it played before.
  const MidiPlayer midi = s.midi;
  const WavePlayer wave = s.wave;
  const CdPlayer cd = s.cd;
  const MusicGraph music = s.music;
  const IntroLoopMusic intro_loop = s.intro_loop;
  s.midi.file.clear();
  s.wave = WavePlayer{};
  s.cd.track = -1;
  s.music.file.clear();
  s.intro_loop = IntroLoopMusic{};
  if (!midi.file.empty()) PlayMidi(engine, midi.file, midi.loop);
  // A one-shot wave of the page saved has been heard: only a loop goes on.
  if (wave.looping && !wave.file.empty()) PlayWave(engine, wave.file, true);
  if (cd.track > 0 && cd.loop) StartCdTrack(engine, cd.track, true);
  if (music.resume_on_load && !music.file.empty()) PlayMusicFile(engine, music.file, music.loop);
  if (!intro_loop.intro.empty()) PlayIntroLoop(engine, intro_loop.intro, intro_loop.loop);
}

}  // namespace orivane
