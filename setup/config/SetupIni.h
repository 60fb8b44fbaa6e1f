// The setup program's own settings file, .\Ostrel.INI in the current
// directory (the program is started from its installation directory): where
// the four editions are installed, which get a tab, which desktop shortcuts
// were made, lite mode and the language.
//
//   [DIRECTORY] VECTOR, BATHDB, ELVODB, BITMAP   the four installation directories
//   [CONFIG]    VECTOR, BATHDB, ELVODB, BITMAP   tab flags, "1" or "0" (missing: 1)
//               LITE                             1: lite mode (read, never written)
//               LANGUAGE                         1 Norwegian, 2 English
//   [ICONS]     VECTOR, BATHDB, ELVODB, BITMAP, Ostrel   icon flags (missing: 0)
//
// ELVODB is the ELVO edition's key; files of older programs name it FISHDB.
// A FISHDB of 1 in CONFIG or ICONS switches the ELVO tab or icon flag on, and
// the next save drops every FISHDB line, so ELVODB takes its place.
//
// A missing file reads as the default text (the buffer gets it, and the
// configuration is marked modified):
//   [DIRECTORY] VECTOR=C:\RUNTIME, BATHDB=C:\RUNBATH, ELVODB=C:\RUNELVO, BITMAP=C:\SOLVNR
//   [CONFIG]    VECTOR, BATHDB, ELVODB, BITMAP = 0, LANGUAGE=1
//   [ICONS]     VECTOR, BATHDB, ELVODB, BITMAP, Ostrel = 0
// so it starts with every tab flag off. Written key by key into an empty
// buffer, each section's lines come out in the buffer's insertion order
// (DIRECTORY reads BATHDB, ELVODB, BITMAP, VECTOR).
#pragma once

#include "config/SetupData.h"

// Reads .\Ostrel.INI (its name in any case) into the directories, tab and icon
// flags, lite mode and language of `data`:
// - each directory key missing keeps the current value;
// - LITE=1: lite mode, all four tab flags off; otherwise a tab flag is on when
//   its CONFIG key is 1 (missing counts as 1); ELVO also when FISHDB is 1;
// - icon flags: the low byte of VECTOR, BATHDB, BITMAP and Ostrel; ELVO is 1
//   when ELVODB or FISHDB is 1, else 0;
// - language: the low byte of LANGUAGE (missing 1); 0 becomes 1, above 2
//   becomes 2.
// False when the file exists but cannot be read (the settings then stay).
bool LoadSetupIni(TSetupData& data);

// Writes the directories, tab flags, language and icon flags into
// .\Ostrel.INI, keeping every other line except those whose key is FISHDB
// (plain or commented, any case). A missing file is created from the default
// text under the name "Ostrel.INI", marking modified. False when an existing
// file cannot be read (it is then left alone) or the save fails (the old file
// is then unchanged).
bool SaveSetupIni(TSetupData& data);
