// Indexed record files: fixed or variable-length records of the navigation
// program's user-object store, found through unique keys.
//
// A file set is two files beside each other: "<NAME>.DAT", an SQLite database
// that holds the records, their key values and the resources, and
// "<NAME>.IDX", a short text that repeats the description the set was made
// with. Records are byte arrays kept whole; the key values are taken from the
// record bytes at every write. Each call that writes is one SQLite
// transaction (WAL journal, synchronous=FULL, exclusive locking), committed
// before the call returns, so a killed program loses no record whose call has
// returned.
//
// Numbers: a data file number names a file in the record calls; its keys are
// numbered after it (file 0 with keys 1 to 3, file 4 with key 5). Every call
// answers 0 for success or one of the error numbers below, which LastError()
// keeps until the next failing call. The layer is single-user; its table of
// open files is guarded by one mutex, but it is meant for one thread.
//
// Example:
//     isam::INTISAM(18, 13, 8);
//     if (isam::OPNIFIL(point) != 0) { ... }        // point: a FileDescription
//     std::uint8_t key[6] = {...}, record[38];
//     for (int r = isam::GTEREC(5, key, record); r == 0; r = isam::NXTREC(5, record)) { ... }
//     isam::CLIFIL(point);
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace isam {

// Error numbers.
inline constexpr int kDuplicateKey = 2;        // a key of the record is taken by another record
inline constexpr int kCannotOpen = 12;         // a file is missing, locked or cannot be made
inline constexpr int kDescriptionDiffers = 13; // the set was made with another description
inline constexpr int kFileExists = 14;         // CREIFIL: the data file exists already
inline constexpr int kDamaged = 15;            // the data file is damaged or not a record file
inline constexpr int kReadWrite = 16;        // the disk refused a read or a write (full, I/O error)
inline constexpr int kBadArgument = 20;      // a bad description, number, buffer or mode
inline constexpr int kNoCurrentRecord = 100; // a record call without a current record
inline constexpr int kNotFound = 101;        // a search or a batch found nothing

// The only segment mode: a little-endian integer of 2 or 4 bytes.
inline constexpr int kSegmentMode = 8;
// The longest key, in bytes.
inline constexpr int kMaxKeyLength = 32;
// The longest record, fixed or variable, in bytes.
inline constexpr int kMaxRecordLength = 65535;

// One field of a key: `length` (2 or 4) bytes at byte `position` of the
// record, read little-endian and compared as a signed or an unsigned number.
struct Segment {
    int position = 0;
    int length = 0;
    int mode = kSegmentMode;
    bool isSigned = false;
};

// One unique key of a data file. Its number is the data file number plus its
// place among the file's keys, counted from 1; keyLength is the sum of the
// segment lengths. Keys compare segment by segment, each as a number.
struct Index {
    int keyNumber = 0;
    int keyLength = 0;
    bool duplicates = false; // must be false: every key is unique
    std::vector<Segment> segments;
};

// A file set and its keys. `name` is the path without extension; the files
// are named after its last component in upper case. For a variable file
// recordLength is the fixed part, which holds every key. The extension sizes
// and the file mode are kept as given (GETFIL answers the mode).
struct FileDescription {
    std::string name;
    int dataFileNumber = 0;
    int recordLength = 0;
    bool variable = false;
    int dataExtension = 0;
    int indexExtension = 0;
    int fileMode = 0;
    std::vector<Index> indexes;
};

// The paths of a file set, for the programs that copy or replace one.
struct FileSet {
    std::string data;  // "<folder>/<NAME>.DAT", or the existing file of that name in any case
    std::string index; // "<folder>/<NAME>.IDX", likewise
    // Files that may lie beside the data file: the write-ahead log of an open
    // or crashed set ("-wal"), and the "-journal" and "-shm" that other SQLite
    // clients may leave. A set is replaced only together with these.
    std::vector<std::string> companions;
};

// A batch read request (BATSET). The caller sets significantLength and
// target; each call sets the three counts: total, the records that matched
// when the batch started; returned, the entries this call put into the
// buffer; available, how many of the total are still to come (0 once a part
// comes back short). Records written while a batch runs are returned when
// their keys lie ahead of it, but the counts do not follow them.
struct BatchRequest {
    std::uint32_t total = 0;
    std::uint32_t available = 0;
    std::uint32_t returned = 0;
    std::uint16_t significantLength = 0; // bytes of the target that must match
    std::array<std::uint8_t, kMaxKeyLength> target{};
};

// BATSET modes.
inline constexpr int kBatchStart = 35;
inline constexpr int kBatchNext = 34;
inline constexpr int kBatchEnd = 1;

// ---- Start and files ------------------------------------------------------

// Starts the layer. buffers and sectors must be positive and are not used
// otherwise; files (positive) bounds the file and key numbers: a set opens
// only when its data file number and all its key numbers are below it. May
// be called again; open sets stay open.
int INTISAM(int buffers, int files, int sectors);

// Opens a set by its description. Fails with kCannotOpen when either file is
// missing or the data file is locked by another process, kDescriptionDiffers
// when the .IDX or the data file holds another description, kDamaged when the
// data file is not a sound record file, kBadArgument when the description is
// refused (only segment mode 8, segment lengths 2 and 4, unique keys) or its
// numbers are in use. An open set has no current record.
int OPNIFIL(const FileDescription& file);

// Makes a new set and opens it. Never replaces a data file that exists in any
// case (kFileExists); an existing .IDX is replaced, and a log or journal left
// beside the missing data file is removed so it cannot be applied to the new
// one. The data file appears whole or not at all.
int CREIFIL(const FileDescription& file);

// Rebuilds a closed set from its data file: checks the database, recomputes
// every key value from the record bytes, rebuilds the keys of this
// description, compacts the file and writes a new .IDX. The set stays closed.
// A record that does not fit the description (kDamaged) or whose keys collide
// (kDuplicateKey) makes it fail with the data file unchanged.
int RBLIFIL(const FileDescription& file);

// Checkpoints and closes an open set, which then is exactly its two files.
// The set is forgotten even when the checkpoint fails (kReadWrite); its
// records are then still in the log beside it and the next open applies them.
int CLIFIL(const FileDescription& file);

// Adds `length` bytes (1 to kMaxRecordLength) as the next resource of a data
// file, numbered from 0 in the order added (table "resources").
int ADDRES(int file, const void* block, std::size_t length);

// A property of an open data file. Only mode 3, the file mode stored at
// creation, is answered; -1 (and kBadArgument) otherwise.
long GETFIL(int file, int mode);

// ---- Searches ---------------------------------------------------------------
// A target is a key value: the key's segments, each as its bytes stand in a
// record, one after the other (keyLength bytes). A found record is copied into
// `record`, which must hold the file's record length (for a variable file its
// fixed part; REDVREC reads the whole), and becomes the file's current record.
// A search that finds nothing answers kNotFound and leaves the current record.

// Puts a target into key form. Our key form is the segment bytes as they
// stand, so the target is left as it is; fails only for an unknown key.
int TFRMKEY(int key, void* target);

// The record whose key equals target.
int EQLREC(int key, const void* target, void* record);
// 0 when a record with this key exists, else kNotFound; the current record
// stays as it was.
int EQLKEY(int key, const void* target);
// The record with the smallest key at or above target.
int GTEREC(int key, const void* target, void* record);
// The record with the largest key at or below target.
int LTEREC(int key, const void* target, void* record);
// The record with the next larger, or next smaller, key than the current
// record's key in this index. The current record may have been deleted or
// rewritten since it was found: the walk goes on from its last key.
// kNoCurrentRecord when the file has none.
int NXTREC(int key, void* record);
int PRVREC(int key, void* record);

// ---- Fixed records ----------------------------------------------------------
// record holds the file's record length. A write that would duplicate any
// key answers kDuplicateKey and changes nothing.

// Adds a record; it becomes current.
int ADDREC(int file, const void* record);
// Replaces the current record; the new bytes become current, so a walk goes
// on from the new key.
int RWTREC(int file, const void* record);
// Deletes the current record. Its key stays the position of the walk
// (NXTREC goes on with the record after it), but there is no current record
// to rewrite or delete until the next search.
int DELREC(int file);

// ---- Variable records -------------------------------------------------------
// A variable record is its fixed part (which holds the keys) and a tail;
// length counts both and lies between the fixed length and kMaxRecordLength.

int ADDVREC(int file, const void* record, std::size_t length);
int RWTVREC(int file, const void* record, std::size_t length);
int DELVREC(int file);
// Copies the whole current record into buffer. Fails (kBadArgument) without
// writing anything when the record is longer than size.
int REDVREC(int file, void* buffer, std::size_t size);
// The length of the current record, fixed part and tail; 0 (and an error)
// when there is none.
std::size_t GETVLEN(int file);

// ---- Batches ----------------------------------------------------------------

// Reads the records whose key matches request->target on its first
// request->significantLength bytes (0 to keyLength, ending on a segment
// boundary), in key order. Each entry in buffer is a 4-byte record position
// (little-endian) followed by the record; as many whole entries as fit in
// size. kBatchStart begins a batch (ending one that runs), kBatchNext gives
// the next part, kBatchEnd ends it (request and buffer may be null). A call
// that returns no entry answers kNotFound. A batch keeps its own position and
// leaves the file's current record alone. Fixed files only.
int BATSET(int key, BatchRequest* request, void* buffer, std::size_t size, int mode);

// The error number of the last failing call, 0 before any.
int LastError();

// The paths of the set named by `name` (a path without extension): existing
// files found without regard to case, otherwise the last component in upper
// case with ".DAT" and ".IDX" in the folder as given.
FileSet FileSetPaths(const std::string& name);

} // namespace isam
