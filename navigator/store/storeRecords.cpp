#include "store/storeRecords.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

void putU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void putU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void putI32(std::uint8_t* at, std::int32_t v) {
    putU32(at, static_cast<std::uint32_t>(v));
}

std::uint16_t getU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t getU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::int32_t getI32(const std::uint8_t* at) {
    return static_cast<std::int32_t>(getU32(at));
}

// A time as its 4 bytes on disk: seconds since 1970, clamped into the
// unsigned 32-bit range.
void putTime(std::uint8_t* at, std::int64_t seconds) {
    putU32(at, static_cast<std::uint32_t>(std::clamp<std::int64_t>(seconds, 0, kMaxStoredTime)));
}

} // namespace

const char* ObjectKindName(int kind) {
    switch (kind) {
    case kKindTrack:
        return "TRACK";
    case kKindRoute:
        return "RUTE";
    case kKindLine:
        return "LINJE";
    case kKindSymbol:
        return "SYMBOL";
    case kKindZone:
        return "SONE";
    case kKindArea:
        return "FELT";
    default:
        return nullptr;
    }
}

IdBytes IdRecord::Encode() const {
    IdBytes b{};
    putU16(&b[2], kind);
    putI32(&b[4], id);
    putI32(&b[8], latitude);
    putI32(&b[12], longitude);
    std::copy(reserved.begin(), reserved.end(), &b[16]);
    putTime(&b[24], timeStamp);
    putU16(&b[28], colour);
    putU16(&b[30], length);
    putU16(&b[32], pointCount);
    const std::size_t n = std::min({name.size(), std::strlen(name.c_str()), kMaxNameLength});
    std::memcpy(&b[34], name.data(), n); // the rest of the field stays 0: the NUL
    return b;
}

IdRecord IdRecord::Decode(const IdBytes& b) {
    IdRecord r;
    r.kind = getU16(&b[2]);
    r.id = getI32(&b[4]);
    r.latitude = getI32(&b[8]);
    r.longitude = getI32(&b[12]);
    std::copy(&b[16], &b[24], r.reserved.begin());
    r.timeStamp = getU32(&b[24]);
    r.colour = getU16(&b[28]);
    r.length = getU16(&b[30]);
    r.pointCount = getU16(&b[32]);
    const auto* name = reinterpret_cast<const char*>(&b[34]);
    r.name.assign(name, ::strnlen(name, kNameFieldSize));
    return r;
}

PointBytes PointRecord::Encode() const {
    PointBytes b{};
    putI32(&b[2], id);
    putU16(&b[6], number);
    putI32(&b[8], latitude);
    putI32(&b[12], longitude);
    putTime(&b[16], time);
    putU16(&b[20], speed);
    putU16(&b[22], course);
    putU16(&b[24], static_cast<std::uint16_t>(temperature));
    putU16(&b[26], depth);
    putU16(&b[28], depthScale);
    std::copy(reserved.begin(), reserved.end(), &b[30]);
    return b; // bytes 36 and 37 stay 0
}

PointRecord PointRecord::Decode(const PointBytes& b) {
    PointRecord r;
    r.id = getI32(&b[2]);
    r.number = getU16(&b[6]);
    r.latitude = getI32(&b[8]);
    r.longitude = getI32(&b[12]);
    r.time = getU32(&b[16]);
    r.speed = getU16(&b[20]);
    r.course = getU16(&b[22]);
    r.temperature = static_cast<std::int16_t>(getU16(&b[24]));
    r.depth = getU16(&b[26]);
    r.depthScale = getU16(&b[28]);
    std::copy(&b[30], &b[36], r.reserved.begin());
    return r;
}

std::vector<std::uint8_t> InfoRecord::Encode() const {
    // The fixed part first, then the text: built in one go so the compiler
    // sees the record's size where the fields are written.
    std::uint8_t fixed[kInfoFixedSize] = {};
    putI32(fixed + 2, id);
    putU16(fixed + 6, number);
    std::vector<std::uint8_t> b(kInfoFixedSize + text.size());
    std::memcpy(b.data(), fixed, kInfoFixedSize);
    if (!text.empty()) std::memcpy(b.data() + kInfoFixedSize, text.data(), text.size());
    return b;
}

std::optional<InfoRecord> InfoRecord::Decode(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes || length < kInfoFixedSize) return std::nullopt;
    InfoRecord r;
    r.id = getI32(bytes + 2);
    r.number = getU16(bytes + 6);
    r.text.assign(reinterpret_cast<const char*>(bytes + kInfoFixedSize), length - kInfoFixedSize);
    return r;
}

double StoreUnitsToDegrees(std::int32_t units) {
    return units / kStoreUnitsPerDegree;
}

std::int32_t DegreesToStoreUnits(double degrees) {
    if (std::isnan(degrees)) return 0;
    const double units = std::trunc(degrees * kStoreUnitsPerDegree);
    if (units <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (units >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(units);
}

// One store unit is 2^32 / 216000000 = 2^26 / 3375000 binary-angle units.
namespace {
constexpr std::int64_t kAngleScale = std::int64_t{1} << 26;
constexpr std::int64_t kUnitScale = 3375000;
} // namespace

std::int32_t StoreUnitsToBinaryAngle(std::int32_t units) {
    // The exact quotient never lies on a half, so rounding it to nearest is
    // the same as deg2nrm's rounding of the degrees.
    const std::int64_t scaled = static_cast<std::int64_t>(units) * kAngleScale;
    std::int64_t q = scaled / kUnitScale;
    const std::int64_t r = scaled % kUnitScale;
    if (2 * r > kUnitScale) ++q;
    if (2 * r < -kUnitScale) --q;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(q)); // wraps by the full turn
}

std::int32_t BinaryAngleToStoreUnits(std::int32_t angle) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(angle) * kUnitScale / kAngleScale);
}
