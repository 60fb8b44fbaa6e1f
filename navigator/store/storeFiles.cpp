#include "store/storeFiles.h"

#include "store/storeRecords.h"

#include <vector>

namespace {

constexpr isam::Segment segment(int position, int length, bool isSigned) {
    return isam::Segment{position, length, isam::kSegmentMode, isSigned};
}

isam::Index key(int number, std::vector<isam::Segment> segments) {
    isam::Index k;
    k.keyNumber = number;
    for (const isam::Segment& s : segments)
        k.keyLength += s.length;
    k.duplicates = false;
    k.segments = std::move(segments);
    return k;
}

isam::FileDescription file(const std::string& base, int number, std::size_t recordLength,
                           bool variable, int mode, std::vector<isam::Index> keys) {
    isam::FileDescription f;
    f.name = base;
    f.dataFileNumber = number;
    f.recordLength = static_cast<int>(recordLength);
    f.variable = variable;
    f.dataExtension = kExtensionSize;
    f.indexExtension = kExtensionSize;
    f.fileMode = mode;
    f.indexes = std::move(keys);
    return f;
}

// The fields the keys are made of.
constexpr isam::Segment kKind = segment(2, 2, false);
constexpr isam::Segment kObjectId = segment(4, 4, true);
constexpr isam::Segment kLatitude = segment(8, 4, true);
constexpr isam::Segment kLongitude = segment(12, 4, true);
constexpr isam::Segment kOwnerId = segment(2, 4, true); // POINT and INFO: the object's id
constexpr isam::Segment kNumber = segment(6, 2, false); // POINT and INFO: point or text number

void putU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void putI32(std::uint8_t* at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

} // namespace

const char* StoreFileLabel(StoreFile f) {
    switch (f) {
    case StoreFile::Id:
        return "ID";
    case StoreFile::Point:
        return "POINT";
    case StoreFile::Info:
        return "INFO";
    }
    return "";
}

StoreFileBases StoreFileBasesIn(const std::string& folder) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    return {prefix + "id", prefix + "point", prefix + "info"};
}

isam::FileDescription IdFileDescription(const std::string& base) {
    return file(base, kIdFileNumber, kIdRecordSize, false, kFixedFileMode,
                {key(kIdKindKey, {kKind, kObjectId}),
                 key(kIdPositionKey, {kKind, kLatitude, kLongitude}), key(kIdKey, {kObjectId})});
}

isam::FileDescription PointFileDescription(const std::string& base) {
    return file(base, kPointFileNumber, kPointRecordSize, false, kFixedFileMode,
                {key(kPointKey, {kOwnerId, kNumber})});
}

isam::FileDescription InfoFileDescription(const std::string& base) {
    return file(base, kInfoFileNumber, kInfoFixedSize, true, kVariableFileMode,
                {key(kInfoKey, {kOwnerId, kNumber})});
}

isam::FileDescription StoreFileDescription(StoreFile f, const StoreFileBases& bases) {
    switch (f) {
    case StoreFile::Id:
        return IdFileDescription(bases.id);
    case StoreFile::Point:
        return PointFileDescription(bases.point);
    case StoreFile::Info:
        return InfoFileDescription(bases.info);
    }
    return {};
}

CreateResult CreateStoreFile(const isam::FileDescription& description) {
    if (isam::CREIFIL(description) != 0) return CreateResult::CreateFailed;
    if (description.dataFileNumber == kIdFileNumber) {
        static const std::vector<std::uint8_t> block(kSettingsBlockSize, 0);
        if (isam::ADDRES(kIdFileNumber, block.data(), block.size()) != 0)
            return CreateResult::ResourceFailed;
    }
    return CreateResult::Created;
}

std::array<std::uint8_t, 6> IdKindKey(std::uint16_t kind, std::int32_t id) {
    std::array<std::uint8_t, 6> k{};
    putU16(&k[0], kind);
    putI32(&k[2], id);
    return k;
}

std::array<std::uint8_t, 10> IdPositionKey(std::uint16_t kind, std::int32_t latitude,
                                           std::int32_t longitude) {
    std::array<std::uint8_t, 10> k{};
    putU16(&k[0], kind);
    putI32(&k[2], latitude);
    putI32(&k[6], longitude);
    return k;
}

std::array<std::uint8_t, 4> IdKey(std::int32_t id) {
    std::array<std::uint8_t, 4> k{};
    putI32(&k[0], id);
    return k;
}

std::array<std::uint8_t, 6> PointKey(std::int32_t id, std::uint16_t number) {
    std::array<std::uint8_t, 6> k{};
    putI32(&k[0], id);
    putU16(&k[4], number);
    return k;
}

std::array<std::uint8_t, 6> InfoKey(std::int32_t id, std::uint16_t number) {
    return PointKey(id, number);
}
