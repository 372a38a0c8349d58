// The general-purpose commands: assignment and arithmetic, random numbers
// and trigonometry, strings, date and time, INI and registry lookups, files,
// the CSV reader and writer, and starting other programs.
#pragma once

namespace orivane {

class CommandTable;

void RegisterGeneralCommands(CommandTable& table);

// The groups RegisterGeneralCommands is made of, one per source file.
void RegisterArithmeticCommands(CommandTable& table);  // mov family, add .. dec, rnd, sin ..
void RegisterStringCommands(CommandTable& table);      // itoa .. split, date, time, getversion
void RegisterFileCommands(CommandTable& table);        // file*, readfile, labelexist, getini, getreg
void RegisterCsvCommands(CommandTable& table);         // csvopen .. csvclose
void RegisterProgramCommands(CommandTable& table);     // winexec, shell, getret

}  // namespace orivane
