#include "gdi/Bitmap.h"
#include "gdi/Region.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace gdi {
namespace {

TEST(Region, PointTestsTakeLeftAndTopEdgesButNotRightAndBottom) {
    const XY square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    const Region sq = Region::polygon(square, FillMode::Alternate);
    const Region rect = Region::rectangle(8, 8, 2, 2); // given reversed
    struct Case {
        int x, y;
        bool in;
    } cases[] = {{2, 2, true},  {7, 7, true},  {5, 5, true},  {8, 5, false},
                 {5, 8, false}, {1, 5, false}, {5, 1, false}, {-3, -3, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(sq.contains(c.x, c.y), c.in) << c.x << "," << c.y;
        EXPECT_EQ(rect.contains(c.x, c.y), c.in) << c.x << "," << c.y;
    }
    const XY two[] = {{0, 0}, {9, 9}};
    EXPECT_TRUE(Region::polygon(two, FillMode::Winding).isEmpty());
    EXPECT_TRUE(Region::rectangle(3, 3, 3, 9).isEmpty());
    EXPECT_TRUE(Region().isEmpty());
}

TEST(Region, OverlapsFollowTheFillMode) {
    // A five-pointed star: its centre is crossed twice.
    const XY star[] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
    EXPECT_FALSE(Region::polygon(star, FillMode::Alternate).contains(50, 50));
    EXPECT_TRUE(Region::polygon(star, FillMode::Winding).contains(50, 50));
    EXPECT_TRUE(Region::polygon(star, FillMode::Alternate).contains(50, 10));
}

TEST(Region, PointTestsAgreeWithQtOverConcaveAndHoledShapes) {
    // A jagged ring with a notch, a star crossing itself, and a ring whose
    // inner loop leaves a hole under the alternate rule.
    std::vector<XY> jagged;
    for (int k = 0; k < 60; ++k)
        jagged.push_back({k * 5, (k % 2) * 7});
    jagged.push_back({300, 200});
    jagged.push_back({150, 200});
    jagged.push_back({150, 80});
    jagged.push_back({120, 80});
    jagged.push_back({120, 200});
    jagged.push_back({0, 200});
    const std::vector<XY> star{{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
    const std::vector<XY> holed{{0, 0},   {100, 0}, {100, 100}, {0, 100}, {0, 0},
                                {30, 30}, {30, 70}, {70, 70},   {70, 30}, {30, 30}};
    for (const std::vector<XY>* shape : {&std::as_const(jagged), &star, &holed})
        for (FillMode mode : {FillMode::Alternate, FillMode::Winding}) {
            const Region r = Region::polygon(*shape, mode);
            for (int y = -3; y <= 205; ++y)
                for (int x = -3; x <= 305; ++x)
                    ASSERT_EQ(r.contains(x, y), r.qregion().contains(QPoint(x, y)))
                        << x << "," << y;
        }
    EXPECT_FALSE(Region().contains(0, 0));
    EXPECT_TRUE(Region::rectangle(0, 0, 4, 4).contains(3, 0));
}

// A device-independent image in memory: header, colour table, rows.
struct Dib {
    std::vector<std::uint8_t> bytes;
    void u16(std::uint16_t v) {
        bytes.push_back(std::uint8_t(v));
        bytes.push_back(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(v >> (8 * i)));
    }
    Dib(std::int32_t w, std::int32_t h, std::uint16_t bpp, std::uint32_t used = 0,
        std::uint32_t compression = 0, std::uint32_t headerSize = 40) {
        u32(headerSize);
        u32(std::uint32_t(w));
        u32(std::uint32_t(h));
        u16(1);
        u16(bpp);
        u32(compression);
        u32(0);
        u32(2835);
        u32(2835);
        u32(used);
        u32(0);
        while (bytes.size() < headerSize)
            bytes.push_back(0);
    }
    Dib& add(std::initializer_list<std::uint8_t> b) {
        bytes.insert(bytes.end(), b);
        return *this;
    }
    std::shared_ptr<Bitmap> read(std::size_t cut = 0) const {
        return Bitmap::fromDib(bytes.data(), bytes.size() - cut);
    }
};

QRgb at(const Bitmap& b, int x, int y) {
    return b.image().pixel(x, y) & 0xFFFFFFu;
}

TEST(Bitmap, ReadsTheClipboardsDeviceIndependentImages) {
    // 24 bits, 2 x 2, bottom row first, rows padded to 8 bytes.
    Dib d24(2, 2, 24);
    d24.add({0, 0, 255, 0, 255, 0, 0, 0}).add({255, 0, 0, 255, 255, 255, 0, 0});
    auto b = d24.read();
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->isMonochrome());
    EXPECT_EQ(at(*b, 0, 0), 0x0000FFu); // blue, from the last row stored
    EXPECT_EQ(at(*b, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(at(*b, 0, 1), 0xFF0000u);
    EXPECT_EQ(at(*b, 1, 1), 0x00FF00u);
    // 24 bits with a colour table of one entry, which the rows follow.
    Dib t24(1, 1, 24, 1);
    t24.add({9, 9, 9, 0}).add({10, 20, 30, 0});
    b = t24.read();
    ASSERT_TRUE(b);
    EXPECT_EQ(at(*b, 0, 0), 0x1E140Au);

    // 1 bit, 3 x 1 with a two-colour table.
    Dib d1(3, 1, 1);
    d1.add({0, 0, 0, 0, 40, 30, 20, 0}).add({0xA0, 0, 0, 0});
    b = d1.read();
    ASSERT_TRUE(b);
    EXPECT_EQ(at(*b, 0, 0), 0x141E28u);
    EXPECT_EQ(at(*b, 1, 0), 0x000000u);
    EXPECT_EQ(at(*b, 2, 0), 0x141E28u);

    // 8 bits, top row first, two colours used; 4 bits, 16 bits.
    Dib d8(2, -2, 8, 2);
    d8.add({9, 8, 7, 0, 1, 2, 3, 0}).add({1, 0, 0, 0}).add({0, 1, 0, 0});
    b = d8.read();
    ASSERT_TRUE(b);
    EXPECT_EQ(at(*b, 0, 0), 0x030201u);
    EXPECT_EQ(at(*b, 1, 0), 0x070809u);
    EXPECT_EQ(at(*b, 1, 1), 0x030201u);
    Dib d4(3, 1, 4, 3);
    d4.add({0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0}).add({0x12, 0x70, 0, 0});
    b = d4.read();
    ASSERT_TRUE(b);
    EXPECT_EQ(at(*b, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(at(*b, 1, 0), 0xFF0000u);
    EXPECT_EQ(at(*b, 2, 0), 0x000000u); // index 7 is past the table
    Dib d16(1, 1, 16);
    d16.add({0x1F, 0x7C, 0, 0}); // red 31, green 0, blue 31
    b = d16.read();
    ASSERT_TRUE(b);
    EXPECT_EQ(at(*b, 0, 0), 0xFF00FFu);
}

TEST(Bitmap, RefusesMalformedImages) {
    struct Case {
        const char* name;
        Dib dib;
        std::size_t cut;
    } cases[] = {
        {"truncated rows", Dib(2, 2, 24).add({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 1},
        {"truncated table", Dib(2, 1, 8, 4).add({0, 0, 0, 0, 0, 0, 0, 0}), 0},
        {"too many colours", Dib(1, 1, 8, 257).add({0, 0, 0, 0}), 0},
        {"table past the end", Dib(1, 1, 32, 0xFFFFFFFFu).add({0, 0, 0, 0}), 0},
        {"bits per pixel", Dib(1, 1, 3).add({0, 0, 0, 0}), 0},
        {"compressed", Dib(1, 1, 8, 0, 1).add({0, 0, 0, 0}), 0},
        {"old header", Dib(1, 1, 24, 0, 0, 12).add({0, 0, 0, 0}), 0},
        {"header past the end", Dib(1, 1, 24, 0, 0, 400), 300},
        {"zero width", Dib(0, 1, 24).add({0, 0, 0, 0}), 0},
        {"zero height", Dib(1, 0, 24).add({0, 0, 0, 0}), 0},
        {"least height", Dib(1, INT32_MIN, 24).add({0, 0, 0, 0}), 0},
        {"huge", Dib(100000, 100000, 1).add({0, 0, 0, 0}), 0},
        {"short", Dib(1, 1, 24), 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dib.read(c.cut), nullptr) << c.name;
    EXPECT_EQ(Bitmap::fromDib(nullptr, 100), nullptr);
}

TEST(Bitmap, MonochromeFromBitsChecksItsBuffer) {
    const std::uint8_t bits[] = {0x81, 0xFF, 0x00, 0x00};
    auto b = Bitmap::fromBits(9, 2, bits, sizeof bits, 2);
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->isMonochrome());
    EXPECT_EQ(at(*b, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(at(*b, 1, 0), 0u);
    EXPECT_EQ(at(*b, 7, 0), 0xFFFFFFu);
    EXPECT_EQ(at(*b, 8, 0), 0xFFFFFFu);
    EXPECT_EQ(at(*b, 8, 1), 0u);
    EXPECT_EQ(Bitmap::fromBits(9, 3, bits, sizeof bits, 2), nullptr);  // rows past the buffer
    EXPECT_EQ(Bitmap::fromBits(17, 1, bits, sizeof bits, 2), nullptr); // row too short
    EXPECT_EQ(Bitmap::fromBits(0, 1, bits, sizeof bits, 2), nullptr);
}

} // namespace
} // namespace gdi
