#include "sound/sound_commands.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "sound/effect_channels.h"
#include "sound/music.h"
#include "sound/players.h"
#include "sound/sound_output.h"

namespace orivane {
namespace {

// A channel number of the script: the script's 50 channels and the two of
// intro-and-loop music, which a game may address too. Others are refused.
int ReadChannel(Engine& engine) {
  const int32_t channel = ReadNumber(engine);
  if (channel < 0 || channel >= kSoundChannels)
    ReportError(engine, "サウンドチャンネル%dは使えません（０～５１）。", "エラー", {channel});
  return channel;
}

// A volume 0 … 100 of the script, as attenuation.
int32_t ReadVolume(Engine& engine) {
  const int32_t v = ReadNumber(engine);
  if (v < 0 || v > 100) ReportError(engine, "ボリュームは０～１００です。", "エラー");
  return 100 - v;
}

// `play` and `playonce`: "*" and a number is a CD track, anything else a
// MIDI file.
void Play(Engine& engine, bool loop) {
  const std::string what = ReadString(engine);
  if (!what.empty() && what[0] == '*') {
    int32_t track = 0;
    for (size_t i = 1; i < what.size() && IsDigit(static_cast<uint8_t>(what[i])) && track < 1000;
         ++i)
      track = track * 10 + (what[i] - '0');
    StartCdTrack(engine, track, loop);
  } else {
    PlayMidi(engine, what, loop);
  }
}
void CmdPlay(Engine& engine) {
  Play(engine, true);
}
void CmdPlayonce(Engine& engine) {
  Play(engine, false);
}

void CmdPlaystop(Engine& engine) {
  StopCdMusic(engine);
  StopMidi(engine);
}

void CmdStop(Engine& engine) {
  StopCdMusic(engine);
  StopMidi(engine);
  StopWave(engine);
  StopMusicFile(engine);
}

void CmdWave(Engine& engine) {
  engine.sound.wave.stop_on_click = false;
  PlayWave(engine, ReadString(engine), false);
}
void CmdWaveloop(Engine& engine) {
  engine.sound.wave.stop_on_click = false;
  PlayWave(engine, ReadString(engine), true);
}
void CmdWavestop(Engine& engine) {
  StopWave(engine);
}

void CmdCdfadeout(Engine& engine) {
  engine.sound.cd.fade_ms = ReadNumber(engine);
}
void CmdGetcdvol(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "getcdvolの第一引数は数字変数です。");
  engine.vars.SetNum(v, engine.sound.cd.volume);
}
void CmdSetcdvol(Engine& engine) {
  SetCdVolume(engine, ReadNumber(engine));
}
void CmdSetcdrestorevol(Engine& engine) {
  engine.sound.cd.restore_volume = ReadNumber(engine);
}
void CmdResetcdrestorevol(Engine& engine) {
  engine.sound.cd.restore_volume = -1;
}
void CmdRestorecdvol(Engine& engine) {
  if (engine.sound.cd.restore_volume != -1) SetCdVolume(engine, engine.sound.cd.restore_volume);
}

void CmdSoundpressplgin(Engine& engine) {
  std::string entry = ReadString(engine);
  SoundState& s = engine.sound;
  if (s.converters.size() >= kMaxSoundConverters)
    ReportError(engine, "Sound press plug-in設定が多すぎます。", "エラー");
  // The extension is matched without regard to case.
  const size_t bar = entry.find('|');
  for (size_t i = 0; i < std::min(bar, entry.size()); ++i)
    if (entry[i] >= 'A' && entry[i] <= 'Z') entry[i] = static_cast<char>(entry[i] - 'A' + 'a');
  s.converters.push_back(std::move(entry));
}

void CmdModeWaveDemo(Engine& engine) {
  engine.sound.wave_demo = true;
}

void CmdDsound(Engine& engine) {
  SoundOutput(engine);
}

void DwaveFile(Engine& engine, bool loop) {
  const int channel = ReadChannel(engine);
  ExpectComma(engine);
  PlayChannelFile(engine, channel, ReadString(engine), loop);
}
void CmdDwave(Engine& engine) {
  DwaveFile(engine, false);
}
void CmdDwaveloop(Engine& engine) {
  engine.sound.wave.stop_on_click = false;
  DwaveFile(engine, true);
}
void CmdDwaveload(Engine& engine) {
  const int channel = ReadChannel(engine);
  ExpectComma(engine);
  LoadChannelFile(engine, channel, ReadString(engine));
}
void CmdDwaveplay(Engine& engine) {
  PlayLoadedChannel(engine, ReadChannel(engine), false);
}
void CmdDwaveplayloop(Engine& engine) {
  PlayLoadedChannel(engine, ReadChannel(engine), true);
}
void CmdDwavestop(Engine& engine) {
  ReleaseSoundChannel(engine, ReadChannel(engine));
}

void CmdChvol(Engine& engine) {
  const int channel = ReadChannel(engine);
  ExpectComma(engine);
  const int32_t v = ReadNumber(engine);
  if (v == -1) {
    ReleaseSoundChannel(engine, channel);
    return;
  }
  SetChannelAttenuation(engine, channel, 100 - std::clamp(v, 0, 100));
}

void CmdVoicevol(Engine& engine) {
  engine.sound.voice_attenuation = ReadVolume(engine);
  SetChannelAttenuation(engine, kVoiceChannel, engine.sound.voice_attenuation);
}
void CmdSevol(Engine& engine) {
  engine.sound.effect_attenuation = ReadVolume(engine);
  ApplyVoiceAndEffectVolumes(engine, kLastScriptChannel);
}
// The *define form also reaches the intro-and-loop channels.
void CmdDefsevol(Engine& engine) {
  engine.sound.effect_attenuation = ReadVolume(engine);
  ApplyVoiceAndEffectVolumes(engine, kSoundChannels - 1);
}
void CmdGetvoicevol(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "getvoicevolの第一引数は数字変数です。");
  engine.vars.SetNum(v, 100 - engine.sound.voice_attenuation);
}
void CmdGetsevol(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "getsevolの第一引数は数字変数です。");
  engine.vars.SetNum(v, 100 - engine.sound.effect_attenuation);
}
void CmdNodv(Engine& engine) {
  engine.sound.no_dv = true;
}
void CmdVoltest(Engine&) {}

