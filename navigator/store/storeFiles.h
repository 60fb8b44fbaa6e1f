// The three files of the user-object store as the record layer knows them:
// their descriptions, their keys with the key forms to search them by, and
// the step that creates each of them. Needs neither the window layer nor Qt,
// so a tool can make the files of an empty store exactly as the navigation
// program does.
//
// Every key segment is a little-endian integer (segment mode 8) compared as a
// number of its field's type: the i32 fields (ids, latitudes, longitudes)
// signed, the u16 fields (kinds, point and text numbers) unsigned. No key
// takes duplicates.
//
//   const StoreFileBases bases = StoreFileBasesIn("/srv/nav");      // .../id, .../point, .../info
//   for (StoreFile f : kStoreFiles) {
//       const isam::FileDescription d = StoreFileDescription(f, bases);
//       if (CreateStoreFile(d) != CreateResult::Created) { ... }      // the set is now open
//       isam::CLIFIL(d);
//   }
#pragma once

#include "isam/isam.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Data file numbers.
inline constexpr int kIdFileNumber = 0;
inline constexpr int kPointFileNumber = 4;
inline constexpr int kInfoFileNumber = 6;

// Key numbers.
inline constexpr int kIdKindKey = 1;     // ID: kind, id (6 bytes)
inline constexpr int kIdPositionKey = 2; // ID: kind, latitude, longitude (10 bytes)
inline constexpr int kIdKey = 3;         // ID: id (4 bytes)
inline constexpr int kPointKey = 5;      // POINT: id, point number (6 bytes)
inline constexpr int kInfoKey = 7;       // INFO: id, text number (6 bytes)

// File modes: the single-user mode of the fixed files, and that of INFO.
inline constexpr int kFixedFileMode = 0x42;
inline constexpr int kVariableFileMode = 0x46;
inline constexpr int kExtensionSize = 4096;

// The settings block a new ID file gets as resource 0. Nothing reads it; it
// is written as zeros.
inline constexpr std::size_t kSettingsBlockSize = 10112;

// The three files, in the order the store opens them.
enum class StoreFile { Id, Point, Info };
inline constexpr std::array<StoreFile, 3> kStoreFiles{StoreFile::Id, StoreFile::Point,
                                                      StoreFile::Info};

// "ID", "POINT" or "INFO": the name the step texts give a file.
const char* StoreFileLabel(StoreFile file);

// The paths of the three files without extension; the record layer makes
// "<FOLDER>/ID.DAT" and "<FOLDER>/ID.IDX" of ".../id", and finds existing
// files in any case.
struct StoreFileBases {
    std::string id = "id";
    std::string point = "point";
    std::string info = "info";
};

// The bases "id", "point" and "info" in a folder ("" is the current folder).
StoreFileBases StoreFileBasesIn(const std::string& folder);

// ID: file 0, 64-byte fixed records, mode 0x42; keys 1 (kind 2+2, id 4+4),
// 2 (kind 2+2, latitude 8+4, longitude 12+4) and 3 (id 4+4).
isam::FileDescription IdFileDescription(const std::string& base);
// POINT: file 4, 38-byte fixed records, mode 0x42; key 5 (id 2+4, point
// number 6+2).
isam::FileDescription PointFileDescription(const std::string& base);
// INFO: file 6, an 8-byte fixed part and the text, mode 0x46; key 7 (id 2+4,
// number 6+2).
isam::FileDescription InfoFileDescription(const std::string& base);
isam::FileDescription StoreFileDescription(StoreFile file, const StoreFileBases& bases);

enum class CreateResult {
    Created,        // the set exists and is open
    CreateFailed,   // CREIFIL failed (isam::LastError tells why); nothing was replaced
    ResourceFailed, // the ID set exists and is open, but without its settings block
};

// The create step of one store file: CREIFIL, which never replaces a data
// file that exists, and for the ID file the settings block as resource 0
// (ADDRES). A created set is left open.
CreateResult CreateStoreFile(const isam::FileDescription& file);

// ---- Key forms --------------------------------------------------------------
// A search target is the key's fields as their bytes stand in a record, one
// after the other.

std::array<std::uint8_t, 6> IdKindKey(std::uint16_t kind, std::int32_t id);
std::array<std::uint8_t, 10> IdPositionKey(std::uint16_t kind, std::int32_t latitude,
                                           std::int32_t longitude);
std::array<std::uint8_t, 4> IdKey(std::int32_t id);
std::array<std::uint8_t, 6> PointKey(std::int32_t id, std::uint16_t number);
std::array<std::uint8_t, 6> InfoKey(std::int32_t id, std::uint16_t number);
