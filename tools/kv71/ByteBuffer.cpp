#include "tools/kv71/ByteBuffer.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace kv71write {

void ByteBuffer::u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
}

void ByteBuffer::u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v));
    u16(static_cast<std::uint16_t>(v >> 16));
}

void ByteBuffer::f64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(static_cast<std::uint32_t>(bits));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void applyDamage(Bytes& image, const Damage& damage) {
    if (damage.truncateTo < image.size()) image.resize(damage.truncateTo);
    image.insert(image.end(), damage.append.begin(), damage.append.end());
}

bool writeFileAtomically(const std::string& path, const Bytes& bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, Bytes(text.begin(), text.end()));
}

} // namespace kv71write
