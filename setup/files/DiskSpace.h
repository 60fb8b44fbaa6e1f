// Free space of a drive, by the drive numbers of the setup program.
#pragma once

#include <cstdint>

// Bytes available to this user on drive number `drive`: 0 is the current
// drive (CurrentDrive()), 1 is A, 2 is B, 3 is C and so on (letter = drive +
// 64). The space is that of the file system holding the drive's root folder
// in the drive table. -1 for a number beyond Z, a letter missing from the
// table, or when the space cannot be asked.
std::int64_t DiskFreeBytes(int drive);
