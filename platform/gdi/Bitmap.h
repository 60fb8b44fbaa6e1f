// A bitmap: the pixels a memory device context draws into or copies from.
//
// A monochrome bitmap holds only black (0 bits) and white (1 bits); a colour
// bitmap holds 32-bit colour, like the pictures of the raster backend.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace gdi {

class Bitmap {
  public:
    // A width or height below 1 counts as 1; pixels start black. Sizes above
    // 32767 or over 2^28 pixels in all are refused (null).
    static std::shared_ptr<Bitmap> monochrome(int width, int height);
    static std::shared_ptr<Bitmap> colour(int width, int height);

    // A monochrome bitmap from rows of bits, most significant bit leftmost,
    // 1 = white; rows are `bytesPerRow` apart (at least (width + 7) / 8), top
    // row first. `size` is the number of bytes at `bits`; too few bytes give null.
    static std::shared_ptr<Bitmap> fromBits(int width, int height, const std::uint8_t* bits,
                                            std::size_t size, int bytesPerRow);

    // A colour bitmap from a device-independent image as the clipboard holds it:
    // an information header of 40 bytes or more (little-endian: header size,
    // width, height (negative: rows top first, else bottom first), planes 1, bits
    // per pixel 1, 4, 8, 16, 24 or 32, compression 0 (none), image size, two
    // resolutions, colours used, colours important), the colour table (blue,
    // green, red, reserved; colours used, or for 1, 4 and 8 bits all when 0;
    // skipped above 8 bits), then the rows, each padded to 4 bytes. 16 bits are
    // 5-5-5. Anything malformed, truncated or of another kind gives null.
    static std::shared_ptr<Bitmap> fromDib(const std::uint8_t* data, std::size_t size);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool isMonochrome() const { return mono_; }
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

  private:
    Bitmap(QImage image, bool mono) : image_(std::move(image)), mono_(mono) {}
    QImage image_;
    bool mono_;
};

} // namespace gdi
