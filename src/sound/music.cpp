#include "sound/music.h"

#include <algorithm>
#include <optional>

#include "engine.h"
#include "platform/platform.h"
#include "sound/effect_channels.h"
#include "sound/sound_files.h"
#include "sound/sound_output.h"

namespace orivane {
namespace {

constexpr int32_t kSilent = 100;
// The lowering under voices moves the level by this much per step, one step
// at most every this many milliseconds.
constexpr int32_t kDuckStep = 2;
constexpr uint32_t kDuckStepMs = 9;

using ApplyLevel = void (*)(Engine&, int32_t attenuation);

void ApplyToStream(Engine& engine, int32_t a) {
  if (engine.sound.stream_owner == MusicStreamOwner::kGraph)
    engine.platform.Audio().SetMusicLevel(AudioLevel{a});
}

// The channel of the intro-and-loop music that sounds now.
int PlayingIntroLoopChannel(Engine& engine) {
  return IntroLoopState(engine) == 2 ? kLoopChannel : kIntroChannel;
}

void ApplyToIntroLoop(Engine& engine, int32_t a) {
  SetChannelAttenuation(engine, PlayingIntroLoopChannel(engine), a);
}

// Moves a level from `from` towards `to` over `time_ms` (an eighth of it in
// skip mode), one percent a step; when a step comes late, the steps double.
// Ends early when the player quits.
void Fade(Engine& engine, int32_t from, int32_t to, int32_t time_ms, ApplyLevel apply) {
  int32_t t = time_ms;
  if (engine.read_flags.skip_mode || SkipKeyHeld(engine)) t /= 8;
  const int32_t range = std::abs(to - from);
  uint32_t step_ms = (range == 0 || t <= 0) ? 10 : static_cast<uint32_t>(t / range);
  int32_t step = 1;
  const int32_t dir = to > from ? 1 : -1;
  for (int32_t a = from; dir > 0 ? a < to : a > to; a += dir * step) {
    const uint32_t noted = engine.platform.Ticks();
    apply(engine, a);
    PumpOne(engine);
    if (engine.interp.quit_request) return;
    if (TimeReached(engine.platform.Ticks(), noted + step_ms)) {
      step *= 2;
      step_ms *= 2;
      PumpUntil(engine, engine.platform.Ticks() + 1);
    } else {
      PumpUntil(engine, noted + step_ms);
    }
  }
}

void ReleaseMusicStream(Engine& engine) {
  MusicGraph& m = engine.sound.music;
  StopMusicStreamOf(engine, MusicStreamOwner::kGraph);
  DeleteTemporary(m.temporary);
  m.active = false;
  m.voice_on_graph = false;
}

// Whether the lowering under voices has a step to take, and when.
std::optional<uint32_t> NextDuckStep(Engine& engine) {
  const SoundState& s = engine.sound;
  if (s.ducking.level == 0 || engine.interp.quit_request || s.music.fading) return std::nullopt;
  // A movie's sound is not a voice: the music is not lowered while one plays.
  if (engine.movie.movie) return std::nullopt;
  if (!s.music.active && s.intro_loop.state == 0) return std::nullopt;
  const bool voice = engine.sound.channels[kVoiceChannel].playing;
  if (!voice && s.music.attenuation == s.music.base_attenuation) return std::nullopt;
  return s.ducking.last_step + kDuckStepMs;
}

void RunDuckStep(Engine& engine) {
  SoundState& s = engine.sound;
  const uint32_t now = engine.platform.Ticks();
  const int32_t base_level = kSilent - s.music.base_attenuation;
  int32_t a = s.music.attenuation;
  if (SoundChannelPlaying(engine, kVoiceChannel)) {
    if (kSilent - a > base_level / 2) {
      a += kDuckStep;
      // Quieter than a quarter of the base: straight to half of it.
      if (kSilent - a < base_level / 4) a = kSilent - base_level / 2;
    }
  } else if (a != s.music.base_attenuation) {
    a = std::max(s.music.base_attenuation, a - kDuckStep);
  }
  s.ducking.last_step = now;
  if (a != s.music.attenuation) SetMusicAttenuation(engine, a);
}

}  // namespace

void SetMusicAttenuation(Engine& engine, int32_t attenuation) {
  MusicGraph& m = engine.sound.music;
  if (!m.voice_on_graph) m.attenuation = attenuation;
  SetChannelAttenuation(engine, kIntroChannel, attenuation);
  SetChannelAttenuation(engine, kLoopChannel, attenuation);
  if (m.active) ApplyToStream(engine, attenuation);
}

void StopMusicFile(Engine& engine) {
  MusicGraph& m = engine.sound.music;
  if (m.active && m.fade_out_ms > 0 && !m.voice_on_graph &&
      engine.sound.stream_owner == MusicStreamOwner::kGraph) {
    m.fading = true;
    Fade(engine, m.attenuation, kSilent, m.fade_out_ms, ApplyToStream);
    m.fading = false;
  }
  ReleaseMusicStream(engine);
  m.file.clear();
}

void PlayMusicFile(Engine& engine, std::string_view name, bool loop, bool voice) {
  MusicGraph& m = engine.sound.music;
  StopMusicFile(engine);
  m.loop = false;
  if (name.empty()) return;
  std::optional<SoundFile> file = FindSoundFile(engine, name, SoundUse::kMusic);
  if (!file) return;
  m.file = std::string(name);
  m.temporary = file->temporary;
  m.voice_on_graph = voice;
  AudioService* out = SoundOutput(engine);
  if (!out) return;
  const bool fade_in = m.fade_in_ms > 0 && !voice;
  const int32_t level = voice ? engine.sound.voice_attenuation : m.attenuation;
  if (!out->PlayMusic(file->path, loop, AudioLevel{fade_in ? kSilent : level})) {
    NoteUnplayable(engine, name);
    return;
  }
  engine.sound.stream_owner = MusicStreamOwner::kGraph;
  m.active = true;
  if (fade_in) {
    if (level < kSilent) Fade(engine, kSilent, level, m.fade_in_ms, ApplyToStream);
    ApplyToStream(engine, level);
  }
  m.loop = loop;
}

int32_t IntroLoopState(Engine& engine) {
  IntroLoopMusic& il = engine.sound.intro_loop;
  if (il.state == 1 && engine.platform.Audio().ChannelPlaying(kLoopChannel)) {
    il.state = 2;
    EffectChannel& loop = engine.sound.channels[kLoopChannel];
    loop.playing = loop.looping = true;
    engine.sound.channels[kIntroChannel].playing = false;
  }
  return il.state;
}

void StopIntroLoop(Engine& engine) {
  IntroLoopMusic& il = engine.sound.intro_loop;
  const MusicGraph& m = engine.sound.music;
  if (il.state != 0 && m.fade_out_ms > 0) {
    engine.sound.music.fading = true;
    const int channel = PlayingIntroLoopChannel(engine);
    Fade(engine, engine.sound.channels[channel].attenuation, kSilent, m.fade_out_ms,
         ApplyToIntroLoop);
    engine.sound.music.fading = false;
  }
  ReleaseSoundChannel(engine, kLoopChannel);
  ReleaseSoundChannel(engine, kIntroChannel);
  il = IntroLoopMusic{};
}

void PlayIntroLoop(Engine& engine, std::string_view intro, std::string_view loop) {
  StopIntroLoop(engine);
  if (intro.empty()) return;
  SoundState& s = engine.sound;
  // Both parts are loaded before either plays, so that the hand-over finds
  // the loop part ready.
  s.channels[kIntroChannel].attenuation = s.channels[kLoopChannel].attenuation =
      s.music.attenuation;
  if (!LoadChannelSound(engine, kIntroChannel, intro, MissingSound::kReport) ||
      !LoadChannelSound(engine, kLoopChannel, loop, MissingSound::kReport)) {
    ReleaseSoundChannel(engine, kIntroChannel);
    return;
  }
  s.intro_loop.intro = std::string(intro);
  s.intro_loop.loop = std::string(loop);
  PlayLoadedChannel(engine, kIntroChannel, false);
  engine.platform.Audio().ChainChannel(kIntroChannel, kLoopChannel);
  s.intro_loop.state = 1;
}

void AttachMusicDucking(Engine& engine) {
  AddWakeSource(engine, WakeSource{NextDuckStep, RunDuckStep});
}

}  // namespace orivane
