// The commands that set up the text window: its geometry and look
// (`setwindow`, `setwindow2`, `setwindow3`), fonts (`font`, `setfont`,
// `defaultfont`, `spfont`, `rubyon`, `rubyoff`, `tateyoko`), speeds
// (`textspeed`, `textspeeddefault`, `defaultspeed`, `settextspeed`), colours
// and shadow (`setcolor`, `shadedistance`), the cursor (`locate`, `indent`),
// line-end waits (`clickstr`, `linepage`, `linepage2`, `zenkakko`), showing
// and hiding (`texton`, `textoff`, `texthide`, `textshow`, `textmode`,
// `erasetextwindow`, `windowchip`) and `tal`, which fades a standing picture.
#pragma once

namespace orivane {

class CommandTable;

void RegisterTextWindowCommands(CommandTable& table);

}  // namespace orivane
