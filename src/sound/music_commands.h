// The commands of the music: `bgm`, `mp3loop`, `bgmonce`, `mp3`, `bgmsave`,
// `mp3save`, `bgmstop`, `mp3stop`, `loopbgm`, `loopbgmstop`, the volume
// (`bgmvol`, `mp3vol`, `defbgmvol`, `defmp3vol`, `getbgmvol`, `getmp3vol`),
// the fades (`bgmfadeout`, `mp3fadeout`, `bgmfadein`, `mp3fadein`) and
// `bgmdownmode`.
#pragma once

namespace orivane {

class CommandTable;

void RegisterMusicCommands(CommandTable& table);

}  // namespace orivane
