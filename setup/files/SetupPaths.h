// The setup program's path model: how a directory text of the configuration
// files names a folder on this machine, and how files are found in it.
//
// Rules every unit of the setup program relies on:
// - A directory text is kept as written, in Windows-1252 bytes, in one of
//   three forms: drive form ("C:\RUNTIME\"), Linux form ("/opt/nav/", also
//   "\opt\nav\"), or relative ("KV71\"). Nothing rewrites a stored text into
//   another form.
// - LocalPath gives the Linux path (UTF-8): "\" becomes "/", a leading "X:"
//   becomes drive X's root folder in the drive table (os/drives.h), and a
//   letter missing from the table names nothing (""). A relative text is
//   taken against a base directory text: the configuration files take their
//   relative values against their installation directory, which is where the
//   navigation program runs. Without a base it is taken against the current
//   directory.
// - The way back is os::windowsPath: the drive with the longest root holding
//   the path gives the letter; a path under no drive root keeps its Linux
//   form. A folder whose name Windows-1252 cannot hold cannot be stored (the
//   way back gives ""), and no search finds it.
// - CurrentDrive() is the letter of the current directory, 'C' when it lies
//   under no drive root. This is "the drive" wherever a default needs one.
// - Files and folders are found without regard to ASCII case, component by
//   component ("C:\RUNTIME\SOLVNV.INI" finds Runtime/solvnv.ini); the exact
//   spelling wins, then the first match in byte order. Letters beyond ASCII
//   must match exactly.
// - An empty text names nothing: it is no file, no folder and no
//   installation. Callers test for "" before adding a backslash, because "\"
//   would name a root folder.
// - SamePath compares the Linux paths, made absolute and with "." and ".."
//   resolved by their text, trailing separators ignored, case significant (two
//   spellings may be two folders on Linux). A text naming nothing equals
//   nothing.
// - Program files are named the Windows way ("solvnvl.exe"). A folder holds
//   one when it holds, in any case, that name, the name without ".exe", or,
//   for the V lite program "solvnvl.exe", `vardekka` (the navigation program
//   built here; its window title "Solvanor V lite" is that edition's). It
//   must be a regular file or a link to one; the executable bit is not
//   required.
//
// Example:
//   os::setDrive('C', "/srv/nav", os::DriveType::Fixed);
//   LocalPath("C:\\RUNTIME\\");                  // "/srv/nav/RUNTIME/"
//   LocalPath("KV71ATTR\\", "C:\\RUNTIME\\");    // "/srv/nav/RUNTIME/KV71ATTR/"
//   FileExists("C:\\RUNTIME\\SOLVNV.INI");       // true for /srv/nav/Runtime/solvnv.ini
//   ProgramFilePath("C:\\RUNTIME\\", "solvnvl.exe"); // "C:\RUNTIME\vardekka"
#pragma once

#include <string>

// The Linux path (UTF-8) that the directory or file text names; relative texts
// are taken against `base` (itself a text, mapped the same way), or against
// the current directory when base is "". "" when the text is empty or names a
// drive letter missing from the table. The file need not exist.
std::string LocalPath(const std::string& text, const std::string& base = "");

// The letter (upper case) of the drive that holds the current directory; 'C'
// when it lies under no drive root or cannot be read.
char CurrentDrive();

// The Linux path of the existing file or folder that the text names, found
// without regard to ASCII case; "" when there is none.
std::string ExistingPath(const std::string& text, const std::string& base = "");

// True when the text names an existing file that is not a folder (a link is
// followed).
bool FileExists(const std::string& text, const std::string& base = "");

// True when the text names an existing folder (a link is followed).
bool DirExists(const std::string& text, const std::string& base = "");

// The Linux path of the text made absolute against the current directory,
// with "." and ".." resolved by their text (links are not followed) and
// without a trailing separator; "" when the text names nothing.
std::string NormalLocalPath(const std::string& text, const std::string& base = "");

// True when both texts name the same Linux path by the rule above; false when
// either names nothing.
bool SamePath(const std::string& a, const std::string& b, const std::string& base = "");

// True when `fileName` (a name on disk, UTF-8, without folder) is one that a
// folder may hold for the program file `name`: the name or the name without
// ".exe", in any case, and `vardekka` for "solvnvl.exe".
bool ProgramFileNameMatches(const std::string& fileName, const std::string& name);

// The program file `name` in the folder `dir` (a directory text), as a text:
// dir with its separator added and the name as spelled on disk. Accepted
// names are tried in the order: the name, the name without ".exe",
// `vardekka`; in each the exact spelling first. "" when the folder holds none
// of them as a regular file (a directory of that name or a dangling link
// does not count).
std::string ProgramFilePath(const std::string& dir, const std::string& name);

// True when ProgramFilePath finds the program file.
bool ProgramFileExists(const std::string& dir, const std::string& name);
