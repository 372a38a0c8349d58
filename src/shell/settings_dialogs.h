// The settings dialogs the menu opens: the volumes of voices, effects and
// music (heard as the sliders move), the text speed, the auto-mode speed and
// the CD drive. Each is modal; the heartbeat rests while it is open.
#pragma once

namespace orivane {

struct Engine;
class CommandTable;

void OpenVolumeDialog(Engine& engine);
void OpenTextSpeedDialog(Engine& engine);
void OpenAutoSpeedDialog(Engine& engine);
void OpenCdDriveDialog(Engine& engine);

// `delbgmvol`.
void RegisterSettingsDialogCommands(CommandTable& table);

}  // namespace orivane
