// Test support: a sound output that plays nothing and remembers everything
// the engine asked of it, so that tests can see which file each channel and
// the music hold, whether they loop, and every level they were given. A
// test ends a sound with Finish, as the end of its file would.
#pragma once

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio_service.h"

namespace orivane::test {

class RecordingAudio : public AudioService {
 public:
  struct Channel {
    std::string path;  // the file loaded; empty: none
    bool playing = false;
    bool loop = false;
    int attenuation = -1;  // the level last given
    int chained_to = -1;
    int plays = 0;    // how often it was started
    int queries = 0;  // how often it was asked whether it plays
  };
  struct Music {
    std::string path;  // the file of the stream; empty: none
    bool playing = false;
    bool loop = false;
    AudioLevel level;
    int plays = 0;
    std::vector<AudioLevel> levels;  // every level given while it played, the first included
  };

  std::array<Channel, kChannelCount> channels;
  Music music;
  bool opened = false;
  bool open_fails = false;
  // A sound on the channel that is started ends by itself after it was
  // asked about this many times (0: it plays until stopped).
  std::array<int, kChannelCount> plays_for_queries{};

  // The sound of the channel came to its end (a chained channel takes over).
  void Finish(int channel) {
    Channel& c = channels[channel];
    c.playing = false;
    if (c.chained_to >= 0) {
      Channel& next = channels[c.chained_to];
      next.playing = next.loop = true;
      ++next.plays;
      c.chained_to = -1;
    }
  }

  bool Open() override {
    opened = !open_fails;
    return opened;
  }
  std::string OpenError() const override { return open_fails ? "no device in this test" : ""; }

  // Any readable file whose first bytes are "RIFF" or "OggS" counts as sound.
  AudioLoad LoadChannel(int channel, const std::string& path) override {
    if (!Open()) return AudioLoad::kNoDevice;
    if (channel < 0 || channel >= kChannelCount) return AudioLoad::kNotAudio;
    channels[channel] = Channel{};
    if (!IsSound(path)) return AudioLoad::kNotAudio;
    channels[channel].path = path;
    return AudioLoad::kLoaded;
  }
  void PlayChannel(int channel, bool loop, AudioLevel level) override {
    Channel& c = channels[channel];
    if (c.path.empty()) return;
    c.playing = true;
    c.loop = loop;
    c.attenuation = level.attenuation;
    c.chained_to = -1;
    ++c.plays;
  }
  void ChainChannel(int channel, int next) override { channels[channel].chained_to = next; }
  void ReleaseChannel(int channel) override { channels[channel] = Channel{}; }
  bool ChannelPlaying(int channel) override {
    Channel& c = channels[channel];
    if (c.playing && plays_for_queries[channel] > 0 && ++c.queries >= plays_for_queries[channel])
      Finish(channel);
    return c.playing;
  }
  void SetChannelLevel(int channel, AudioLevel level) override {
    channels[channel].attenuation = level.attenuation;
  }

  bool PlayMusic(const std::string& path, bool loop, AudioLevel level) override {
    if (!Open()) return false;
    if (!IsSound(path) && !IsMidi(path)) return false;
    ++music.plays;
    music.path = path;
    music.playing = true;
    music.loop = loop;
    music.level = level;
    music.levels = {level};
    return true;
  }
  void StopMusic() override {
    music.path.clear();
    music.playing = false;
  }
  bool MusicPlaying() override { return music.playing; }
  void SetMusicLevel(AudioLevel level) override {
    music.level = level;
    music.levels.push_back(level);
  }
  bool StartPcmStream(AudioLevel) override { return false; }
  void QueuePcm(const int16_t*, size_t) override {}
  void SetPcmStreamLevel(AudioLevel) override {}
  void StopPcmStream() override {}

 private:
  static std::string Head(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[4] = {};
    in.read(head, 4);
    return std::string(head, static_cast<size_t>(in.gcount()));
  }
  static bool IsSound(const std::string& path) {
    const std::string h = Head(path);
    return h == "RIFF" || h == "OggS";
  }
  static bool IsMidi(const std::string& path) { return Head(path) == "MThd"; }
};

}  // namespace orivane::test
