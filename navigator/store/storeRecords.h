// The records of the user-object store: one ID record per object (track,
// route, line, symbol, zone, area), one POINT record per point of an object,
// and INFO records holding an object's free text. Each is read and written
// field by field, little-endian, with explicit widths.
//
// Positions in the store are in store units, 1/600000 degree (a minute is
// 10000 units), north and east positive. The conversions to and from binary
// angles are exact integer arithmetic: to a binary angle rounds to nearest (as
// deg2nrm of the degrees does), from a binary angle truncates toward zero, so
// a position taken from the chart and stored never lies east or north of
// where it was clicked by more than the unit.
//
//   IdBytes bytes;
//   if (isam::EQLREC(kIdKey, IdKey(7).data(), bytes.data()) == 0) {
//       IdRecord object = IdRecord::Decode(bytes);
//       double lat = StoreUnitsToDegrees(object.latitude);
//   }
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The kinds of stored object (ID record, offset 2).
enum ObjectKind : std::uint16_t {
    kKindTrack = 1,
    kKindRoute = 2,
    kKindLine = 3,
    kKindSymbol = 5,
    kKindZone = 6,
    kKindArea = 7,
};

// The kind's name as the program shows it ("TRACK", "RUTE", "LINJE",
// "SYMBOL", "SONE", "FELT"); null for any other number.
const char* ObjectKindName(int kind);

inline constexpr std::size_t kIdRecordSize = 64;
inline constexpr std::size_t kPointRecordSize = 38;
inline constexpr std::size_t kInfoFixedSize = 8;
// The name field of an ID record: at most 29 bytes and a NUL.
inline constexpr std::size_t kNameFieldSize = 30;
inline constexpr std::size_t kMaxNameLength = kNameFieldSize - 1;

using IdBytes = std::array<std::uint8_t, kIdRecordSize>;
using PointBytes = std::array<std::uint8_t, kPointRecordSize>;

// Time stamps are 4 bytes on disk: an unsigned count of seconds since 1970,
// valid until 2106. In memory they are time_t-like 64-bit values; writing
// clamps them into 0 .. 2^32 - 1.
inline constexpr std::int64_t kMaxStoredTime = 0xFFFFFFFFll;

// One object (64 bytes):
//   0 u16 written 0 | 2 u16 kind | 4 i32 id | 8 i32 latitude | 12 i32 longitude
//   16 8 bytes kept as read | 24 u32 time stamp | 28 u16 colour | 30 u16 length
//   32 u16 point count | 34 30 bytes name, NUL-terminated
struct IdRecord {
    std::uint16_t kind = 0;
    std::int32_t id = 0;                    // 1 and up
    std::int32_t latitude = 0;              // of the anchor, store units
    std::int32_t longitude = 0;             // of the anchor, store units
    std::array<std::uint8_t, 8> reserved{}; // bytes 16..23, kept as read; 0 in a new record
    std::int64_t timeStamp = 0;             // seconds since 1970
    std::uint16_t colour = 0;     // colour number 1 to 6 (a symbol: its row in the symbol strip)
    std::uint16_t length = 0;     // 0.1 nautical mile (a symbol: its depth x 10)
    std::uint16_t pointCount = 0; // points of the object (a symbol: its symbol number)
    // Windows-1252 bytes. Written cut at 29 bytes (and at an inner NUL), read
    // up to the first NUL of the field.
    std::string name;

    bool operator==(const IdRecord&) const = default;

    IdBytes Encode() const;
    static IdRecord Decode(const IdBytes& bytes);
};

// One point of an object (38 bytes):
//   0 u16 written 0 | 2 i32 id | 6 u16 point number | 8 i32 latitude
//   12 i32 longitude | 16 u32 time | 20 u16 speed | 22 u16 course
//   24 i16 temperature | 26 u16 depth | 28 u16 depth scale
//   30 6 bytes kept as read | 36 u16 written 0
struct PointRecord {
    std::int32_t id = 0;
    std::uint16_t number = 0;   // point number, the first point of a route or line is 1
    std::int32_t latitude = 0;  // store units
    std::int32_t longitude = 0; // store units
    std::int64_t time = 0;      // seconds since 1970
    // Speed x 0.1 knot; for route and line points the cross-track limit of the
    // leg ending at the point, in hundredths of a nautical mile.
    std::uint16_t speed = 0;
    std::uint16_t course = 0;               // 0.1 degree (route and line points: as speed)
    std::int16_t temperature = 0;           // 0.01 degree
    std::uint16_t depth = 0;                // in the unit its scale gives
    std::uint16_t depthScale = 0;           // 1: depth x 0.01, otherwise x 0.1
    std::array<std::uint8_t, 6> reserved{}; // bytes 30..35, kept as read; 0 in a new record

    bool operator==(const PointRecord&) const = default;

    PointBytes Encode() const;
    static PointRecord Decode(const PointBytes& bytes);
};

// An object's text (variable length): 0 u16 written 0 | 2 i32 id | 6 u16
// number | 8 the text bytes, without a terminating NUL. The record's length
// comes from the record layer (GETVLEN).
struct InfoRecord {
    std::int32_t id = 0;
    std::uint16_t number = 0; // the program keeps one text per object, number 0
    std::string text;         // Windows-1252 bytes

    bool operator==(const InfoRecord&) const = default;

    // kInfoFixedSize + text.size() bytes.
    std::vector<std::uint8_t> Encode() const;
    // The record of `length` bytes; none when it is shorter than the fixed part.
    static std::optional<InfoRecord> Decode(const std::uint8_t* bytes, std::size_t length);
};

// ---- Store units ------------------------------------------------------------

inline constexpr double kStoreUnitsPerDegree = 600000.0;

// Store units as degrees (value / 600000).
double StoreUnitsToDegrees(std::int32_t units);

// Degrees as store units, truncated toward zero; held within the 32-bit
// range, and 0 for NaN.
std::int32_t DegreesToStoreUnits(double degrees);

// Store units as a binary angle (2^32 to the turn): the degrees reduced by the
// full turn and rounded to the nearest unit, exactly as deg2nrm(units /
// 600000) gives it. 180 degrees (108000000) gives 0x80000000.
std::int32_t StoreUnitsToBinaryAngle(std::int32_t units);

// A binary angle, taken as signed (-180 to 180 degrees), as store units,
// truncated toward zero: the exact value of angle x 360 / 2^32 x 600000. A
// binary angle of 10 degrees east (119304647) gives 5999999.
std::int32_t BinaryAngleToStoreUnits(std::int32_t angle);
