// The music of the `bgm` / `mp3` family on the music stream, its volume and
// fades, intro-and-loop music (`loopbgm`) on channels 50 and 51, and the
// lowering of the music while a voice plays (`bgmdownmode`).
//
// Fades hold the script, not the window: each step lets the window take its
// events, and a machine that falls behind takes bigger steps instead of a
// longer fade.
#pragma once

#include <cstdint>
#include <string_view>

namespace orivane {

struct Engine;

// Stops the music (fading it out when `bgmfadeout` asks for it), then plays
// the file once or looping, fading in when `bgmfadein` asks for it. An empty
// name only stops. With `voice`, the file is an MP3 voice: it plays at the
// voice volume and is never faded out.
void PlayMusicFile(Engine& engine, std::string_view name, bool loop, bool voice = false);
// Stops the music, with the fade-out when one is set and no voice plays.
void StopMusicFile(Engine& engine);

// Stops the intro-and-loop music (with the fade-out when one is set), then
// plays the introduction once and the loop part after it for ever. An empty
// introduction only stops.
void PlayIntroLoop(Engine& engine, std::string_view intro, std::string_view loop);
void StopIntroLoop(Engine& engine);
// 0 none, 1 the introduction plays, 2 the loop part plays.
int32_t IntroLoopState(Engine& engine);

// The music level now (attenuation percent) on the stream and on channels
// 50 and 51; kept as the level unless an MP3 voice plays.
void SetMusicAttenuation(Engine& engine, int32_t attenuation);

// The step of the lowering under voices that is due, if any; for the wake list.
void AttachMusicDucking(Engine& engine);

}  // namespace orivane
