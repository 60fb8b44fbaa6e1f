// Fuzz target of the device-independent images the clipboard hands over: the
// input is the image as the clipboard holds it (information header, colour
// table, rows). A bitmap made of it must have the header's size and opaque
// pixels only.
#include "gdi/Bitmap.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstdlib>

namespace {

std::int32_t i32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (p[1] << 8) | (p[2] << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

// Keeps the reads of the pixels from being optimised away.
volatile unsigned pixelSink;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = gdi::Bitmap::fromDib(data, size);
    if (!bitmap) return 0;
    fuzzCheck(size >= 40);
    fuzzCheck(bitmap->width() == i32(data + 4));
    fuzzCheck(bitmap->height() == std::abs(static_cast<long long>(i32(data + 8))));
    fuzzCheck(!bitmap->isMonochrome());
    const QImage& image = bitmap->image();
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            fuzzCheck(qAlpha(row[x]) == 255);
            sum += row[x];
        }
    }
    pixelSink = sum;
    return 0;
}
