// Finding the four editions' installations, deciding from the desktop
// shortcuts which get a tab, and loading and repairing their configuration
// files, when the main form is first shown.
//
// The search, over the drive table: for each letter from Z down to C that the
// table has, and each candidate directory in its list order, a drive-form
// candidate gets that letter and is tested for the edition's files; a
// candidate in no drive form (a Linux folder under no drive root) is tested as
// it stands, in the C round only. The setup program's own folder, the current
// directory and the directories of Ostrel.INI are first put in drive form.
// Hits are stored in drive form with a trailing "\". In normal mode the last
// hit wins (the lowest letter, then the last candidate); in lite mode the
// first. An empty directory text is never an installation.
//
// Example:
//   TInstallButtons buttons;
//   FindInstallations(data, buttons);
//   if (LoadAndRepairInstallations(data, buttons)) { /* Apply pending */ }
//   if (data.InstallationFound == 0) { /* no installation: the form closes */ }
#pragma once

#include "config/SetupData.h"

// The state of one of the main form's buttons.
struct TButtonState {
    bool Enabled = true;
    bool Visible = true;
};

// The buttons the search decides, mirrored by the main form: an edition's
// shortcut button enabled after the search means its installation was found,
// and the chart-copy buttons follow their edition's.
struct TInstallButtons {
    TButtonState BtnVektorCreate;
    TButtonState BtnBathymetricCreate;
    TButtonState BtnELVOCreate;
    TButtonState BtnRasterCreate;
    bool BtnCopyCD1 = true; // vector
    bool BtnCopyCD2 = true; // vector
    bool BtnCopyBthCD = true;
    bool BtnCopyELVOCD = true;
};

// The desktop shortcuts (written as "<name>.desktop" in the desktop folder).
inline constexpr const char* kShortcutVector = "Solvanor V.lnk";
inline constexpr const char* kShortcutBathymetric = "Solvanor V Bathymetric.lnk";
inline constexpr const char* kShortcutElvo = "Solvanor V ELVO.lnk";
inline constexpr const char* kShortcutRaster = "Solvanor R.lnk";
inline constexpr const char* kShortcutRasterLite = "Solvanor R Lite.lnk";

// Finds the installations, starting from the directories and lite mode that
// Ostrel.INI gave, and sets the buttons.
// Normal mode:
// - Vector: a vector directory holding SOLVNV.INI is kept (without
//   "solvnvl.exe" its shortcut button is disabled and hidden and both copy
//   buttons disabled). Otherwise the three buttons are disabled and a hit of
//   SOLVNV.INI with "solvnvl.exe" (or vardekka) among: the program's own
//   folder, the vector directory, the current directory, C:\RUNTIME,
//   C:\SOLVNV, C:\Solvanor V, C:\Solvanor_V, C:\Solvanor-V, C:\SolvanorV
//   enables them.
// - Bathymetric: kept when its directory holds SOLVNV.INI and is not the
//   vector directory (without "solvnv.exe" its button is disabled and hidden,
//   its copy button disabled); otherwise searched in its directory and
//   C:\RUNBATH, or in C:\RUNBATH only when it was the vector directory, for
//   SOLVNV.INI with "solvnv.exe".
// - ELVO: as bathymetric without the comparison, in its directory and
//   C:\RUNELVO.
// - R: kept when its directory holds SOLVNR.INI; otherwise its button is
//   disabled and hidden, and a hit of SOLVNR.INI with "solvnr.exe" in its
//   directory or C:\SOLVNR enables and shows it.
// Lite mode: the V buttons and the four copy buttons disabled; an R directory
// without SOLVNR.INI disables the R button, and the first hit of SOLVNR.INI in
// it or C:\SOLVANOR takes the directory and enables and shows the button.
// Then, when the desktop folder is known, the tab flags: each is on only when
// the edition's shortcut is on the desktop and its button is enabled (in lite
// mode "Solvanor R Lite" stands in for a missing "Solvanor R"). A shortcut of
// an edition not found is deleted only when it is a desktop entry that
// starts the edition's program file and that file no longer exists; any other
// file of that name is kept. Without a desktop folder the flags stay.
void FindInstallations(TSetupData& data, TInstallButtons& buttons);

// Loads each found installation's configuration file and repairs what points
// nowhere, in the order vector, bathymetric, ELVO (not in lite mode), R. Every
// installation kind met that is not 0 becomes data.InstallationFound.
// - V editions: kind not 1, or the button disabled: the button is hidden and
//   the edition skipped. Otherwise, with SOLVNV.INI there: LoadVIni; a
//   dictionary or tide directory that is not the installation's KV71ATTR or
//   TIDES folder marks modified; a KV71ROOT that is no existing folder is
//   trimmed (empty: the edition's default C:\KV71, C:\BATH or C:\ELVO), moved
//   to the drive where it exists (RelocateDrive) and put into KV71ROOT,
//   KV71CAT and KV71CHRLIST, marking modified.
// - R: kind neither 3 nor 5, or the button disabled: the button is disabled
//   and hidden. Otherwise, with SOLVNR.INI there: LoadRIni; when MAPROOT holds
//   no "map.dat" but the installation directory does (and is another folder),
//   MAPROOT becomes the installation directory and the result is true (Apply
//   must become pending, so the files are saved); when neither holds it, the
//   button is disabled.
bool LoadAndRepairInstallations(TSetupData& data, TInstallButtons& buttons);
