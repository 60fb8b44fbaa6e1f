// What a directory holds, and where a directory that has gone missing went.
#pragma once

#include <string>

// The kind of navigation-program installation in the folder `dir` (a
// directory text; a missing trailing separator is added). Files are found
// without regard to case, programs by ProgramFileExists (files/SetupPaths.h):
//   1  V edition: "solvnv.exe" or "solvnvl.exe" (or vardekka) with "solvnv.ini";
//   3  R edition: "solvnr.exe" with "solvnr.ini";
//   5  R lite edition: "solvnrl.exe" with "solvnr.ini", tested only when the
//      R test fails;
//   0  none of these, a missing folder, or an empty text (no installation).
// The tests run in the order V, R, R lite; the first that holds decides.
int InstallationKind(const std::string& dir);

// A drive-form directory text moved to the drive where it exists. When the
// folder does not exist and its drive is not a CD-ROM in the drive table, the
// same text with the letter replaced by E, then D, then C is tried (letters
// missing from the table are skipped) and the last that exists is returned,
// so C wins over D over E. Unchanged when the folder exists, its drive is a
// CD-ROM, no other drive has it, or the text is not in drive form (a Linux or
// relative path has no drive).
std::string RelocateDrive(const std::string& path);
