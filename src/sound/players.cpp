#include "sound/players.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine.h"
#include "platform/platform.h"
#include "sound/effect_channels.h"
#include "sound/sound_files.h"
#include "sound/sound_output.h"
#include "util/game_path.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr int32_t kMaxCdTracks = 99;
constexpr const char* kCdExtensions[] = {".ogg", ".mp3", ".flac", ".wav"};

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder of the chosen drive: a folder under cd/, or cd/ itself for the
// default and for a drive this machine has no folder for (a Windows drive
// letter kept from another system).
std::string CdFolder(const std::string& drive) {
  if (drive.empty() || !IsInsideGameDirectory(drive)) return "cd";
  const std::string folder = "cd/" + SjisToUtf8(drive);
  return IsDirectory(folder) ? folder : "cd";
}

// The file of CD track `track` in `folder`, or empty when the disc lacks it.
std::string CdTrackFile(const std::string& folder, int32_t track) {
  char stem[32];
  std::snprintf(stem, sizeof stem, "/track%02d", track);
  for (const char* ext : kCdExtensions) {
    std::string path = folder + stem + ext;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
  }
  return {};
}

int32_t CountCdTracks(const std::string& folder) {
  for (int32_t t = kMaxCdTracks; t >= 1; --t)
    if (!CdTrackFile(folder, t).empty()) return t;
  return 0;
}

AudioLevel CdLevel(const CdPlayer& cd) {
  return AudioLevel{0, static_cast<uint16_t>(cd.volume)};
}

bool CdPlaying(Engine& engine) {
  return engine.shell.settings.cd_on && engine.sound.stream_owner == MusicStreamOwner::kCd &&
         engine.platform.Audio().MusicPlaying();
}

void PlayCdTrack(Engine& engine, int32_t track) {
  CdPlayer& cd = engine.sound.cd;
  if (!engine.shell.settings.cd_on) return;
  const std::string folder = CdFolder(cd.drive);
  if (cd.tracks_on_disc < 0) cd.tracks_on_disc = CountCdTracks(folder);
  StopMusicStreamOf(engine, MusicStreamOwner::kCd);
  // A disc of one track holds data, not music.
  if (cd.tracks_on_disc <= 1) return;
  const std::string file = CdTrackFile(folder, std::min(track, cd.tracks_on_disc));
  AudioService* out = SoundOutput(engine);
  if (!out) return;
  if (file.empty() || !out->PlayMusic(file, cd.loop, CdLevel(cd))) {
    engine.platform.Note("orivane: CD track " + std::to_string(track) + " cannot be played");
    return;
  }
  engine.sound.stream_owner = MusicStreamOwner::kCd;
}

// The fade of the CD music: the volume steps down in a hundred steps over
// the fade time, the music stops, and a second later the volume is back.
void FadeOutCd(Engine& engine) {
  CdPlayer& cd = engine.sound.cd;
  AudioService& audio = engine.platform.Audio();
  const int32_t volume = cd.volume;
  const uint32_t step_ms = static_cast<uint32_t>(std::max(1, cd.fade_ms / 100));
  for (int32_t i = 99; i >= 1; --i) {
    const uint32_t start = engine.platform.Ticks();
    if (engine.sound.stream_owner == MusicStreamOwner::kCd)
      audio.SetMusicLevel(AudioLevel{0, static_cast<uint16_t>(volume * i / 100)});
    PumpUntil(engine, start + step_ms);
  }
  StopMusicStreamOf(engine, MusicStreamOwner::kCd);
  PumpUntil(engine, engine.platform.Ticks() + 1000);
  cd.volume = volume;
}

}  // namespace

void StopWave(Engine& engine) {
  WavePlayer& w = engine.sound.wave;
  w.looping = false;
  ReleaseSoundChannel(engine, kWaveChannel);
  w.file.clear();
}

