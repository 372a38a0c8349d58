#include "sound/music_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "sound/music.h"

namespace orivane {
namespace {

// Whether a save file restarts the music after loading.
enum class Resume { kNo, kYes };

template <bool kLoop, Resume kResume>
void CmdMusic(Engine& engine) {
  const std::string name = ReadString(engine);
  engine.sound.music.resume_on_load = kResume == Resume::kYes;
  PlayMusicFile(engine, name, kLoop);
}

void CmdMusicStop(Engine& engine) {
  StopMusicFile(engine);
}

void CmdLoopbgm(Engine& engine) {
  const std::string intro = ReadString(engine);
  ExpectComma(engine);
  const std::string loop = ReadString(engine);
  engine.sound.music.resume_on_load = true;
  PlayIntroLoop(engine, intro, loop);
}
void CmdLoopbgmstop(Engine& engine) {
  StopIntroLoop(engine);
}

void CmdMusicVolume(Engine& engine) {
  const int32_t v = ReadNumber(engine);
  if (v < 0 || v > 100) ReportError(engine, "ボリュームは０～１００です。", "エラー");
  engine.sound.music.base_attenuation = 100 - v;
  SetMusicAttenuation(engine, 100 - v);
}

void GetMusicVolume(Engine& engine, const char* message) {
  const int32_t v = ExpectNumVar(engine, message);
  engine.vars.SetNum(v, 100 - engine.sound.music.attenuation);
}
void CmdGetbgmvol(Engine& engine) {
  GetMusicVolume(engine, "getbgmvolの第一引数は数字変数です。");
}
void CmdGetmp3vol(Engine& engine) {
  GetMusicVolume(engine, "getmp3volの第一引数は数字変数です。");
}

void CmdFadeOut(Engine& engine) {
  engine.sound.music.fade_out_ms = ReadNumber(engine);
}
void CmdFadeIn(Engine& engine) {
  engine.sound.music.fade_in_ms = ReadNumber(engine);
}
void CmdBgmdownmode(Engine& engine) {
  engine.sound.ducking.level = ReadNumber(engine);
}

}  // namespace

void RegisterMusicCommands(CommandTable& table) {
  table.Register("bgm", CmdMusic<true, Resume::kYes>);
  table.Register("mp3loop", CmdMusic<true, Resume::kYes>);
  table.Register("bgmonce", CmdMusic<false, Resume::kNo>);
  table.Register("mp3", CmdMusic<false, Resume::kNo>);
  table.Register("bgmsave", CmdMusic<false, Resume::kYes>);
  table.Register("mp3save", CmdMusic<false, Resume::kYes>);
  table.Register("bgmstop", CmdMusicStop);
  table.Register("mp3stop", CmdMusicStop);
  table.Register("loopbgm", CmdLoopbgm);
  table.Register("loopbgmstop", CmdLoopbgmstop);
  table.Register("bgmvol", CmdMusicVolume);
  table.Register("mp3vol", CmdMusicVolume);
  table.Register("defbgmvol", CmdMusicVolume);
  table.Register("defmp3vol", CmdMusicVolume);
  table.Register("getbgmvol", CmdGetbgmvol);
  table.Register("getmp3vol", CmdGetmp3vol);
  table.Register("bgmfadeout", CmdFadeOut);
  table.Register("mp3fadeout", CmdFadeOut);
  table.Register("bgmfadein", CmdFadeIn);
  table.Register("mp3fadein", CmdFadeIn);
  table.Register("bgmdownmode", CmdBgmdownmode);
}

}  // namespace orivane
