// The sound service on SDL2_mixer: its numbered channels play sounds decoded
// whole into memory (Mix_Chunk), its one music stream reads its file as it
// plays (Mix_Music: MIDI through a General MIDI soundfont, Ogg Vorbis, MP3,
// FLAC, WAV). The output is SDL's audio device, so SDL_AUDIODRIVER chooses
// where the sound goes: `disk` writes it to SDL_DISKAUDIOFILE, `dummy` throws
// it away.
//
// SDL opens one audio output per process: one service at a time may be open.
#pragma once

#include <memory>
#include <string>

#include "platform/audio_service.h"
#include "platform/sdl_audio/pcm_stream.h"

namespace orivane {

class SdlMixerAudio : public AudioService {
 public:
  SdlMixerAudio();
  // Stops every sound and closes the output and SDL's audio.
  ~SdlMixerAudio() override;
  SdlMixerAudio(const SdlMixerAudio&) = delete;
  SdlMixerAudio& operator=(const SdlMixerAudio&) = delete;

  bool Open() override;
  std::string OpenError() const override;
  AudioLoad LoadChannel(int channel, const std::string& path) override;
  void PlayChannel(int channel, bool loop, AudioLevel level) override;
  void ChainChannel(int channel, int next) override;
  void ReleaseChannel(int channel) override;
  bool ChannelPlaying(int channel) override;
  void SetChannelLevel(int channel, AudioLevel level) override;
  bool PlayMusic(const std::string& path, bool loop, AudioLevel level) override;
  void StopMusic() override;
  bool MusicPlaying() override;
  void SetMusicLevel(AudioLevel level) override;
  bool StartPcmStream(AudioLevel level) override;
  void QueuePcm(const int16_t* samples, size_t frames) override;
  void SetPcmStreamLevel(AudioLevel level) override;
  void StopPcmStream() override;

 private:
  struct Output;  // the open mixer, its channels and the music
  std::unique_ptr<Output> output_;
  PcmStream pcm_;  // mixed over the output while a movie plays
  bool tried_ = false;
  std::string open_error_;
};

}  // namespace orivane
