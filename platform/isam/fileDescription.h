// Checks of file descriptions, their stored text, and the numeric key values
// that the record files index.
#pragma once

#include "isam/isam.h"

#include <array>
#include <cstdint>
#include <string>

namespace isam::detail {

// Every segment is at least 2 bytes long.
inline constexpr int kMaxSegments = kMaxKeyLength / 2;

// The numeric value of a key, one number per segment.
struct Key {
    int count = 0;
    std::array<std::int64_t, kMaxSegments> values{};
    bool operator==(const Key& other) const;
};

// 0 when the description can be used with file numbers below fileLimit,
// else kBadArgument.
int checkDescription(const FileDescription& file, int fileLimit);

// The description as the .IDX holds it: everything but the name, one item a
// line. Two descriptions are equal when their texts are.
std::string descriptionText(const FileDescription& file);

// The key of `index` in a record of at least the file's record length.
Key keyOfRecord(const Index& index, const std::uint8_t* record);
// The key of a target: the segments' bytes one after the other.
Key keyOfTarget(const Index& index, const std::uint8_t* target);
// The first `segments` values of prefix, the rest at the smallest (or the
// largest) value of their segment: the bounds of a batch.
Key lowestWithPrefix(const Index& index, const Key& prefix, int segments);
Key highestWithPrefix(const Index& index, const Key& prefix, int segments);

// The number of whole segments in the first `bytes` bytes of the key; -1 when
// `bytes` ends inside a segment or beyond the key.
int segmentsInPrefix(const Index& index, int bytes);

} // namespace isam::detail
