#include "platform/sdl_audio/sdl_mixer_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "platform/sdl_audio/general_midi_soundfont.h"
#include "platform/sdl_audio/handover_delay.h"
#include "platform/sdl_audio/mixer_volume.h"

namespace orivane {

namespace {

constexpr int kOutputFrequency = 44100;
constexpr int kOutputChannels = 2;
// 1024 frames (23 ms) per mixing buffer: short enough that a sound starts
// within a frame of the screen, long enough not to starve on a busy machine.
constexpr int kMixFrames = 1024;

bool ValidChannel(int channel) {
  return channel >= 0 && channel < AudioService::kChannelCount;
}

// Only regular files are handed to the decoders: a directory fails late and
// obscurely, and a named pipe would block the engine's thread for good.
bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

// The open mixer. Threads: every call comes from the engine's thread; the
// mixer's own thread runs the effect callbacks below while it holds the
// device lock, and takes that lock again (it is recursive) for the calls it
// makes from them. The engine's thread holds no lock of ours while it calls
// the mixer, so the two threads never wait on each other in opposite order.
struct SdlMixerAudio::Output {
  struct Channel {
    Output* output = nullptr;
    int number = 0;
    // Written by the engine's thread only after it has halted the channel
    // and forgotten every hand-over to it (both under the device lock), so
    // a read by the mixer's thread during a hand-over happens before.
    Mix_Chunk* chunk = nullptr;
    bool played = false;  // played since it was loaded (engine's thread)
    // The channel to start looping when this one ends by itself, or −1.
    // Whichever thread exchanges it to −1 first acts on it.
    std::atomic<int> next{-1};
    // How many bytes of this channel the mixer took for its latest buffer;
    // in the buffer where a one-shot sound ends, that is where it ended.
    std::atomic<int> last_piece{0};
    HandoverDelay delay;  // the mixer's thread only
  };

  std::array<Channel, kChannelCount> channels;
  Mix_Music* music = nullptr;

  Output() {
    for (int i = 0; i < kChannelCount; ++i) {
      channels[i].output = this;
      channels[i].number = i;
    }
  }

  // Forgets every hand-over from or to `channel`.
  void ForgetHandovers(int channel) {
    channels[channel].next.store(-1);
    for (Channel& c : channels) {
      int expected = channel;
      c.next.compare_exchange_strong(expected, -1);
    }
  }

  // Starts `channel` looping, its first sample `delay_bytes` into the buffer
  // being mixed (0: at the start of the next one).
  void StartLoopPart(int channel, int delay_bytes) {
    Channel& loop = channels[channel];
    if (!loop.chunk) return;
    Mix_UnregisterAllEffects(channel);
    if (Mix_PlayChannel(channel, loop.chunk, -1) < 0) return;
    if (delay_bytes > 0) {
      loop.delay.Start(static_cast<size_t>(delay_bytes));
      Mix_RegisterEffect(channel, &Output::DelayPiece, nullptr, &loop);
    }
  }

  // Stops everything and frees the sounds; afterwards no callback of ours
  // runs any more.
  void Close() {
    for (int i = 0; i < kChannelCount; ++i) ForgetHandovers(i);
    Mix_HaltChannel(-1);
    for (int i = 0; i < kChannelCount; ++i) {
      Mix_UnregisterAllEffects(i);
      if (channels[i].chunk) Mix_FreeChunk(channels[i].chunk);
      channels[i].chunk = nullptr;
    }
    if (music) {
      Mix_HaltMusic();
      Mix_FreeMusic(music);
      music = nullptr;
    }
  }

  // Effect on a channel with a hand-over: notes the size of each piece.
  static void SDLCALL NotePiece(int, void*, int len, void* udata) {
    static_cast<Channel*>(udata)->last_piece.store(len, std::memory_order_relaxed);
  }

  // Called when that channel's effects end: when it ended by itself (the
  // mixer, right after its last piece) or was stopped (the engine, which
  // forgot the hand-over first).
  static void SDLCALL EndOfIntro(int, void* udata) {
    Channel& intro = *static_cast<Channel*>(udata);
    int next = intro.next.exchange(-1);
    if (next < 0) return;
    // The mixer goes through the channels in order: a higher-numbered loop
    // part is still to be mixed into this buffer, right where the intro
    // ended. A lower-numbered one was passed already and starts with the
    // next buffer.
    int delay = next > intro.number ? intro.last_piece.load(std::memory_order_relaxed) : 0;
    intro.output->StartLoopPart(next, delay);
  }

