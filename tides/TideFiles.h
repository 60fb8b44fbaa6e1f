// The tide data files of one directory: the port indexes td_num.ntx (port
// number order) and td_crd.ntx (position order, the one searched) and the
// harmonic data file td_pnte.dat, which stays open while the files are
// loaded. All state is global to the library and unguarded.
//
// Index record (10 bytes, little-endian): int16 port number, int16 latitude
// and int16 longitude in minutes of arc (north and east positive), int32 byte
// offset of the port's block in td_pnte.dat. td_crd.ntx holds as many records
// as td_num.ntx, sorted by the unsigned 32-bit value of latitude (low half)
// and longitude (high half), each taken as unsigned 16 bits; so ports west of
// Greenwich sort after all ports east of it.
//
// Port block (every byte through the substitution of tideSubstitution.h):
// char[40] name, int16 latitude, int16 longitude (minutes), int8 time zone,
// uint8 N, then N items of int16 table row, uint16 phase lag (tenths of a
// degree, Greenwich), uint16 amplitude (tenths of the height unit).
//
// Time zone: the whole hours to subtract from UTC to get the port's standard
// time (local = UTC - zone), so a port east of Greenwich has a negative zone
// (Bergen -1) and one west of it a positive zone (Halifax +4).
#pragma once

#include "TideTypes.h"

#include <cstdint>

namespace flodwave {

constexpr int kMaxDirectoryLength = 240;

struct PortHeader {
    char name[41]; // NUL-terminated, at most 40 characters
    std::int16_t lat;
    std::int16_t lon;
    std::int8_t timeZone;
    std::uint8_t count;
};

// Loads the index files of dir (null or longer than 240 characters refused;
// with or without a trailing "/" or "\\") and opens td_pnte.dat. Returns 0, or
// -1 when a file is missing, is not a regular file or cannot be read, or when
// the files cannot work together: an index file that does not hold whole
// 10-byte records, more than 65535 ports, td_crd.ntx not holding the same
// ports as td_num.ntx or not in the position order its search needs, or a
// port whose block header does not lie inside td_pnte.dat. Every refusal but
// a missing file traces its reason (traceMessage). A failed load keeps what
// was loaded before, whole and usable; a successful one replaces it and
// closes the previous data file.
int loadTideFiles(const char* dir);

// Finds the port at exactly (lat, lon) minutes and makes its constituents
// the engine's current port table. Returns 1 and fills header when found, 0
// when no port is there (or nothing is loaded), -1 when the port's block is
// damaged (offset outside the file, short, more than 69 items, a row outside
// 0..68); then the engine's table is left as it was.
int readTidePort(std::int16_t lat, std::int16_t lon, PortHeader& header);

// Closes td_pnte.dat and frees the indexes; the port count becomes 0.
void releaseTideFiles();

// Number of ports loaded (0 when none).
int tidePortCount();

// Copies record i of td_num.ntx (port-number order); false when i is outside
// 0..tidePortCount()-1.
bool tideIndexRecord(int i, IndexFileStruct& record);

} // namespace flodwave
