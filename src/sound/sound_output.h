// The sound subsystem's way to the machine's output, and the rule every
// player of waves and sound effects follows before it starts one.
#pragma once

#include <string_view>

#include "sound/sound_state.h"

namespace orivane {

struct Engine;
class AudioService;

// The output, opened at the first use. When it cannot be opened the run
// goes on in silence, with one note on standard error for the whole run.
// nullptr then.
AudioService* SoundOutput(Engine& engine);

// Waves and sound effects start only while sound is on (the menu's
// ボリューム オン) and, in skip mode, only after `mode_wave_demo`.
bool SoundsMayStart(const Engine& engine);

// Stops the music stream when `owner` has it (MIDI, CD and the music take
// turns on it).
void StopMusicStreamOf(Engine& engine, MusicStreamOwner owner);

// A note that the file was found but the output could not play it.
void NoteUnplayable(Engine& engine, std::string_view name);

}  // namespace orivane
