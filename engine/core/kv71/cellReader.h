// The KV71 cell reader: loads a cell file into a TGeoCell of the cell cache.
//
// Cell file, little-endian, read field by field:
//   prefix   u16, u32, u32: three section lengths that add up to the file size
//   header   128 bytes (KV71CellHeader: degrees, metres, counts, flags)
//   edges    per edge u16 n, n x (u16 x, u16 y)
//   soundings per set u16 n, n x (u16 x, u16 y, u16 z)
//   points   isolated point count x (u16 x, u16 y)
//   objects  per object: u8 class, u8 flags, u16 record length (these four
//            bytes included), the geometry (u16 point or sounding set index;
//            or u16 n and n u16 edge references), [u8 m, m u16 child
//            indices], [u16 parent index], [u8 attribute count, attribute
//            bytes up to the record's end]
//
// A cell file is untrusted: the reader refuses it (null, everything it
// allocated freed, the cache's other cells kept) when
//   - the prefix does not add up to the file size, the file is shorter than
//     the counts of its header need, or a header number is not finite
//     (trace "Cell NAME is corrupt");
//   - any table, edge, sounding set or record would be read past the end of
//     the file, or more edge points, sounding points, edge references, child
//     references or attribute bytes are used than its header counts;
//   - a record does not consume exactly its length, its class code lies
//     outside the object-class table, a point or sounding set index is out
//     of range ("Error in 3D pointers"), an edge index is out of range, a
//     child index is out of range or the child lists form a cycle ("Error in
//     object pointers"), a parent index is out of range ("Error in part of
//     pointers"), the relation bit is set ("Relates to relation not
//     implemented"), or its attribute count is 0 ("Error in attribute data").
// Refusals in the object section also trace "Problems loading NAME".
// Traces go to traceMessage (util/reportError.h).
//
// The object-class table (kv71/dictionaryTables.h) must be loaded: display
// priorities come from it.
#pragma once

#include "kv71/TGeoCell.h"

#include <cstdint>

// Loads the named cell (the name is upper-cased in place) from the chart
// root, or answers it from the cache; either way it becomes the current cell
// (KV71CurrentCell) and the most recently used. Answers the object table in
// file order with objectCount set, or null with objectCount 0 when the file
// is missing or refused, or when the cell has no objects (it is then loaded
// and current all the same). An invalid name throws "ERROR: Illegal cell
// name: NAME" through the error routine.
KV71ObjectRecord* LoadKV71Cell(char* name, std::uint16_t& objectCount);

// Reads size bytes from the cell file being loaded: 1 when all were read
// (size 0 at once), else 0 with trace "Cannot read SIZE bytes". Between loads
// no file is open.
int ReadKV71Block(void* dest, long size);

// Bit 0 of the current cell's header flags. Throws "ERROR: No cell is
// current" through the error routine when no cell is current.
int KV71CurrentCellFlag();