// The voice shorthands, for words that are no command.
bool PlayVoiceShorthand(Engine& engine, std::string_view word) {
  if (word.size() >= 2 && word[0] == 'd' && word[1] == 'v') {
    PlayChannelFile(engine, kVoiceChannel, "voice\\" + std::string(word.substr(2)) + ".wav", false);
    return true;
  }
  if (word.size() >= 2 && word[0] == 'm' && word[1] == 'v') {
    PlayMusicFile(engine, "voice\\" + std::string(word.substr(2)) + ".mp3", false, true);
    return true;
  }
  if (!word.empty() && word[0] == 'v') {
    PlayWave(engine, "voice\\" + std::string(word.substr(1)) + ".wav", false);
    engine.sound.wave.stop_on_click = true;
    return true;
  }
  return false;
}

}  // namespace

void RegisterSoundCommands(CommandTable& table) {
  table.Register("play", CmdPlay);
  table.Register("playonce", CmdPlayonce);
  table.Register("playstop", CmdPlaystop);
  table.Register("stop", CmdStop);
  table.Register("wave", CmdWave);
  table.Register("waveloop", CmdWaveloop);
  table.Register("wavestop", CmdWavestop);
  table.Register("cdfadeout", CmdCdfadeout);
  table.Register("getcdvol", CmdGetcdvol);
  table.Register("setcdvol", CmdSetcdvol);
  table.Register("setcdrestorevol", CmdSetcdrestorevol);
  table.Register("resetcdrestorevol", CmdResetcdrestorevol);
  table.Register("restorecdvol", CmdRestorecdvol);
  table.Register("soundpressplgin", CmdSoundpressplgin);
  table.Register("mode_wave_demo", CmdModeWaveDemo);
  table.Register("dsound", CmdDsound);
  table.Register("dwave", CmdDwave);
  table.Register("dwaveloop", CmdDwaveloop);
  table.Register("dwaveload", CmdDwaveload);
  table.Register("dwaveplay", CmdDwaveplay);
  table.Register("dwaveplayloop", CmdDwaveplayloop);
  table.Register("dwavestop", CmdDwavestop);
  table.Register("chvol", CmdChvol);
  table.Register("voicevol", CmdVoicevol);
  table.Register("defvoicevol", CmdVoicevol);
  table.Register("sevol", CmdSevol);
  table.Register("defsevol", CmdDefsevol);
  table.Register("getvoicevol", CmdGetvoicevol);
  table.Register("getsevol", CmdGetsevol);
  table.Register("nodv", CmdNodv);
  table.Register("voltest", CmdVoltest);
  table.SetShorthand(PlayVoiceShorthand);
}

}  // namespace orivane
