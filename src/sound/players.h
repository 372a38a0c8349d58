// The three simple players: the wave player (`wave`, `waveloop`, the voice
// shorthand), MIDI (`play` with a file) and CD-DA (`play "*n"`). A CD track
// is the file "cd/track%02d" with the extension .ogg, .mp3, .flac or .wav;
// the disc has as many tracks as the highest number present.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

// Stops the wave, then plays the file once or looping. An empty name only
// stops. Nothing starts while sound is off or in skip mode.
void PlayWave(Engine& engine, std::string_view name, bool loop);
void StopWave(Engine& engine);
// Whether a one-shot wave still plays (a looping one answers no).
bool WavePlaying(Engine& engine);

// Whether a voice still plays: on the voice channel, or a one-shot wave
// (the shorthand's). The waits that wait for voices ask this.
bool VoicePlaying(Engine& engine);
// How often such a wait looks again, in milliseconds.
inline constexpr uint32_t kVoicePollMs = 30;

// Stops MIDI, then plays the file once or looping. An empty name only stops.
void PlayMidi(Engine& engine, std::string_view name, bool loop);
void StopMidi(Engine& engine);

// Starts CD track `track` (0: stop). The track that plays already goes on.
void StartCdTrack(Engine& engine, int32_t track, bool loop);
// Stops the CD music, fading it out over `cdfadeout` milliseconds unless
// config.txt says "cdfadeoff". The fade and the second after it hold the
// script, not the window.
void StopCdMusic(Engine& engine);
// The drives the CD drive dialog offers: the folders under cd/ that hold
// track files (their names, sorted). cd/ itself is the default drive.
std::vector<std::string> CdDriveFolders();
// The player chose another drive (a folder name under cd/, Shift-JIS; empty:
// the default): the disc is counted again and a track that was set starts
// again from the new drive.
void ChangeCdDrive(Engine& engine, const std::string& drive);
// The menu switched CD audio on or off.
void CdAudioSwitched(Engine& engine, bool was_on);
// The CD volume on the mixer's scale 0 … 65535.
void SetCdVolume(Engine& engine, int32_t volume);

}  // namespace orivane