  // Effect on a loop part that took over inside a buffer.
  static void SDLCALL DelayPiece(int, void* stream, int len, void* udata) {
    static_cast<Channel*>(udata)->delay.Process(static_cast<uint8_t*>(stream),
                                                static_cast<size_t>(len));
  }
};

SdlMixerAudio::SdlMixerAudio() = default;

SdlMixerAudio::~SdlMixerAudio() {
  if (!output_) return;
  Mix_SetPostMix(nullptr, nullptr);
  output_->Close();
  Mix_CloseAudio();
  output_.reset();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  // The last one out cleans up the rest of SDL.
  if (SDL_WasInit(0) == 0) SDL_Quit();
}

bool SdlMixerAudio::Open() {
  if (output_) return true;
  if (tried_) return false;
  tried_ = true;
  int frequency = 0;
  Uint16 format = 0;
  int channels = 0;
  if (Mix_QuerySpec(&frequency, &format, &channels) != 0) {
    open_error_ = "the sound output is already open in this process";
    return false;
  }
  // The engine handles SIGINT and SIGTERM itself; SDL's events, which come
  // up with its audio, must not turn them into a quit event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Standard error carries the engine's reports and notes only. SDL's audio
  // drivers log there on their own (the disk driver warns of itself on
  // every open); what matters of a failure comes back through OpenError.
  SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    open_error_ = std::string("SDL audio: ") + SDL_GetError();
    return false;
  }
  // MIDI plays through a General MIDI soundfont; the player's own choice in
  // SDL_SOUNDFONTS wins over the one looked for here.
  if (!std::getenv("SDL_SOUNDFONTS")) {
    std::string soundfont = FirstExistingFile(GeneralMidiSoundFonts());
    if (!soundfont.empty()) Mix_SetSoundFonts(soundfont.c_str());
  }
  // Whichever decoders this SDL_mixer has; a missing one only means its
  // files are refused.
  Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MID);
  if (Mix_OpenAudio(kOutputFrequency, AUDIO_S16SYS, kOutputChannels, kMixFrames) != 0) {
    open_error_ = std::string("cannot open the sound output: ") + Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(kChannelCount);
  output_ = std::make_unique<Output>();
  return true;
}

std::string SdlMixerAudio::OpenError() const {
  return open_error_;
}

AudioLoad SdlMixerAudio::LoadChannel(int channel, const std::string& path) {
  if (!ValidChannel(channel)) return AudioLoad::kNotAudio;
  if (!Open()) return AudioLoad::kNoDevice;
  ReleaseChannel(channel);
  if (!IsRegularFile(path)) return AudioLoad::kNotAudio;
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (!chunk) return AudioLoad::kNotAudio;
  output_->channels[channel].chunk = chunk;
  return AudioLoad::kLoaded;
}

void SdlMixerAudio::PlayChannel(int channel, bool loop, AudioLevel level) {
  if (!output_ || !ValidChannel(channel)) return;
  Output::Channel& c = output_->channels[channel];
  if (!c.chunk) return;
  output_->ForgetHandovers(channel);
  Mix_UnregisterAllEffects(channel);
  Mix_Volume(channel, MixerVolume(level));
  if (Mix_PlayChannel(channel, c.chunk, loop ? -1 : 0) >= 0) c.played = true;
}

void SdlMixerAudio::ChainChannel(int channel, int next) {
  if (!output_ || !ValidChannel(channel) || !ValidChannel(next) || channel == next) return;
  Output::Channel& intro = output_->channels[channel];
  intro.next.store(-1);
  // One watcher per channel: drop the one of an earlier hand-over.
  Mix_UnregisterEffect(channel, &Output::NotePiece);
  Mix_RegisterEffect(channel, &Output::NotePiece, &Output::EndOfIntro, &intro);
  intro.next.store(next);
  // A channel that ended before its watcher was in place hands over now.
  if (!Mix_Playing(channel) && intro.next.exchange(-1) >= 0 && intro.played)
    output_->StartLoopPart(next, 0);
}

void SdlMixerAudio::ReleaseChannel(int channel) {
  if (!output_ || !ValidChannel(channel)) return;
  Output::Channel& c = output_->channels[channel];
  output_->ForgetHandovers(channel);
  Mix_HaltChannel(channel);
  Mix_UnregisterAllEffects(channel);
  if (c.chunk) Mix_FreeChunk(c.chunk);
  c.chunk = nullptr;
  c.played = false;
}

bool SdlMixerAudio::ChannelPlaying(int channel) {
  return output_ && ValidChannel(channel) && Mix_Playing(channel) != 0;
}

void SdlMixerAudio::SetChannelLevel(int channel, AudioLevel level) {
  if (!output_ || !ValidChannel(channel)) return;
  Mix_Volume(channel, MixerVolume(level));
}

bool SdlMixerAudio::PlayMusic(const std::string& path, bool loop, AudioLevel level) {
  if (!Open()) return false;
  StopMusic();
  if (!IsRegularFile(path)) return false;
  // The decoder is chosen by the file's content, not its name: a name says
  // little in a game folder, and a decoder handed what it does not know may
  // take noise for music.
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (!file) return false;
  Mix_Music* music = Mix_LoadMUS_RW(file, 1);  // owns the file from here, also when it fails
  if (!music) return false;
  Mix_VolumeMusic(MixerVolume(level));
  if (Mix_PlayMusic(music, loop ? -1 : 1) != 0) {
    Mix_FreeMusic(music);
    return false;
  }
  output_->music = music;
  return true;
}

void SdlMixerAudio::StopMusic() {
  if (!output_ || !output_->music) return;
  Mix_HaltMusic();
  Mix_FreeMusic(output_->music);
  output_->music = nullptr;
}

bool SdlMixerAudio::MusicPlaying() {
  return output_ && output_->music && Mix_PlayingMusic() != 0;
}

void SdlMixerAudio::SetMusicLevel(AudioLevel level) {
  if (output_) Mix_VolumeMusic(MixerVolume(level));
}

bool SdlMixerAudio::StartPcmStream(AudioLevel level) {
  if (!Open()) return false;
  pcm_.Restart(MixerVolume(level));
  Mix_SetPostMix(
      [](void* udata, Uint8* stream, int len) {
        static_cast<PcmStream*>(udata)->MixInto(reinterpret_cast<int16_t*>(stream),
                                                static_cast<size_t>(len) / sizeof(int16_t));
      },
      &pcm_);
  return true;
}

void SdlMixerAudio::QueuePcm(const int16_t* samples, size_t frames) {
  if (output_) pcm_.Queue(samples, frames * kOutputChannels);
}

void SdlMixerAudio::SetPcmStreamLevel(AudioLevel level) {
  pcm_.SetVolume(MixerVolume(level));
}

void SdlMixerAudio::StopPcmStream() {
  if (output_) Mix_SetPostMix(nullptr, nullptr);
  pcm_.Clear();
}

}  // namespace orivane
