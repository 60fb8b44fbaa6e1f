// Reading settings from INI files ("profiles") such as SOLVNV.INI and
// ECPALETT.INI, the way the navigation program asks for them.
//
// A file is named by Windows-1252 text, found through the drive table
// (localPath) and then without regard to ASCII case (findNoCase), and read as
// readTextLines reads it. Its rules:
// - A header is a line that, trimmed of blanks and tabs, equals "[" + name +
//   "]" with ASCII case ignored. The first such line starts the section; it
//   ends before the next line whose first non-blank character is "[".
// - A key line is: optional blanks, the key (ASCII case ignored), optional
//   blanks, "=", the value. A line whose first non-blank character is ";" is a
//   comment, so ";Comport3=..." never answers `Comport3`. The first matching
//   line wins.
// - A value is the text after the first "=", trimmed of blanks and tabs;
//   quotes are kept as written.
// There is no writer: the navigation program only reads its profiles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// The value of `key` in `section` of `file`, or `defaultValue` (null reads as
// "") when the file, the section or the key is missing. At most size - 1 bytes
// and a NUL go into `buffer`; the result is the number of bytes before the NUL,
// so a value that was cut gives size - 1 and the caller may ask again with a
// larger buffer. A null buffer or a size of 0 gives 0 and writes nothing; a
// null section gives the default.
//
// A null `key` lists the section's key names instead: each followed by a NUL,
// the list ended by one more NUL; the result counts the bytes before that final
// NUL. A list that does not fit keeps only the names that fit whole, is filled
// with NULs to the end of the buffer (so it still ends in two NULs) and gives
// size - 2. A missing file or section gives an empty list and 0.
std::uint32_t getPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* file);

// The leading decimal number of the value of `key` (blanks, an optional sign,
// then digits; what follows the digits is ignored, so "256abc" is 256). A
// missing file, section or key, a value without a leading digit, or a number
// outside the 32-bit signed range gives `defaultValue`.
int getPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* file);

// One key line of a section: its key as written (trimmed) and its value.
struct ProfileEntry {
    std::string key;
    std::string value;
};

// The key lines of the first section named `section` in `lines`, in file
// order, by the rules above (duplicates kept; callers take the first).
std::vector<ProfileEntry> profileSection(const std::vector<std::string>& lines,
                                         std::string_view section);

} // namespace os
