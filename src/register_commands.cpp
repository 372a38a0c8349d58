#include "register_commands.h"

#include "archive/archive_commands.h"
#include "graphics/bars.h"
#include "graphics/direct_draw_commands.h"
#include "graphics/font_pictures.h"
#include "graphics/graphics_commands.h"
#include "graphics/mouse_cursor.h"
#include "graphics/numbers.h"
#include "graphics/picture_tools.h"
#include "graphics/plugin_commands.h"
#include "graphics/screen_filters.h"
#include "graphics/screen_shake.h"
#include "graphics/sprite_gradation.h"
#include "save/persistent_commands.h"
#include "save/save_commands.h"
#include "save/screenshot_commands.h"
#include "save/system_menu.h"
#include "script/command_table.h"
#include "script/control_commands.h"
#include "script/debug_trace.h"
#include "script/declaration_commands.h"
#include "script/general_commands.h"
#include "script/system_commands.h"
#include "shell/dialog_commands.h"
#include "shell/settings_dialogs.h"
#include "shell/shell_commands.h"
#include "sound/movie_commands.h"
#include "sound/music_commands.h"
#include "sound/sound_commands.h"
#include "text/back_log_commands.h"
#include "text/button_commands.h"
#include "text/draw_text_command.h"
#include "text/input_wait_commands.h"
#include "text/read_flag_commands.h"
#include "text/right_click.h"
#include "text/selection_commands.h"
#include "text/string_sprite.h"
#include "text/text_output_commands.h"
#include "text/text_window_commands.h"
#include "text/trap_commands.h"

namespace orivane {

void RegisterAllCommands(CommandTable& table) {
  RegisterControlCommands(table);
  RegisterDeclarationCommands(table);
  RegisterGeneralCommands(table);
  RegisterSystemCommands(table);
  RegisterArchiveCommands(table);
  RegisterShellCommands(table);
  RegisterDialogCommands(table);
  RegisterSettingsDialogCommands(table);
  RegisterDebugCommands(table);
  RegisterGraphicsCommands(table);
  RegisterScreenFilterCommands(table);
  RegisterBarCommands(table);
  RegisterScreenShakeCommands(table);
  RegisterNumberCommands(table);
  RegisterGradationCommands(table);
  RegisterFontPictureCommands(table);
  RegisterPictureToolCommands(table);
  RegisterMouseCursorCommand(table);
  RegisterDirectDrawCommands(table);
  RegisterPluginCommands(table);
  RegisterTextWindowCommands(table);
  RegisterTextOutputCommands(table);
  RegisterDrawTextCommand(table);
  RegisterStringSpriteCommands(table);
  RegisterButtonCommands(table);
  RegisterInputWaitCommands(table);
  RegisterTrapCommands(table);
  RegisterRightClickCommands(table);
  RegisterBackLogCommands(table);
  RegisterSaveCommands(table);
  RegisterScreenshotCommands(table);
  RegisterSystemMenuCommands(table);
  RegisterSelectionCommands(table);
  RegisterReadFlagCommands(table);
  RegisterPersistentDataCommands(table);
  RegisterSoundCommands(table);
  RegisterMusicCommands(table);
  RegisterMovieCommands(table);
}

}  // namespace orivane
