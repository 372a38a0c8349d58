#include "save/environment_file.h"

#include <algorithm>

#include "engine.h"
#include "platform/platform.h"
#include "save/persistent_file_io.h"
#include "sound/effect_channels.h"
#include "sound/music.h"
#include "text/text_window.h"
#include "util/save_stream.h"
#include "util/sjis.h"

namespace orivane {
namespace {

int32_t Attenuation(int32_t volume) {
  return 100 - std::clamp(volume, 0, 100);
}
// The saved attenuation is the file's: clamped before it is subtracted, so
// that no value can overflow.
int32_t VolumeOf(int32_t attenuation) {
  return 100 - std::clamp(attenuation, 0, 100);
}

// Reads the fields in order while the bytes hold them whole.
class FieldReader {
 public:
  explicit FieldReader(const std::vector<uint8_t>& bytes, EnvironmentData& env)
      : in_(bytes), env_(env) {
    env_.fields = 0;
  }

  void Int(int32_t& field) {
    if (stopped_ || in_.Rest().size() < 4) {
      stopped_ = true;
      return;
    }
    field = in_.Int();
    ++env_.fields;
  }
  void Str(std::string& field) {
    if (stopped_ || in_.Rest().find('\0') == std::string_view::npos) {
      stopped_ = true;
      return;
    }
    field = in_.Str();
    ++env_.fields;
  }