void PlayWave(Engine& engine, std::string_view name, bool loop) {
  StopWave(engine);
  if (name.empty() || !SoundsMayStart(engine)) return;
  // The wave player's channel is decoded whole like the others and plays
  // at full volume.
  engine.sound.channels[kWaveChannel].attenuation = 0;
  if (!LoadChannelSound(engine, kWaveChannel, name, MissingSound::kReport)) return;
  PlayLoadedChannel(engine, kWaveChannel, loop);
  engine.sound.wave.file = std::string(name);
  engine.sound.wave.looping = loop;
}

bool WavePlaying(Engine& engine) {
  return !engine.sound.wave.looping && SoundChannelPlaying(engine, kWaveChannel);
}

bool VoicePlaying(Engine& engine) {
  return SoundChannelPlaying(engine, kVoiceChannel) || WavePlaying(engine);
}

void StopMidi(Engine& engine) {
  MidiPlayer& m = engine.sound.midi;
  StopMusicStreamOf(engine, MusicStreamOwner::kMidi);
  DeleteTemporary(m.temporary);
  m.loop = false;
  m.file.clear();
}

void PlayMidi(Engine& engine, std::string_view name, bool loop) {
  StopMidi(engine);
  if (name.empty()) return;
  std::optional<SoundFile> file = FindSoundFile(engine, name, SoundUse::kMidi);
  if (!file) return;
  MidiPlayer& m = engine.sound.midi;
  m.file = std::string(name);
  m.temporary = file->temporary;
  m.loop = loop;
  AudioService* out = SoundOutput(engine);
  if (!out) return;
  if (!out->PlayMusic(file->path, loop, AudioLevel{})) {
    NoteUnplayable(engine, name);
    return;
  }
  engine.sound.stream_owner = MusicStreamOwner::kMidi;
}

void StopCdMusic(Engine& engine) {
  CdPlayer& cd = engine.sound.cd;
  if (cd.track == -1) return;
  cd.track = -1;
  if (cd.fade_ms > 0 && !engine.shell.cd_fade_off && CdPlaying(engine))
    FadeOutCd(engine);
  else
    StopMusicStreamOf(engine, MusicStreamOwner::kCd);
}

void StartCdTrack(Engine& engine, int32_t track, bool loop) {
  CdPlayer& cd = engine.sound.cd;
  if (track == 0) {
    StopCdMusic(engine);
    return;
  }
  if (track == cd.track && CdPlaying(engine)) return;
  StopCdMusic(engine);
  cd.track = track;
  cd.loop = loop;
  PlayCdTrack(engine, track);
}

std::vector<std::string> CdDriveFolders() {
  std::vector<std::string> drives;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("cd", error)) {
    if (!entry.is_directory(error)) continue;
    const std::string folder = entry.path().string();
    if (CountCdTracks(folder) > 0) drives.push_back(entry.path().filename().string());
  }
  std::sort(drives.begin(), drives.end());
  return drives;
}

void ChangeCdDrive(Engine& engine, const std::string& drive) {
  CdPlayer& cd = engine.sound.cd;
  const int32_t track = cd.track;
  StopMusicStreamOf(engine, MusicStreamOwner::kCd);
  cd.drive = drive;
  cd.tracks_on_disc = -1;  // another disc
  if (track > 0) PlayCdTrack(engine, track);
}

void CdAudioSwitched(Engine& engine, bool was_on) {
  CdPlayer& cd = engine.sound.cd;
  if (!engine.shell.settings.cd_on) {
    // Switched off: the disc is closed; the track is kept for switching on.
    StopMusicStreamOf(engine, MusicStreamOwner::kCd);
    cd.tracks_on_disc = -1;
  } else if (!was_on && cd.track > 0) {
    PlayCdTrack(engine, cd.track);
  }
}

void SetCdVolume(Engine& engine, int32_t volume) {
  CdPlayer& cd = engine.sound.cd;
  cd.volume = std::clamp(volume, 0, 0xFFFF);
  if (engine.sound.stream_owner == MusicStreamOwner::kCd)
    engine.platform.Audio().SetMusicLevel(CdLevel(cd));
}

}  // namespace orivane
