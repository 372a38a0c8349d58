// The commands of the wave, MIDI and CD players and of the sound channels:
// `play`, `playonce`, `playstop`, `stop`, `wave`, `waveloop`, `wavestop`,
// the CD volume and fade (`cdfadeout`, `getcdvol`, `setcdvol`,
// `setcdrestorevol`, `resetcdrestorevol`, `restorecdvol`), `soundpressplgin`,
// `mode_wave_demo`; `dsound`, `dwave`, `dwaveload`, `dwaveplay`,
// `dwaveplayloop`, `dwaveloop`, `dwavestop`, `chvol`, `voicevol`, `sevol`,
// `defvoicevol`, `defsevol`, `getvoicevol`, `getsevol`, `nodv`, `voltest`;
// and the voice shorthands: a word that is no command and begins with "v"
// plays "voice\<rest>.wav" on the wave player, one that begins with "dv"
// plays it on channel 0, one that begins with "mv" plays "voice\<rest>.mp3"
// as music.
#pragma once

namespace orivane {

class CommandTable;

void RegisterSoundCommands(CommandTable& table);

}  // namespace orivane
