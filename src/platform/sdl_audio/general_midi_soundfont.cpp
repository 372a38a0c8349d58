#include "platform/sdl_audio/general_midi_soundfont.h"

#include <unistd.h>

#include <filesystem>

namespace orivane {

const std::vector<std::string>& GeneralMidiSoundFonts() {
  static const std::vector<std::string> kSoundFonts = {
      "/usr/share/sounds/sf2/TimGM6mb.sf2",    // timgm6mb-soundfont
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",  // fluid-soundfont-gm
      "/usr/share/sounds/sf2/default-GM.sf2",  // the alternative the packages register
      "/usr/share/soundfonts/default.sf2",     // the freedesktop location
      "/usr/share/sounds/sf2/MuseScore_General.sf2",
  };
  return kSoundFonts;
}

std::string FirstExistingFile(const std::vector<std::string>& candidates) {
  for (const std::string& path : candidates) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), R_OK) == 0)
      return path;
  }
  return "";
}

}  // namespace orivane