 private:
  SaveReader in_;
  EnvironmentData& env_;
  bool stopped_ = false;
};

void Post(Engine& engine, int32_t command) {
  engine.shell.posted_commands.push_back(command);
}

void Post(Engine& engine, bool on, int32_t on_command, int32_t off_command) {
  Post(engine, on ? on_command : off_command);
}

// The face the player had: through its font item when the menu offers it (the
// item is checked as the player's choice would), else taken as it is.
void ApplyFontFace(Engine& engine, const std::string& face) {
  if (face.empty() || face == engine.text.default_font_face) return;
  ShellState& sh = engine.shell;
  const std::string face_utf8 = SjisToUtf8(face);
  for (int32_t id = 0; id < kFontMenuCapacity; ++id) {
    if (!sh.font_table[id].empty() && sh.font_table[id] == face_utf8) {
      Post(engine, id);
      return;
    }
  }
  sh.current_font = face;
  TakeMenuFontFace(engine, face);
}

}  // namespace

std::vector<uint8_t> EncodeEnvironment(const EnvironmentData& env) {
  std::vector<uint8_t> bytes;
  SaveWriter out(bytes);
  out.Int(env.full_screen);
  out.Int(env.sound_on);
  out.Int(env.speed_choice);
  out.Int(env.page_mode);
  out.Str(env.font_face);
  out.Int(env.cd_enabled);
  out.Str(env.cd_drive);
  out.Int(Attenuation(env.voice_volume));
  out.Int(Attenuation(env.se_volume));
  out.Int(Attenuation(env.bgm_volume));
  out.Int(env.read_skip);
  out.Int(env.bgm_down_mode);
  out.Str(env.save_directory);
  out.Int(env.auto_mode_ms == 0 ? kStoredNoAutoDelay : env.auto_mode_ms);
  return bytes;
}

EnvironmentData DecodeEnvironment(const std::vector<uint8_t>& bytes) {
  EnvironmentData env;
  FieldReader in(bytes, env);
  in.Int(env.full_screen);
  in.Int(env.sound_on);
  in.Int(env.speed_choice);
  in.Int(env.page_mode);
  in.Str(env.font_face);
  in.Int(env.cd_enabled);
  in.Str(env.cd_drive);
  int32_t voice = 0, se = 0, bgm = 0;
  in.Int(voice);
  in.Int(se);
  in.Int(bgm);
  if (env.Has(EnvField::kVoiceVolume)) env.voice_volume = VolumeOf(voice);
  if (env.Has(EnvField::kSeVolume)) env.se_volume = VolumeOf(se);
  if (env.Has(EnvField::kBgmVolume)) env.bgm_volume = VolumeOf(bgm);
  in.Int(env.read_skip);
  in.Int(env.bgm_down_mode);
  in.Str(env.save_directory);
  in.Int(env.auto_mode_ms);
  if (env.auto_mode_ms == kStoredNoAutoDelay) env.auto_mode_ms = 0;
  return env;
}

EnvironmentData CurrentEnvironment(const Engine& engine) {
  const PlayerSettings& s = engine.shell.settings;
  const SoundState& sound = engine.sound;
  EnvironmentData env;
  env.full_screen = engine.shell.full_screen ? 1 : 0;
  env.sound_on = s.sound_on ? 1 : 0;
  env.speed_choice = s.text_speed;
  env.page_mode = s.page_mode ? 1 : 0;
  env.font_face = engine.text.pending_font_face;
  env.cd_enabled = s.cd_on ? 1 : 0;
  env.cd_drive = sound.cd.drive;
  env.voice_volume = 100 - sound.voice_attenuation;
  env.se_volume = 100 - sound.effect_attenuation;
  env.bgm_volume = 100 - sound.music.base_attenuation;
  env.read_skip = engine.read_flags.read_only_skip ? 1 : 0;
  env.bgm_down_mode = sound.ducking.level;
  env.save_directory = engine.persistent.places.save_dir;
  env.auto_mode_ms = engine.text_out.auto_mode_ms;
  return env;
}

bool WriteEnvironmentFile(Engine& engine) {
  const std::vector<uint8_t> bytes = EncodeEnvironment(CurrentEnvironment(engine));
  return WritePersistentFile(engine, kEnvironmentFile, bytes.data(), bytes.size(),
                             FilePlace::kTopFolder);
}

void TakeSaveDirectoryFromEnvironment(Engine& engine) {
  const EnvironmentData env =
      DecodeEnvironment(ReadPersistentFile(engine, kEnvironmentFile, FilePlace::kTopFolder));
  const std::string dir = env.Has(EnvField::kSaveDirectory) ? env.save_directory : std::string();
  if (!UseSaveDirectory(engine, dir)) {
    engine.platform.Note("orivane: envdata names the save directory \"" + SjisToUtf8(dir) +
                         "\", which lies outside the game folder; it is not used");
    UseSaveDirectory(engine, std::string());
  }
}

void ApplyEnvironmentFile(Engine& engine) {
  using namespace menu_id;
  engine.persistent.environment_taken = true;
  const std::vector<uint8_t> bytes =
      ReadPersistentFile(engine, kEnvironmentFile, FilePlace::kTopFolder);
  if (bytes.empty()) return;  // no file: the defaults stay
  const EnvironmentData env = DecodeEnvironment(bytes);
  // The save directory was taken at start-up; the *define block's `savedir`
  // has the last word on it.
  if (env.Has(EnvField::kFullScreen)) Post(engine, env.full_screen != 0, kFullScreen, kWindow);
  if (env.Has(EnvField::kSoundOn)) Post(engine, env.sound_on != 0, kSoundOn, kSoundOff);
  if (env.Has(EnvField::kSpeedChoice) && env.speed_choice >= 0 && env.speed_choice <= 2)
    Post(engine, kTextSlow + env.speed_choice);
  if (env.Has(EnvField::kPageMode)) Post(engine, env.page_mode != 0, kClickPage, kClickDefault);
  if (env.Has(EnvField::kFontFace)) ApplyFontFace(engine, env.font_face);
  if (env.Has(EnvField::kCdEnabled)) Post(engine, env.cd_enabled != 0, kCdOn, kCdOff);
  SoundState& sound = engine.sound;
  if (env.Has(EnvField::kCdDrive)) sound.cd.drive = env.cd_drive;
  // The player's volumes, as the volume dialog left them.
  if (env.Has(EnvField::kVoiceVolume)) {
    sound.voice_attenuation = 100 - std::clamp(env.voice_volume, 0, 100);
    ApplyVoiceAndEffectVolumes(engine, 0);
  }
  if (env.Has(EnvField::kSeVolume)) {
    sound.effect_attenuation = 100 - std::clamp(env.se_volume, 0, 100);
    ApplyVoiceAndEffectVolumes(engine, kLastScriptChannel);
  }
  if (env.Has(EnvField::kBgmVolume)) {
    sound.music.base_attenuation = 100 - std::clamp(env.bgm_volume, 0, 100);
    SetMusicAttenuation(engine, sound.music.base_attenuation);
  }
  if (env.Has(EnvField::kReadSkip)) Post(engine, env.read_skip != 0, kReadSkipOn, kReadSkipOff);
  if (env.Has(EnvField::kBgmDownMode)) sound.ducking.level = env.bgm_down_mode;
  if (env.Has(EnvField::kAutoModeMs)) engine.text_out.auto_mode_ms = env.auto_mode_ms;
}

}  // namespace orivane
