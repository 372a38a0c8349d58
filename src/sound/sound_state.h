// The sound subsystem's record in the Engine: what each player plays, the
// numbered channels, the volumes, and the switches of the *define block.
//
// Four players share the machine's sound output (platform/audio_service.h):
//   - the wave player (`wave`, `waveloop`, the voice shorthand) on its own
//     channel, always at full volume;
//   - the effect channels 0 … 49 (`dwave` and relatives; 0 is the voice
//     channel) at the voice and effect volumes, and the two channels 50 and
//     51 that carry intro-and-loop music (`loopbgm`);
//   - MIDI (`play` with a file), CD-DA (`play "*n"`, a track file) and the
//     music of the `bgm` family, which take turns on the one music stream:
//     starting one takes the stream from whichever played before.
//
// Volumes are kept as attenuation percent (0 = full, 100 = silent), as the
// save and environment files store them; the script speaks of 100 − a.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

inline constexpr int kVoiceChannel = 0;
inline constexpr int kLastScriptChannel = 49;  // channels 0 … 49 are the script's
inline constexpr int kIntroChannel = 50;       // `loopbgm`: the introduction
inline constexpr int kLoopChannel = 51;        // `loopbgm`: the loop part
inline constexpr int kSoundChannels = 52;      // 0 … 51
inline constexpr int kWaveChannel = 52;        // the wave player's own channel
// The engine's interface sounds (clicks, choices, menus) use this channel.
inline constexpr int kInterfaceChannel = 10;
// `soundpressplgin` registers at most this many converters.
inline constexpr size_t kMaxSoundConverters = 50;

// A file a streaming player made for itself (an archived file written out,
// or a converted one); deleted when the player stops with it. Empty: none.
// The channels and the wave player decode a file whole and delete such a
// copy as soon as it is loaded.
struct TemporarySoundFile {
  std::string path;
};

struct EffectChannel {
  int32_t attenuation = 0;  // the level last given to the channel
  bool loaded = false;      // the channel holds a sound
  bool looping = false;
  bool playing = false;  // started and not yet released
  TemporarySoundFile temporary;
};

struct WavePlayer {
  std::string file;  // as the script named it (Shift-JIS); empty: none
  bool looping = false;
  // A voice started by the shorthand: the next left click stops it.
  bool stop_on_click = false;
};

struct MidiPlayer {
  std::string file;  // as the script named it; empty: none
  bool loop = false;
  TemporarySoundFile temporary;
};

struct CdPlayer {
  int32_t track = -1;  // −1: none
  bool loop = false;
  int32_t fade_ms = 1000;  // `cdfadeout`
  // The CD volume on the mixer's scale 0 … 65535 (`setcdvol`, `getcdvol`).
  int32_t volume = 0xFFFF;
  int32_t restore_volume = -1;  // `setcdrestorevol`; −1: none
  std::string drive;            // Shift-JIS; empty: the default drive
  int32_t tracks_on_disc = -1;  // counted at the first play; −1: not yet
};

// The music of the `bgm` / `mp3` family.
struct MusicGraph {
  std::string file;  // as the script named it
  bool loop = false;
  bool active = false;           // the music stream plays it
  int32_t attenuation = 0;       // applied now (changes while fading or lowered)
  int32_t base_attenuation = 0;  // set by `bgmvol` and relatives
  int32_t fade_out_ms = 0;
  int32_t fade_in_ms = 0;
  bool fading = false;          // a fade-out runs
  bool voice_on_graph = false;  // an MP3 voice (the `mv` shorthand) plays
  bool resume_on_load = false;  // save files restart it after loading
  TemporarySoundFile temporary;
};

// `loopbgm`: an introduction on channel 50 that hands over to a loop part on
// channel 51.
struct IntroLoopMusic {
  int32_t state = 0;  // 0 none, 1 the introduction plays, 2 the loop part plays
  std::string intro;
  std::string loop;
};

// Lowering the music while a voice plays (`bgmdownmode`).
struct MusicDucking {
  int32_t level = 0;  // 0: off
  uint32_t last_step = 0;
};

// Which player has the music stream.
enum class MusicStreamOwner { kNone, kMidi, kCd, kGraph };

struct SoundState {
  // The numbered channels and, last, the wave player's.
  std::array<EffectChannel, kWaveChannel + 1> channels;
  int32_t voice_attenuation = 0;
  int32_t effect_attenuation = 0;

  WavePlayer wave;
  MidiPlayer midi;
  CdPlayer cd;
  MusicGraph music;
  IntroLoopMusic intro_loop;
  MusicDucking ducking;
  MusicStreamOwner stream_owner = MusicStreamOwner::kNone;

  bool wave_demo = false;  // `mode_wave_demo`: sounds play in skip mode too
  bool no_dv = false;      // `nodv`: missing channel sounds are skipped silently
  // `soundpressplgin`: "ext|module" entries, the extension in lower case.
  std::vector<std::string> converters;

  bool output_failure_noted = false;  // the one note that there is no sound output
};

}  // namespace orivane
