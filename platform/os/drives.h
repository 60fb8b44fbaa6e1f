// Drive letters and the one rule between Windows path texts and Linux paths.
//
// The system names folders the Windows way ("C:\KV71\", "E:\KV71"). Each
// letter A to Z may have a root folder and a kind. The default table: C is
// "/" (fixed); the letters of the platform file's [DRIVES] section come first
// (see platformFile.h); then every iso9660 or udf file system mounted on this
// machine takes the next free letter from D, in mount-point order, as a
// CD-ROM. A letter without a root names nothing.
//
// Path texts of the system are Windows-1252 bytes; Linux paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace os {

// Kinds of drive, with the numbers Windows gives them.
enum class DriveType : int {
    Unknown = 0,
    NoRootDir = 1, // no such drive
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
};

// The kind of drive `letter` (either case); NoRootDir for a letter without a
// root or a character that is not a letter.
DriveType driveType(char letter);

// The root folder of drive `letter` (either case) as a Linux path without a
// trailing "/" ("/" itself for the file system root); "" when it has none.
std::string driveRoot(char letter);

// The letters that have a root, upper case, in order ("CD").
std::string driveLetters();

// For tests and the platform file: gives `letter` the root folder `root` (a
// Linux path; trailing "/" removed) and kind `type`. An empty root removes the
// letter. Does nothing for a character that is not a letter.
void setDrive(char letter, const std::string& root, DriveType type);

// Goes back to the default table (built again at its next use).
void resetDrives();

// Builds the table from the given mount table (in the form of
// /proc/self/mountinfo) and platform file instead of the machine's own. For
// tests; resetDrives() goes back to the machine's.
void resetDrives(const std::string& mountInfoPath, const std::string& platformFilePath);

// The Linux path of a Windows-1252 path text: the text becomes UTF-8, every
// "\" a "/", and a leading "X:" the root of drive X ("C:\KV71\" is
// "/KV71/" while C is "/"; "C:" alone is the root). A letter without a root
// gives "" (nothing exists there). Linux and relative texts keep their form.
std::string localPath(const std::string& text);

// The Windows-1252 path text of a Linux path: the path is made absolute
// (against the current folder; "." and ".." parts resolved by their text),
// the drive with the longest root that holds it gives the letter ("/" is C),
// and the rest follows with "\" ("/KV71/" is "C:\KV71\"). A path under no
// root keeps its Linux form. A name that Windows-1252 cannot hold, or one
// holding a "\" (it would read back as a separator), gives "", so no wrong
// path is ever stored.
std::string windowsPath(const std::string& path);

// Bytes available to this user on the file system that holds `path` (a Linux
// path); -1 when it cannot be asked.
std::int64_t diskFreeBytes(const std::string& path);

// For tests: replaces what diskFreeBytes answers; an empty function restores
// the real one.
void setDiskFreeBytesFunction(std::function<std::int64_t(const std::string&)> function);

// The running program's file (from /proc/self/exe); "" when unknown.
std::string programPath();

// The folder of programPath(), without a trailing "/"; "" when unknown.
std::string programDirectory();

} // namespace os
