// "envdata": the player's settings, kept from run to run. It lies at the top
// of the folder in use, never in the `savedir` directory, because the save
// directory itself is read from it at start-up, before anything else, so
// that the other files can be found. The rest is applied once the *define
// block has run: the settings the menu bar changes through the menu
// commands the window is sent, the others directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

inline constexpr std::string_view kEnvironmentFile = "envdata";

// The fields in the order the file holds them: integers (32-bit
// little-endian) and strings (Shift-JIS and a zero byte).
enum class EnvField {
  kFullScreen,
  kSoundOn,
  kSpeedChoice,
  kPageMode,
  kFontFace,
  kCdEnabled,
  kCdDrive,
  kVoiceVolume,
  kSeVolume,
  kBgmVolume,
  kReadSkip,
  kBgmDownMode,
  kSaveDirectory,
  kAutoModeMs,
  kCount,
};

// The settings as the engine holds them; the file differs in two places: a
// volume v is stored as 100 - v, and an auto-mode delay of 0 as 99999.
struct EnvironmentData {
  int32_t full_screen = 0;
  int32_t sound_on = 1;
  int32_t speed_choice = 1;  // 0 slow, 1 normal, 2 fast
  int32_t page_mode = 0;
  std::string font_face;
  int32_t cd_enabled = 1;
  std::string cd_drive;
  int32_t voice_volume = 100;  // 0 ... 100
  int32_t se_volume = 100;
  int32_t bgm_volume = 100;
  int32_t read_skip = 0;
  int32_t bgm_down_mode = 0;
  std::string save_directory;
  int32_t auto_mode_ms = 1000;
  // How many fields, from the first, the file held whole. A cut file holds
  // a beginning; the fields it lacks are not applied.
  int fields = static_cast<int>(EnvField::kCount);

  bool Has(EnvField f) const { return static_cast<int>(f) < fields; }
};

// The auto-mode delay as the file holds it: 0 cannot be stored and is written
// as 99999.
inline constexpr int32_t kStoredNoAutoDelay = 99999;

// The ranges numbers read from the file are brought into (and written in):
// the switches are 0 or 1, a volume 0 ... 100, the text speed choice 0 ... 2,
// the auto-mode delay from a minute per character (negative) to an hour a page.
inline constexpr int32_t kSlowestSpeedChoice = 0;
inline constexpr int32_t kFastestSpeedChoice = 2;
inline constexpr int32_t kMinAutoModeMs = -60'000;
inline constexpr int32_t kMaxAutoModeMs = 3'600'000;

std::vector<uint8_t> EncodeEnvironment(const EnvironmentData& env);
EnvironmentData DecodeEnvironment(const std::vector<uint8_t>& bytes);

// The settings in force now.
EnvironmentData CurrentEnvironment(const Engine& engine);

// Writes the file whole or not at all; false when it could not be written.
bool WriteEnvironmentFile(Engine& engine);

// Start-up, before anything else is read: the save directory from the file
// (one that would leave the folder is ignored, with a note).
void TakeSaveDirectoryFromEnvironment(Engine& engine);

// After the *define block (and the menu's completion at `game`): the
// settings from the file. From now on the writer keeps the file up to date.
void ApplyEnvironmentFile(Engine& engine);

}  // namespace orivane
