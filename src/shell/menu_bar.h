// The window's menu bar: the built-in bar with its check marks, the font items,
// the bar a script builds with resetmenu / insertmenu, and the completion of
// the menu when the *define block ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/menu.h"

namespace orivane {

struct Engine;
struct ShellState;

// The built-in bar, its check marks taken from the current settings and
// screen mode. Dialog items that this build cannot open yet are greyed.
Menu BuildStandardMenu(const Engine& engine);

// Sets the check mark of every item with this command identifier.
void SetMenuChecked(Menu& menu, int32_t command, bool checked);

// Refills the font table from the installed fonts and inserts their items
// before every "デフォルト" font item (40004) of the bar.
void FillFontMenu(Engine& engine);

// The command identifier of an `insertmenu` keyword (any case), or nullopt.
std::optional<int32_t> MenuWordCommand(std::string_view keyword);

// Builds a font sub-menu: the fonts of the table, then "デフォルト" (checked).
MenuItem BuildFontSubMenu(const ShellState& shell, std::string_view label_utf8);

// Called when the *define block has ended: removes a deleted bar, resets the
// current font, takes the auto-mode item off the built-in bar unless the
// block kept it, and makes a script-built bar's check marks match the settings.
void CompleteMenuAtGame(Engine& engine);

// Hands the current bar to the platform (nothing after `deletemenu` took effect).
void ShowMenuBar(Engine& engine);

}  // namespace orivane
