#include "shell/settings_dialogs.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "player_waits.h"
#include "script/command_table.h"
#include "sound/effect_channels.h"
#include "sound/music.h"
#include "sound/players.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr int kLastEffectChannel = 49;
constexpr int32_t kDefaultAutoRangeMs = 10000;

// The three levels as attenuation percent (0 loudest, at the slider's top).
void ApplyVolumes(Engine& engine, const std::vector<int32_t>& values, bool with_music) {
  if (values.size() < 3) return;
  SoundState& s = engine.sound;
  s.voice_attenuation = values[0];
  s.effect_attenuation = values[1];
  ApplyVoiceAndEffectVolumes(engine, kLastEffectChannel);
  if (with_music) {
    s.music.base_attenuation = values[2];
    SetMusicAttenuation(engine, values[2]);
  }
}

QuestionSlider VolumeSlider(const char* label, int32_t attenuation, bool enabled) {
  QuestionSlider s;
  s.label = label;
  s.vertical = true;
  s.min = 0;
  s.max = 100;
  s.value = std::clamp(attenuation, 0, 100);
  s.enabled = enabled;
  return s;
}

// A speed slider: fast (short) at the left, slow at the right; a value
// outside the range shows as its minimum.
QuestionSlider SpeedSlider(const char* label, int32_t value, int32_t min, int32_t max) {
  QuestionSlider s;
  s.label = label;
  s.low = "速い";
  s.high = "遅い";
  s.min = std::min(min, max);
  s.max = std::max(min, max);
  s.value = value < s.min || value > s.max ? s.min : value;
  return s;
}

// Shows a one-slider dialog; the slider's value when it was closed with OK.
std::optional<int32_t> AskSpeed(Engine& engine, const char* title, const QuestionSlider& slider) {
  Question dialog;
  dialog.buttons = Question::Buttons::kSettings;
  dialog.title = title;
  dialog.sliders = {slider};
  const Reply reply = AskPlayer(engine, dialog);
  if (reply.answer != Answer::kOk || reply.values.empty()) return std::nullopt;
  return reply.values[0];
}

void CmdDelbgmvol(Engine& engine) { engine.shell.no_music_slider = true; }

}  // namespace

void OpenVolumeDialog(Engine& engine) {
  const SoundState& s = engine.sound;
  const bool with_music = !engine.shell.no_music_slider;
  Question dialog;
  dialog.buttons = Question::Buttons::kSettings;
  dialog.title = "ボリュームの設定";
  dialog.sliders = {VolumeSlider("ボイス", s.voice_attenuation, true),
                    VolumeSlider("効果音", s.effect_attenuation, true),
                    VolumeSlider("ＢＧＭ", s.music.base_attenuation, with_music)};
  dialog.on_slide = [&engine, with_music](const std::vector<int32_t>& values) {
    ApplyVolumes(engine, values, with_music);
  };
  // Closing the dialog, by either button, keeps the levels as they stand.
  const Reply reply = AskPlayer(engine, dialog);
  ApplyVolumes(engine, reply.values, with_music);
}

void OpenTextSpeedDialog(Engine& engine) {
  TextWindow& w = engine.text;
  if (auto v = AskSpeed(engine, "文字表示設定", SpeedSlider("表示速度", w.speed, w.speed_min, w.speed_max)))
    w.speed = *v;
}

void OpenAutoSpeedDialog(Engine& engine) {
  TextOutputState& t = engine.text_out;
  // Without a range from `automode_time2` the slider runs from 0 to 10 s.
  const bool given = t.auto_mode_max > t.auto_mode_min;
  const QuestionSlider slider = SpeedSlider("オートモード速度", t.auto_mode_ms, given ? t.auto_mode_min : 0,
                                            given ? t.auto_mode_max : kDefaultAutoRangeMs);
  if (auto v = AskSpeed(engine, "オートモード速度設定", slider)) t.auto_mode_ms = *v;
}

void OpenCdDriveDialog(Engine& engine) {
  Question dialog;
  dialog.buttons = Question::Buttons::kSettings;
  dialog.title = "ＣＤドライブ選択";
  dialog.choices = {"デフォルト"};
  for (const std::string& folder : CdDriveFolders()) {
    dialog.choices.push_back(folder);
    if (Utf8ToSjis(folder) == engine.sound.cd.drive) dialog.chosen = static_cast<int>(dialog.choices.size()) - 1;
  }
  const Reply reply = AskPlayer(engine, dialog);
  if (reply.answer != Answer::kOk) return;
  const size_t chosen = static_cast<size_t>(reply.chosen);
  ChangeCdDrive(engine, chosen == 0 || chosen >= dialog.choices.size() ? std::string()
                                                                        : Utf8ToSjis(dialog.choices[chosen]));
}

void RegisterSettingsDialogCommands(CommandTable& table) { table.Register("delbgmvol", CmdDelbgmvol); }

}  // namespace orivane
