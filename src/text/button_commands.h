// The commands of the button table: defining buttons (`btndef`, `btn`,
// `spbtn`, `spbtn2`, `cellcheckspbtn`, `existspbtn`, `exbtn`,
// `cellcheckexbtn`, `exbtn_d`, `delbtn`, `btncancel`), the options of the
// wait (`btnarea`, `btndown`, `transbtn`, `maskbtn`, `getmouseover`,
// `btntime`, `btntimer`, `btntime2`, the `get…` key switches, `escoutcursor`,
// `spclclk`, `btnnowindowerase`, `mode_ember`) and the waits (`btnwait`,
// `btnwait2`, `getbtntimer`), and the text buttons of story text
// (`textbtnwait`, `selectbtnwait`, `tbtnwait`, `textbtnstart`, `linkcolor`,
// `gettextbtnstr`, `erasetextbtn`, `textexbtn`).
#pragma once

namespace orivane {

class CommandTable;

void RegisterButtonCommands(CommandTable& table);

}  // namespace orivane
