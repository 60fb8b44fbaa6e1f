// Little-endian byte output for the KV71 file writers, and the one way they
// put a file on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv71write {

using Bytes = std::vector<std::uint8_t>;

// Appends values field by field, least significant byte first, with the width
// the name says. Doubles are written as their IEEE 754 bit pattern.
class ByteBuffer {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v);
    void raw(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void text(const std::string& s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

  private:
    Bytes bytes_;
};

// Damage applied to a finished file image, for tests of the readers' checks:
// first cut to `truncateTo` bytes (when smaller than the image), then append
// `append`.
struct Damage {
    std::size_t truncateTo = SIZE_MAX;
    Bytes append;
};
void applyDamage(Bytes& image, const Damage& damage);

// Writes the bytes to path through a temporary file beside it that is renamed
// into place; creates missing parent directories. Returns false (and leaves no
// temporary file) when any step fails.
bool writeFileAtomically(const std::string& path, const Bytes& bytes);
bool writeFileAtomically(const std::string& path, const std::string& text);

} // namespace kv71write
