// Line and key=value reading of small text files.
//
// Files are read as bytes (Windows-1252); a line ends at "\n", and a "\r"
// right before it is dropped too, so files written with either line end read
// the same.
#pragma once

#include <cstddef>
#include <cstdio>

extern "C" {

// Reads one line of at most size - 1 bytes into buf and returns buf, or null
// at end of file (or for a null buf or stream, or size < 1). The line end is
// removed; the rest of a longer line is read and dropped up to the next line
// end or end of file.
char* readLine(char* buf, int size, std::FILE* stream);

// value = def, then for every line of file (lines of up to 80 bytes, the rest
// of a longer line dropped) that holds '=': when the text before the first
// '=' equals key exactly, value = the text after it, with its trailing bytes
// below 33 removed. The last such line wins; a file that cannot be opened
// leaves def. value holds size bytes: longer texts are cut to size - 1 bytes.
// A null def counts as empty; a null value or size 0 writes nothing.
void readKeyValue(const char* file, const char* key, const char* def, char* value,
                  std::size_t size);

// The stand-in profile reader: with a null dst or size 0 it returns 0 and
// writes nothing; when file is given and can be opened it closes it again and
// returns 0 with dst empty; otherwise dst = def (empty for null) cut to
// size - 1 bytes, and the result is its length. section and key are not used.
std::size_t getProfileText(const char* section, const char* key, const char* def, char* dst,
                           std::size_t size, const char* file);

// Length in bytes of the file at path; 0 when it cannot be opened or its end
// cannot be found (a directory, for one).
long fileLength(const char* path);
}
