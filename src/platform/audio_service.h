// The sound output of the machine, as the engine sees it: numbered channels
// that each play one sound decoded whole into memory, and one music stream
// that is read from its file while it plays. The platform hands the service
// out; the engine core never talks to a sound library itself.
//
// Levels are given as the engine keeps them: an attenuation in percent (0 =
// full, 100 = silent; −25 × a hundredths of a decibel in between) and a
// linear factor for the CD volume. The service turns a level into its
// library's volume in one place.
//
// Every call returns at once: no call waits for the sound to play. Calls come
// from the engine's thread only; the service's own mixing thread never calls
// back into the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orivane {

// How loud a channel or the music plays.
struct AudioLevel {
  int attenuation = 0;       // 0 … 100 percent; values outside are clamped
  uint16_t linear = 0xFFFF;  // a further linear factor, 0xFFFF = 1 (the CD volume)
};

// What loading a sound came to.
enum class AudioLoad {
  kLoaded,    // the channel holds the sound and can play it
  kNoDevice,  // there is no sound output; nothing will ever play
  kNotAudio,  // the file is missing, unreadable or of no format the service decodes
};

class AudioService {
 public:
  // Channels 0 … 49 are the script's, 50 and 51 carry the intro-and-loop
  // music, 52 is the wave player of `wave` and the voice shorthand.
  static constexpr int kChannelCount = 53;

  virtual ~AudioService() = default;

  // Opens the output the first time it is asked (44100 Hz, stereo, signed
  // 16 bits) and keeps it open until the service is destroyed, so that the
  // output is one continuous stream. False when no output can be opened;
  // the service then tries no more and every later call is silent.
  virtual bool Open() = 0;
  // Why Open failed (empty when it did not fail).
  virtual std::string OpenError() const = 0;

  // Decodes the file at `path` whole into `channel`, stopping and replacing
  // what the channel held. Opens the output when needed. A channel number
  // outside 0 … kChannelCount − 1 is refused as kNotAudio.
  virtual AudioLoad LoadChannel(int channel, const std::string& path) = 0;

  // Starts the loaded sound of `channel` from its beginning, once or in an
  // endless loop, at `level`. Nothing happens when the channel holds nothing.
  virtual void PlayChannel(int channel, bool loop, AudioLevel level) = 0;

  // Once `channel` ends by itself, `next` starts at once in an endless loop
  // (the intro of intro-and-loop music hands over to its loop part without
  // a gap). Forgotten when either channel is released or played again.
  virtual void ChainChannel(int channel, int next) = 0;

  // Stops the channel and frees its sound.
  virtual void ReleaseChannel(int channel) = 0;

  // Whether the channel plays now (a loop always does until released).
  virtual bool ChannelPlaying(int channel) = 0;

  // Changes the level of a channel that plays or is loaded.
  virtual void SetChannelLevel(int channel, AudioLevel level) = 0;

  // Starts the music stream on the file at `path` (any format the service
  // decodes: MIDI, Ogg Vorbis, MP3, FLAC, WAV), once or in an endless loop,
  // replacing the music that played. The file is read as it plays, not
  // whole. False when there is no output or the file cannot be played.
  virtual bool PlayMusic(const std::string& path, bool loop, AudioLevel level) = 0;

  // Stops the music stream.
  virtual void StopMusic() = 0;

  // Whether the music stream plays now.
  virtual bool MusicPlaying() = 0;

  // Changes the level of the music stream.
  virtual void SetMusicLevel(AudioLevel level) = 0;

  // A stream of sound samples its owner hands over as it makes them (a
  // movie's sound), mixed over everything else at `level`: 44100 Hz, signed
  // 16 bits, stereo interleaved. False when there is no output. One such
  // stream at a time; starting it again drops what was queued.
  virtual bool StartPcmStream(AudioLevel level) = 0;
  // Queues `frames` stereo sample pairs to play after those queued before.
  virtual void QueuePcm(const int16_t* samples, size_t frames) = 0;
  virtual void SetPcmStreamLevel(AudioLevel level) = 0;
  // Stops the stream and drops what was still queued.
  virtual void StopPcmStream() = 0;
};

// The service of a machine without sound output: nothing ever plays.
class NoAudio : public AudioService {
 public:
  bool Open() override { return false; }
  std::string OpenError() const override { return "this build has no sound output"; }
  AudioLoad LoadChannel(int, const std::string&) override { return AudioLoad::kNoDevice; }
  void PlayChannel(int, bool, AudioLevel) override {}
  void ChainChannel(int, int) override {}
  void ReleaseChannel(int) override {}
  bool ChannelPlaying(int) override { return false; }
  void SetChannelLevel(int, AudioLevel) override {}
  bool PlayMusic(const std::string&, bool, AudioLevel) override { return false; }
  void StopMusic() override {}
  bool MusicPlaying() override { return false; }
  void SetMusicLevel(AudioLevel) override {}
  bool StartPcmStream(AudioLevel) override { return false; }
  void QueuePcm(const int16_t*, size_t) override {}
  void SetPcmStreamLevel(AudioLevel) override {}
  void StopPcmStream() override {}
};

}  // namespace orivane
