#include "gdi/Bitmap.h"

#include <algorithm>

namespace gdi {
namespace {

constexpr int kMaxSide = 32767;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

bool sizeOk(int w, int h) {
    return w <= kMaxSide && h <= kMaxSide && std::int64_t(w) * h <= kMaxPixels;
}

std::uint32_t u32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

std::shared_ptr<Bitmap> make(int w, int h, bool mono, auto ctor) {
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (!sizeOk(w, h)) return nullptr;
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) return nullptr;
    img.fill(0xFF000000u);
    return ctor(std::move(img), mono);
}

} // namespace

std::shared_ptr<Bitmap> Bitmap::monochrome(int width, int height) {
    return make(width, height, true, [](QImage i, bool m) {
        return std::shared_ptr<Bitmap>(new Bitmap(std::move(i), m));
    });
}

std::shared_ptr<Bitmap> Bitmap::colour(int width, int height) {
    return make(width, height, false, [](QImage i, bool m) {
        return std::shared_ptr<Bitmap>(new Bitmap(std::move(i), m));
    });
}

std::shared_ptr<Bitmap> Bitmap::fromBits(int width, int height, const std::uint8_t* bits,
                                         std::size_t size, int bytesPerRow) {
    if (width < 1 || height < 1 || !bits || bytesPerRow < (width + 7) / 8) return nullptr;
    if (std::uint64_t(bytesPerRow) * std::uint64_t(height) > size) return nullptr;
    auto bm = monochrome(width, height);
    if (!bm) return nullptr;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bits + std::size_t(y) * std::size_t(bytesPerRow);
        auto* out = reinterpret_cast<QRgb*>(bm->image_.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return bm;
}

std::shared_ptr<Bitmap> Bitmap::fromDib(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 40) return nullptr;
    const std::uint32_t headerSize = u32(data);
    if (headerSize < 40 || headerSize > size) return nullptr;
    const std::int32_t width = std::int32_t(u32(data + 4));
    const std::int32_t rawHeight = std::int32_t(u32(data + 8));
    const std::uint16_t planes = u16(data + 12), bpp = u16(data + 14);
    const std::uint32_t compression = u32(data + 16);
    const std::uint32_t coloursUsed = u32(data + 32);
    if (planes != 1 || compression != 0) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    if (width < 1 || rawHeight == 0 || rawHeight == INT32_MIN) return nullptr;
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (!sizeOk(width, height)) return nullptr;

    // Images of 1, 4 and 8 bits index their colour table; those of more bits may
    // still carry one (colours used), which lies before the rows and is skipped.
    std::size_t tableCount = coloursUsed;
    if (bpp <= 8) {
        const std::uint32_t full = 1u << bpp;
        if (coloursUsed > full) return nullptr;
        tableCount = coloursUsed ? coloursUsed : full;
    }
    std::size_t offset = headerSize;
    if (tableCount * 4 > size - offset) return nullptr;
    std::vector<QRgb> table(bpp <= 8 ? tableCount : 0);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::uint8_t* e = data + offset + 4 * i;
        table[i] = qRgb(e[2], e[1], e[0]);
    }
    offset += tableCount * 4;

    const std::uint64_t stride = ((std::uint64_t(width) * bpp + 31) / 32) * 4;
    if (stride * std::uint64_t(height) > size - offset) return nullptr;

    auto bm = colour(width, height);
    if (!bm) return nullptr;
    for (std::int32_t r = 0; r < height; ++r) {
        const std::uint8_t* row = data + offset + stride * std::uint64_t(r);
        const int y = topDown ? r : height - 1 - r;
        auto* out = reinterpret_cast<QRgb*>(bm->image_.scanLine(y));
        for (std::int32_t x = 0; x < width; ++x) {
            QRgb c = 0;
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                const std::uint64_t bit = std::uint64_t(x) * bpp;
                const unsigned shift = unsigned(8 - bpp - bit % 8);
                const unsigned index = (row[bit / 8] >> shift) & ((1u << bpp) - 1);
                c = index < table.size() ? table[index] : qRgb(0, 0, 0);
                break;
            }
            case 16: {
                const std::uint16_t v = u16(row + 2 * x);
                c = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31,
                         (v & 31) * 255 / 31);
                break;
            }
            case 24:
                c = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                c = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            }
            out[x] = c | 0xFF000000u;
        }
    }
    return bm;
}

} // namespace gdi
