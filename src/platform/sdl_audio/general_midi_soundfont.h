// Where MIDI music finds its instruments: a General MIDI soundfont that the
// player need not point to. Debian's soundfont packages install theirs in
// one folder; the small TimGM6mb comes first because it loads fastest.
#pragma once

#include <string>
#include <vector>

namespace orivane {

// The soundfonts looked for, best first.
const std::vector<std::string>& GeneralMidiSoundFonts();

// The first of `candidates` that is a readable regular file, or "".
std::string FirstExistingFile(const std::vector<std::string>& candidates);

}  // namespace orivane
