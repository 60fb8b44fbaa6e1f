#include "isam/fileDescription.h"

#include <cstdio>
#include <limits>

namespace isam::detail {

bool Key::operator==(const Key& other) const {
    if (count != other.count) return false;
    for (int i = 0; i < count; ++i)
        if (values[i] != other.values[i]) return false;
    return true;
}

int checkDescription(const FileDescription& file, int fileLimit) {
    const auto lastSlash = file.name.find_last_of('/');
    const std::string base =
        lastSlash == std::string::npos ? file.name : file.name.substr(lastSlash + 1);
    if (base.empty() || base == "." || base == "..") return kBadArgument;
    if (file.recordLength < 1 || file.recordLength > kMaxRecordLength) return kBadArgument;
    if (file.dataExtension < 0 || file.indexExtension < 0) return kBadArgument;
    if (file.fileMode < 0 || file.fileMode > 0xFFFF) return kBadArgument;
    if (file.indexes.empty()) return kBadArgument;
    if (file.dataFileNumber < 0 ||
        static_cast<long long>(file.dataFileNumber) + static_cast<long long>(file.indexes.size()) >=
            fileLimit)
        return kBadArgument;
    for (std::size_t i = 0; i < file.indexes.size(); ++i) {
        const Index& index = file.indexes[i];
        if (index.keyNumber != file.dataFileNumber + 1 + static_cast<int>(i)) return kBadArgument;
        if (index.duplicates) return kBadArgument;
        if (index.segments.empty() || index.segments.size() > kMaxSegments) return kBadArgument;
        int length = 0;
        for (const Segment& s : index.segments) {
            if (s.mode != kSegmentMode || (s.length != 2 && s.length != 4)) return kBadArgument;
            if (s.position < 0 || s.position > file.recordLength - s.length) return kBadArgument;
            length += s.length;
        }
        if (length != index.keyLength || length > kMaxKeyLength) return kBadArgument;
    }
    return 0;
}

std::string descriptionText(const FileDescription& file) {
    std::string text = "record file 1\n";
    char line[128];
    std::snprintf(line, sizeof line, "file %d\nrecord-length %d\nvariable %d\n",
                  file.dataFileNumber, file.recordLength, file.variable ? 1 : 0);
    text += line;
    std::snprintf(line, sizeof line, "file-mode %d\nextension %d %d\n", file.fileMode,
                  file.dataExtension, file.indexExtension);
    text += line;
    for (const Index& index : file.indexes) {
        std::snprintf(line, sizeof line, "key %d length %d duplicates %d segments %zu\n",
                      index.keyNumber, index.keyLength, index.duplicates ? 1 : 0,
                      index.segments.size());
        text += line;
        for (const Segment& s : index.segments) {
            std::snprintf(line, sizeof line, "segment %d %d %d %s\n", s.position, s.length, s.mode,
                          s.isSigned ? "signed" : "unsigned");
            text += line;
        }
    }
    return text;
}

namespace {

std::int64_t readSegment(const Segment& s, const std::uint8_t* p) {
    if (s.length == 2) {
        const auto u = static_cast<std::uint16_t>(p[0] | p[1] << 8);
        return s.isSigned ? static_cast<std::int64_t>(static_cast<std::int16_t>(u)) : u;
    }
    const std::uint32_t u =
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return s.isSigned ? static_cast<std::int64_t>(static_cast<std::int32_t>(u)) : u;
}

std::int64_t lowest(const Segment& s) {
    if (!s.isSigned) return 0;
    return s.length == 2 ? std::numeric_limits<std::int16_t>::min()
                         : std::numeric_limits<std::int32_t>::min();
}

std::int64_t highest(const Segment& s) {
    if (s.length == 2)
        return s.isSigned ? std::numeric_limits<std::int16_t>::max()
                          : std::numeric_limits<std::uint16_t>::max();
    return s.isSigned ? std::numeric_limits<std::int32_t>::max()
                      : std::numeric_limits<std::uint32_t>::max();
}

} // namespace

Key keyOfRecord(const Index& index, const std::uint8_t* record) {
    Key key;
    key.count = static_cast<int>(index.segments.size());
    for (int i = 0; i < key.count; ++i) {
        const Segment& s = index.segments[i];
        key.values[i] = readSegment(s, record + s.position);
    }
    return key;
}

Key keyOfTarget(const Index& index, const std::uint8_t* target) {
    Key key;
    key.count = static_cast<int>(index.segments.size());
    int offset = 0;
    for (int i = 0; i < key.count; ++i) {
        const Segment& s = index.segments[i];
        key.values[i] = readSegment(s, target + offset);
        offset += s.length;
    }
    return key;
}

Key lowestWithPrefix(const Index& index, const Key& prefix, int segments) {
    Key key = prefix;
    for (int i = segments; i < key.count; ++i)
        key.values[i] = lowest(index.segments[i]);
    return key;
}

Key highestWithPrefix(const Index& index, const Key& prefix, int segments) {
    Key key = prefix;
    for (int i = segments; i < key.count; ++i)
        key.values[i] = highest(index.segments[i]);
    return key;
}

int segmentsInPrefix(const Index& index, int bytes) {
    int offset = 0;
    for (std::size_t i = 0; i <= index.segments.size(); ++i) {
        if (offset == bytes) return static_cast<int>(i);
        if (offset > bytes || i == index.segments.size()) return -1;
        offset += index.segments[i].length;
    }
    return -1;
}

} // namespace isam::detail
