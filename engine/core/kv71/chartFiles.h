// Opening the files of a KV71 chart tree and of the dictionaries.
//
// Chart data names its files in upper case (block folders, level folders,
// cell files, .INF files, dictionary files) while a copied tree may hold them
// in any case, so every component of such a path is found case-insensitively
// (ASCII letters only; other bytes must match exactly). Paths keep their case
// and use '/'.
#pragma once

#include <cstdio>
#include <string>

// The local form of a path that may be written the Windows way, by the os
// layer's one rule (os::localPath): Windows-1252 text becomes UTF-8, every
// '\' becomes '/', and a leading drive ("C:") becomes that drive's root folder;
// a drive without a root gives "" (nothing is there). Null gives "".
std::string localChartPath(const char* path);

// fopen of os::findNoCase(localChartPath(path)); null when nothing matches, the
// match is no regular file (a folder) or it cannot be opened.
std::FILE* openChartFile(const char* path, const char* mode);

// Size in bytes of an open file (its position is kept), or -1.
long chartFileSize(std::FILE* file);

// Reads one line of a text file, of any length, without its line end (LF,
// CR LF, or a CR left at the end of the file) into line. False at the end of
// the file.
bool readLine(std::FILE* file, std::string& line);
